#pragma once
// The search range dialog: the books the word search looks in, as all books, the Old or the New
// Testament, or a selection ticked in a list of the current version's books. "ДА" writes the
// ticks into the main window's book set and the range type into SearchRangeType.

#include <QDialog>

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
};

// The program's one range dialog, created by the program entry.
extern TRangeForm1* RangeForm1;
