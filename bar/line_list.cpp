#include "bar/line_list.h"

#include <new>
#include <stdexcept>
#include <utility>

#include "bar/bar_file.h"
#include "bar/errors.h"
#include "bar/strings.h"

namespace bar {

namespace {

// Positions within a line are signed 32-bit, so a longer line could not be
// read back.
constexpr std::size_t kMaxLineLength = kMaxInt;

[[noreturn]] void ThrowInsertError() { throw InsertError(u"Unable to insert a line"); }

// Runs `store`, which changes the list only once it can no longer fail.
// Running out of storage, or asking a container for more than it can ever
// hold, is the insert error the full list-box control gives.
template <typename Store>
auto StoreOrThrow(Store store) -> decltype(store()) {
  try {
    return store();
  } catch (const std::bad_alloc&) {
    ThrowInsertError();
  } catch (const std::length_error&) {
    ThrowInsertError();
  }
}

// A list keeps a line up to its first NUL. NULs alone after it (the
// padding an editor leaves at the end of a file) lose nothing; anything else
// would be gone with the next save.
bool AnyLosesTextAtNul(const std::vector<std::u16string_view>& lines) {
  for (std::u16string_view line : lines) {
    const std::size_t nul = line.find(u'\0');
    if (nul == std::u16string_view::npos) continue;
    if (line.find_first_not_of(u'\0', nul) != std::u16string_view::npos) return true;
  }
  return false;
}

bool AnyTooLong(const std::vector<std::u16string_view>& lines) {
  for (std::u16string_view line : lines) {
    if (line.size() > kMaxLineLength) return true;
  }
  return false;
}

}  // namespace

IndexError LineList::OutOfBounds(int32_t index) const {
  // The type name of the list-box control's lines, which the message has
  // always named.
  std::u16string message = u"List index out of bounds (" + IntToStr(index) + u").  TListBoxLines";
  message += Count() > 0 ? u" range is 0.." + IntToStr(Count() - 1) : u" is empty";
  return IndexError(std::move(message));
}

std::u16string_view LineList::Get(int32_t index) const {
  if (index < 0 || index >= Count()) throw OutOfBounds(index);
  return lines_[static_cast<std::size_t>(index)];
}

void LineList::Put(int32_t index, std::u16string_view text) {
  if (index < 0 || index >= Count()) throw OutOfBounds(index);
  if (text.size() > kMaxLineLength) ThrowInsertError();
  // A replace in place: the editing operations renumber whole bars line by
  // line, so this must not shift the lines after it.
  lines_[static_cast<std::size_t>(index)] = Keep(Stored(text));
}

int32_t LineList::Add(std::u16string_view text) {
  Insert(Count(), text);
  return Count() - 1;
}

void LineList::Insert(int32_t index, std::u16string_view text) {
  if (index < 0 || index > Count()) ThrowInsertError();
  if (Count() >= line_limit_ || text.size() > kMaxLineLength) ThrowInsertError();
  const std::u16string_view kept = Keep(Stored(text));
  StoreOrThrow([&] { lines_.insert(lines_.begin() + index, kept); });
}

void LineList::Delete(int32_t index) {
  if (index < 0 || index >= Count()) return;
  lines_.erase(lines_.begin() + index);
}

void LineList::Clear() {
  lines_.clear();
  text_.Clear();
}

void LineList::KeepLines(const std::vector<int32_t>& indices) {
  for (int32_t index : indices) {
    if (index < 0 || index >= Count()) throw OutOfBounds(index);
  }
  if (indices.size() > static_cast<std::size_t>(line_limit_)) ThrowInsertError();
  StoreOrThrow([&] {
    std::vector<std::u16string_view> kept;
    kept.reserve(indices.size());
    for (int32_t index : indices) kept.push_back(lines_[static_cast<std::size_t>(index)]);
    lines_ = std::move(kept);
  });
}

void LineList::LoadFromFile(const std::u16string& file_name, FileSystem& files) {
  LoadFromBytes(files.ReadFile(file_name), file_name, files);
}

bool LineList::LoadFromFileIfExists(const std::u16string& file_name, FileSystem& files) {
  std::optional<std::string> bytes = files.ReadFileIfExists(file_name);
  if (!bytes) return false;
  LoadFromBytes(*bytes, file_name, files);
  return true;
}

// The file's text is decoded in one piece and kept whole: its lines are
// views into it.
void LineList::LoadFromBytes(const std::string& bytes, const std::u16string& file_name,
                             FileSystem& files) {
  std::size_t mark_length = 0;
  const Encoding encoding = DetectEncoding(bytes, &mark_length);
  encoding_ = encoding;
  StoreOrThrow([&] {
    const std::string_view body = std::string_view(bytes).substr(mark_length);
    TextStore text;
    bool nul = false;
    std::vector<std::u16string_view> lines =
        SplitLineViews(text.Adopt(DecodeBarText(body, encoding)), &nul);
    if (nul && AnyLosesTextAtNul(lines)) {
      throw BarFormatError(u"File \"" + files.FullPath(file_name) +
                           u"\" holds NUL characters (UTF-16 text without a byte-order "
                           u"mark?) and cannot be edited without losing them");
    }
    if (lines.size() > static_cast<std::size_t>(line_limit_) || AnyTooLong(lines)) {
      ThrowInsertError();
    }
    if (nul) {
      for (std::u16string_view& line : lines) line = Stored(line);
    }
    lines_ = std::move(lines);
    text_ = std::move(text);
  });
}

void LineList::SaveToFile(const std::u16string& file_name, FileSystem& files) const {
  files.ReplaceFile(file_name, EncodeBarLines(lines_, encoding_));
}

// The copies go to a store of the list's own, so that the source's may go.
void LineList::Assign(const LineList& source) {
  if (&source != this) {
    const std::vector<std::u16string_view>& lines = source.lines_;
    if (lines.size() > static_cast<std::size_t>(line_limit_) || AnyTooLong(lines)) {
      ThrowInsertError();
    }
    StoreOrThrow([&] {
      std::size_t units = 0;
      for (std::u16string_view line : lines) units += line.size();
      TextStore text;
      text.Reserve(units);
      std::vector<std::u16string_view> copies;
      copies.reserve(lines.size());
      for (std::u16string_view line : lines) copies.push_back(text.Keep(Stored(line)));
      lines_ = std::move(copies);
      text_ = std::move(text);
    });
  }
  // A list that was never loaded saves in the legacy code page, so naming
  // it explicitly saves the same way.
  encoding_ = source.encoding_.value_or(Encoding::kLegacy);
}

std::u16string_view LineList::Stored(std::u16string_view text) {
  return text.substr(0, text.find(u'\0'));
}

std::u16string_view LineList::Keep(std::u16string_view text) {
  return StoreOrThrow([&] { return text_.Keep(text); });
}

}  // namespace bar
