#pragma once
// Whether this build checks memory with AddressSanitizer (make sanitize). There a library that is
// not itself instrumented writes past its heap blocks into the allocator's red zones unseen and
// unharmed, where in a normal build the same write breaks the heap and ends the process.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif
#else
inline constexpr bool kAddressSanitizer = false;
#endif
