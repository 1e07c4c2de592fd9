// An in-memory FileSystem for tests: files are a map from path to bytes,
// and switches make single paths fail the way real files do, with the exact
// messages of the real errors.
//
//   testing_support::MemoryFileSystem files;
//   files.files[u"C:\\tc\\main.bar"] = "[Buttonbar]\r\nButtoncount=0\r\n";
//   files.Fail(u"C:\\tc\\main.bar", MemoryFileSystem::Fault::kWrite);
//   list.SaveToFile(u"C:\\tc\\main.bar", files);  // WriteError, file kept
//
// Paths are compared exactly as given and taken as already absolute
// (FullPath returns them unchanged), so messages name the path the test used.
#ifndef KELVANE_TESTS_MEMORY_FILE_SYSTEM_H_
#define KELVANE_TESTS_MEMORY_FILE_SYSTEM_H_

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "bar/file_system.h"

namespace testing_support {

class MemoryFileSystem : public bar::FileSystem {
 public:
  enum class Fault {
    kNone,
    kOpen,    // ReadFile throws OpenError although the file exists
    kCreate,  // ReplaceFile throws CreateError; the file stays as it was
    kWrite,   // ReplaceFile throws WriteError; the file stays as it was
  };

  // OpenError "Cannot open file "<path>". <reason>" for a missing file or a
  // kOpen fault. Logs "read <path>" when it succeeds.
  std::string ReadFile(const std::u16string& path) override;
  // The reason of ReadFile's kOpen fault in `failure`; nullopt for a
  // missing file; otherwise ReadFile.
  std::optional<std::string> ReadFileIfReadable(const std::u16string& path,
                                                std::u16string& failure) override;
  // Stores the bytes unless a kCreate or kWrite fault is set for the path.
  // Logs "replace <path>" when it succeeds.
  void ReplaceFile(const std::u16string& path, std::string_view bytes) override;
  std::u16string FullPath(const std::u16string& path) override { return path; }

  // Makes every later call on the path fail (kNone clears the fault).
  void Fail(const std::u16string& path, Fault fault);

  // The files, by path. Tests set and inspect them directly.
  std::map<std::u16string, std::string> files;

  // What happened, in order: "read <path>" and "replace <path>" for each
  // successful call. Tests may append events of their own (a notification,
  // say) to check the order of saves and other effects.
  std::vector<std::u16string> events;

 private:
  Fault FaultOf(const std::u16string& path) const;

  std::map<std::u16string, Fault> faults_;
};

}  // namespace testing_support

#endif  // KELVANE_TESTS_MEMORY_FILE_SYSTEM_H_
