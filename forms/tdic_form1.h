#pragma once
// The dictionary window: a stay-on-top tool window with a vertical tool bar, the word list of
// the open dictionary and the article of the selected word. It finds every dictionary of the
// dictionary folder when it is created and opens by itself the one that holds the word asked
// for, unless the user fixed a dictionary through the tool bar menu. It keeps a history of the
// looked-up words in time order, offers the several articles of a word one after another, shows
// a word's illustrations in the picture window, and asks the main window through its signals to
// show selected article text as a reference or to search it; it looks it up itself too.
//
// Dictionary text is bytes in the system's ANSI code page (windows-1251). The choice of a
// dictionary and the reading of its files are in core/dictionarychoice.h.

#include <QPointer>
#include <QWidget>
#include <string>

#include "core/dictionarychoice.h"
#include "core/historylist.h"
#include "core/picturelist.h"
#include "core/tfont.h"
#include "core/tplace.h"
#include "core/verselist.h"
#include "platform/checkedconnect.h"
#include "settings/tmainsettings.h"

class QAction;
class QMenu;
class QSplitter;
class QToolButton;
class TBibleRichEdit1;
class TLargeListBox;
class TPictureForm1;

class TDic_Form1 : public QWidget {
  Q_OBJECT

 public:
  // Reads the illustration list and the dictionary list of the folder (FormCreate): the main
  // window's DictionaryFolder.
  explicit TDic_Form1(const std::string& dictionaryFolder, QWidget* parent = nullptr);

  QWidget* ToolBar1 = nullptr;
  QToolButton* ToolButton1 = nullptr;  // "Предишната дума"
  QToolButton* ToolButton2 = nullptr;  // "Следващата дума"
  QToolButton* ToolButton4 = nullptr;  // "Друго обяснение"
  QToolButton* ToolButton5 = nullptr;  // "Назад"
  QToolButton* ToolButton3 = nullptr;  // "Илюстрация"
  QToolButton* ToolButton6 = nullptr;  // "Смяна на речника"
  QSplitter* Splitter1 = nullptr;
  QWidget* Panel1 = nullptr;
  TLargeListBox* LargeListBox1 = nullptr;
  TBibleRichEdit1* BibleRichEdit11 = nullptr;
  QMenu* PopupMenu1 = nullptr;  // the article's menu
  QAction* Copy1 = nullptr;
  QAction* Dictionary1 = nullptr;
  QAction* Bible1 = nullptr;
  QAction* Concordance1 = nullptr;
  QMenu* PopupMenu2 = nullptr;  // the word box's history commands
  QMenu* DicMenu = nullptr;     // one item per dictionary, in the order of DictionaryList

  // DataRoot + "Dictionaries/" when dictionaries are installed, else the relative "Dictionaries/".
  std::string DictionaryFolder;
  // The illustration list (Pictures/DicPictures.txt under the data root), read at creation.
  TPictureList Pictures;
  // The window that shows the illustrations; the main window's place and settings, whose version
  // gives the font and recognises references, and whose hint setting the window follows.
  QPointer<TPictureForm1> PictureWindow;
  const TPlace* Place = nullptr;
  const TMainSettings* Settings = nullptr;

  // The dictionaries (title and ".ind" path, ordered by title) and the last candidate.
  TDictionaryChoice Choice;
  // The ".ind" path of the open dictionary; empty before the first one is opened.
  std::string CurrentDictionary;
  // The explanation list of the selected word: count, then the article record numbers.
  VerseList Explanations;
  // 1-based position within Explanations of the article on show.
  int ExplanationNumber = 1;

  TDateTime FHistoryTime = 0;
  int FPrevWord = -1;
  int FNextWord = -1;
  std::string FPicture;
  bool FFixedDictionary = false;

  // Operations of the other windows. Words are ANSI bytes.
  void ShowDictionary();
  void ShowWord(const std::string& word);
  bool FindDictionary(const std::string& word);
  void SetDicFont(const TFont& font);

  void LoadDictionaryList();
  void OpenDictionary(const std::string& path);
  void LookUpWord(const std::string& word);
  void GoToWord(const std::string& word);
  void ShowArticle();
  void AddToHistory();
  void UpdateWordButtons();

  // Event handlers.
  void LargeListBox1Change();
  void LargeListBox1ChangeItemIndex();
  void LargeListBox1Click();
  void LargeListBox1KeyPress(char& key);
  void ToolButton1Click();
  void ToolButton2Click();
  void ToolButton4Click(QObject* sender);
  void ToolButton8Click();
  void OnDicPopupMenuClick(int index);
  void PopupMenu2Popup();
  void Copy1Click();
  void Dictionary1Click();
  void Bible1Click();
  void Concordance1Click();
  bool BibleRichEdit11Enable0(const std::string& text) const;
  bool BibleRichEdit11Enable1(const std::string& text);
  bool BibleRichEdit11Enable2(const std::string& text) const;
  void FormShow();
  void FormClose();

 Q_SIGNALS:
  // The selected text is to be shown as a reference, or searched in the main window's word list.
  void ReferenceRequested(const std::string& text);
  void SearchRequested(const std::string& word);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void ConnectEvents();
  void FormCreate();
  void SetCaption(const std::string& title);
  TConnections FConnections;
};
