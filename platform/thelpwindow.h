#pragma once
// The window that shows the help pages. It is an ordinary top-level window, independent of the
// window it was opened from; opened while a modal dialog is up, it belongs to that dialog for
// input, so that the dialog does not block it, and it comes up in front.

#include <QWidget>

class QTextBrowser;

class THelpWindow : public QWidget {
 public:
  explicit THelpWindow(QWidget* parent = nullptr);

  // Shows the page in front and gives it the keyboard; a missing file gives a note naming the
  // topic. Links between pages stay in this window.
  void ShowPage(const QString& path, const QString& topic);
  QString CurrentPage() const { return FPage; }
  QTextBrowser* Browser = nullptr;

  // The one window of the program, created on first use.
  static THelpWindow* Instance();

 private:
  QString FPage;
};
