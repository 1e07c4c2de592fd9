#include "bar/unit_scan.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define KELVANE_SSE2 1
#endif

namespace bar {

namespace {

#ifdef KELVANE_SSE2

// Eight code units from any address.
__m128i LoadUnits(const char16_t* units) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(units));
}

// One bit per byte: two bits for each of the eight units.
int UnitMask(__m128i lanes) { return _mm_movemask_epi8(lanes); }

// The index within eight units of the first whose bits are set in mask.
std::size_t FirstUnit(int mask) {
  std::size_t index = 0;
  while ((mask & 1) == 0) {
    mask >>= 2;
    ++index;
  }
  return index;
}

#endif

}  // namespace

std::size_t FindControlUnit(const char16_t* units, std::size_t size, std::size_t from) {
  std::size_t at = from;
#ifdef KELVANE_SSE2
  // A unit below 14 is one that 13 taken from it, without going below 0,
  // leaves at 0.
  const __m128i thirteen = _mm_set1_epi16(13);
  const __m128i zero = _mm_setzero_si128();
  for (; at + 8 <= size; at += 8) {
    const __m128i low = _mm_cmpeq_epi16(_mm_subs_epu16(LoadUnits(units + at), thirteen), zero);
    const int mask = UnitMask(low);
    if (mask != 0) return at + FirstUnit(mask);
  }
#endif
  for (; at < size; ++at) {
    if (units[at] < 14) return at;
  }
  return size;
}

std::size_t FindUnit(const char16_t* units, std::size_t size, std::size_t from, char16_t unit) {
  std::size_t at = from;
#ifdef KELVANE_SSE2
  const __m128i wanted = _mm_set1_epi16(static_cast<short>(unit));
  for (; at + 8 <= size; at += 8) {
    const int mask = UnitMask(_mm_cmpeq_epi16(LoadUnits(units + at), wanted));
    if (mask != 0) return at + FirstUnit(mask);
  }
#endif
  for (; at < size; ++at) {
    if (units[at] == unit) return at;
  }
  return size;
}

std::size_t WidenAscii(const char* bytes, std::size_t size, char16_t* out) {
  std::size_t at = 0;
#ifdef KELVANE_SSE2
  const __m128i zero = _mm_setzero_si128();
  for (; at + 16 <= size; at += 16) {
    const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
    if (_mm_movemask_epi8(in) != 0) break;  // a byte with its top bit set
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + at), _mm_unpacklo_epi8(in, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + at + 8), _mm_unpackhi_epi8(in, zero));
  }
#endif
  for (; at < size; ++at) {
    const auto byte = static_cast<unsigned char>(bytes[at]);
    if (byte >= 0x80) break;
    out[at] = byte;
  }
  return at;
}

std::size_t NarrowAscii(const char16_t* units, std::size_t size, char* out) {
  std::size_t at = 0;
#ifdef KELVANE_SSE2
  const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
  const __m128i zero = _mm_setzero_si128();
  for (; at + 16 <= size; at += 16) {
    const __m128i first = LoadUnits(units + at);
    const __m128i second = LoadUnits(units + at + 8);
    const __m128i above = _mm_and_si128(_mm_or_si128(first, second), high);
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(above, zero)) != 0xFFFF) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + at), _mm_packus_epi16(first, second));
  }
#endif
  for (; at < size; ++at) {
    if (units[at] >= 0x80) break;
    out[at] = static_cast<char>(units[at]);
  }
  return at;
}

}  // namespace bar
