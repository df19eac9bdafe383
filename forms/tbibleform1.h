#pragma once
// A child window of the main window's frame that shows one chapter of one version. It keeps its
// own position, builds the chapter text (heading, labelled verses, the active verse and the found
// words coloured) and records where each verse starts in the text. It reads the state the main
// window owns (settings, search session, place) and asks the main window for everything else
// through its signals: activation, closing, a reference, a search, a dictionary word, a verse.

#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/tplace.h"
#include "core/wordsearch.h"
#include "forms/tobservable.h"
#include "platform/checkedconnect.h"
#include "settings/tmainsettings.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class TBible;
class TBibleRichEdit1;
class TDdeClientConv;

// What the Bible windows share, all owned by the main window.
struct TBibleFormShared {
  const TMainSettings& Settings;           // colours, view options, footnotes, fonts
  const TObservable<TWordSearch>& Search;  // the words to colour; its change recolours
  const TPlace& Place;                     // the controls' place, which the active window shows
  TDdeClientConv* Viewer = nullptr;        // the link to the on-top viewer
};

class TBibleForm1 : public QWidget {
  Q_OBJECT

 public:
  // Creates the window of version x at book slot b, chapter c, verse v; nullptr after the message
  // "Версията липсва." (on messageParent) when the version's data are missing or x is not a
  // version index. A damaged text file raises the input/output error and opens no window.
  static TBibleForm1* Create(const TBibleFormShared& shared, int x, int b, int c, int v,
                             QWidget* messageParent);
  // The Bible windows of a frame in child order, the active (topmost) first, closing ones left
  // out; and the active one (the topmost while the frame has no active window).
  static std::vector<TBibleForm1*> FormsIn(const QMdiArea* area);
  static TBibleForm1* ActiveIn(const QMdiArea* area);
  // Tiles a frame's Bible windows (those not minimised) in creation order.
  static void TileIn(QMdiArea* area);

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
  // Whether some dictionary holds the word ("Речник" is offered then); the main window answers.
  std::function<bool(const std::string& word)> FindDictionary;

  QMdiSubWindow* SubWindow() const;
  int VersionIndex() const;

  void FormActivate();
  void SaveWindowState(TSavedWindow& state) const;
  // Shows verse v of chapter c of book slot b. The chapter text is built anew unless the window
  // shows that chapter already and reuseChapterText allows keeping it.
  void DisplayVerse(int b, int c, int v, bool reuseChapterText = true);
  // Scrolls the view so that verse v shows whole, its start first; at verse 1 the chapter
  // heading too. Runs after every build and every relayout of the view.
  void ShowVerseInView(int v);
  int VerseAt(int32_t p) const;
  std::string ActiveVerseText() const;
  // The on-top viewer: the caption, font and whole text, and the range of verse v; sent only
  // while the link is open and this is the active window.
  void SendViewerText();
  void SendViewerPosition(int v);

  // The index of the window's position among its version's bookmarks plus 1 (the bookmark's item
  // in the menu "отбелязаното място"), -1 when it has none.
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
  // The form of a marked word that a dictionary holds (a Greek word's lemma or headword, any
  // other word itself); "" when none does.
  std::string DictionaryForm(const std::string& text) const;
  bool BRichEdit1Enable2(const std::string& text) const;
  void BRichEdit1KeyDown(int& key);

 Q_SIGNALS:
  // Activated while not being created or closed: the window's version and place take over.
  void Activated(TBibleForm1* form);
  void Closed(TBibleForm1* form);
  void ReferenceRequested(const std::string& text);
  void SearchRequested(const std::string& word);
  void DictionaryRequested(const std::string& word);
  // The verse box is to take the number, as if typed.
  void VerseRequested(int verse);
  // Up (-1) or Down (+1) in the text: the verse before or after the controls' place.
  void VerseStepRequested(int step);
  void BookmarksChanged();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  TBibleForm1(const TBibleFormShared& shared, int x, int b, int c, int v);
  void FormCreate();
  void FormClose();
  bool IsViewerWindow() const;
  TBibleFormShared FShared;
  TConnections FConnections;
};
