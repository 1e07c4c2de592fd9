// Saves a large bar over and over in processes that the crash test kills.
//
//   crash_saver <file> <buttons>
//
// builds the two alternating bars of <buttons> entries once, prints
// "ready", then answers one command per line on stdin:
//
//   save a|b  forks a saver: a process that saves the two bars to <file>
//             in turn with LineList::SaveToFile, starting with the one
//             named, until it is killed; prints its process id.
//   reap      waits for that saver to end; prints "killed" when SIGKILL
//             ended it, else "ended <wait status>".
//   time      forks savers that each save one bar once and end; prints the
//             milliseconds from a fork to the end of its save, on average:
//             how long the first save of a saver takes.
//
// Forking the savers from one process that has built the bars already lets
// the test kill hundreds of saves in a few seconds; each saver is still a
// process of its own that dies wherever the kill finds it.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "bar/errors.h"
#include "bar/line_list.h"
#include "bar/unicode.h"
#include "tests/crash/alternating_bars.h"

namespace {

bar::LineList Filled(char which, int32_t buttons) {
  bar::LineList list;
  list.set_remembered_encoding(crash::kEncoding);
  for (std::u16string& line : crash::AlternatingBar(which, buttons)) list.Add(std::move(line));
  return list;
}

class Saves {
 public:
  Saves(std::u16string file, int32_t buttons)
      : file_(std::move(file)), a_(Filled('a', buttons)), b_(Filled('b', buttons)) {}

  [[noreturn]] void Forever(bool a_first) {
    try {
      for (bool a = a_first;; a = !a) (a ? a_ : b_).SaveToFile(file_);
    } catch (const bar::Error& e) {
      std::fprintf(stderr, "crash_saver: %s\n", e.what());
      _exit(2);
    }
  }

  double MillisecondsToFirstSave() {
    constexpr int kRuns = 4;
    const auto start = std::chrono::steady_clock::now();
    for (int run = 0; run < kRuns; ++run) {
      const pid_t saver = fork();
      if (saver == 0) {
        try {
          (run % 2 == 0 ? a_ : b_).SaveToFile(file_);
        } catch (const bar::Error&) {
          _exit(2);
        }
        _exit(0);
      }
      int status = 0;
      waitpid(saver, &status, 0);
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
               .count() /
           kRuns;
  }

 private:
  std::u16string file_;
  bar::LineList a_;
  bar::LineList b_;
};

std::string Reap(pid_t saver) {
  int status = 0;
  if (saver <= 0 || waitpid(saver, &status, 0) != saver) return "no saver";
  if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) return "killed";
  return "ended " + std::to_string(status);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: crash_saver <file> <buttons>\n");
    return 1;
  }
  Saves saves(bar::FromUtf8(argv[1]), std::atoi(argv[2]));
  std::cout << "ready" << std::endl;
  pid_t saver = -1;
  std::string command;
  while (std::getline(std::cin, command)) {
    if (command == "save a" || command == "save b") {
      std::cout.flush();
      saver = fork();
      if (saver == 0) saves.Forever(command == "save a");
      std::cout << saver << std::endl;
    } else if (command == "reap") {
      std::cout << Reap(saver) << std::endl;
      saver = -1;
    } else if (command == "time") {
      std::cout << saves.MillisecondsToFirstSave() << std::endl;
    } else {
      std::cout << "unknown command " << command << std::endl;
    }
  }
  if (saver > 0) kill(saver, SIGKILL);
  Reap(saver);
  return 0;
}
