// Line lists: the main-bar list and the sub-bar list. Lines are UTF-16;
// indices are 0-based. A list keeps each line only up to its first NUL, as
// the list-box control it stands for does. It keeps the characters of its
// lines in a TextStore and hands out views of them: a load keeps the
// decoded file whole, and moving lines moves no character.
#ifndef KELVANE_BAR_LINE_LIST_H_
#define KELVANE_BAR_LINE_LIST_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bar/bar_file.h"
#include "bar/errors.h"
#include "bar/file_system.h"
#include "bar/strings.h"
#include "bar/text_store.h"

namespace bar {

class LineList {
 public:
  LineList() = default;
  LineList(LineList&&) noexcept = default;
  LineList& operator=(LineList&&) noexcept = default;

  // The most lines a list holds: indices are signed 32-bit, and inserting
  // at Count() must still name a representable index.
  static constexpr int32_t kMaxLines = kMaxInt - 1;

  int32_t Count() const { return static_cast<int32_t>(lines_.size()); }

  // The line at index. The view stays valid for as long as the list is not
  // cleared, loaded, assigned or destroyed, whatever lines are put, added,
  // deleted or exchanged meanwhile. Throws IndexError unless 0 <= index <
  // Count().
  std::u16string_view Get(int32_t index) const;

  // Replaces the line at index in place (constant time); IndexError unless
  // 0 <= index < Count(). InsertError when the line cannot be stored. On
  // either failure the list is unchanged. The text may be a line of this
  // list.
  void Put(int32_t index, std::u16string_view text);

  // Appends; returns the new line's index. InsertError when storage is
  // exhausted (the list is unchanged).
  int32_t Add(std::u16string_view text);

  // Inserts before index (index == Count() appends). InsertError for an
  // index outside 0..Count() or exhausted storage; the list is unchanged.
  void Insert(int32_t index, std::u16string_view text);

  // Removes the line at index; an index out of range is ignored.
  void Delete(int32_t index);

  // Removes all lines; the remembered encoding stays.
  void Clear();

  // Keeps the lines at the given indices, in that order, and drops the rest:
  // the list's own lines rearranged, with no character copied. IndexError
  // for the first index out of range, InsertError when the list would hold
  // more lines than it can; the list is then unchanged.
  void KeepLines(const std::vector<int32_t>& indices);

  // The index error Get and Put throw for this index.
  IndexError OutOfBounds(int32_t index) const;

  // Replaces all lines by the file's lines and remembers its encoding (see
  // bar_file.h). OpenError leaves the list and encoding unchanged; these
  // leave the lines unchanged but remember the encoding: DecodingError,
  // BarFormatError for a line with text after a NUL (NULs alone at a line's
  // end just go), InsertError for more lines than the list can hold.
  void LoadFromFile(const std::u16string& file_name, FileSystem& files = PlatformFileSystem());

  // LoadFromFile, but false with the list unchanged when the file does not
  // exist (FileSystem::ReadFileIfExists).
  bool LoadFromFileIfExists(const std::u16string& file_name,
                            FileSystem& files = PlatformFileSystem());

  // Writes every line followed by CR LF in the remembered encoding (the
  // legacy code page when none), atomically (see bar_file.h for the
  // encoding rules). CreateError, WriteError; a failed save leaves the file
  // as it was.
  void SaveToFile(const std::u16string& file_name, FileSystem& files = PlatformFileSystem()) const;

  // Copies the source's lines and its remembered encoding (the legacy code
  // page when it has none). InsertError leaves the list unchanged.
  void Assign(const LineList& source);

  // Exchanges the lines at two valid indices.
  void Exchange(int32_t a, int32_t b) { std::swap(lines_[a], lines_[b]); }

  // Every line, as Get gives it.
  const std::vector<std::u16string_view>& views() const { return lines_; }

  std::optional<Encoding> remembered_encoding() const { return encoding_; }
  void set_remembered_encoding(std::optional<Encoding> e) { encoding_ = e; }

  // Test seam: a lower limit reaches the insert error without filling the memory.
  void set_line_limit(int32_t limit) { line_limit_ = limit; }

 private:
  void LoadFromBytes(const std::string& bytes, const std::u16string& file_name, FileSystem& files);
  // The text up to its first NUL.
  static std::u16string_view Stored(std::u16string_view text);
  // The text, kept in this list's store (InsertError when it cannot be).
  std::u16string_view Keep(std::u16string_view text);

  int32_t line_limit_ = kMaxLines;
  std::vector<std::u16string_view> lines_;
  TextStore text_;
  std::optional<Encoding> encoding_;
};

}  // namespace bar

#endif  // KELVANE_BAR_LINE_LIST_H_
