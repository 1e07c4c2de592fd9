// Failures of the bar-editing core. Every failure is an exception that
// carries the exact text the user is shown; nothing in bar/ catches them.
#ifndef KELVANE_BAR_ERRORS_H_
#define KELVANE_BAR_ERRORS_H_

#include <exception>
#include <string>

namespace bar {

// Base of every failure the program reports. message() is the text of the
// error report; what() is the same text in UTF-8, for logs and tests.
class Error : public std::exception {
 public:
  explicit Error(std::u16string message);
  const std::u16string& message() const noexcept { return message_; }
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::u16string message_;
  std::string what_;
};

// "List index out of bounds (%d).  %s range is 0..%d" / ".  %s is empty".
class IndexError : public Error {
  using Error::Error;
};
// "Unable to insert a line".
class InsertError : public Error {
  using Error::Error;
};
// "Cannot open file "%s". %s".
class OpenError : public Error {
  using Error::Error;
};
// "Cannot create file "%s". %s", or "Cannot create a temporary file in the
// folder "%s". %s".
class CreateError : public Error {
  using Error::Error;
};
// "Stream write error".
class WriteError : public Error {
  using Error::Error;
};
// "No mapping for the Unicode character exists in the target multi-byte code page".
class DecodingError : public Error {
  using Error::Error;
};
// "'%s' is not a valid integer value".
class ConversionError : public Error {
  using Error::Error;
};
// A bar the editing operations refuse to touch because the result could not
// be undone exactly (numbers out of range, lines that would be lost, ...).
class BarFormatError : public Error {
  using Error::Error;
};

}  // namespace bar

#endif  // KELVANE_BAR_ERRORS_H_
