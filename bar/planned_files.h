// A toggle that edits several files works out all of them before it writes
// any: PlannedFiles is a FileSystem over the real one that holds every
// replace in memory until Commit, so a failure while planning writes nothing.
#ifndef KELVANE_BAR_PLANNED_FILES_H_
#define KELVANE_BAR_PLANNED_FILES_H_

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bar/file_system.h"

namespace bar {

class PlannedFiles : public FileSystem {
 public:
  explicit PlannedFiles(FileSystem& files) : files_(files) {}

  // A file's planned bytes, or its bytes read from the real files once:
  // later reads give the same. Files are told apart by FullPath.
  std::string ReadFile(const std::u16string& path) override;
  std::optional<std::string> ReadFileIfReadable(const std::u16string& path,
                                                std::u16string& failure) override;
  // Plans the file's new bytes; writes nothing.
  void ReplaceFile(const std::u16string& path, std::string_view bytes) override;
  std::u16string FullPath(const std::u16string& path) override { return files_.FullPath(path); }

  // Replaces each planned file with its last planned bytes, in the order
  // they were first planned, but the file `last` after all others. The
  // first failure stops it: the files before it hold their new bytes,
  // itself and the rest their old ones.
  void Commit(const std::u16string& last);

 private:
  struct File {
    std::u16string path;  // as first planned or read
    std::string bytes;
    bool planned = false;
  };

  File* Find(const std::u16string& path);
  File& Remember(const std::u16string& path, std::string bytes);

  FileSystem& files_;
  std::map<std::u16string, std::size_t> index_;  // by FullPath, into files_in_order_
  std::vector<File> files_in_order_;             // read or planned, in that order
  std::vector<std::size_t> planned_;             // first planned first
};

}  // namespace bar

#endif  // KELVANE_BAR_PLANNED_FILES_H_
