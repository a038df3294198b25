#include "detection/RowChange.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define VANTOREL_X86_VECTORS 1
#endif

namespace MotionDetection {

namespace {

bool differOneByOne(const std::uint8_t* a, const std::uint8_t* b, std::size_t count,
                    std::uint8_t tolerance) {
    for (std::size_t i = 0; i < count; ++i) {
        const int difference = a[i] > b[i] ? a[i] - b[i] : b[i] - a[i];
        if (difference > tolerance)
            return true;
    }
    return false;
}

#ifdef VANTOREL_X86_VECTORS

// |a - b| > t exactly when one of the saturated differences (a - b) - t and
// (b - a) - t is above 0. The last block overlaps the one before when the
// count is not a multiple of the block: looking at a byte twice doesn't
// change the answer.

bool differSse2(const std::uint8_t* a, const std::uint8_t* b, std::size_t count,
                std::uint8_t tolerance) {
    const __m128i limit = _mm_set1_epi8(static_cast<char>(tolerance));
    __m128i any = _mm_setzero_si128();
    const auto compare = [&](std::size_t i) {
        const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        any = _mm_or_si128(any, _mm_subs_epu8(_mm_subs_epu8(va, vb), limit));
        any = _mm_or_si128(any, _mm_subs_epu8(_mm_subs_epu8(vb, va), limit));
    };
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16)
        compare(i);
    if (i < count)
        compare(count - 16);
    return _mm_movemask_epi8(_mm_cmpeq_epi8(any, _mm_setzero_si128())) != 0xFFFF;
}

__attribute__((target("avx2"))) bool differAvx2(const std::uint8_t* a, const std::uint8_t* b,
                                                std::size_t count, std::uint8_t tolerance) {
    const __m256i limit = _mm256_set1_epi8(static_cast<char>(tolerance));
    __m256i any = _mm256_setzero_si256();
    const auto compare = [&](std::size_t i) __attribute__((target("avx2"))) {
        const __m256i va = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i));
        const __m256i vb = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i));
        any = _mm256_or_si256(any, _mm256_subs_epu8(_mm256_subs_epu8(va, vb), limit));
        any = _mm256_or_si256(any, _mm256_subs_epu8(_mm256_subs_epu8(vb, va), limit));
    };
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32)
        compare(i);
    if (i < count)
        compare(count - 32);
    return _mm256_testz_si256(any, any) == 0;
}

#endif

} // namespace

bool bytesDiffer(const std::uint8_t* a, const std::uint8_t* b, std::size_t count,
                 std::uint8_t tolerance) {
#ifdef VANTOREL_X86_VECTORS
    static const bool hasAvx2 = __builtin_cpu_supports("avx2") != 0;
    if (count >= 32 && hasAvx2)
        return differAvx2(a, b, count, tolerance);
    if (count >= 16)
        return differSse2(a, b, count, tolerance);
#endif
    return differOneByOne(a, b, count, tolerance);
}

} // namespace MotionDetection
