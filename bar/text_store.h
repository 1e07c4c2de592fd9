// Where a line list keeps the characters of its lines. Text only ever comes
// in: a view of text the store holds stays valid until Clear or the store
// goes, however much text comes in after it, and a move of the store keeps
// it valid too (the text stays where it is). A load hands over the decoded
// file whole, so its lines are views into it and no line is copied.
#ifndef KELVANE_BAR_TEXT_STORE_H_
#define KELVANE_BAR_TEXT_STORE_H_

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace bar {

class TextStore {
 public:
  TextStore() = default;
  ~TextStore();
  TextStore(TextStore&& other) noexcept;
  TextStore& operator=(TextStore&& other) noexcept;
  TextStore(const TextStore&) = delete;
  TextStore& operator=(const TextStore&) = delete;

  // A copy of the text, kept. std::bad_alloc leaves the store as it was.
  std::u16string_view Keep(std::u16string_view text);

  // The text itself, taken over without a copy.
  std::u16string_view Adopt(std::u16string text);

  // Makes room for `units` code units of Keep in one block.
  void Reserve(std::size_t units);

  void Clear();

 private:
  // Text that came in whole, and the blocks that Keep fills one after the
  // other; next_ and room_ are the free part of the last block.
  std::vector<std::unique_ptr<std::u16string>> adopted_;
  std::vector<std::unique_ptr<char16_t[]>> blocks_;
  char16_t* next_ = nullptr;
  std::size_t room_ = 0;
};

}  // namespace bar

#endif  // KELVANE_BAR_TEXT_STORE_H_
