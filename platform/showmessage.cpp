#include "platform/showmessage.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/windowframe.h"

namespace {

QString& Title() {
  static QString title;
  return title;
}

}  // namespace

void SetApplicationTitle(const QString& title) { Title() = title; }

QString ApplicationTitle() {
  return Title().isEmpty() ? QApplication::applicationName() : Title();
}

void ShowMessage(const QString& text, QWidget* parent) {
  QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::Ok, parent);
  SetDialogFrame(&box);
  box.exec();
}
