#include "forms/tbibleapplication.h"

#include <exception>

#include "platform/accessiblenames.h"
#include "platform/showmessage.h"

TBibleApplication::TBibleApplication(int& argc, char** argv) : QApplication(argc, argv) {
  InstallAccessibleNames();
}

bool TBibleApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ShowMessage(QString::fromStdString(e.what()));
  } catch (...) {
    ShowMessage(QStringLiteral("Unknown error"));
  }
  return false;
}
