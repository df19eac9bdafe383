#pragma once
// The application object. An exception that escapes an event handler (the input/output error of
// a damaged data file, a refused settings write) is shown in a message box, and the program goes
// on, instead of ending the run.

#include <QApplication>

class TBibleApplication : public QApplication {
 public:
  TBibleApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};
