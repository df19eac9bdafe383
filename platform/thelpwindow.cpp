#include "platform/thelpwindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include "platform/checkedconnect.h"

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("Помощ"));
  setObjectName(QStringLiteral("HelpWindow"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  Browser = new QTextBrowser(this);
  Browser->setObjectName(QStringLiteral("HelpBrowser"));
  Browser->setAccessibleName(QStringLiteral("Помощ"));
  Browser->setOpenExternalLinks(true);
  layout->addWidget(Browser);
  BIBLE_CONNECT(Browser, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
    if (url.isLocalFile()) FPage = url.toLocalFile();
    const QString title = Browser->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Помощ") : title);
  });
  // Beside the reading windows: the right part of the screen, whole on it.
  QRect area(0, 0, 1280, 800);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) area = screen->availableGeometry();
  const int width = std::min(640, area.width() / 2);
  const int height = std::min(560, area.height() - 60);
  setGeometry(area.right() - width - 8, area.top() + 40, width, height);
}

void THelpWindow::ShowPage(const QString& path, const QString& topic) {
  FPage = path;
  if (!path.isEmpty() && QFileInfo(path).isFile()) {
    Browser->setSearchPaths({QFileInfo(path).absolutePath()});
    Browser->setSource(QUrl::fromLocalFile(path));
  } else {
    Browser->setSource(QUrl());
    Browser->setPlainText(QStringLiteral("Помощта по темата „%1“ липсва.").arg(topic));
    setWindowTitle(QStringLiteral("Помощ"));
  }
  // A modal dialog blocks every window that is not its own. Made the dialog's transient, the help
  // window takes input while the dialog is open and comes up in front of it; the dialog stays
  // usable as well. Without a modal dialog the window is on its own again.
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == this) modal = nullptr;
  winId();
  QWindow* owner = modal ? modal->window()->windowHandle() : nullptr;
  if (windowHandle() && windowHandle()->transientParent() != owner) {
    // The window manager reads the owner when the window is mapped.
    const QRect frame = geometry();
    const bool wasVisible = isVisible();
    if (wasVisible) hide();
    windowHandle()->setTransientParent(owner);
    if (wasVisible) setGeometry(frame);
  }
  // Help asked for comes in front, also of the windows that stay on top of the others (the
  // dictionary, the picture): while one of them is shown, help stays on top as well.
  bool onTop = false;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != this && w->isVisible() && (w->windowFlags() & Qt::WindowStaysOnTopHint) &&
        !(w->windowFlags() & Qt::FramelessWindowHint))
      onTop = true;
  if (windowHandle()) windowHandle()->setFlag(Qt::WindowStaysOnTopHint, onTop);
  show();
  raise();
  activateWindow();
  Browser->setFocus();
}

THelpWindow* THelpWindow::Instance() {
  static QPointer<THelpWindow> window;
  if (!window) {
    window = new THelpWindow();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
  }
  return window;
}
