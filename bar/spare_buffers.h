// Large buffers kept after their use for the next load or save of a bar.
// Memory fresh from the system costs a page fault and a cleared page for
// every 4 KiB; for a large bar a load or save paid more for that than for
// its conversion. A buffer given back keeps its capacity, and the next
// TakeBuffer of the same kind finds its memory ready. A few buffers of each
// kind are kept for the rest of the process; small ones are not worth
// keeping and go.
#ifndef KELVANE_BAR_SPARE_BUFFERS_H_
#define KELVANE_BAR_SPARE_BUFFERS_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace bar {

// An empty buffer with room for `size` elements: a kept one when it is
// large.
// Buffer is std::string, std::u16string or std::vector<std::u16string_view>.
template <typename Buffer>
Buffer TakeBuffer(std::size_t size);

// Keeps the buffer's memory for a later TakeBuffer; its content goes.
template <typename Buffer>
void GiveBack(Buffer&& buffer) noexcept;

}  // namespace bar

#endif  // KELVANE_BAR_SPARE_BUFFERS_H_
