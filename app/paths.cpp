#include "app/paths.h"

#include <cstddef>
#include <vector>

#include "bar/file_name.h"
#include "bar/path_form.h"

namespace app {

namespace {

constexpr char16_t kPathDelim = u'\\';
constexpr char16_t kDriveDelim = u':';

bool IsDelimiter(char16_t c) { return c == kPathDelim || c == kDriveDelim; }

// Index of the last delimiter, or npos.
std::size_t LastDelimiter(const std::u16string& path) { return path.find_last_of(u"\\:"); }

// The folder part after the drive: from the end of the drive part up to and
// including the last delimiter.
std::u16string FolderWithoutDrive(const std::u16string& path) {
  std::u16string folder = ExtractFilePath(path);
  folder.erase(0, ExtractFileDrive(path).size());
  return folder;
}

// Segments of a folder part: the text before each "\"; text after the last
// "\" (here only a trailing ":" part) is no segment.
std::vector<std::u16string> Segments(const std::u16string& folder) {
  std::vector<std::u16string> segments;
  std::size_t start = 0;
  for (std::size_t end; (end = folder.find(kPathDelim, start)) != std::u16string::npos;
       start = end + 1) {
    segments.push_back(folder.substr(start, end - start));
  }
  return segments;
}

}  // namespace

std::u16string ExtractFileName(const std::u16string& path) {
  std::size_t last = LastDelimiter(path);
  return last == std::u16string::npos ? path : path.substr(last + 1);
}

std::u16string ExtractFilePath(const std::u16string& path) {
  std::size_t last = LastDelimiter(path);
  return last == std::u16string::npos ? std::u16string() : path.substr(0, last + 1);
}

std::u16string ExtractFileDir(const std::u16string& path) {
  std::size_t last = LastDelimiter(path);
  if (last == std::u16string::npos) return std::u16string();
  bool keep = path[last] == kDriveDelim || last == 0 || IsDelimiter(path[last - 1]);
  return path.substr(0, keep ? last + 1 : last);
}

std::u16string ExtractFileDrive(const std::u16string& path) {
  if (path.size() >= 2 && path[1] == kDriveDelim) return path.substr(0, 2);
  if (path.size() < 2 || path[0] != kPathDelim || path[1] != kPathDelim) return std::u16string();
  // Past "\\", the server name, its "\" and the share name; the "\" after the
  // share (or a trailing one) is not part of the drive.
  std::size_t server_end = path.find(kPathDelim, 2);
  std::size_t share_end = server_end == std::u16string::npos
                              ? std::u16string::npos
                              : path.find(kPathDelim, server_end + 1);
  if (share_end != std::u16string::npos) return path.substr(0, share_end);
  std::size_t end = path.size();
  if (end > 2 && path[end - 1] == kPathDelim) --end;
  return path.substr(0, end);
}

std::u16string ExtractRelativePath(const std::u16string& base, const std::u16string& target) {
  if (!bar::SameFileName(ExtractFileDrive(base), ExtractFileDrive(target))) return target;
  std::vector<std::u16string> base_segments = Segments(FolderWithoutDrive(base));
  std::vector<std::u16string> target_segments = Segments(FolderWithoutDrive(target));

  std::size_t common = 0;
  while (common < base_segments.size() && common < target_segments.size() &&
         bar::SameFileName(base_segments[common], target_segments[common])) {
    ++common;
  }

  std::u16string result;
  for (std::size_t i = common; i < base_segments.size(); ++i) result += u"..\\";
  for (std::size_t i = common; i < target_segments.size(); ++i) {
    if (i == common && target_segments[i].empty()) continue;
    result += target_segments[i] + kPathDelim;
  }
  return result + ExtractFileName(target);
}

std::u16string ExtractRelativeFolder(const std::u16string& base, const std::u16string& folder) {
  auto without_trailing_delimiters = [](std::u16string path) {
    while (!path.empty() && path.back() == kPathDelim) path.pop_back();
    return path;
  };
  if (bar::SameFileName(without_trailing_delimiters(base), without_trailing_delimiters(folder))) {
    return u".";
  }
  // The dialog gives a share's root as "\\srv\share", which would read as a
  // folder "share" in "\\srv\"; its root folder is "\\srv\share\", as a
  // drive's is "C:\".
  std::u16string root = without_trailing_delimiters(folder);
  const bool is_root = !root.empty() && ExtractFileDrive(root) == root;
  std::u16string relative = ExtractRelativePath(base, is_root ? root + kPathDelim : folder);
  // Another drive's folder stays as chosen, its root "D:\" included.
  if (relative == folder) return relative;
  return without_trailing_delimiters(relative);
}

std::u16string FindBase(const std::u16string& exe_path,
                        std::u16string (*long_name)(const std::u16string&)) {
  return long_name(ExtractFileDir(bar::WithoutLongPrefix(exe_path))) + kPathDelim;
}

}  // namespace app
