#include "platform/showmessage.h"

#include <QApplication>
#include <QMessageBox>

void ShowMessage(const QString& text, QWidget* parent) {
  QString title = QApplication::applicationDisplayName();
  if (title.isEmpty()) title = QApplication::applicationName();
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
  box.exec();
}
