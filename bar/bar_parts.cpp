#include "bar/bar_parts.h"

#include "bar/bar_file.h"
#include "bar/entry_key.h"
#include "bar/errors.h"
#include "bar/strings.h"

namespace bar {

bool IsSectionHeader(std::u16string_view line) {
  const std::u16string_view text = TrimBlanks(line);
  return !text.empty() && text[0] == u'[' && text.find(u']') != std::u16string_view::npos;
}

bool IsButtonSectionHeader(std::u16string_view line) {
  return EqualsIgnoringAsciiCase(TrimBlanks(line), u"[Buttonbar]");
}

bool OwnedByNoEntry(std::u16string_view line) {
  if (line.find(u'=') == std::u16string_view::npos) return true;
  const std::u16string_view text = TrimBlanks(line);
  return !text.empty() && text[0] == u';';
}

std::optional<SectionRange> FindButtonSection(const std::vector<std::u16string_view>& lines) {
  const int32_t count = static_cast<int32_t>(lines.size());
  for (int32_t header = 0; header < count; ++header) {
    if (!IsButtonSectionHeader(lines[header])) continue;
    int32_t end = header + 1;
    while (end < count && !IsSectionHeader(lines[end])) ++end;
    return SectionRange{header, end};
  }
  return std::nullopt;
}

BarParts::BarParts() : header_(u"[Buttonbar]"), body_{kLinePlace} {}

struct BarParts::Parsed {
  BarParts parts;
  int32_t header = 0;
  std::optional<int32_t> count;  // the first count line's index
  std::vector<int32_t> entries;  // the entry lines' indices, in file order
};

// The plain bar is the list's own lines, kept in their new order, and the
// count line made anew.
BarParts BarParts::Split(LineList& bar, const Subject& subject) {
  if (bar.Count() < 2) throw bar.OutOfBounds(1);
  Parsed parsed = Parse(bar.views(), subject);
  if (!parsed.count) {
    throw BarFormatError(subject() +
                         u" has no \"Buttoncount=\" line in its \"[Buttonbar]\" section");
  }
  const std::u16string_view count_line = bar.Get(*parsed.count);
  const std::u16string new_count_line =
      u"Buttoncount=" + std::u16string(count_line.substr(count_line.find(u'=') + 1));
  std::vector<int32_t> plain = {parsed.header, *parsed.count};
  plain.insert(plain.end(), parsed.entries.begin(), parsed.entries.end());
  bar.KeepLines(plain);
  bar.Put(1, new_count_line);
  return std::move(parsed.parts);
}

BarParts BarParts::KeptFrom(const LineList& bar, const Subject& subject) {
  if (bar.Count() == 0) return BarParts();
  Parsed parsed = Parse(bar.views(), subject);
  if (!parsed.count) {
    parsed.parts.count_place_ = 0;
    parsed.parts.body_.insert(parsed.parts.body_.begin(), kLinePlace);
  }
  return std::move(parsed.parts);
}

BarParts::Parsed BarParts::Parse(const std::vector<std::u16string_view>& lines,
                                 const Subject& subject) {
  const std::optional<SectionRange> section = FindButtonSection(lines);
  if (!section) throw BarFormatError(subject() + u" has no \"[Buttonbar]\" section");
  Parsed parsed;
  parsed.header = section->header;
  BarParts& parts = parsed.parts;
  parts.body_.clear();
  parts.body_.reserve(static_cast<std::size_t>(section->end - section->header));
  parts.before_.assign(lines.begin(), lines.begin() + section->header);
  parts.header_ = lines[section->header];
  parts.after_.assign(lines.begin() + section->end, lines.end());

  for (int32_t i = section->header + 1; i < section->end; ++i) {
    const std::u16string_view line = lines[i];
    const bool is_count = IsCountLine(line);
    if (!parsed.count && is_count) {
      parts.count_place_ = parts.body_.size();
      parts.body_.push_back(kLinePlace);
      parsed.count = i;
    } else if (is_count || OwnedByNoEntry(line)) {
      // A second count line is dead to every reader, and were it moved
      // ahead of the first one, it would become the count.
      parts.body_.push_back(static_cast<int32_t>(parts.kept_.size()));
      parts.kept_.emplace_back(line);
    } else {
      parts.body_.push_back(kLinePlace);
      parsed.entries.push_back(i);
    }
  }
  return parsed;
}

std::vector<std::u16string_view> BarParts::Join(
    const std::vector<std::u16string_view>& plain) const {
  // Entry lines the places cannot take follow the last entry's place, or
  // the count line when the section had no entry: an expanded block stays
  // inside the section, ahead of the empty lines and comments that close it.
  std::size_t last_place = count_place_;
  for (std::size_t k = 0; k < body_.size(); ++k) {
    if (body_[k] == kLinePlace) last_place = k;
  }
  std::vector<std::u16string_view> lines;
  lines.reserve(before_.size() + body_.size() + plain.size() + after_.size());
  lines.insert(lines.end(), before_.begin(), before_.end());
  lines.push_back(header_);
  std::size_t next = 2;
  for (std::size_t k = 0; k < body_.size(); ++k) {
    if (body_[k] != kLinePlace) {
      lines.push_back(kept_[static_cast<std::size_t>(body_[k])]);
    } else if (k == count_place_) {
      lines.push_back(plain.at(1));
    } else if (next < plain.size()) {
      lines.push_back(plain[next++]);
    }
    if (k == last_place) {
      while (next < plain.size()) lines.push_back(plain[next++]);
    }
  }
  lines.insert(lines.end(), after_.begin(), after_.end());
  return lines;
}

void BarParts::Save(const LineList& plain, const std::u16string& file_name,
                    FileSystem& files) const {
  files.ReplaceFile(file_name, EncodeBarLines(Join(plain.views()), plain.remembered_encoding()));
}

}  // namespace bar
