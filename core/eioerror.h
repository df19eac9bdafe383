#pragma once
// The input/output error of the file layer. It carries the run-time error code and the message a
// user sees; the user interface catches it at the event and shows the message in a message box.

#include <stdexcept>
#include <string>

enum TInOutErrorCode : int {
  ioFileNotFound = 2,
  ioAccessDenied = 5,
  ioReadBeyondEnd = 100,
  ioDiskWrite = 101,
  ioInvalidNumeric = 106,
};

class EInOutError : public std::runtime_error {
 public:
  EInOutError(int code, const std::string& message) : std::runtime_error(message), ErrorCode(code) {}
  int ErrorCode;
};

// The one place that raises EInOutError: builds the message for the code and the file.
[[noreturn]] void RaiseInOutError(int code, const std::string& fileName);
