#pragma once
// The search range dialog: the books the word search looks in, as all books, the Old or the New
// Testament, or a selection ticked in a list of the current version's books. "ДА" writes the
// ticks and the range type into the search session's range.

#include <QDialog>

#include "core/tplace.h"
#include "core/wordsearch.h"
#include "platform/checkedconnect.h"

class QButtonGroup;
class QGroupBox;
class QListWidget;
class QPushButton;
class QRadioButton;

class TRangeForm1 : public QDialog {
 public:
  explicit TRangeForm1(QWidget* parent = nullptr);

  static constexpr int HelpContext = 10;
  // Range types, the radio group's indexes.
  enum { rtAll = 0, rtOld = 1, rtNew = 2, rtSelected = 3 };

  QListWidget* CheckListBox1 = nullptr;
  QGroupBox* RadioGroup1 = nullptr;
  QButtonGroup* RadioButtons = nullptr;
  QPushButton* Button1 = nullptr;  // "ДА"
  QPushButton* Button2 = nullptr;  // "&Отказ"
  QPushButton* Button3 = nullptr;  // "&Чисти"
  QPushButton* Button4 = nullptr;  // "&Помощ"

  // The search session whose range the dialog edits, and the place of the version whose books it
  // lists; the main window's.
  TWordSearch* Search = nullptr;
  const TPlace* Place = nullptr;

  // Fills the list from the current version and the book set, shows the dialog modally and
  // returns its result.
  int RunForm();

  int ItemIndex() const;
  void SetItemIndex(int index);

  void RadioGroup1Change();
  void CheckListBox1ClickCheck();
  void Button1Click();
  void Button3Click();
  void Button4Click();

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FormShow();
  // The slot of row i: BookOrder[i + 1] of the current version.
  int RowSlot(int row) const;
  bool FFilling = false;
  TConnections FConnections;
};
