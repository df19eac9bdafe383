#pragma once
// The warning that a history list has grown beyond ListLimit entries, with the offer to delete it.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;
class TBibleComboBox;

// The limit of the warning; starts at 200, lasts for the run and is not stored.
extern int ListLimit;

class TListMessageForm1 : public QDialog {
 public:
  explicit TListMessageForm1(QWidget* parent = nullptr);

  static constexpr int HelpContext = 12;

  QTextEdit* Memo1 = nullptr;
  QPushButton* Button1 = nullptr;  // "Изтрий веднага"
  QPushButton* Button2 = nullptr;  // "Добре"
  QPushButton* Button3 = nullptr;  // "Помощ"
  QLabel* Label1 = nullptr;
  QLineEdit* Edit1 = nullptr;

  // Shows the warning modally when the box has more than ListLimit entries.
  void CheckList(TBibleComboBox* box, const QString& listName);

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Button1Click();
  void Button3Click();

  TBibleComboBox* FBox = nullptr;
};

// The program's one warning dialog, created by the program entry.
extern TListMessageForm1* ListMessageForm1;
