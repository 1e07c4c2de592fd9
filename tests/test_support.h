// Helpers shared by the unit tests.
#ifndef KELVANE_TESTS_TEST_SUPPORT_H_
#define KELVANE_TESTS_TEST_SUPPORT_H_

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

// A fresh folder, removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  // The path of a file in the folder, as the core's UTF-16 path.
  std::u16string File(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);

// Folder of the real-world bar files and their names, in order.
std::filesystem::path CorpusDir();
std::vector<std::string> CorpusFiles();

}  // namespace testing_support

#endif  // KELVANE_TESTS_TEST_SUPPORT_H_
