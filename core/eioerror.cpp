#include "core/eioerror.h"

namespace {

// The user sees these in a message box; the code is the run-time error number.
const char* Describe(int code) {
  switch (code) {
    case ioFileNotFound: return "Файлът не е намерен";
    case ioAccessDenied: return "Достъпът до файла е отказан";
    case ioReadBeyondEnd: return "Четене след края на файла";
    case ioDiskWrite: return "Грешка при запис на диска";
    case ioInvalidNumeric: return "Невалиден числов формат";
    default: return "Входно-изходна грешка";
  }
}

}  // namespace

void RaiseInOutError(int code, const std::string& fileName) {
  std::string message = std::string(Describe(code)) + " (" + std::to_string(code) + ")";
  if (!fileName.empty()) message += ": " + fileName;
  throw EInOutError(code, message);
}
