#pragma once
// The main window: a multiple-document frame whose child windows are the Bible windows, with the
// control panel (book, chapter and verse, the word list, the found verses, the verse history),
// the menus, and the settings of section "MainWindow". It owns the navigation state and the word
// search state, opens the Bible windows of the last run and saves everything when it closes.

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/historylist.h"
#include "core/verselist.h"
#include "core/wordsearch.h"

class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPushButton;
class QSplitter;
class QStatusBar;
class TBible;
class TBibleComboBox;
class TBibleForm1;
class TBibleRichEdit1;
class TClipboardViewer;
class TDdeClientConv;
class TDdeServerConv;
class TFoundListBox;
class TLargeListBox;
class TMySpinEdit;
class TQtClipboardChain;

// Shared settings of section "MainWindow" (loaded and saved by the main window, edited by the
// options dialog). Colours are 0x00BBGGRR.
extern uint32_t CurrentVerseColor;  // default 0x008000, green
extern uint32_t FounWordColor;      // default 0xFF0000, blue
extern int32_t ViewOptions;         // four view flags, see TViewOptions
extern int SearchRangeType;
extern bool CheckClipboard;
extern bool AutoKeybd;
extern bool FoneticCyr;
// The chapter text builder may keep a built text; cleared while the options force a rebuild.
extern bool ReuseChapterText;
// Set by the options dialog when a view option or the font changed.
extern bool RebuildTexts;
// Set once a settings write failed during this run, so that the failure is reported once and the
// remaining writes are not attempted.
extern bool SettingsWriteFailed;

class TMainForm1 : public QMainWindow {
 public:
  explicit TMainForm1(QWidget* parent = nullptr);
  ~TMainForm1() override;

  enum TAlign { alLeft = 3, alRight = 4 };

  // The frame and the control panel.
  QMdiArea* MdiArea = nullptr;
  QSplitter* Splitter1 = nullptr;
  QWidget* Panel3 = nullptr;
  QWidget* Panel8 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QWidget* Panel2 = nullptr;
  TMySpinEdit* SpinEdit1 = nullptr;
  TMySpinEdit* SpinEdit2 = nullptr;
  QPushButton* Button1 = nullptr;
  QSplitter* Splitter2 = nullptr;
  TLargeListBox* LargeListBox1 = nullptr;
  TFoundListBox* ListBox2 = nullptr;
  QWidget* Panel6 = nullptr;
  TBibleComboBox* BibleComboBox1 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  QLabel* StatusPanel = nullptr;
  TBibleRichEdit1* RichEdit1 = nullptr;

  // The main menu.
  QMenu* File1 = nullptr;
  std::array<QAction*, 11> Version{};
  QAction* N3 = nullptr;
  QAction* ViewWindow1 = nullptr;
  QAction* Dictionary1 = nullptr;
  QAction* N1 = nullptr;
  QAction* Exit1 = nullptr;
  QMenu* Goto1 = nullptr;
  QAction* Previous1 = nullptr;
  QMenu* BookMark2 = nullptr;
  QAction* GotoBookMark1 = nullptr;
  QAction* Random1 = nullptr;
  QAction* Range1 = nullptr;
  QAction* Options1 = nullptr;
  QMenu* Windows1 = nullptr;
  QAction* Tile1 = nullptr;
  QMenu* Help1 = nullptr;
  QAction* ThisProgram1 = nullptr;
  QAction* ThisBible1 = nullptr;
  QAction* N4 = nullptr;
  QAction* Logo1 = nullptr;
  QAction* CloseWindow1 = nullptr;  // Ctrl+F4: closes the active Bible window

  // Popup menus of the panel.
  QMenu* PopupMenu1 = nullptr;  // found verses
  QAction* Copy1 = nullptr;
  QAction* Copy2 = nullptr;
  QAction* Copy3 = nullptr;
  QMenu* PopupMenu2 = nullptr;  // history commands of the word box
  QMenu* PopupMenu3 = nullptr;  // history commands of the verse history
  QMenu* PopupMenu4 = nullptr;  // search mode
  QAction* Only1 = nullptr;
  QAction* And1 = nullptr;
  QAction* Or1 = nullptr;
  QAction* Without1 = nullptr;
  QMenu* PopupMenu5 = nullptr;  // rows of the word list
  QAction* Dictionary2 = nullptr;

  // State.
  TDateTime HistoryStamp = 0;
  TBookSet BookSet{};
  TBible* CurrentBible = nullptr;  // none until the first Bible window is activated
  bool Typing = false;
  bool FollowStamp = false;
  std::string LastVersionText;  // emptied when the active version changes
  TBibleForm1* LastSynced = nullptr;
  int CurrentBook = 1;
  bool ViewerLinked = false;
  bool ShowHint = true;
  TWordSearch Search;

  // The Bible windows in child order: the active (topmost) first; closing windows excluded.
  std::vector<TBibleForm1*> BibleForms() const;
  TBibleForm1* ActiveBibleForm() const;

  TAlign PanelAlign() const { return FPanelAlign; }
  void SetPanelAlign(TAlign align);
  void SetShowHint(bool on);
  // The character set of the book names and references of the current version (the Greek
  // version's book names are Cyrillic).
  int NameCharset() const;

  // Operations for the Bible windows and the other windows.
  void OpenBibleWindow(int version, int book, int chapter, int verse);
  void BibleWindowClosed(TBibleForm1* form);
  void ApplyVersionFont();
  void ShowPanel();
  void ClearNewFlag();
  void ListVersions();
  void ReopenWindows();
  void TileWindows();
  // The book box's drop-down as wide as its longest book name, so that no name is cut.
  void FitBookList();
  void ActivateAndTile();

  // Navigation.
  void ShowPosition();
  void RecordHistory();
  void GoToVerse(int n);
  bool GoToReference(const std::string& text);
  void ComboBox1Change();
  // Returns true when the key was taken (Enter, or a space that completed a book name); any
  // other typed character may come back translated to the version's keyboard layout.
  bool ComboBox1KeyPress(char& key);
  bool ComboBox1KeyPress(int key) {
    char c = char(key);
    return ComboBox1KeyPress(c);
  }
  void SpinEdit1Change();
  void SpinEdit2KeyDown(TMySpinEdit* sender, int& key);
  void SpinEdit2Min();
  void SpinEdit2Max();
  void BibleComboBox1Change();
  void Previous1Click();
  void Random1Click();
  void GotoBookMark1Click(QAction* item);

  // Exchange: another program (or the dictionary's "Библия") names a book or a whole reference;
  // it is shown as if typed into the book box with Enter. Ignored while no version is active.
  void SetBookPokeData(const QString& text);
  // Another program names a chapter or a verse; ignored while no version is active.
  void SetChapterPokeData(const QString& text);
  void SetVersePokeData(const QString& text);
  // The server of items "SetBook", "SetChapter", "SetVerse" (null when the session bus or the
  // name is not available) and the link to the on-top viewer.
  TDdeServerConv* DdeServerConv1 = nullptr;
  TDdeClientConv* DdeClientConv1 = nullptr;
  void DdeClientConv1Open();
  void DdeClientConv1Close();
  // The bus name part of the server: the executable's name up to its first ".".
  static QString ExchangeServiceName();

  // Clipboard watching: the two notifications of the viewer chain.
  TClipboardViewer* ClipboardViewer = nullptr;
  void WMDRAWCLIPBOARD();
  void WMCHANGECBCHAIN(uintptr_t removed, uintptr_t next);
  // The program comes to the front, the dictionary window letting it pass while it does.
  void BringToFront();

  // Word search.
  void SearchText(const std::string& text);
  void ShowFound(const std::string& expression);
  void SearchTypedText();
  void SearchSelectedWord();
  void SetModeOnly();
  int CountMarked() const;
  void LargeListBox1ChangeItemIndex();
  void LargeListBox1KeyPress(char& key);
  void Button1MouseDown();
  void ModeClick(QAction* item);
  void ListBox2Click();
  // The three copy commands of the found-verse list; sender is Copy1, Copy2 or Copy3.
  void Copy1Click(QAction* sender);
  void CopyList();
  void CopyVerses(bool markedOnly);
  void Range1Click();
  // Searches the word (bytes in the active version's code page) as if typed into the word box
  // and confirmed with Enter: the found list, the status text, the first found verse shown.
  void SearchWord(const std::string& word);
  // Keyboard translation of one typed character for the active version (none while no version
  // is active or "AutoKeybd" is off).
  void TranslateKey(char& key) const;

  // Menu handlers.
  void FormShow();
  void FormClose();
  void VersionClick(QAction* sender);
  void Exit1Click();
  void Options1Click();
  void Tile1Click();
  void Help1Click();
  void ThisBible1Click();
  void Logo1Click();
  void ViewWindow1Click();
  void Windows1Popup();

  // Dictionary: the menu item "Речник" and the word list rows' "Речник".
  void Dictionary1Click();
  void PopupMenu5Popup();
  void Dictionary2Click();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void CreateMenus();
  void ConnectEvents();
  void SetHelpContexts();
  void ConnectDictionaryEvents();
  void FormCreate();
  void SubWindowActivated(QMdiSubWindow* window);
  void SetBookLine(int position);
  void CreateExchange();
  void DestroyExchange();
  void JoinClipboardChain();
  void LeaveClipboardChain();
  TQtClipboardChain* FClipboardChain = nullptr;
  bool FShown = false;
  bool FClosed = false;
  bool FForwardingKey = false;  // a translated key is on its way to the book box
  TAlign FPanelAlign = alLeft;
};

// The program's one main window, created by the program entry.
extern TMainForm1* MainForm1;
