#include "bar/unit_scan.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define KELVANE_SSE2 1
#endif

namespace bar {

std::size_t FindControlUnit(const char16_t* units, std::size_t size, std::size_t from) {
  std::size_t at = from;
#ifdef KELVANE_SSE2
  // A unit below 14 is one that 13 taken from it, without going below 0,
  // leaves at 0. The mask has two bits per unit.
  const __m128i thirteen = _mm_set1_epi16(13);
  const __m128i zero = _mm_setzero_si128();
  for (; at + 8 <= size; at += 8) {
    const __m128i eight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + at));
    int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_subs_epu16(eight, thirteen), zero));
    if (mask == 0) continue;
    while ((mask & 1) == 0) {
      mask >>= 2;
      ++at;
    }
    return at;
  }
#endif
  for (; at < size; ++at) {
    if (units[at] < 14) return at;
  }
  return size;
}

}  // namespace bar
