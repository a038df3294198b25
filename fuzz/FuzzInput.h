#pragma once
// Reads a fuzzer's bytes as a sequence of values: numbers from the front,
// zeros once the bytes run out, so every input means something.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : rest_(data, size) {}

    bool empty() const { return rest_.empty(); }

    template <typename T> T take() {
        T value{};
        const std::size_t n = std::min(sizeof value, rest_.size());
        std::memcpy(&value, rest_.data(), n);
        rest_ = rest_.subspan(n);
        return value;
    }
    // A number in [0, bound), bound > 0.
    std::uint32_t below(std::uint32_t bound) { return take<std::uint32_t>() % bound; }
    // Up to count bytes (fewer when the input ends).
    std::span<const std::uint8_t> bytes(std::size_t count) {
        const auto taken = rest_.first(std::min(count, rest_.size()));
        rest_ = rest_.subspan(taken.size());
        return taken;
    }
    std::span<const std::uint8_t> remaining() { return bytes(rest_.size()); }

private:
    std::span<const std::uint8_t> rest_;
};

} // namespace fuzz
