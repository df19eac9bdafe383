#pragma once
// The error of a settings write that the operating system refused (read-only folder, full disk):
// the framework's "Unable to write to %s" with the settings file's name.

#include <stdexcept>
#include <string>

class EIniFileException : public std::runtime_error {
 public:
  explicit EIniFileException(const std::string& fileName)
      : std::runtime_error("Unable to write to " + fileName), FileName(fileName) {}
  std::string FileName;
};
