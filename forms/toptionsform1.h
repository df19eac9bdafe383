#pragma once
// The settings dialog over the main window's settings object. Most controls are filled from the
// settings at each opening and copied back only when the user confirms with "ДА", which notifies
// the settings' change; three act at once instead: the font button gives the chosen font to the
// current version, the Bulgarian keyboard layout switches when clicked, and the check boxes
// "Музикален сигнал" (the splash sound) and "Бележките под линия" (footnotes in the chapter texts)
// write their settings as they change, so a change to them stands even when cancelled.

#include <QDialog>
#include <QGroupBox>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/tfont.h"
#include "core/tplace.h"
#include "forms/tobservable.h"
#include "platform/checkedconnect.h"
#include "settings/tmainsettings.h"

class QCheckBox;
class QColorDialog;
class QFontDialog;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;

// A framed group of radio buttons in columns whose choice is an item index, -1 for none.
// OnClick runs when the user picks an item, not when the index is set by code.
class TRadioGroup : public QGroupBox {
 public:
  TRadioGroup(const QString& caption, const QStringList& items, int columns,
              QWidget* parent = nullptr);
  int ItemIndex() const;
  void SetItemIndex(int index);
  QRadioButton* Button(int index) const { return FButtons.at(size_t(index)); }
  std::function<void()> OnClick;

 private:
  std::vector<QRadioButton*> FButtons;
  int FIndex = -1;  // the item chosen last, by the user or by SetItemIndex
};

class TOptionsForm1 : public QDialog {
 public:
  explicit TOptionsForm1(QWidget* parent = nullptr);

  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheet1 = nullptr;     // "Външен вид"
  QWidget* TabSheet2 = nullptr;     // "Други настройки"
  QCheckBox* CheckBox1 = nullptr;   // "Заглавието на книгата"
  QCheckBox* CheckBox2 = nullptr;   // "в съкращение"
  QCheckBox* CheckBox3 = nullptr;   // "Номерът на главата"
  QCheckBox* CheckBox4 = nullptr;   // "Номерът на стиха"
  QCheckBox* CheckBox5 = nullptr;   // "Подсказващи надписи"
  QCheckBox* CheckBox10 = nullptr;  // "Бележките под линия"
  TRadioGroup* RadioGroup1 = nullptr;  // "Панелът за управление": 0 "в ляво", 1 "в дясно"
  QPushButton* Button5 = nullptr;   // "Активен стих"
  QFrame* Panel1 = nullptr;         // its colour
  QPushButton* Button6 = nullptr;   // "Търсена дума"
  QFrame* Panel2 = nullptr;         // its colour
  QLabel* Label2 = nullptr;         // name and size of the current version's font
  QCheckBox* CheckBox7 = nullptr;   // "За всички прозорци": DifferentFonts inverted
  QPushButton* Button4 = nullptr;   // "Смени"
  QCheckBox* CheckBox6 = nullptr;   // "Следене за стих в Clipboard"
  QCheckBox* CheckBox8 = nullptr;   // "Музикален сигнал"
  QCheckBox* CheckBox9 = nullptr;   // "Самонастройване според езика"
  TRadioGroup* RadioGroup2 = nullptr;  // "Българската подредба е: ": 0 BDS, 1 phonetic
  QPushButton* Button2 = nullptr;   // "ДА"
  QPushButton* Button1 = nullptr;   // "&Отказ"
  QPushButton* Button3 = nullptr;   // "&Помощ"
  QFontDialog* FontDialog1 = nullptr;    // made by FontDialog()
  QColorDialog* ColorDialog1 = nullptr;  // made by ColorDialog()

  // The settings edited and the place whose version's font the dialog offers; the main window's.
  TObservable<TMainSettings>* Settings = nullptr;
  const TPlace* Place = nullptr;

  // Fills the controls from the settings, shows the dialog and copies them back when the user
  // confirms. The result is FChanged when confirmed with "ДА", false when cancelled.
  bool EditOptions();

  // The colour a panel shows, 0x00BBGGRR.
  static uint32_t PanelColor(const QFrame* panel);
  static void SetPanelColor(QFrame* panel, uint32_t color);

  // Something changed that needs the main window to re-apply the display; the dialog's result.
  bool FChanged = false;
  // A font was chosen during this opening.
  bool FFontChanged = false;

  // Handlers, as the form connects them.
  void CheckBox3Click();
  void CheckBox2Click();
  void CheckBox7Click();
  void Button4Click();
  void Button5Click();
  void Button6Click();
  void RadioGroup2Click();
  void Button3Click();
  void FormShow();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The font the font dialog opens with: the current version's, or the last choice.
  TFont FFont;
  // The colour dialog opens with the colour last chosen in it, black at first.
  uint32_t FLastColor = 0;
  bool ChooseColor(QFrame* panel);
  QFontDialog* FontDialog();
  QColorDialog* ColorDialog();
  void FitSize();
  void UpdateHelpTopic();
  TConnections FConnections;
};
