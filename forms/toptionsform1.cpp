#include "forms/toptionsform1.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include "controls/fontconvert.h"
#include "core/chapterbuilder.h"
#include "core/keyboard.h"
#include "core/tbible.h"
#include "platform/checkedconnect.h"
#include "platform/windowframe.h"
#include "platform/winhelp.h"

// ---- TRadioGroup ----

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, int columns,
                         QWidget* parent)
    : QGroupBox(caption, parent) {
  auto* grid = new QGridLayout(this);
  const int rows = (int(items.size()) + columns - 1) / std::max(1, columns);
  for (int i = 0; i < int(items.size()); ++i) {
    auto* button = new QRadioButton(items[i], this);
    FButtons.push_back(button);
    // Items run down the first column, then the next.
    grid->addWidget(button, i % rows, i / rows);
    // A click on the item already chosen changes nothing and is no click of the group.
    BIBLE_CONNECT(button, &QRadioButton::clicked, this, [this, i] {
      if (i == FIndex) return;
      FIndex = i;
      if (OnClick) OnClick();
    });
  }
}

int TRadioGroup::ItemIndex() const {
  for (size_t i = 0; i < FButtons.size(); ++i)
    if (FButtons[i]->isChecked()) return int(i);
  return -1;
}

void TRadioGroup::SetItemIndex(int index) {
  if (index < 0 || index >= int(FButtons.size())) return;
  FButtons[size_t(index)]->setChecked(true);
  FIndex = index;
}

// ---- TOptionsForm1 ----

namespace {

QString FontLabel(const TFont& font) {
  return QString::fromStdString(font.Name) + QLatin1Char(' ') + QString::number(font.Size);
}

}  // namespace

TOptionsForm1::TOptionsForm1(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("OptionsForm1"));
  setWindowTitle(QStringLiteral("Настройка"));
  setModal(true);
  SetDialogFrame(this);
  QFont design(QStringLiteral("MS Sans Serif"));
  design.setPixelSize(13);
  setFont(design);

  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  TabSheet1 = new QWidget();
  TabSheet2 = new QWidget();
  PageControl1->addTab(TabSheet1, QStringLiteral("Външен вид"));
  PageControl1->addTab(TabSheet2, QStringLiteral("Други настройки"));

  // "Външен вид": what the texts show, on the left; colours and font on the right.
  auto* show = new QGroupBox(QStringLiteral("Да се показва:  "), TabSheet1);
  CheckBox1 = new QCheckBox(QStringLiteral("Заглавието на книгата"), show);
  CheckBox2 = new QCheckBox(QStringLiteral("в съкращение"), show);
  CheckBox3 = new QCheckBox(QStringLiteral("Номерът на главата"), show);
  CheckBox4 = new QCheckBox(QStringLiteral("Номерът на стиха"), show);
  CheckBox5 = new QCheckBox(QStringLiteral("Подсказващи надписи"), show);
  CheckBox10 = new QCheckBox(QStringLiteral("Бележките под линия"), show);
  auto* showLayout = new QVBoxLayout(show);
  showLayout->setSpacing(2);
  showLayout->addWidget(CheckBox1);
  auto* indent = new QHBoxLayout();
  indent->addSpacing(18);
  indent->addWidget(CheckBox2);
  showLayout->addLayout(indent);
  for (QCheckBox* box : {CheckBox3, CheckBox4, CheckBox5, CheckBox10}) showLayout->addWidget(box);
  showLayout->addStretch(1);

  RadioGroup1 = new TRadioGroup(QStringLiteral("Панелът за управление"),
                                {QStringLiteral("в ляво"), QStringLiteral("в дясно")}, 2,
                                TabSheet1);
  RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));

  auto* colours = new QGroupBox(QStringLiteral("Цветове"), TabSheet1);
  Button5 = new QPushButton(QStringLiteral("Активен стих"), colours);
  Button6 = new QPushButton(QStringLiteral("Търсена дума"), colours);
  auto colourPanel = [colours](const QString& name) {
    auto* panel = new QFrame(colours);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setAutoFillBackground(true);
    panel->setMinimumSize(36, 20);
    return panel;
  };
  Panel1 = colourPanel(QStringLiteral("Panel1"));
  Panel2 = colourPanel(QStringLiteral("Panel2"));
  Panel1->setAccessibleName(QStringLiteral("Цвят на активния стих"));
  Panel2->setAccessibleName(QStringLiteral("Цвят на търсената дума"));
  auto* coloursLayout = new QGridLayout(colours);
  coloursLayout->addWidget(Button5, 0, 0);
  coloursLayout->addWidget(Panel1, 0, 1);
  coloursLayout->addWidget(Button6, 1, 0);
  coloursLayout->addWidget(Panel2, 1, 1);
  coloursLayout->setColumnStretch(0, 1);

  auto* fontGroup = new QGroupBox(QStringLiteral("Шрифт"), TabSheet1);
  Label2 = new QLabel(fontGroup);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setAccessibleName(QStringLiteral("Шрифт"));
  CheckBox7 = new QCheckBox(QStringLiteral("За всички прозорци"), fontGroup);
  Button4 = new QPushButton(QStringLiteral("Смени"), fontGroup);
  auto* fontLayout = new QGridLayout(fontGroup);
  fontLayout->addWidget(Label2, 0, 0, 1, 2);
  fontLayout->addWidget(CheckBox7, 1, 0);
  fontLayout->addWidget(Button4, 1, 1);
  fontLayout->setColumnStretch(0, 1);

  auto* page1 = new QGridLayout(TabSheet1);
  page1->addWidget(show, 0, 0, 2, 1);
  page1->addWidget(colours, 0, 1);
  page1->addWidget(fontGroup, 1, 1);
  page1->addWidget(RadioGroup1, 2, 0, 1, 2);
  page1->setRowStretch(3, 1);

  // "Други настройки".
  CheckBox6 = new QCheckBox(QStringLiteral("Следене за стих в Clipboard"), TabSheet2);
  CheckBox8 = new QCheckBox(QStringLiteral("Музикален сигнал"), TabSheet2);
  auto* keyboard = new QGroupBox(QStringLiteral("Клавиатура"), TabSheet2);
  CheckBox9 = new QCheckBox(QStringLiteral("Самонастройване според езика"), keyboard);
  RadioGroup2 = new TRadioGroup(QStringLiteral("Българската подредба е: "),
                                {QStringLiteral("според БДС"), QStringLiteral("фонетична")}, 2,
                                keyboard);
  RadioGroup2->setObjectName(QStringLiteral("RadioGroup2"));
  auto* keyboardLayout = new QVBoxLayout(keyboard);
  keyboardLayout->addWidget(CheckBox9);
  keyboardLayout->addWidget(RadioGroup2);
  auto* page2 = new QVBoxLayout(TabSheet2);
  page2->addWidget(CheckBox6);
  page2->addWidget(CheckBox8);
  page2->addWidget(keyboard);
  page2->addStretch(1);

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

  // The states of the form, used until the first filling.
  for (QCheckBox* box : {CheckBox5, CheckBox6, CheckBox8, CheckBox9, CheckBox10})
    box->setChecked(true);
  RadioGroup1->SetItemIndex(1);
  RadioGroup2->SetItemIndex(0);
  SetPanelColor(Panel1, 0x008000);
  SetPanelColor(Panel2, 0xFF0000);

  QObject* to = &FConnections;
  for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox10})
    BIBLE_CONNECT(box, &QCheckBox::clicked, to, [this] { CheckBox3Click(); });
  BIBLE_CONNECT(CheckBox4, &QCheckBox::clicked, to, [this] { CheckBox2Click(); });
  RadioGroup1->OnClick = [this] { CheckBox2Click(); };
  BIBLE_CONNECT(CheckBox7, &QCheckBox::clicked, to, [this] { CheckBox7Click(); });
  // The two boxes that act at once.
  BIBLE_CONNECT(CheckBox8, &QCheckBox::toggled, to, [this](bool on) {
    if (Settings) Settings->PlaySound = on;
  });
  BIBLE_CONNECT(CheckBox10, &QCheckBox::toggled, to, [this](bool on) {
    if (Settings) Settings->ShowFootnotes = on;
  });
  BIBLE_CONNECT(Button4, &QPushButton::clicked, to, [this] { Button4Click(); });
  BIBLE_CONNECT(Button5, &QPushButton::clicked, to, [this] { Button5Click(); });
  BIBLE_CONNECT(Button6, &QPushButton::clicked, to, [this] { Button6Click(); });
  RadioGroup2->OnClick = [this] { RadioGroup2Click(); };
  BIBLE_CONNECT(Button2, &QPushButton::clicked, to, [this] { accept(); });
  BIBLE_CONNECT(Button1, &QPushButton::clicked, to, [this] { reject(); });
  BIBLE_CONNECT(Button3, &QPushButton::clicked, to, [this] { Button3Click(); });
  BIBLE_CONNECT(PageControl1, &QTabWidget::currentChanged, to, [this] { UpdateHelpTopic(); });
  UpdateHelpTopic();
  FitSize();
}

uint32_t TOptionsForm1::PanelColor(const QFrame* panel) {
  return FromQColor(panel->palette().color(QPalette::Window));
}

void TOptionsForm1::SetPanelColor(QFrame* panel, uint32_t color) {
  QPalette p = panel->palette();
  p.setColor(QPalette::Window, ToQColor(color));
  panel->setPalette(p);
}

// F1 and the help button open the page of the page control's active page.
void TOptionsForm1::UpdateHelpTopic() {
  SetHelpTopic(this, PageControl1->currentIndex() == 0 ? QStringLiteral("Options1")
                                                       : QStringLiteral("Options2"));
}

bool TOptionsForm1::EditOptions() {
  if (!Settings) return false;
  TMainSettings& settings = *Settings;
  settings.RebuildTexts = false;
  // Filling sets the states only; the handlers answer the user's clicks, so nothing here counts
  // as a change.
  const TViewOptions view = TViewOptions::Unpack(settings.ViewOptions);
  CheckBox1->setChecked(view.ShowBook);
  CheckBox2->setChecked(view.ShortNames);
  CheckBox3->setChecked(view.ShowChapter);
  CheckBox4->setChecked(view.ShowVerse);
  CheckBox5->setChecked(settings.ShowHint);
  CheckBox7->setChecked(!settings.DifferentFonts);
  RadioGroup1->SetItemIndex(settings.PanelAlign == TMainSettings::PanelLeft ? 0 : 1);
  if (Place && Place->Bible) {
    FFont = Place->Bible->Font;
    Label2->setText(FontLabel(FFont));
  }
  SetPanelColor(Panel1, settings.CurrentVerseColor);
  SetPanelColor(Panel2, settings.FounWordColor);
  CheckBox6->setChecked(settings.CheckClipboard);
  CheckBox8->setChecked(settings.PlaySound);
  CheckBox9->setChecked(settings.AutoKeybd);
  CheckBox10->setChecked(settings.ShowFootnotes);
  RadioGroup2->SetItemIndex(settings.FoneticCyr ? 1 : 0);
  FChanged = false;
  FFontChanged = false;

  if (exec() != QDialog::Accepted) return false;

  TViewOptions chosen = view;
  chosen.ShowBook = CheckBox1->isChecked();
  chosen.ShortNames = CheckBox2->isChecked();
  chosen.ShowChapter = CheckBox3->isChecked();
  chosen.ShowVerse = CheckBox4->isChecked();
  settings.ViewOptions = chosen.Pack();
  settings.CurrentVerseColor = PanelColor(Panel1);
  settings.FounWordColor = PanelColor(Panel2);
  settings.ShowHint = CheckBox5->isChecked();
  settings.PanelAlign =
      RadioGroup1->ItemIndex() == 0 ? TMainSettings::PanelLeft : TMainSettings::PanelRight;
  settings.CheckClipboard = CheckBox6->isChecked();
  settings.DifferentFonts = !CheckBox7->isChecked();
  settings.AutoKeybd = CheckBox9->isChecked();
  // The windows take the hints and the panel's side.
  Settings->NotifyChanged();
  return FChanged;
}

void TOptionsForm1::CheckBox3Click() {
  FChanged = true;
  if (Settings) Settings->RebuildTexts = true;
}

void TOptionsForm1::CheckBox2Click() { FChanged = true; }

void TOptionsForm1::CheckBox7Click() {
  // Once a font was chosen in this opening, the texts are rebuilt whatever this box says.
  if (!FFontChanged) FChanged = CheckBox7->isChecked();
}

// The font and colour dialogs are made when first asked for: each costs milliseconds (font
// families, icons, colour grids) that the program's start does not need to spend.
QFontDialog* TOptionsForm1::FontDialog() {
  if (!FontDialog1) {
    FontDialog1 = new QFontDialog(this);
    FontDialog1->setObjectName(QStringLiteral("FontDialog1"));
    // Qt's own dialog on every desktop: it offers the writing system (Cyrillic, Greek) that a
    // version's text needs, and behaves the same everywhere.
    FontDialog1->setOption(QFontDialog::DontUseNativeDialog);
  }
  return FontDialog1;
}

QColorDialog* TOptionsForm1::ColorDialog() {
  if (!ColorDialog1) {
    ColorDialog1 = new QColorDialog(this);
    ColorDialog1->setObjectName(QStringLiteral("ColorDialog1"));
    ColorDialog1->setOption(QColorDialog::DontUseNativeDialog);
  }
  return ColorDialog1;
}

void TOptionsForm1::Button4Click() {
  FontDialog()->setCurrentFont(ToQFont(FFont));
  const bool chosen = FontDialog1->exec() == QDialog::Accepted;
  FChanged = chosen;
  if (Settings) Settings->RebuildTexts = chosen;
  if (!chosen) return;
  AssignQFont(FontDialog1->selectedFont(), FFont);
  Label2->setText(FontLabel(FFont));
  // The version takes the font at once, before the dialog is confirmed.
  if (Place && Place->Bible) Place->Bible->SetFont(FFont);
  FFontChanged = true;
}

bool TOptionsForm1::ChooseColor(QFrame* panel) {
  ColorDialog()->setCurrentColor(ToQColor(FLastColor));
  const bool chosen = ColorDialog1->exec() == QDialog::Accepted;
  FChanged = chosen;
  if (chosen) {
    FLastColor = FromQColor(ColorDialog1->selectedColor());
    SetPanelColor(panel, FLastColor);
  }
  return chosen;
}

void TOptionsForm1::Button5Click() { ChooseColor(Panel1); }

void TOptionsForm1::Button6Click() { ChooseColor(Panel2); }

void TOptionsForm1::RadioGroup2Click() {
  const bool fonetic = RadioGroup2->ItemIndex() == 1;
  if (Settings) Settings->FoneticCyr = fonetic;
  SelectBulgarianLayout(fonetic);
}

void TOptionsForm1::Button3Click() {
  ShowHelpTopic(PageControl1->currentIndex() == 0 ? QStringLiteral("Options1")
                                                  : QStringLiteral("Options2"));
}

void TOptionsForm1::FormShow() {
  // The captions are Bulgarian: a face that the versions use for Cyrillic has the letters.
  const std::string name = CyrillicFontName();
  if (!name.empty()) {
    QFont f = font();
    f.setFamily(QString::fromStdString(name));
    setFont(f);
  }
}

// Fixed at the size the captions need in the dialog's font, at least the form's 400 x 308. The
// window manager sees a fixed size before the window is first mapped, and offers no maximising.
void TOptionsForm1::FitSize() {
  layout()->activate();
  setFixedSize(sizeHint().expandedTo(QSize(400, 308)));
}

void TOptionsForm1::showEvent(QShowEvent* event) {
  FormShow();
  FitSize();
  const QSize size = this->size();
  const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (screen) {
    const QRect area = screen->availableGeometry();
    move(area.left() + (area.width() - size.width()) / 2,
         area.top() + (area.height() - size.height()) / 2);
  }
  QDialog::showEvent(event);
}
