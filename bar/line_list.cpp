#include "bar/line_list.h"

#include <new>
#include <stdexcept>
#include <utility>

#include "bar/bar_file.h"
#include "bar/entry_order.h"
#include "bar/errors.h"

namespace bar {

namespace {

// Positions within a line are signed 32-bit, so a longer line could not be
// read back.
constexpr std::size_t kMaxLineLength = 2147483647;

std::u16string Number(int32_t n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}


[[noreturn]] void ThrowInsertError() { throw InsertError(u"Unable to insert a line"); }

// A control list keeps a line up to its first NUL. NULs alone after it (the
// padding an editor leaves at the end of a file) lose nothing; anything else
// would be gone with the next save.
bool AnyLosesTextAtNul(const std::vector<std::u16string>& lines) {
  for (const std::u16string& line : lines) {
    const std::size_t nul = line.find(u'\0');
    if (nul == std::u16string::npos) continue;
    if (line.find_first_not_of(u'\0', nul) != std::u16string::npos) return true;
  }
  return false;
}

}  // namespace

const char16_t* LineList::TypeName() const {
  return kind_ == Kind::kControl ? u"TListBoxLines" : u"TSortableLines";
}

IndexError LineList::OutOfBounds(int32_t index) const {
  std::u16string message = u"List index out of bounds (" + Number(index) + u").  " + TypeName();
  message += Count() > 0 ? u" range is 0.." + Number(Count() - 1) : u" is empty";
  return IndexError(std::move(message));
}

void LineList::SetLines(std::vector<std::u16string> lines) {
  try {
    StoreAll(std::move(lines));
  } catch (const std::bad_alloc&) {
    ThrowInsertError();
  }
}

const std::u16string& LineList::Get(int32_t index) const {
  if (index < 0 || index >= Count()) throw OutOfBounds(index);
  return lines_[static_cast<std::size_t>(index)];
}

void LineList::Put(int32_t index, std::u16string text) {
  if (index < 0 || index >= Count()) throw OutOfBounds(index);
  if (text.size() > kMaxLineLength) ThrowInsertError();
  // A replace in place: the editing operations renumber whole bars line by
  // line, so this must not shift the lines after it.
  lines_[static_cast<std::size_t>(index)] = Stored(std::move(text));
}

int32_t LineList::Add(std::u16string text) {
  Insert(Count(), std::move(text));
  return Count() - 1;
}

void LineList::Insert(int32_t index, std::u16string text) {
  if (index < 0 || index > Count()) ThrowInsertError();
  if (Count() >= line_limit_ || text.size() > kMaxLineLength) ThrowInsertError();
  try {
    lines_.insert(lines_.begin() + index, Stored(std::move(text)));
  } catch (const std::bad_alloc&) {
    ThrowInsertError();
  } catch (const std::length_error&) {
    ThrowInsertError();
  }
}

void LineList::Delete(int32_t index) {
  if (index < 0 || index >= Count()) return;
  lines_.erase(lines_.begin() + index);
}

void LineList::LoadFromFile(const std::u16string& file_name, FileSystem& files) {
  LoadFromBytes(files.ReadFile(file_name), file_name, files);
}

bool LineList::LoadFromFileIfExists(const std::u16string& file_name, FileSystem& files) {
  const std::optional<std::string> bytes = files.ReadFileIfExists(file_name);
  if (!bytes) return false;
  LoadFromBytes(*bytes, file_name, files);
  return true;
}

void LineList::LoadFromBytes(const std::string& bytes, const std::u16string& file_name,
                             FileSystem& files) {
  std::size_t mark_length = 0;
  const Encoding encoding = DetectEncoding(bytes, &mark_length);
  encoding_ = encoding;
  try {
    const std::string_view body = std::string_view(bytes).substr(mark_length);
    std::vector<std::u16string> lines = SplitLines(DecodeBarText(body, encoding));
    if (kind_ == Kind::kControl && AnyLosesTextAtNul(lines)) {
      throw BarFormatError(u"File \"" + files.FullPath(file_name) +
                           u"\" holds NUL characters (UTF-16 text without a byte-order "
                           u"mark?) and cannot be edited without losing them");
    }
    StoreAll(std::move(lines));
  } catch (const std::bad_alloc&) {
    ThrowInsertError();
  }
}

void LineList::SaveToFile(const std::u16string& file_name, FileSystem& files) const {
  files.ReplaceFile(file_name, EncodeBarFile(lines_, encoding_));
}

void LineList::Assign(const LineList& source) {
  if (&source != this) {
    try {
      StoreAll(source.lines_);
    } catch (const std::bad_alloc&) {
      ThrowInsertError();
    }
  }
  // A list that was never loaded saves in the legacy code page, so naming
  // it explicitly saves the same way.
  encoding_ = source.encoding_.value_or(Encoding::kLegacy);
}

void LineList::CustomSort(const Compare& compare) {
  if (Count() < 2) return;
  RangeSort(
      Count(), [&](int32_t a, int32_t b) { return compare(*this, a, b); },
      [&](int32_t a, int32_t b) { Exchange(a, b); });
}

std::u16string LineList::Stored(std::u16string text) const {
  if (kind_ != Kind::kControl) return text;
  const std::size_t nul = text.find(u'\0');
  if (nul != std::u16string::npos) text.resize(nul);
  return text;
}

void LineList::StoreAll(std::vector<std::u16string> lines) {
  if (lines.size() > static_cast<std::size_t>(line_limit_)) ThrowInsertError();
  for (std::u16string& line : lines) {
    if (line.size() > kMaxLineLength) ThrowInsertError();
    line = Stored(std::move(line));
  }
  lines_ = std::move(lines);
}

}  // namespace bar
