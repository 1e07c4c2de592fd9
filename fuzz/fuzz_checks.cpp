#include "fuzz/fuzz_checks.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <map>
#include <set>
#include <vector>

#include "bar/bar_file.h"
#include "bar/bar_parts.h"
#include "bar/code_page.h"
#include "bar/errors.h"
#include "bar/line_list.h"
#include "bar/marker.h"
#include "bar/unicode.h"
#include "tests/lines.h"
#include "tests/scoped_code_page.h"
#include "tests/toggle_rig.h"

namespace fuzzing {

namespace {

using testing_support::EncodeBarFile;
using testing_support::LinesOf;
using testing_support::SplitLines;
using testing_support::Views;
using testing_support::WrittenEncoding;

using bar::Encoding;
using bar::LineList;
using bar::ToggleAction;
using testing_support::Lines;
using testing_support::ToggleRig;

using Files = std::map<std::u16string, std::string>;

// The code pages whose conversions differ most: Western and Cyrillic single
// bytes, two double-byte pages with different lead bytes, and UTF-8 without
// a mark.
constexpr int kCodePages[] = {1252, 1251, 936, 65001, 932};
constexpr int kCodePageCount = 5;
const char16_t* const kSubBarNames[] = {u"tools.bar", u"a.bar", u"x.txt", u"Tools.BAR"};
constexpr int kSubBarNameCount = 4;

CheckResult Passed(std::string outcome) { return {std::string(), std::move(outcome)}; }
CheckResult Violated(std::string violation) { return {std::move(violation), std::string()}; }

std::string Utf8(std::u16string_view text) { return bar::ToUtf8(text); }

// ---- Loading ------------------------------------------------------------

constexpr char16_t kBarPath[] = u"C:\\tc\\Bar\\main.bar";
constexpr char16_t kCopyPath[] = u"C:\\tc\\Bar\\copy.bar";
constexpr char16_t kSecondCopyPath[] = u"C:\\tc\\Bar\\copy2.bar";
constexpr char16_t kLineBeforeLoad[] = u"line before the load";

std::u16string JoinedWithCrLf(const Lines& lines) {
  std::u16string text;
  for (const std::u16string& line : lines) text += line + u"\r\n";
  return text;
}

bool HasBreakOrNul(const std::u16string& line) {
  return line.find_first_of(std::u16string_view(u"\r\n\0", 3)) != std::u16string::npos;
}

// True when saving can only give the file's own bytes back: the text is
// every line followed by CR LF, the save keeps the encoding, neither the
// mark a UTF-8 code page adds nor an odd UTF-16 byte it drops applies, and
// legacy bytes are each character's usual form (code page 932 has two for
// some characters, and a save writes the usual one).
bool IsInSavedForm(std::string_view bytes, const LineList& list) {
  std::size_t mark = 0;
  const Encoding detected = bar::DetectEncoding(bytes, &mark);
  if (WrittenEncoding(LinesOf(list), list.remembered_encoding()) != detected) return false;
  if (detected == Encoding::kLegacy && bar::LegacyCodePage() == bar::kCodePageUtf8) return false;
  const std::string_view body = bytes.substr(mark);
  const bool utf16 = detected == Encoding::kUtf16LE || detected == Encoding::kUtf16BE;
  if (utf16 && body.size() % 2 != 0) return false;
  const std::u16string text = bar::DecodeBarText(body, detected);
  if (detected == Encoding::kLegacy && bar::EncodeCodePage(bar::LegacyCodePage(), text) != body) {
    return false;
  }
  return text == JoinedWithCrLf(LinesOf(list));
}

CheckResult CheckSaveAndReload(const std::string& bytes, const LineList& list,
                               testing_support::MemoryFileSystem& files) {
  list.SaveToFile(kCopyPath, files);
  const std::string saved = files.files.at(kCopyPath);
  LineList reloaded;
  reloaded.LoadFromFile(kCopyPath, files);
  if (LinesOf(reloaded) != LinesOf(list)) {
    return Violated("the saved bar reloads with other lines");
  }
  reloaded.SaveToFile(kSecondCopyPath, files);
  if (files.files.at(kSecondCopyPath) != saved) {
    return Violated("saving the reloaded bar wrote other bytes than the first save");
  }
  if (IsInSavedForm(bytes, list) && saved != bytes) {
    return Violated("a bar already in the saved form was written with other bytes");
  }
  return Passed("loaded " + std::to_string(list.Count()) + " lines");
}

CheckResult LoadSaveAndReload(const std::string& bytes) {
  testing_support::MemoryFileSystem files;
  files.files[kBarPath] = bytes;
  LineList list;
  list.Add(kLineBeforeLoad);
  const Encoding detected = bar::DetectEncoding(bytes, nullptr);
  try {
    list.LoadFromFile(kBarPath, files);
  } catch (const bar::Error& e) {
    if (LinesOf(list) != Lines{kLineBeforeLoad}) {
      return Violated(std::string("a failed load changed the list: ") + e.what());
    }
    if (list.remembered_encoding() != detected) {
      return Violated(std::string("a failed load did not remember the file's encoding: ") +
                      e.what());
    }
    return Passed(std::string("load failed: ") + e.what());
  }
  if (list.remembered_encoding() != detected) {
    return Violated("the load did not remember the file's encoding");
  }
  for (const std::u16string& line : LinesOf(list)) {
    if (HasBreakOrNul(line)) return Violated("a loaded line holds CR, LF or NUL");
  }
  return CheckSaveAndReload(bytes, list, files);
}

// ---- Toggling -----------------------------------------------------------

// One start-up of the program, as a fresh process: new lists, the files
// as given, the argument. `error` is the bar::Error it ended with, if any.
struct StartUp {
  ToggleAction action = ToggleAction::kNothing;
  std::optional<std::string> error;
  Files files;
  std::vector<std::u16string> events;
  std::vector<int32_t> commands;
};

StartUp RunStartUp(const Files& files, const std::u16string& par) {
  ToggleRig rig;
  rig.files.files = files;
  StartUp run;
  try {
    run.action = rig.Run(par);
  } catch (const bar::Error& e) {
    run.error = e.what();
  }
  run.files = rig.files.files;
  run.events = rig.files.events;
  run.commands = rig.commands;
  return run;
}

std::string ActionName(ToggleAction action) {
  switch (action) {
    case ToggleAction::kNothing:
      return "start-up";
    case ToggleAction::kExpand:
      return "expand";
    case ToggleAction::kCollapse:
      return "collapse";
  }
  return "?";
}

// What every start-up owes the user whatever it did: a failure leaves every
// file as it was and tells nobody; a toggle that completes notifies twice,
// after its last save.
std::string StartUpViolation(const Files& before, const StartUp& run) {
  const std::string what = ActionName(run.action);
  if (run.error) {
    if (run.files != before) return "a failed " + what + " changed the files: " + *run.error;
    if (!run.commands.empty()) return "a failed " + what + " notified the file manager";
    return std::string();
  }
  if (run.action == ToggleAction::kNothing) {
    if (run.files != before || !run.commands.empty()) return "an empty main bar led to a toggle";
    return std::string();
  }
  if (run.commands != std::vector<int32_t>{bar::kReloadBarCommand, bar::kReloadBarCommand}) {
    return "a completed " + what + " did not send the reload command exactly twice";
  }
  const std::size_t n = run.events.size();
  if (n < 2 || run.events[n - 1].rfind(u"notify", 0) != 0 ||
      run.events[n - 2].rfind(u"notify", 0) != 0) {
    return "a completed " + what + " saved a file after notifying the file manager";
  }
  return std::string();
}

// A file's lines as a control list keeps them: up to their first NUL, which
// only NULs followed in a file that loaded.
Lines LinesOfBytes(const std::string& bytes) {
  std::size_t mark = 0;
  const Encoding encoding = bar::DetectEncoding(bytes, &mark);
  Lines lines = SplitLines(bar::DecodeBarText(std::string_view(bytes).substr(mark), encoding));
  for (std::u16string& line : lines) line = line.substr(0, line.find(u'\0'));
  return lines;
}

// Both bars hold what they held before the expand, or the violation.
std::string ContentViolation(const Files& before, const Files& after) {
  for (const auto& [path, bytes] : before) {
    const testing_support::BarContent was = testing_support::ContentOf(LinesOfBytes(bytes));
    const testing_support::BarContent is = testing_support::ContentOf(LinesOfBytes(after.at(path)));
    if (is == was) continue;
    return "collapsing after the expand did not give back " + Utf8(path) + "\nnow:\n" +
           testing_support::Describe(is) + "before:\n" + testing_support::Describe(was);
  }
  return std::string();
}

// A line as it reads whatever number it is given: its key without digits.
std::u16string Unnumbered(const std::u16string& line) {
  const std::size_t equals = line.find(u'=');
  if (equals == std::u16string::npos) return line;
  std::u16string text;
  for (std::size_t at = 0; at < equals; ++at) {
    if (line[at] < u'0' || line[at] > u'9') text += line[at];
  }
  return text + line.substr(equals);
}

// What a collapse must keep of a bar: every line but its button section's
// header and count line, the entry lines without their numbers. Entry lines
// numbered `left_out` do not count, nor do entry lines at all unless
// `entries` is set.
std::multiset<std::u16string> Body(const Lines& lines, std::optional<int32_t> left_out,
                                   bool entries) {
  std::multiset<std::u16string> body;
  const std::optional<bar::SectionRange> section = bar::FindButtonSection(Views(lines));
  bool counted = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::u16string& line = lines[i];
    const bool in_section = section && static_cast<int32_t>(i) >= section->header &&
                            static_cast<int32_t>(i) < section->end;
    if (!counted && in_section && bar::IsCountLine(line)) {
      counted = true;
      continue;
    }
    if (!in_section || bar::OwnedByNoEntry(line) || bar::IsCountLine(line)) {
      if (!section || static_cast<int32_t>(i) != section->header) body.insert(line);
      continue;
    }
    if (!entries || (left_out && bar::NumberOf(line) == left_out)) continue;
    body.insert(Unnumbered(line));
  }
  return body;
}

std::string Describe(const std::multiset<std::u16string>& lines) {
  std::string text;
  for (const std::u16string& line : lines) text += " [" + Utf8(line) + "]";
  return text;
}

// A collapse moves lines and renumbers them, but loses none: every line of
// the main bar but its header lines and the marker entry, and every line of
// the sub-bar file but its header lines and entries, is afterwards in the
// main bar or in the sub-bar file.
std::string CollapseLossViolation(const Files& before, const Files& after,
                                  const std::u16string& par) {
  const Lines main_before = LinesOfBytes(before.at(ToggleRig::MainPath()));
  std::optional<int32_t> marker;
  const std::optional<bar::SectionRange> section = bar::FindButtonSection(Views(main_before));
  for (int32_t i = section ? section->header : 0; section && i < section->end; ++i) {
    const std::u16string& line = main_before[static_cast<std::size_t>(i)];
    if (!bar::IsMarkerLine(line, par)) continue;
    const std::optional<int32_t> n = bar::NumberOf(line);
    if (!marker || (n && *n < *marker)) marker = n;
  }
  std::multiset<std::u16string> was = Body(main_before, marker, true);
  if (const auto sub_before = before.find(ToggleRig::SubPath(par)); sub_before != before.end()) {
    const std::multiset<std::u16string> kept = Body(LinesOfBytes(sub_before->second), {}, false);
    was.insert(kept.begin(), kept.end());
  }
  std::multiset<std::u16string> is = Body(LinesOfBytes(after.at(ToggleRig::MainPath())), {}, true);
  const std::multiset<std::u16string> moved =
      Body(LinesOfBytes(after.at(ToggleRig::SubPath(par))), {}, true);
  is.insert(moved.begin(), moved.end());
  if (is == was) return std::string();
  std::multiset<std::u16string> lost;
  std::multiset<std::u16string> gained;
  std::set_difference(was.begin(), was.end(), is.begin(), is.end(),
                      std::inserter(lost, lost.end()));
  std::set_difference(is.begin(), is.end(), was.begin(), was.end(),
                      std::inserter(gained, gained.end()));
  return "the collapse did not keep every line; lost:" + Describe(lost) +
         "; gained:" + Describe(gained);
}

// `expanded` is what a successful expand made of `before`: it must have
// written the main bar alone, and the next start-up must collapse it back.
CheckResult CheckRoundTrip(const Files& before, const Files& expanded, const std::u16string& par) {
  for (const auto& [path, bytes] : before) {
    if (path != ToggleRig::MainPath() && expanded.at(path) != bytes) {
      return Violated("the expand wrote " + Utf8(path));
    }
  }
  const StartUp back = RunStartUp(expanded, par);
  if (const std::string v = StartUpViolation(expanded, back); !v.empty()) return Violated(v);
  if (back.error) {
    return Violated("the expanded sub-bar cannot be collapsed: " + *back.error);
  }
  if (back.action != ToggleAction::kCollapse) {
    return Violated("the start-up after the expand chose the " + ActionName(back.action) +
                    ", not the collapse");
  }
  if (back.files.size() != before.size()) return Violated("the round trip left a new file");
  if (const std::string v = ContentViolation(before, back.files); !v.empty()) return Violated(v);
  return Passed("expanded and collapsed");
}

// The start-up on `before`, and when it expanded, the collapse that must
// undo it; `then` names what came before (for the outcome).
CheckResult CheckStartUp(const Files& before, const std::u16string& par, const std::string& then) {
  const StartUp run = RunStartUp(before, par);
  if (const std::string v = StartUpViolation(before, run); !v.empty()) return Violated(v);
  if (run.error) return Passed(then + "refused: " + *run.error);
  if (run.action == ToggleAction::kExpand) {
    CheckResult result = CheckRoundTrip(before, run.files, par);
    result.outcome = then + result.outcome;
    return result;
  }
  if (run.action == ToggleAction::kCollapse && then.empty()) {
    if (const std::string v = CollapseLossViolation(before, run.files, par); !v.empty()) {
      return Violated(v);
    }
    // The bar came in expanded: what the collapse left must survive a
    // round trip of its own.
    return CheckStartUp(run.files, par, "collapsed, then ");
  }
  return Passed(then + ActionName(run.action) + " done");
}

}  // namespace

int CodePageOf(unsigned char selector) { return kCodePages[selector % kCodePageCount]; }

std::u16string SubBarNameOf(unsigned char selector) {
  return kSubBarNames[(selector / kCodePageCount) % kSubBarNameCount];
}

unsigned char Selector(int code_page_index, int name_index) {
  return static_cast<unsigned char>(name_index * kCodePageCount + code_page_index);
}

std::string ToggleInput(unsigned char selector, std::string_view main_bar,
                        std::optional<std::string_view> sub_bar) {
  std::string input(1, static_cast<char>(selector));
  input += main_bar;
  if (sub_bar) {
    input += kSubBarSeparator;
    input += *sub_bar;
  }
  return input;
}

CheckResult CheckLoad(std::string_view input) {
  if (input.empty()) return Passed("no input");
  testing_support::ScopedCodePage code_page(CodePageOf(static_cast<unsigned char>(input[0])));
  try {
    return LoadSaveAndReload(std::string(input.substr(1)));
  } catch (const std::exception& e) {
    return Violated(std::string("a load that succeeded was followed by a failure: ") + e.what());
  }
}

CheckResult CheckToggle(std::string_view input) {
  if (input.empty()) return Passed("no input");
  const auto selector = static_cast<unsigned char>(input[0]);
  testing_support::ScopedCodePage code_page(CodePageOf(selector));
  const std::u16string par = SubBarNameOf(selector);
  const std::string_view files = input.substr(1);
  const std::size_t separator = files.find(kSubBarSeparator);
  Files before;
  before[ToggleRig::MainPath()] = std::string(files.substr(0, separator));
  if (separator != std::string_view::npos) {
    before[ToggleRig::SubPath(par)] =
        std::string(files.substr(separator + kSubBarSeparator.size()));
  }
  try {
    return CheckStartUp(before, par, std::string());
  } catch (const std::exception& e) {
    return Violated(std::string("an exception other than bar::Error escaped: ") + e.what());
  }
}

}  // namespace fuzzing
