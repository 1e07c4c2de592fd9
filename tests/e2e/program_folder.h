// A throw-away installation of kelvane.exe: a fresh folder that holds a copy
// of the program, its kelvane.ini and its bar files, removed again at the
// end of the test.
#ifndef KELVANE_TESTS_E2E_PROGRAM_FOLDER_H_
#define KELVANE_TESTS_E2E_PROGRAM_FOLDER_H_

#include <map>
#include <optional>
#include <string>

namespace e2e {

class ProgramFolder {
 public:
  // The folder's name holds a blank, so every path the program composes
  // from its own location holds one too. The program's copy is named
  // `exe_name`, which also gives the program its title.
  explicit ProgramFolder(const std::wstring& exe_name = L"kelvane.exe");
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  // The folder, ending in "\".
  const std::wstring& dir() const { return dir_; }
  const std::wstring& exe() const { return exe_; }
  std::wstring Path(const std::wstring& relative) const { return dir_ + relative; }

  // Writes a file below the folder, creating the folders on its way.
  void Write(const std::wstring& relative, const std::string& bytes) const;
  // The file's bytes, or nothing when it cannot be read.
  std::optional<std::string> Read(const std::wstring& relative) const;

  // Every file below the folder but the program, by relative path.
  std::map<std::wstring, std::string> Snapshot() const;

  // kelvane.ini as a user's editor would leave it: [Main] and the keys,
  // pathVerticalPanel only when it is given.
  void WriteSettings(const std::wstring& path_bar, const std::wstring& path_main_panel,
                     const std::wstring& path_vertical_panel = L"") const;

 private:
  std::wstring dir_;
  std::wstring exe_;
};

// The whole content of any file, or nothing when it cannot be read; other
// processes may go on using the file meanwhile.
std::optional<std::string> ReadFileBytes(const std::wstring& path);

}  // namespace e2e

#endif  // KELVANE_TESTS_E2E_PROGRAM_FOLDER_H_
