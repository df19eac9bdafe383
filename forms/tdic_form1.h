#pragma once
// The dictionary window: a stay-on-top tool window with a vertical tool bar, the word list of
// the open dictionary and the article of the selected word. It finds every dictionary of the
// dictionary folder when it is created and opens by itself the one that holds the word asked
// for, unless the user fixed a dictionary through the tool bar menu. It keeps a history of the
// looked-up words in time order, offers the several articles of a word one after another, shows
// a word's illustrations in the picture window, and hands selected article text to the Bible
// windows, to the main window's word search and back to itself.
//
// Dictionary text is bytes in the system's ANSI code page (windows-1251). The choice of a
// dictionary and the reading of its files are in core/dictionarychoice.h.

#include <QWidget>
#include <string>

#include "core/historylist.h"
#include "core/tfont.h"
#include "core/verselist.h"
#include "core/dictionarychoice.h"

class QAction;
class QMenu;
class QSplitter;
class QToolButton;
class TBibleRichEdit1;
class TLargeListBox;

// DataRoot + "Dictionaries/", set by the main window when dictionaries are installed; otherwise
// the relative "Dictionaries/".
extern std::string DictionaryFolder;

class TDic_Form1 : public QWidget {
 public:
  // Reads the illustration list and the dictionary list (FormCreate).
  explicit TDic_Form1(QWidget* parent = nullptr);
  ~TDic_Form1() override;

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

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void ConnectEvents();
  void FormCreate();
  void SetCaption(const std::string& title);
};

// The program's one dictionary window, created by the program entry after the main window.
extern TDic_Form1* Dic_Form1;
