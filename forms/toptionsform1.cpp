#include "forms/toptionsform1.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/chapterbuilder.h"
#include "core/tbible.h"
#include "forms/tmainform1.h"
#include "platform/checkedconnect.h"
#include "platform/winhelp.h"

TOptionsForm1* OptionsForm1 = nullptr;

TOptionsForm1::TOptionsForm1(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("OptionsForm1"));
  setWindowTitle(QStringLiteral("Настройка"));
  setModal(true);
  setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) &
                 ~Qt::WindowContextHelpButtonHint);

  PageControl1 = new QTabWidget(this);
  auto* page1 = new QWidget();
  auto* page2 = new QWidget();
  PageControl1->addTab(page1, QStringLiteral("Външен вид"));
  PageControl1->addTab(page2, QStringLiteral("Други настройки"));

  auto* show = new QGroupBox(QStringLiteral("Да се показва:  "), page1);
  CheckBox1 = new QCheckBox(QStringLiteral("Заглавието на книгата"), show);
  CheckBox2 = new QCheckBox(QStringLiteral("в съкращение"), show);
  CheckBox3 = new QCheckBox(QStringLiteral("Номерът на главата"), show);
  CheckBox4 = new QCheckBox(QStringLiteral("Номерът на стиха"), show);
  CheckBox5 = new QCheckBox(QStringLiteral("Подсказващи надписи"), show);
  CheckBox10 = new QCheckBox(QStringLiteral("Бележките под линия"), show);
  auto* showLayout = new QVBoxLayout(show);
  showLayout->addWidget(CheckBox1);
  auto* indent = new QHBoxLayout();
  indent->addSpacing(20);
  indent->addWidget(CheckBox2);
  showLayout->addLayout(indent);
  for (QCheckBox* box : {CheckBox3, CheckBox4, CheckBox5, CheckBox10}) showLayout->addWidget(box);

  auto* side = new QGroupBox(QStringLiteral("Панелът за управление"), page1);
  RadioGroup1Left = new QRadioButton(QStringLiteral("в ляво"), side);
  RadioGroup1Right = new QRadioButton(QStringLiteral("в дясно"), side);
  auto* sideLayout = new QHBoxLayout(side);
  sideLayout->addWidget(RadioGroup1Left);
  sideLayout->addWidget(RadioGroup1Right);
  RadioGroup1Left->setChecked(true);

  auto* page1Layout = new QVBoxLayout(page1);
  page1Layout->addWidget(show);
  page1Layout->addWidget(side);
  page1Layout->addStretch(1);

  CheckBox6 = new QCheckBox(QStringLiteral("Следене за стих в Clipboard"), page2);
  CheckBox8 = new QCheckBox(QStringLiteral("Музикален сигнал"), page2);
  auto* keyboard = new QGroupBox(QStringLiteral("Клавиатура"), page2);
  CheckBox9 = new QCheckBox(QStringLiteral("Самонастройване според езика"), keyboard);
  auto* keyboardLayout = new QVBoxLayout(keyboard);
  keyboardLayout->addWidget(CheckBox9);
  auto* page2Layout = new QVBoxLayout(page2);
  page2Layout->addWidget(CheckBox6);
  page2Layout->addWidget(CheckBox8);
  page2Layout->addWidget(keyboard);
  page2Layout->addStretch(1);

  // The states of the form, used until the first filling.
  for (QCheckBox* box : {CheckBox4, CheckBox5, CheckBox6, CheckBox8, CheckBox9, CheckBox10})
    box->setChecked(true);

  Button2 = new QPushButton(QStringLiteral("ДА"), this);
  Button2->setDefault(true);
  Button1 = new QPushButton(QStringLiteral("&Отказ"), this);
  Button3 = new QPushButton(QStringLiteral("&Помощ"), this);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  buttons->addWidget(Button2);
  buttons->addWidget(Button1);
  buttons->addWidget(Button3);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PageControl1);
  layout->addLayout(buttons);
  resize(400, 308);

  for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox10})
    BIBLE_CONNECT(box, &QCheckBox::clicked, this, [this] { CheckBox3Click(); });
  for (QAbstractButton* box : std::initializer_list<QAbstractButton*>{CheckBox4, RadioGroup1Left,
                                                                       RadioGroup1Right})
    BIBLE_CONNECT(box, &QAbstractButton::clicked, this, [this] { CheckBox2Click(); });
  BIBLE_CONNECT(Button2, &QPushButton::clicked, this, [this] { accept(); });
  BIBLE_CONNECT(Button1, &QPushButton::clicked, this, [this] { reject(); });
  BIBLE_CONNECT(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
}

void TOptionsForm1::CheckBox3Click() {
  if (FFilling) return;
  FChanged = true;
  RebuildTexts = true;
}

void TOptionsForm1::CheckBox2Click() {
  if (!FFilling) FChanged = true;
}

void TOptionsForm1::Button3Click() {
  ShowHelpTopic(PageControl1->currentIndex() == 0 ? QStringLiteral("Options1")
                                                  : QStringLiteral("Options2"));
}

bool TOptionsForm1::EditOptions() {
  RebuildTexts = false;
  FFilling = true;
  const TViewOptions view = TViewOptions::Unpack(ViewOptions);
  CheckBox1->setChecked(view.ShowBook);
  CheckBox2->setChecked(view.ShortNames);
  CheckBox3->setChecked(view.ShowChapter);
  CheckBox4->setChecked(view.ShowVerse);
  if (MainForm1) {
    CheckBox5->setChecked(MainForm1->ShowHint);
    const bool left = MainForm1->PanelAlign() == TMainForm1::alLeft;
    RadioGroup1Left->setChecked(left);
    RadioGroup1Right->setChecked(!left);
  }
  CheckBox6->setChecked(CheckClipboard);
  CheckBox9->setChecked(AutoKeybd);
  FFilling = false;
  FChanged = false;
  if (exec() != QDialog::Accepted) return false;
  TViewOptions chosen;
  chosen.ShowBook = CheckBox1->isChecked();
  chosen.ShortNames = CheckBox2->isChecked();
  chosen.ShowChapter = CheckBox3->isChecked();
  chosen.ShowVerse = CheckBox4->isChecked();
  ViewOptions = chosen.Pack();
  if (MainForm1) {
    MainForm1->SetShowHint(CheckBox5->isChecked());
    MainForm1->SetPanelAlign(RadioGroup1Left->isChecked() ? TMainForm1::alLeft
                                                          : TMainForm1::alRight);
  }
  CheckClipboard = CheckBox6->isChecked();
  AutoKeybd = CheckBox9->isChecked();
  return FChanged;
}

void TOptionsForm1::showEvent(QShowEvent* event) {
  const std::string name = CyrillicFontName();
  if (!name.empty()) {
    QFont f = font();
    f.setFamily(QString::fromStdString(name));
    setFont(f);
  }
  QDialog::showEvent(event);
}
