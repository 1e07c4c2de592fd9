// Helpers shared by the unit tests that need POSIX.
#ifndef KELVANE_TESTS_TEST_SUPPORT_POSIX_H_
#define KELVANE_TESTS_TEST_SUPPORT_POSIX_H_

#include <sys/resource.h>

#include <csignal>

namespace testing_support {

// While it lives, write() stops short past `bytes` in a file, as on a full
// disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_limit_);
    rlimit limit = old_limit_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_limit_);
    std::signal(SIGXFSZ, old_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_limit_;
  void (*old_handler_)(int);
};

}  // namespace testing_support

#endif  // KELVANE_TESTS_TEST_SUPPORT_POSIX_H_
