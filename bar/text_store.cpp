#include "bar/text_store.h"

#include <algorithm>
#include <utility>

namespace bar {

namespace {

// The code units of a block Keep fills; a longer text gets a block of its own.
constexpr std::size_t kBlockUnits = 16384;

}  // namespace

TextStore::~TextStore() { Clear(); }

TextStore::TextStore(TextStore&& other) noexcept { *this = std::move(other); }

TextStore& TextStore::operator=(TextStore&& other) noexcept {
  if (this == &other) return *this;
  Clear();
  adopted_ = std::move(other.adopted_);
  blocks_ = std::move(other.blocks_);
  next_ = std::exchange(other.next_, nullptr);
  room_ = std::exchange(other.room_, 0);
  other.adopted_.clear();
  other.blocks_.clear();
  return *this;
}

std::u16string_view TextStore::Keep(std::u16string_view text) {
  if (text.empty()) return std::u16string_view();
  Reserve(text.size());
  std::copy(text.begin(), text.end(), next_);
  const std::u16string_view kept(next_, text.size());
  next_ += text.size();
  room_ -= text.size();
  return kept;
}

std::u16string_view TextStore::Adopt(std::u16string text) {
  auto whole = std::make_unique<std::u16string>(std::move(text));
  const std::u16string_view view = *whole;
  adopted_.push_back(std::move(whole));
  return view;
}

void TextStore::Reserve(std::size_t units) {
  if (units <= room_) return;
  const std::size_t size = std::max(units, kBlockUnits);
  std::unique_ptr<char16_t[]> block(new char16_t[size]);
  char16_t* const start = block.get();
  blocks_.push_back(std::move(block));
  next_ = start;
  room_ = size;
}

void TextStore::Clear() {
  adopted_.clear();
  blocks_.clear();
  next_ = nullptr;
  room_ = 0;
}

}  // namespace bar
