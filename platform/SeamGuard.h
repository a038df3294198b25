#pragma once
// The one way to put a fake in place at a test seam (message box answers,
// shell, program end, sound output, camera source, ...): every seam has a
// setter that installs a value and answers the one it replaces, and the guard
// puts that one back when it goes out of scope, so a failed assertion can
// never leave a fake behind for the next test.
//
//     platform::SeamGuard answers(platform::setMessageHandler, fakeAnswer);

#include <type_traits>
#include <utility>

namespace platform {

template <typename Value> class SeamGuard {
public:
    using Setter = Value (*)(Value);

    SeamGuard(Setter set, std::type_identity_t<Value> value)
        : set_(set), previous_(set(std::move(value))) {}
    ~SeamGuard() { set_(std::move(previous_)); }
    SeamGuard(const SeamGuard&) = delete;
    SeamGuard& operator=(const SeamGuard&) = delete;

private:
    Setter set_;
    Value previous_;
};

} // namespace platform
