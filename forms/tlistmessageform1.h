#pragma once
// The warning that a history list has grown beyond ListLimit entries, with the offer to delete it.

#include <QDialog>

#include "platform/checkedconnect.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;
class TBibleComboBox;

class TListMessageForm1 : public QDialog {
 public:
  explicit TListMessageForm1(QWidget* parent = nullptr);

  static constexpr int HelpContext = 12;

  // The limit of the warning; starts at 200, lasts for the run (the dialog's) and is not stored.
  int ListLimit = 200;

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
  TConnections FConnections;
};
