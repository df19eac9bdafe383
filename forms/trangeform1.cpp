#include "forms/trangeform1.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <algorithm>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "controls/fontconvert.h"
#include "core/tbible.h"
#include "platform/checkedconnect.h"
#include "platform/codepage.h"
#include "platform/winhelp.h"

TRangeForm1::TRangeForm1(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("RangeForm1"));
  setWindowTitle(QStringLiteral("Област за търсене"));
  setModal(true);
  SetHelpContext(this, HelpContext);
  setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) &
                 ~(Qt::WindowContextHelpButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowMinimizeButtonHint));
  QFont design(QStringLiteral("MS Sans Serif"));
  design.setPixelSize(11);
  setFont(design);
  resize(333, 375);

  CheckListBox1 = new QListWidget(this);
  CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
  CheckListBox1->setAccessibleName(QStringLiteral("Книги"));
  CheckListBox1->setUniformItemSizes(true);

  RadioGroup1 = new QGroupBox(this);
  RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
  RadioButtons = new QButtonGroup(this);
  auto* radios = new QVBoxLayout(RadioGroup1);
  const char* const captions[] = {"Всички книги", "Стария завет", "Новия завет", "Избрани книги"};
  for (int i = 0; i < 4; ++i) {
    auto* b = new QRadioButton(QString::fromUtf8(captions[i]), RadioGroup1);
    radios->addWidget(b);
    RadioButtons->addButton(b, i);
  }
  RadioButtons->button(rtAll)->setChecked(true);

  Button1 = new QPushButton(QStringLiteral("ДА"), this);
  Button1->setDefault(true);
  Button2 = new QPushButton(QStringLiteral("&Отказ"), this);
  Button2->setAutoDefault(false);
  Button4 = new QPushButton(QStringLiteral("&Помощ"), this);
  Button4->setAutoDefault(false);
  Button3 = new QPushButton(QStringLiteral("&Чисти"), this);
  Button3->setAutoDefault(false);

  auto* panel1 = new QVBoxLayout();
  panel1->addWidget(RadioGroup1);
  panel1->addStretch(1);
  for (QPushButton* b : {Button1, Button2, Button4, Button3}) panel1->addWidget(b);
  auto* panel1Widget = new QWidget(this);
  panel1Widget->setLayout(panel1);
  // As designed, or wider where the captions need it ("Избрани книги" whole in any font).
  panel1Widget->setFixedWidth(std::max(129, panel1->sizeHint().width()));
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(CheckListBox1, 1);
  layout->addWidget(panel1Widget);

  QObject* to = &FConnections;
  BIBLE_CONNECT(RadioButtons, &QButtonGroup::idClicked, to, [this] { RadioGroup1Change(); });
  BIBLE_CONNECT(CheckListBox1, &QListWidget::itemChanged, to,
                [this] { CheckListBox1ClickCheck(); });
  BIBLE_CONNECT(Button1, &QPushButton::clicked, to, [this] { Button1Click(); });
  BIBLE_CONNECT(Button2, &QPushButton::clicked, to, [this] { reject(); });
  BIBLE_CONNECT(Button3, &QPushButton::clicked, to, [this] { Button3Click(); });
  BIBLE_CONNECT(Button4, &QPushButton::clicked, to, [this] { Button4Click(); });
}

int TRangeForm1::ItemIndex() const { return RadioButtons->checkedId(); }

void TRangeForm1::SetItemIndex(int index) {
  if (index < rtAll || index > rtSelected) index = rtAll;
  RadioButtons->button(index)->setChecked(true);
  RadioGroup1Change();
}

int TRangeForm1::RowSlot(int row) const {
  const TBible* bible = Place ? Place->Bible : nullptr;
  if (!bible || row < 0 || row + 1 > MaxBooks) return 0;
  return bible->BookOrder[size_t(row) + 1];
}

int TRangeForm1::RunForm() {
  // The ticks come from the book set; the range type only chooses the radio button.
  FFilling = true;
  const int stored = Search ? Search->RangeType : rtAll;
  RadioButtons->button(stored >= rtAll && stored <= rtSelected ? stored : rtAll)->setChecked(true);
  CheckListBox1->clear();
  const TBible* bible = Place ? Place->Bible : nullptr;
  if (bible && Search) {
    const int charset = BookNameCharset(bible);
    for (int p = 1; p <= bible->BookCount && p <= MaxBooks; ++p) {
      auto* item = new QListWidgetItem(DecodeBytes(bible->BookAt(p).Name, charset), CheckListBox1);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
      const int slot = bible->BookOrder[size_t(p)];
      const bool searched = slot >= 1 && slot <= MaxBooks && Search->BookSet[size_t(slot) - 1];
      item->setCheckState(searched ? Qt::Checked : Qt::Unchecked);
    }
  }
  FFilling = false;
  return exec();
}

void TRangeForm1::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TRangeForm1::FormShow() {
  const std::string cyrillic = CyrillicFontName();
  if (!cyrillic.empty()) {
    QFont f = font();
    f.setFamily(QString::fromStdString(cyrillic));
    setFont(f);
  }
  // The list in the version's font; the Greek version's book names are Cyrillic, which the
  // names' code page already takes care of.
  if (Place && Place->Bible) CheckListBox1->setFont(ToQFont(Place->Bible->Font));
  CheckListBox1->setFocus();
}

void TRangeForm1::RadioGroup1Change() {
  const int type = ItemIndex();
  if (type == rtSelected) return;
  FFilling = true;
  for (int row = 0; row < CheckListBox1->count(); ++row) {
    const int slot = RowSlot(row);
    const bool tick = type == rtAll || (type == rtOld && slot < 51) || (type == rtNew && slot > 50);
    CheckListBox1->item(row)->setCheckState(tick ? Qt::Checked : Qt::Unchecked);
  }
  FFilling = false;
}

void TRangeForm1::CheckListBox1ClickCheck() {
  if (FFilling) return;
  RadioButtons->button(rtSelected)->setChecked(true);
  RadioGroup1Change();
}

void TRangeForm1::Button1Click() {
  if (Search) {
    Search->RangeType = ItemIndex();
    for (int row = 0; row < CheckListBox1->count(); ++row) {
      const int slot = RowSlot(row);
      if (slot < 1 || slot > MaxBooks) continue;
      Search->BookSet[size_t(slot) - 1] = CheckListBox1->item(row)->checkState() == Qt::Checked;
    }
  }
  accept();
}

void TRangeForm1::Button3Click() {
  RadioButtons->button(rtSelected)->setChecked(true);
  FFilling = true;
  for (int row = 0; row < CheckListBox1->count(); ++row)
    CheckListBox1->item(row)->setCheckState(Qt::Unchecked);
  FFilling = false;
}

void TRangeForm1::Button4Click() { ShowHelpTopic(QStringLiteral("Range")); }

void TRangeForm1::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    Button4Click();
    return;
  }
  QDialog::keyPressEvent(event);
}
