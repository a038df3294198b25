#pragma once
// Whether this build runs under AddressSanitizer, whose quarantine keeps
// freed memory on purpose: memory figures mean nothing there.

namespace fixtures {

constexpr bool underAddressSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature) // clang's way of saying so
    return __has_feature(address_sanitizer);
#else
    return false;
#endif
}

} // namespace fixtures
