#include "bar/planned_files.h"

#include <utility>

namespace bar {

PlannedFiles::File* PlannedFiles::Find(const std::u16string& path) {
  const auto found = index_.find(files_.FullPath(path));
  return found == index_.end() ? nullptr : &files_in_order_[found->second];
}

PlannedFiles::File& PlannedFiles::Remember(const std::u16string& path, std::string bytes) {
  index_.emplace(files_.FullPath(path), files_in_order_.size());
  files_in_order_.push_back({path, std::move(bytes)});
  return files_in_order_.back();
}

std::string PlannedFiles::ReadFile(const std::u16string& path) {
  if (const File* file = Find(path)) return file->bytes;
  return Remember(path, files_.ReadFile(path)).bytes;
}

std::optional<std::string> PlannedFiles::ReadFileIfReadable(const std::u16string& path,
                                                            std::u16string& failure) {
  if (const File* file = Find(path)) return file->bytes;
  std::optional<std::string> bytes = files_.ReadFileIfReadable(path, failure);
  if (!bytes) return std::nullopt;
  return Remember(path, std::move(*bytes)).bytes;
}

void PlannedFiles::ReplaceFile(const std::u16string& path, std::string_view bytes) {
  File* file = Find(path);
  if (file == nullptr) file = &Remember(path, std::string());
  if (!file->planned) planned_.push_back(static_cast<std::size_t>(file - files_in_order_.data()));
  file->bytes.assign(bytes);
  file->planned = true;
}

void PlannedFiles::Commit(const std::u16string& last) {
  const File* last_file = Find(last);
  for (const std::size_t k : planned_) {
    const File& file = files_in_order_[k];
    if (&file != last_file) files_.ReplaceFile(file.path, file.bytes);
  }
  if (last_file != nullptr && last_file->planned) {
    files_.ReplaceFile(last_file->path, last_file->bytes);
  }
}

}  // namespace bar
