#include "platform/thelpwindow.h"

#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("Помощ"));
  setObjectName(QStringLiteral("HelpWindow"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  Browser = new QTextBrowser(this);
  Browser->setOpenExternalLinks(true);
  layout->addWidget(Browser);
  resize(640, 480);
}

void THelpWindow::ShowPage(const QString& path, const QString& topic) {
  FPage = path;
  if (!path.isEmpty() && QFileInfo(path).isFile()) {
    Browser->setSearchPaths({QFileInfo(path).absolutePath()});
    Browser->setSource(QUrl::fromLocalFile(path));
  } else {
    Browser->setSource(QUrl());
    Browser->setPlainText(QStringLiteral("Помощта по темата „%1“ липсва.").arg(topic));
  }
  show();
  raise();
  activateWindow();
}

THelpWindow* THelpWindow::Instance() {
  static QPointer<THelpWindow> window;
  if (!window) {
    window = new THelpWindow();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
  }
  return window;
}
