#pragma once
// The window that shows the help pages.

#include <QWidget>

class QTextBrowser;

class THelpWindow : public QWidget {
 public:
  explicit THelpWindow(QWidget* parent = nullptr);

  // Shows the page; a missing file gives a note naming the topic.
  void ShowPage(const QString& path, const QString& topic);
  QString CurrentPage() const { return FPage; }
  QTextBrowser* Browser = nullptr;

  // The one window of the program, created on first use.
  static THelpWindow* Instance();

 private:
  QString FPage;
};
