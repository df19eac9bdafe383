#pragma once
// A child window of the main window's frame that shows one chapter of one version. It keeps its
// own position, builds the chapter text (heading, labelled verses, the active verse and the found
// words coloured) and records where each verse starts in the text. Activating a window of another
// version switches the main window's control panel to that version.

#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

class QAction;
class QMdiSubWindow;
class QMenu;
class TBible;
class TBibleRichEdit1;
class TCustomIniFile;
class TMainForm1;

class TBibleForm1 : public QWidget {
 public:
  // Creates the window of version x at book slot b, chapter c, verse v; nullptr after the message
  // "Версията липсва." when the version's data are missing or x is not a version index.
  static TBibleForm1* Create(TMainForm1* owner, int x, int b, int c, int v);

  TBibleRichEdit1* BRichEdit1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* Copy1 = nullptr;
  QAction* Translate1 = nullptr;
  QAction* Navigate1 = nullptr;
  QAction* Find1 = nullptr;
  QAction* ActivateVerse1 = nullptr;
  QAction* SelektVerse1 = nullptr;
  QAction* SelectAll1 = nullptr;
  QAction* AddBookmark1 = nullptr;
  QAction* DeleteBookmark1 = nullptr;

  TBible* Bible = nullptr;  // the entry of Bibles; not owned
  int ShownBook = 0;
  int ShownChapter = 0;
  int ShownVerse = 0;
  int Book = 1;
  int Chapter = 1;
  int Verse = 1;
  // Entries 1..N the start of each verse of the shown chapter, N + 1 the end marker; sized to
  // the chapter at every build (see core/chapterbuilder.h).
  std::vector<int32_t> VerseStart;
  bool JustCreated = false;
  // Set when the window closes, so that lists of the open windows no longer count it.
  bool Closing = false;

  QMdiSubWindow* SubWindow() const;
  int VersionIndex() const;

  void FormActivate();
  void SaveWindowState(TCustomIniFile& settings, const std::string& section) const;
  void DisplayVerse(int b, int c, int v);
  // Scrolls the view so that verse v shows whole, its start first; at verse 1 the chapter
  // heading too. Runs after every build and every relayout of the view.
  void ShowVerseInView(int v);
  int VerseAt(int32_t p) const;
  std::string ActiveVerseText() const;
  // The on-top viewer: the caption, font and whole text, and the range of verse v; sent only
  // while the link is open and this is the active window.
  void SendViewerText();
  void SendViewerPosition(int v);

  void AddBookmarkItem(const std::string& caption);
  void LoadBookmarkMenu();
  int FindBookmark() const;
  // The reference text of the window's position, in full book names.
  std::string PositionReference() const;

  // Popup menu handlers.
  void Copy1Click();
  void Translate1Click();
  void Navigate1Click();
  void Find1Click();
  void ActivateVerse1Click();
  void SelektVerse1Click();
  void SelectAll1Click();
  void AddBookmark1Click();
  void DeleteBookmark1Click();
  void PopupMenu1Popup();
  bool BRichEdit1Enable0(const std::string& text) const;
  bool BRichEdit1Enable1(const std::string& text) const;
  bool BRichEdit1Enable2(const std::string& text) const;
  void BRichEdit1KeyDown(int& key);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  TBibleForm1(TMainForm1* owner, int x, int b, int c, int v);
  void FormCreate();
  void FormClose();
  TMainForm1* Owner;
};
