#include "bar/bar_parts.h"

#include "bar/bar_file.h"
#include "bar/entry_key.h"
#include "bar/errors.h"
#include "bar/strings.h"

namespace bar {

bool IsSectionHeader(std::u16string_view line) {
  // Most lines start with a letter: no trimming needed to tell.
  if (!line.empty() && line[0] != u'[' && line[0] != u' ' && line[0] != u'\t') return false;
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

std::optional<SectionRange> FindButtonSection(const std::vector<std::u16string>& lines) {
  return FindButtonSection(std::vector<std::u16string_view>(lines.begin(), lines.end()));
}

BarParts::BarParts() : header_(u"[Buttonbar]"), body_{kLinePlace} {}

// The plain bar is the list's own lines, kept in their new order, and the
// count line made anew.
BarParts BarParts::Split(LineList& bar, const std::u16string& subject) {
  std::vector<int32_t> plain;
  std::u16string_view count;
  BarParts parts = Parse(bar.views(), subject, CountLine::kRequired, &plain, &count);
  const std::u16string count_line = u"Buttoncount=" + std::u16string(count);
  bar.KeepLines(plain);
  bar.Put(1, count_line);
  return parts;
}

BarParts BarParts::KeptFrom(const LineList& bar, const std::u16string& subject) {
  if (bar.Count() == 0) return BarParts();
  return Parse(bar.views(), subject, CountLine::kOptional, nullptr, nullptr);
}

BarParts BarParts::Parse(const std::vector<std::u16string_view>& lines,
                         const std::u16string& subject, CountLine count_line,
                         std::vector<int32_t>* plain, std::u16string_view* count) {
  const std::optional<SectionRange> section = FindButtonSection(lines);
  if (!section) throw BarFormatError(subject + u" has no \"[Buttonbar]\" section");
  BarParts parts;
  parts.body_.clear();
  parts.body_.reserve(static_cast<std::size_t>(section->end - section->header));
  parts.before_.assign(lines.begin(), lines.begin() + section->header);
  parts.header_ = lines[section->header];
  parts.after_.assign(lines.begin() + section->end, lines.end());

  std::optional<int32_t> count_index;
  std::vector<int32_t> entries;
  entries.reserve(parts.body_.capacity());
  for (int32_t i = section->header + 1; i < section->end; ++i) {
    const std::u16string_view line = lines[i];
    const bool is_count = IsCountLine(line);
    if (!count_index && is_count) {
      parts.count_place_ = parts.body_.size();
      parts.body_.push_back(kLinePlace);
      count_index = i;
    } else if (is_count || OwnedByNoEntry(line)) {
      // A second count line is dead to every reader, and were it moved
      // ahead of the first one, it would become the count.
      parts.body_.push_back(static_cast<int32_t>(parts.kept_.size()));
      parts.kept_.emplace_back(line);
    } else {
      parts.body_.push_back(kLinePlace);
      entries.push_back(i);
    }
  }
  if (!count_index) {
    if (count_line == CountLine::kRequired) {
      throw BarFormatError(subject +
                           u" has no \"Buttoncount=\" line in its \"[Buttonbar]\" section");
    }
    parts.count_place_ = 0;
    parts.body_.insert(parts.body_.begin(), kLinePlace);
  }
  if (plain) {
    const std::u16string_view line = lines[*count_index];
    *count = line.substr(line.find(u'=') + 1);
    plain->clear();
    plain->reserve(entries.size() + 2);
    plain->push_back(section->header);
    plain->push_back(*count_index);
    plain->insert(plain->end(), entries.begin(), entries.end());
  }
  return parts;
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
