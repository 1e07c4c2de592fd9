#include "tests/memory_file_system.h"

#include "bar/errors.h"

namespace testing_support {

namespace {

// The reasons Windows gives, so that messages read as they would there.
constexpr char16_t kNotFound[] = u"The system cannot find the file specified";
constexpr char16_t kInUse[] =
    u"The process cannot access the file because it is being used by another process";
constexpr char16_t kAccessDenied[] = u"Access is denied";

}  // namespace

std::string MemoryFileSystem::ReadFile(const std::u16string& path) {
  const auto file = files.find(path);
  if (file == files.end()) {
    throw bar::OpenError(u"Cannot open file \"" + FullPath(path) + u"\". " + kNotFound);
  }
  if (FaultOf(path) == Fault::kOpen) {
    throw bar::OpenError(u"Cannot open file \"" + FullPath(path) + u"\". " + kInUse);
  }
  events.push_back(u"read " + path);
  return file->second;
}

std::optional<std::string> MemoryFileSystem::ReadFileIfReadable(const std::u16string& path,
                                                                std::u16string& failure) {
  if (FaultOf(path) == Fault::kOpen) {
    failure = kInUse;
    return std::nullopt;
  }
  if (files.count(path) == 0) return std::nullopt;
  return ReadFile(path);
}

void MemoryFileSystem::ReplaceFile(const std::u16string& path, std::string_view bytes) {
  switch (FaultOf(path)) {
    case Fault::kCreate:
      throw bar::CreateError(u"Cannot create file \"" + FullPath(path) + u"\". " + kAccessDenied);
    case Fault::kWrite:
      throw bar::WriteError(u"Stream write error");
    case Fault::kNone:
    case Fault::kOpen:
      break;
  }
  files[path] = std::string(bytes);
  events.push_back(u"replace " + path);
}

void MemoryFileSystem::Fail(const std::u16string& path, Fault fault) {
  if (fault == Fault::kNone) {
    faults_.erase(path);
    return;
  }
  faults_[path] = fault;
}

MemoryFileSystem::Fault MemoryFileSystem::FaultOf(const std::u16string& path) const {
  const auto fault = faults_.find(path);
  return fault == faults_.end() ? Fault::kNone : fault->second;
}

}  // namespace testing_support
