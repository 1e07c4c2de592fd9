#include "tests/test_support.h"

#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testing_support {

namespace fs = std::filesystem;

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = fs::temp_directory_path() /
          ("kelvane-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(path_, ignored);
}

std::u16string TempDir::File(const std::string& name) const { return (path_ / name).u16string(); }

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write " + file.string());
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

BarSet OwnBars() { return {"OwnBars", fs::path(KELVANE_SOURCE_DIR) / "tests" / "bars", ""}; }

BarSet ExternalBars() {
  const char* chosen = std::getenv("KELVANE_CORPUS_DIR");
  const fs::path dir = chosen && *chosen ? fs::path(chosen)
                                         : fs::path(KELVANE_SOURCE_DIR).parent_path() / "shared" /
                                               "corpus" / "realworld";
  std::error_code error;
  if (fs::is_directory(dir, error)) return {"RealWorld", dir, ""};
  return {"RealWorld",
          {},
          "no external corpus: " + dir.generic_string() +
              " is not a folder (KELVANE_CORPUS_DIR may name one with its MANIFEST.tsv)"};
}

std::vector<BarSet> BarSets() { return {OwnBars(), ExternalBars()}; }

std::vector<BarFile> ManifestOf(const BarSet& set) {
  if (set.dir.empty()) return {{"NoExternalCorpus", {}, "", 0, set.absence}};
  std::vector<BarFile> files;
  std::ifstream in(set.dir / "MANIFEST.tsv");
  std::string row;
  std::getline(in, row);  // the heading
  while (std::getline(in, row)) {
    std::vector<std::string> fields;
    std::istringstream cells(row);
    for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
    if (fields.size() < 6) continue;
    files.push_back(
        {TestNameFor(fields[0]), set.dir / fields[0], fields[4], std::atoi(fields[5].c_str()), ""});
  }
  return files;
}

std::string TestNameFor(const std::string& file_name) {
  std::string name = file_name.substr(0, file_name.find('.'));
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

void PrintTo(const BarSet& set, std::ostream* os) { *os << set.name; }
void PrintTo(const BarFile& file, std::ostream* os) {
  *os << (file.path.empty() ? file.name : file.path.filename().string());
}

int CodePageFor(const std::string& encoding) {
  if (encoding == "cp1251" || encoding == "utf8") return 1251;
  if (encoding == "cp936") return 936;
  return 1252;
}

}  // namespace testing_support
