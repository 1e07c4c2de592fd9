// A save killed at any moment leaves the bar file holding its old content
// or its new one, never a mixture or a cut, and at most one temporary file
// beside it, which no one would take for a bar. The saver is a separate
// program (crash_saver) that saves a large bar over and over; the test
// kills it with SIGKILL at random moments, seeded so that a failure can be
// run again.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bar/bar_file.h"
#include "tests/crash/alternating_bars.h"
#include "tests/test_support.h"

extern char** environ;

namespace crash {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

constexpr int32_t kButtons = 33334;  // 100,004 lines, about 2.5 MB
constexpr int kKills = 200;
constexpr unsigned kSeed = 20240611;
constexpr int kWaitMs = 20000;

// One run of crash_saver, its output on a pipe; killed at the latest when
// the object goes.
class Saver {
 public:
  Saver(const fs::path& file, char first) {
    int ends[2];
    if (pipe(ends) != 0) return;
    output_ = ends[0];
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, ends[0]);
    posix_spawn_file_actions_addclose(&actions, ends[1]);
    const std::string path = file.string();
    const std::string buttons = std::to_string(kButtons);
    const std::string start(1, first);
    std::vector<char*> argv = {const_cast<char*>(KELVANE_CRASH_SAVER),
                               const_cast<char*>(path.c_str()),
                               const_cast<char*>(buttons.c_str()),
                               const_cast<char*>(start.c_str()), nullptr};
    if (posix_spawn(&pid_, KELVANE_CRASH_SAVER, &actions, nullptr, argv.data(), environ) != 0) {
      pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
  }
  ~Saver() {
    Kill();
    if (output_ >= 0) close(output_);
  }
  Saver(const Saver&) = delete;
  Saver& operator=(const Saver&) = delete;

  // The next byte it prints; nothing when it has ended or printed nothing
  // within kWaitMs.
  std::optional<char> Next() {
    pollfd ready{output_, POLLIN, 0};
    if (pid_ < 0 || poll(&ready, 1, kWaitMs) != 1) return std::nullopt;
    char c;
    if (read(output_, &c, 1) != 1) return std::nullopt;
    return c;
  }

  void Kill() {
    if (pid_ < 0) return;
    kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int output_ = -1;
};

// Everything in the bar's folder but the bar itself.
std::vector<std::string> Leftovers(const fs::path& bar) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(bar.parent_path())) {
    if (entry.path() != bar) names.push_back(entry.path().filename().string());
  }
  return names;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string Describe(const std::string& bytes, const std::string& a, const std::string& b) {
  std::size_t same_as_a = 0;
  while (same_as_a < bytes.size() && same_as_a < a.size() && bytes[same_as_a] == a[same_as_a]) {
    ++same_as_a;
  }
  std::size_t same_as_b = 0;
  while (same_as_b < bytes.size() && same_as_b < b.size() && bytes[same_as_b] == b[same_as_b]) {
    ++same_as_b;
  }
  return std::to_string(bytes.size()) + " bytes, the first " + std::to_string(same_as_a) +
         " as in a (" + std::to_string(a.size()) + "), the first " + std::to_string(same_as_b) +
         " as in b (" + std::to_string(b.size()) + ")";
}

class CrashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    a_ = bar::EncodeBarFile(AlternatingBar('a', kButtons), std::nullopt);
    b_ = bar::EncodeBarFile(AlternatingBar('b', kButtons), std::nullopt);
    WriteBytes(bar_, a_);
  }

  // The bar must be a or b; returns which.
  ::testing::AssertionResult Whole(char* which) {
    const std::string bytes = ReadBytes(bar_);
    if (bytes == a_ || bytes == b_) {
      *which = bytes == a_ ? 'a' : 'b';
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the bar is a mixture: " << Describe(bytes, a_, b_);
  }

  // How long one save takes here, in milliseconds.
  double SaveDuration() {
    Saver saver(bar_, 'b');
    EXPECT_EQ(saver.Next(), 'r');
    const auto start = Clock::now();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(saver.Next(), 's');
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / 4;
  }

  TempDir dir_;
  fs::path bar_ = dir_.path() / "main.bar";
  std::string a_;
  std::string b_;
};

TEST_F(CrashTest, KilledSavesLeaveTheOldBarOrTheNew) {
  const double save_ms = SaveDuration();
  // Kills spread over the start of the first save up to well into the
  // third: before the temporary file exists, while it is written, flushed
  // and renamed, and between saves.
  std::mt19937 random(kSeed);
  std::uniform_real_distribution<double> delay_ms(0, 2.5 * save_ms);
  int changed = 0;
  int cut_short = 0;
  std::size_t leftovers = Leftovers(bar_).size();
  char current = 0;
  ASSERT_TRUE(Whole(&current));
  for (int kill = 0; kill < kKills; ++kill) {
    SCOPED_TRACE("kill " + std::to_string(kill) + " of seed " + std::to_string(kSeed));
    Saver saver(bar_, current == 'a' ? 'b' : 'a');
    ASSERT_EQ(saver.Next(), 'r') << "crash_saver did not start";
    std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(delay_ms(random)));
    saver.Kill();

    const char before = current;
    ASSERT_TRUE(Whole(&current));
    changed += current != before;
    const std::vector<std::string> names = Leftovers(bar_);
    ASSERT_LE(names.size(), leftovers + 1) << "one killed save left more than one file";
    cut_short += names.size() > leftovers;
    leftovers = names.size();
    for (const std::string& name : names) {
      EXPECT_EQ(name.rfind("main.bar.kelvane-", 0), 0u) << name;
      EXPECT_FALSE(EndsWith(name, ".bar")) << name << " would pass for a bar";
    }
  }
  // Both kinds of moment must have been hit for the test to prove anything.
  EXPECT_GT(changed, 0) << "no save completed before its kill";
  EXPECT_GT(cut_short, 0) << "no kill hit a save in the middle";

  // The leftovers are in nobody's way: a later save works as ever.
  Saver saver(bar_, current == 'a' ? 'b' : 'a');
  ASSERT_EQ(saver.Next(), 'r');
  ASSERT_EQ(saver.Next(), 's');
  saver.Kill();
  char last = 0;
  ASSERT_TRUE(Whole(&last));
  EXPECT_LE(Leftovers(bar_).size(), leftovers + 1);
  std::printf("[          ] save %.1f ms; %d of %d kills after a completed save, %d mid-save\n",
              save_ms, changed, kKills, cut_short);
}

}  // namespace
}  // namespace crash
