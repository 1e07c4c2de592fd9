#include "bar/spare_buffers.h"

#include <algorithm>
#include <mutex>
#include <utility>

namespace bar {

namespace {

// A load keeps its text while the next file loads and the saves join and
// encode theirs: three of a kind cover a toggle.
constexpr std::size_t kKept = 3;

// Below this the heap serves a buffer from its free lists anyway.
constexpr std::size_t kWorthKeepingBytes = 256 * 1024;

// The kept buffers of a kind, and their lock. They live as long as the
// process and are never destroyed, so that lists destroyed at exit (a
// static list, say) can still give theirs back.
template <typename Buffer>
struct Spares {
  std::mutex mutex;
  std::vector<Buffer> kept;
};

template <typename Buffer>
Spares<Buffer>& SparesOf() {
  static Spares<Buffer>* const spares = new Spares<Buffer>();
  return *spares;
}

template <typename Buffer>
std::size_t CapacityBytes(const Buffer& buffer) {
  return buffer.capacity() * sizeof(typename Buffer::value_type);
}

}  // namespace

template <typename Buffer>
Buffer TakeBuffer(std::size_t size) {
  Buffer buffer;
  // A small buffer is not worth a kept one, which a large one may need.
  if (size * sizeof(typename Buffer::value_type) < kWorthKeepingBytes / 4) {
    buffer.reserve(size);
    return buffer;
  }
  Spares<Buffer>& spares = SparesOf<Buffer>();
  std::lock_guard<std::mutex> lock(spares.mutex);
  std::vector<Buffer>& kept = spares.kept;
  // The smallest that has room, else the largest, which grows the least.
  auto fits = [size](const Buffer& b) { return b.capacity() >= size; };
  auto better = [&](const Buffer& a, const Buffer& b) {
    if (fits(a) != fits(b)) return fits(a);
    return fits(a) ? a.capacity() < b.capacity() : a.capacity() > b.capacity();
  };
  const auto best = std::min_element(kept.begin(), kept.end(), better);
  if (best != kept.end()) {
    buffer = std::move(*best);
    kept.erase(best);
  }
  buffer.clear();
  buffer.reserve(size);
  return buffer;
}

template <typename Buffer>
void GiveBack(Buffer&& buffer) noexcept {
  if (CapacityBytes(buffer) < kWorthKeepingBytes) return;
  Spares<Buffer>& spares = SparesOf<Buffer>();
  std::lock_guard<std::mutex> lock(spares.mutex);
  std::vector<Buffer>& kept = spares.kept;
  if (kept.size() == kept.capacity() && kept.size() < kKept) {
    // Room is made before anything can fail; without it the buffer goes.
    try {
      kept.reserve(kKept);
    } catch (...) {
      return;
    }
  }
  if (kept.size() < kKept) {
    kept.push_back(std::move(buffer));
    return;
  }
  auto smallest = std::min_element(kept.begin(), kept.end(), [](const Buffer& a, const Buffer& b) {
    return a.capacity() < b.capacity();
  });
  if (smallest->capacity() < buffer.capacity()) *smallest = std::move(buffer);
}

template std::string TakeBuffer<std::string>(std::size_t);
template std::u16string TakeBuffer<std::u16string>(std::size_t);
template std::vector<std::u16string_view> TakeBuffer<std::vector<std::u16string_view>>(std::size_t);
template void GiveBack<std::string>(std::string&&) noexcept;
template void GiveBack<std::u16string>(std::u16string&&) noexcept;
template void GiveBack<std::vector<std::u16string_view>>(
    std::vector<std::u16string_view>&&) noexcept;

}  // namespace bar
