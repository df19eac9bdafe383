#pragma once
// The main window: a multiple-document frame whose child windows are the Bible windows, with the
// control panel (book, chapter and verse, the word list, the found verses, the verse history) and
// the menus. It owns the state the windows share, each in an object of its own that notifies its
// changes: the place that the controls show and the Bible windows follow (core/tplace.h), the
// search session (core/wordsearch.h) and the settings (settings/tmainsettings.h). The other
// windows read those and ask for everything else through their signals, connected here.

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <string>
#include <vector>

#include "core/tplace.h"
#include "core/wordsearch.h"
#include "forms/tobservable.h"
#include "platform/checkedconnect.h"
#include "settings/tmainsettings.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPushButton;
class QSplitter;
class QStatusBar;
class TAddVersionForm1;
class TBible;
class TBibleComboBox;
class TBibleForm1;
class TBibleRichEdit1;
class TClipboardViewer;
class TDdeClientConv;
class TDdeServerConv;
class TDic_Form1;
class TFoundListBox;
class TLargeListBox;
class TListMessageForm1;
class TLogoForm1;
class TMySpinEdit;
class TOptionsForm1;
class TPictureForm1;
class TQtClipboardChain;
class TRangeForm1;

class TMainForm1 : public QMainWindow {
 public:
  explicit TMainForm1(QWidget* parent = nullptr);
  ~TMainForm1() override;

  enum TAlign { alLeft = TMainSettings::PanelLeft, alRight = TMainSettings::PanelRight };

  // The other windows of the program entry, which the main window shows and connects; any may be
  // missing. The windows that come and go (a test's) are dropped when they are destroyed.
  struct TWindows {
    TLogoForm1* Logo = nullptr;
    TRangeForm1* Range = nullptr;
    TOptionsForm1* Options = nullptr;
    TListMessageForm1* ListMessage = nullptr;
    TDic_Form1* Dictionary = nullptr;
    TPictureForm1* Picture = nullptr;
  };
  void SetWindows(const TWindows& windows);

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
  QCheckBox* CheckBox1 = nullptr;  // "всички форми": the search finds every form of a word
  QWidget* Panel9 = nullptr;       // holds Label1, shown when it has something to say
  QLabel* Label1 = nullptr;        // the forms the last search found, or why it searched exactly
  bool VersionHasForms = false;    // the active version has its form groups
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
  QAction* AddVersion1 = nullptr;  // "Добави превод…"
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

  // The shared state. The place's change shows it in the controls; the search's colours the
  // found words in the Bible windows; the settings' (the options confirmed) applies the hints and
  // the panel's side.
  TObservable<TPlace> Place;
  TObservable<TWordSearch> Search;
  TObservable<TMainSettings> Settings;
  TBible* CurrentBible() const { return Place.Bible; }
  bool Typing = false;  // digits typed into a spin edit or a word into the word box wait for Enter
  TBibleForm1* LastSynced = nullptr;  // the window whose place the controls took over last
  bool ViewerLinked = false;
  // DataRoot + "Dictionaries/" once ListVersions found dictionaries, else "Dictionaries/".
  std::string DictionaryFolder = "Dictionaries/";

  // The Bible windows in child order: the active (topmost) first; closing windows excluded.
  std::vector<TBibleForm1*> BibleForms() const;
  TBibleForm1* ActiveBibleForm() const;

  TAlign PanelAlign() const { return TAlign(Settings.PanelAlign); }
  void SetPanelAlign(TAlign align);
  void SetShowHint(bool on);
  // The character set of the book names and references of the current version.
  int NameCharset() const;

  // Windows and panel.
  void OpenBibleWindow(int version, int book, int chapter, int verse);
  void BibleWindowClosed(TBibleForm1* form);
  // The active window's version and place take over the control panel (FormActivate).
  void BibleFormActivated(TBibleForm1* form);
  void ApplyVersionFont();
  // The panel's least width: the book box and the history box hold long names whole.
  void FitPanel();
  void ShowPanel();
  void ClearNewFlag();
  // Shows the "&Отвори" menu's item of every installed version and "Речник" when dictionaries
  // are installed; may run again when versions come and go.
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
  // The bookmark menu "отбелязаното място": the hidden "Go to", then the current version's
  // bookmarks in order.
  void LoadBookmarkMenu();
  void AddBookmarkItem(const std::string& caption);
  void ShowBookmark(QAction* item, const std::string& caption);

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
  // The toggle of all forms: saved in the settings at once, the current word searched again.
  void CheckBox1Click();
  // Label1 after a search or a change of version: the forms found, or that the active version
  // has no form groups while all forms are asked for.
  void ShowForms();
  // Searches the word (bytes in the active version's code page) as a word typed into the word box
  // and confirmed: the found list, the status text, the first found verse shown.
  void SearchWord(const std::string& word);
  // Keyboard translation of one typed character for the active version (none while no version
  // is active or "AutoKeybd" is off).
  void TranslateKey(char& key) const;

  // Set before the window is shown: no settings file existed, so the first windows are chosen
  // here (OpenFirstWindows); a file to add, given on the command line.
  bool FirstStart = false;
  QString FileToAdd;
  // The versions present, up to two side by side at John 1:1 (a translation, and the Greek New
  // Testament beside it when present); with none, the dialog "Добави превод".
  void OpenFirstWindows();
  // The dialog "Добави превод", made on first use; with a path, on the file page with it chosen.
  TAddVersionForm1* AddVersionForm();
  void AddVersion1Click();
  void OpenFileToAdd(const QString& path);
  // A version folder was replaced: the loaded copy goes, so that the version is read anew, and
  // a window that showed it opens again at the place shown; the menu lists the version.
  void VersionImported(int version);

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
  // A file dropped onto the window opens "Добави превод" with that file chosen.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void CreateMenus();
  void ConnectEvents();
  void SetHelpContexts();
  void ConnectDictionaryEvents();
  void ConnectBibleForm(TBibleForm1* form);
  void ActivateForm(TBibleForm1* form);
  void FormCreate();
  void LoadVersion(TBible* bible, int book);
  // The controls show the place.
  void ShowPlace();
  // The place takes the user's book, chapter and verse from the controls; false while a spin
  // edit is empty (the user is typing).
  bool TakeControls();
  // The controls' place, with the chapter and verse as the spin edits hold them.
  TPlace ControlPlace() const;
  void SearchEnteredText();
  void ApplySettings();
  void SetBookLine(int position);
  void CreateExchange();
  void DestroyExchange();
  void JoinClipboardChain();
  void LeaveClipboardChain();
  QPointer<TLogoForm1> FLogo;
  QPointer<TRangeForm1> FRange;
  QPointer<TOptionsForm1> FOptions;
  QPointer<TListMessageForm1> FListMessage;
  QPointer<TDic_Form1> FDictionary;
  QPointer<TPictureForm1> FPicture;
  QPointer<TAddVersionForm1> FAddVersion;
  TQtClipboardChain* FClipboardChain = nullptr;
  bool FShown = false;
  bool FClosed = false;
  bool FForwardingKey = false;  // a translated key is on its way to the book box
  TConnections FConnections;
};
