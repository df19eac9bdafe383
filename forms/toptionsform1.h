#pragma once
// The settings dialog. This form holds the view options, the panel side and the behaviour
// switches; the font and colour choosers and the keyboard layout come with the rest of the
// dialog. Two check boxes are themselves the home of their settings: "Музикален сигнал" (the
// splash sound) and "Бележките под линия" (footnotes in the chapter texts); the main window loads
// and saves them, and the dialog never refills them.

#include <QDialog>

class QCheckBox;
class QPushButton;
class QRadioButton;
class QTabWidget;

class TOptionsForm1 : public QDialog {
 public:
  explicit TOptionsForm1(QWidget* parent = nullptr);

  QTabWidget* PageControl1 = nullptr;
  QCheckBox* CheckBox1 = nullptr;   // "Заглавието на книгата"
  QCheckBox* CheckBox2 = nullptr;   // "в съкращение"
  QCheckBox* CheckBox3 = nullptr;   // "Номерът на главата"
  QCheckBox* CheckBox4 = nullptr;   // "Номерът на стиха"
  QCheckBox* CheckBox5 = nullptr;   // "Подсказващи надписи"
  QCheckBox* CheckBox10 = nullptr;  // "Бележките под линия"
  QRadioButton* RadioGroup1Left = nullptr;   // "в ляво"
  QRadioButton* RadioGroup1Right = nullptr;  // "в дясно"
  QCheckBox* CheckBox6 = nullptr;   // "Следене за стих в Clipboard"
  QCheckBox* CheckBox8 = nullptr;   // "Музикален сигнал"
  QCheckBox* CheckBox9 = nullptr;   // "Самонастройване според езика"
  QPushButton* Button1 = nullptr;   // "&Отказ"
  QPushButton* Button2 = nullptr;   // "ДА"
  QPushButton* Button3 = nullptr;   // "&Помощ"

  // Fills the controls from the shared settings, shows the dialog and copies them back when the
  // user confirms. True when confirmed with a change that needs the display re-applied.
  bool EditOptions();

  bool FChanged = false;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CheckBox3Click();
  void CheckBox2Click();
  void Button3Click();
  bool FFilling = false;
};

// The program's one options dialog, created by the program entry.
extern TOptionsForm1* OptionsForm1;
