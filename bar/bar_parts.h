// A bar file is an INI file. The toggle edits the entries of its button
// section and keeps everything else where it stands:
//
//   lines before the button section      kept as they are
//   the header "[Buttonbar]"             kept as written (any letter case,
//                                        blanks around it)
//   the count line "Buttoncount=<n>"     rewritten in its place
//   entry lines "<key>=<value>"          sorted, renumbered, moved
//   lines no entry owns                  kept in their places: empty lines,
//                                        lines without "=", ";" comments
//   later sections                       kept as they are, in their order
//
// BarParts splits a loaded bar into its plain bar, the lines the editing
// works on (the header line, the count line, the entry lines), and the rest,
// and puts an edited plain bar back among the rest.
#ifndef KELVANE_BAR_BAR_PARTS_H_
#define KELVANE_BAR_BAR_PARTS_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bar/file_system.h"
#include "bar/line_list.h"

namespace bar {

// A line that opens an INI section: after blanks it starts with "[", and a
// "]" follows.
bool IsSectionHeader(std::u16string_view line);

// The header of the button section: "[Buttonbar]" in any letter case, with
// blanks around it.
bool IsButtonSectionHeader(std::u16string_view line);

// A line of the button section that belongs to no entry: empty, without "=",
// or a comment (";" after blanks). So is every count line after the first.
bool OwnedByNoEntry(std::u16string_view line);

// The first button section: the index of its header line and the index past
// its last line (the next section's header, or the end).
struct SectionRange {
  int32_t header;
  int32_t end;
};
std::optional<SectionRange> FindButtonSection(const std::vector<std::u16string_view>& lines);

class BarParts {
 public:
  // What a refusal calls the bar, made only when a refusal is raised: its
  // text takes a full-path look-up.
  using Subject = std::function<std::u16string()>;

  // The parts of a bar that has no file yet: "[Buttonbar]" and nothing else.
  BarParts();

  // Leaves `bar` holding its plain bar: the header line, the count line (as
  // "Buttoncount=" and the text after its first "="), then the entry lines
  // in file order; keeps the rest. Throws, with `bar` unchanged: the index
  // error for line 1 when it has fewer than two lines, BarFormatError,
  // subject() + " has no ...", for a bar without a button section or
  // without a count line in it. InsertError as LineList gives it.
  static BarParts Split(LineList& bar, const Subject& subject);

  // The parts of a bar whose entries are about to be replaced, `bar` left
  // as it is: a bar without lines gives BarParts(), one without a count line
  // gets its place right after the header. BarFormatError as Split gives it
  // for a bar that has lines but no button section.
  static BarParts KeptFrom(const LineList& bar, const Subject& subject);

  // The whole bar again, with `plain` (a plain bar as Split leaves it, whose
  // header line is ignored) in the places its lines were taken from: the
  // header as it was written, the count line in its place, the entry lines
  // in order in the entries' places. Entry lines beyond those places follow
  // the last of them; places left over go.
  // The views are of `plain` and of these parts.
  std::vector<std::u16string_view> Join(const std::vector<std::u16string_view>& plain) const;

  // Saves the joined bar to the file in the plain bar's remembered encoding
  // (as LineList::SaveToFile does).
  void Save(const LineList& plain, const std::u16string& file_name, FileSystem& files) const;

 private:
  // The parts of a bar's lines, and where its plain bar's lines stand.
  struct Parsed;
  static Parsed Parse(const std::vector<std::u16string_view>& lines, const Subject& subject);

  std::vector<std::u16string> before_;
  std::u16string header_;
  // The section after its header, a place a line: the index in kept_ of a
  // line no entry owns, or kLinePlace for the place of the count line
  // (count_place_) or of an entry line.
  static constexpr int32_t kLinePlace = -1;
  std::vector<int32_t> body_;
  std::vector<std::u16string> kept_;
  std::size_t count_place_ = 0;
  std::vector<std::u16string> after_;
};

}  // namespace bar

#endif  // KELVANE_BAR_BAR_PARTS_H_
