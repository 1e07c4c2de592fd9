// A save killed at any moment leaves the bar file holding its old content
// or its new one, never a mixture or a cut, and at most one temporary file
// beside it, which no one would take for a bar. The savers are processes
// of crash_saver that save a large bar over and over; the test kills them
// with SIGKILL at random moments, seeded so that a failure can be run
// again.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bar/bar_file.h"
#include "tests/crash/alternating_bars.h"
#include "tests/lines.h"
#include "tests/test_support.h"

extern char** environ;

namespace crash {
namespace {

using testing_support::EncodeBarFile;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using testing_support::TempDir;
using testing_support::WriteBytes;

constexpr int32_t kButtons = 33334;  // 100,004 lines, about 5 MB
// At least kKills kills, and more, up to kMaxKills or for kExtraSeconds,
// until at least kEnough of them have come after a save had returned and
// kEnough in the middle of one.
constexpr int kKills = 100;
constexpr int kMaxKills = 400;
constexpr int kEnough = 5;
constexpr auto kExtraSeconds = std::chrono::seconds(20);
constexpr unsigned kSeed = 20240611;
constexpr int kWaitMs = 20000;

// crash_saver, talked to over its stdin and stdout; ended with its
// savers at the latest when the object goes.
class CrashSaver {
 public:
  explicit CrashSaver(const fs::path& file) {
    int in[2];
    int out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    for (int end : {in[0], in[1], out[0], out[1]}) posix_spawn_file_actions_addclose(&actions, end);
    const std::string path = file.string();
    const std::string buttons = std::to_string(kButtons);
    std::vector<char*> argv = {const_cast<char*>(KELVANE_CRASH_SAVER),
                               const_cast<char*>(path.c_str()), const_cast<char*>(buttons.c_str()),
                               nullptr};
    if (posix_spawn(&pid_, KELVANE_CRASH_SAVER, &actions, nullptr, argv.data(), environ) != 0) {
      pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    commands_ = in[1];
    answers_ = out[0];
  }
  ~CrashSaver() {
    close(commands_);  // crash_saver kills its saver and ends on end of input
    close(answers_);
    if (pid_ < 0) return;
    int status = 0;
    waitpid(pid_, &status, 0);
  }
  CrashSaver(const CrashSaver&) = delete;
  CrashSaver& operator=(const CrashSaver&) = delete;

  // Sends a command (empty: none) and returns the next line of output;
  // nothing when none came within kWaitMs.
  std::optional<std::string> Ask(const std::string& command) {
    if (pid_ < 0) return std::nullopt;
    const std::string line = command + "\n";
    if (!command.empty() && write(commands_, line.data(), line.size()) != ssize_t(line.size())) {
      return std::nullopt;
    }
    std::string answer;
    for (;;) {
      pollfd ready{answers_, POLLIN, 0};
      char c;
      if (poll(&ready, 1, kWaitMs) != 1 || read(answers_, &c, 1) != 1) return std::nullopt;
      if (c == '\n') return answer;
      answer.push_back(c);
    }
  }

 private:
  pid_t pid_ = -1;
  int commands_ = -1;
  int answers_ = -1;
};

// Everything in the bar's folder but the bar itself.
std::vector<std::string> Leftovers(const fs::path& bar) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(bar.parent_path())) {
    if (entry.path() != bar) names.push_back(entry.path().filename().string());
  }
  return names;
}

// The whole file, into `bytes`, whose memory is reused from read to read:
// the test reads the large bar after every kill, and fresh memory for it,
// or a stream, costs more than the kills in the instrumented debug build.
void ReadInto(const fs::path& file, std::string& bytes) {
  bytes.clear();
  std::error_code error;
  const auto size = fs::file_size(file, error);
  const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (error || fd < 0) {
    bytes = "<cannot be read>";
    return;
  }
  bytes.resize(size);
  std::size_t done = 0;
  for (ssize_t count; done < size && (count = read(fd, &bytes[done], size - done)) > 0;) {
    done += static_cast<std::size_t>(count);
  }
  close(fd);
  bytes.resize(done);
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
    a_ = EncodeBarFile(AlternatingBar('a', kButtons), kEncoding);
    b_ = EncodeBarFile(AlternatingBar('b', kButtons), kEncoding);
    WriteBytes(bar_, a_);
  }

  // The bar must be a or b; tells which.
  ::testing::AssertionResult Whole(char* which) {
    ReadInto(bar_, bytes_);
    if (bytes_ == a_ || bytes_ == b_) {
      *which = bytes_ == a_ ? 'a' : 'b';
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "the bar is neither a nor b: " << Describe(bytes_, a_, b_);
  }

  // Starts a saver that writes the other content first, kills it after
  // `delay_ms`, and returns how its end was reported.
  std::string KillASave(CrashSaver& crash_saver, char current, double delay_ms) {
    const std::optional<std::string> pid = crash_saver.Ask(current == 'a' ? "save b" : "save a");
    if (!pid || std::atoi(pid->c_str()) <= 0) return "no saver started";
    std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(delay_ms));
    kill(std::atoi(pid->c_str()), SIGKILL);
    return crash_saver.Ask("reap").value_or("no answer to reap");
  }

  TempDir dir_;
  fs::path bar_ = dir_.path() / "main.bar";
  std::string a_;
  std::string b_;
  std::string bytes_;  // the bar as last read
};

TEST_F(CrashTest, KilledSavesLeaveTheOldBarOrTheNew) {
  CrashSaver crash_saver(bar_);
  ASSERT_EQ(crash_saver.Ask(""), "ready");
  const std::optional<std::string> timed = crash_saver.Ask("time");
  ASSERT_TRUE(timed);
  const double save_ms = std::atof(timed->c_str());
  ASSERT_GT(save_ms, 0);

  // Kills spread over the first save and a little beyond: while the bytes
  // are made, before the temporary file exists, while it is written,
  // flushed and renamed, and after the save has returned. Saves slow down
  // and speed up with the machine's load, so the span follows them: it
  // grows after a kill that came before anything was written and shrinks
  // after one that came after a whole save.
  std::mt19937 random(kSeed);
  double span_ms = 1.2 * save_ms;
  int kills = 0;
  int changed = 0;
  int cut_short = 0;
  std::size_t leftovers = Leftovers(bar_).size();
  char current = 0;
  ASSERT_TRUE(Whole(&current));
  Clock::time_point extra_until;
  for (; kills < kMaxKills; ++kills) {
    if (kills == kKills) extra_until = Clock::now() + kExtraSeconds;
    const bool enough = changed >= kEnough && cut_short >= kEnough;
    if (kills >= kKills && (enough || Clock::now() > extra_until)) break;
    SCOPED_TRACE("kill " + std::to_string(kills) + " of seed " + std::to_string(kSeed));
    const double delay_ms = std::uniform_real_distribution<double>(0, span_ms)(random);
    ASSERT_EQ(KillASave(crash_saver, current, delay_ms), "killed");
    const char before = current;
    ASSERT_TRUE(Whole(&current));
    const std::vector<std::string> names = Leftovers(bar_);
    ASSERT_LE(names.size(), leftovers + 1) << "one killed save left more than one file";
    for (const std::string& name : names) {
      EXPECT_EQ(name.rfind("main.bar.kelvane-", 0), 0u) << name;
      EXPECT_FALSE(EndsWith(name, ".bar")) << name << " would pass for a bar";
    }
    const bool was_cut_short = names.size() > leftovers;
    leftovers = names.size();
    changed += current != before;
    cut_short += was_cut_short;
    if (current != before) {
      span_ms *= 0.97;
    } else if (!was_cut_short) {
      span_ms = std::min(span_ms * 1.03, 5 * save_ms);
    }
  }
  // Both kinds of moment must have been hit for the test to prove anything.
  EXPECT_GT(changed, 0) << "no save completed before its kill";
  EXPECT_GT(cut_short, 0) << "no kill hit a save in the middle";

  // The leftovers are in nobody's way: saves go on as ever.
  ASSERT_TRUE(crash_saver.Ask("time"));
  ASSERT_TRUE(Whole(&current));
  EXPECT_EQ(Leftovers(bar_).size(), leftovers);
  std::printf(
      "[          ] a save takes %.1f ms; of %d kills, %d came after a save had "
      "returned and %d in the middle of one\n",
      save_ms, kills, changed, cut_short);
}

}  // namespace
}  // namespace crash
