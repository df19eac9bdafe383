#include "forms/tmainform1.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "controls/fontconvert.h"
#include "controls/tbiblecombobox.h"
#include "controls/tbiblerichedit1.h"
#include "controls/tfoundlistbox.h"
#include "controls/tlargelistbox.h"
#include "controls/tmyspinedit.h"
#include "core/bibleunit.h"
#include "core/chapterbuilder.h"
#include "core/cp1251.h"
#include "core/eioerror.h"
#include "core/keyboard.h"
#include "core/nearestplace.h"
#include "core/tbible.h"
#include "core/tcustominifile.h"
#include "core/tlargestringlist.h"
#include "forms/tbibleform1.h"
#include "forms/tdic_form1.h"
#include "forms/tlogoform1.h"
#include "forms/toptionsform1.h"
#include "platform/accessiblenames.h"
#include "platform/checkedconnect.h"
#include "platform/codepage.h"
#include "platform/datapaths.h"
#include "platform/hints.h"
#include "platform/showmessage.h"
#include "platform/winhelp.h"

uint32_t CurrentVerseColor = 0x008000;
uint32_t FounWordColor = 0xFF0000;
int32_t ViewOptions = DefaultViewOptions;
int SearchRangeType = 0;
bool CheckClipboard = true;
bool AutoKeybd = true;
bool FoneticCyr = false;
bool ReuseChapterText = true;
bool RebuildTexts = false;
bool SettingsWriteFailed = false;
TMainForm1* MainForm1 = nullptr;

namespace {

const char* const Section = "MainWindow";

// A saved count of windows beyond this is damage, not a session to restore.
constexpr int MaxSavedWindows = 64;

int ReadInt(const char* key, int defaultValue) {
  return IniFile ? IniFile->ReadInteger(Section, key, defaultValue) : defaultValue;
}

bool ReadFlag(const char* key, bool defaultValue) {
  return IniFile ? IniFile->ReadBool(Section, key, defaultValue) : defaultValue;
}

QWidget* Panel(QWidget* parent, QWidget* child) {
  auto* panel = new QWidget(parent);
  auto* layout = new QHBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(child);
  return panel;
}

}  // namespace

TMainForm1::TMainForm1(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("MainForm1"));
  setWindowTitle(QStringLiteral("Библията"));
  LocateProgramFiles();
  CreateControls();
  CreateMenus();
  ConnectEvents();
  SetHelpContexts();
  FormCreate();
  CreateExchange();
  JoinClipboardChain();
  // Screen readers find the controls by name; windows opened later are named as they appear.
  InstallAccessibleNames();
  NameControls(this);
}

TMainForm1::~TMainForm1() {
  LeaveClipboardChain();
  DestroyExchange();
  if (MainForm1 == this) MainForm1 = nullptr;
}

void TMainForm1::CreateControls() {
  QFont design(QStringLiteral("Times New Roman"));
  design.setPixelSize(15);
  Splitter1 = new QSplitter(Qt::Horizontal, this);
  Splitter1->setObjectName(QStringLiteral("Splitter1"));
  Splitter1->setHandleWidth(3);
  Splitter1->setChildrenCollapsible(false);
  setCentralWidget(Splitter1);

  Panel3 = new QWidget(Splitter1);
  Panel3->setObjectName(QStringLiteral("Panel3"));
  Panel3->setMinimumWidth(157);
  Panel3->setFont(design);
  auto* panel = new QVBoxLayout(Panel3);
  panel->setContentsMargins(3, 3, 3, 3);
  panel->setSpacing(3);

  ComboBox1 = new QComboBox();
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  ComboBox1->setCompleter(nullptr);
  ComboBox1->setMaxVisibleItems(24);
  ComboBox1->setToolTip(QStringLiteral("Книга от Библията"));
  Panel8 = Panel(Panel3, ComboBox1);
  panel->addWidget(Panel8);

  SpinEdit1 = new TMySpinEdit();
  SpinEdit2 = new TMySpinEdit();
  SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
  SpinEdit2->setObjectName(QStringLiteral("SpinEdit2"));
  SpinEdit1->setToolTip(QStringLiteral("Глава на книгата"));
  SpinEdit2->setToolTip(QStringLiteral("Номер на стиха"));
  for (TMySpinEdit* box : {SpinEdit1, SpinEdit2}) {
    box->SetAutoSelect(false);
    box->SetIncrement(-1);
    box->SetMinValue(1);
    box->SetMaxValue(150);
    box->FixValue(1);
  }
  Button1 = new QPushButton(QStringLiteral("само"));
  Button1->setObjectName(QStringLiteral("Button1"));
  Panel2 = new QWidget(Panel3);
  auto* spins = new QHBoxLayout(Panel2);
  spins->setContentsMargins(0, 0, 0, 0);
  spins->setSpacing(3);
  spins->addWidget(SpinEdit1, 1);
  spins->addWidget(SpinEdit2, 1);
  spins->addWidget(Button1);
  panel->addWidget(Panel2);

  Splitter2 = new QSplitter(Qt::Vertical, Panel3);
  Splitter2->setObjectName(QStringLiteral("Splitter2"));
  Splitter2->setChildrenCollapsible(false);
  LargeListBox1 = new TLargeListBox(Splitter2);
  LargeListBox1->setObjectName(QStringLiteral("LargeListBox1"));
  LargeListBox1->setToolTip(QStringLiteral("Списък на думите"));
  ListBox2 = new TFoundListBox(Splitter2);
  ListBox2->setObjectName(QStringLiteral("ListBox2"));
  ListBox2->setToolTip(QStringLiteral("Намерени стихове"));
  ListBox2->setContextMenuPolicy(Qt::CustomContextMenu);
  Splitter2->setStretchFactor(1, 1);
  panel->addWidget(Splitter2, 1);

  BibleComboBox1 = new TBibleComboBox();
  BibleComboBox1->setObjectName(QStringLiteral("BibleComboBox1"));
  BibleComboBox1->setToolTip(QStringLiteral("Отваряни стихове"));
  BibleComboBox1->setMaxVisibleItems(20);
  Panel6 = Panel(Panel3, BibleComboBox1);
  panel->addWidget(Panel6);

  MdiArea = new QMdiArea(Splitter1);
  MdiArea->setObjectName(QStringLiteral("MdiArea"));
  MdiArea->setBackground(QColor(0x80, 0x80, 0x80));
  // Tiled windows always fit, so the frame never scrolls.
  MdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  MdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Splitter1->setStretchFactor(1, 1);
  Panel3->hide();

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusPanel = new QLabel(StatusBar1);
  StatusPanel->setMinimumWidth(50);
  // The panel's sunken frame, whole: the bar is as tall as the label with its frame.
  StatusPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  StatusPanel->setMargin(1);
  // The label is read by its text, which changes with every search; the bar holding it is
  // found by its name.
  StatusBar1->setAccessibleName(QStringLiteral("Резултат от търсенето"));
  StatusBar1->addWidget(StatusPanel, 1);
  setStatusBar(StatusBar1);

  RichEdit1 = new TBibleRichEdit1(this);
  RichEdit1->AutoMark = false;
  RichEdit1->hide();

  PopupMenu1 = new QMenu(this);
  Copy1 = PopupMenu1->addAction(QStringLiteral("Копирай списъка"));
  Copy2 = PopupMenu1->addAction(QStringLiteral("Копирай всички стихове"));
  Copy3 = PopupMenu1->addAction(QStringLiteral("Копирай маркираните стихове"));
  Copy3->setEnabled(false);
  auto historyMenu = [this] {
    auto* menu = new QMenu(this);
    for (const char* caption : {"По азбучен ред", "По време", "По място в Библията", "-",
                                "Изтриване", "Брой"}) {
      if (QString::fromUtf8(caption) == QStringLiteral("-"))
        menu->addSeparator();
      else
        menu->addAction(QString::fromUtf8(caption));
    }
    return menu;
  };
  PopupMenu2 = historyMenu();
  PopupMenu3 = historyMenu();
  LargeListBox1->SetPopupMenu(PopupMenu2);
  BibleComboBox1->SetPopupMenu(PopupMenu3);
  BibleComboBox1->SetSorted(byText);
  PopupMenu4 = new QMenu(this);
  auto* modes = new QActionGroup(PopupMenu4);
  Only1 = PopupMenu4->addAction(QStringLiteral("само"));
  And1 = PopupMenu4->addAction(QStringLiteral("и"));
  Or1 = PopupMenu4->addAction(QStringLiteral("или"));
  Without1 = PopupMenu4->addAction(QStringLiteral("без"));
  for (QAction* item : {Only1, And1, Or1, Without1}) {
    item->setCheckable(true);
    modes->addAction(item);
  }
  Only1->setChecked(true);
  PopupMenu5 = new QMenu(this);
  Dictionary2 = PopupMenu5->addAction(QStringLiteral("Речник"));
  LargeListBox1->SetPopupMenu2(PopupMenu5);
}

void TMainForm1::CreateMenus() {
  QMenuBar* bar = menuBar();
  File1 = bar->addMenu(QStringLiteral("&Отвори"));
  for (int i = 0; i < VersionTableSize; ++i) {
    Version[size_t(i)] = File1->addAction(QString::fromUtf8(VersionCaptions[i]));
    Version[size_t(i)]->setCheckable(true);
    Version[size_t(i)]->setVisible(false);
    Version[size_t(i)]->setData(i);
  }
  N3 = File1->addSeparator();
  N3->setVisible(false);
  ViewWindow1 = File1->addAction(QStringLiteral("Прозорец отгоре"));
  ViewWindow1->setVisible(false);
  Dictionary1 = File1->addAction(QStringLiteral("Речник"));
  Dictionary1->setVisible(false);
  N1 = File1->addSeparator();
  N1->setVisible(false);
  Exit1 = File1->addAction(QStringLiteral("E&xit"));

  Goto1 = bar->addMenu(QStringLiteral("&Иди на"));
  Previous1 = Goto1->addAction(QStringLiteral("предишния стих"));
  BookMark2 = Goto1->addMenu(QStringLiteral("отбелязаното място"));
  GotoBookMark1 = BookMark2->addAction(QStringLiteral("Go to"));
  GotoBookMark1->setVisible(false);
  Random1 = Goto1->addAction(QStringLiteral("случайно избран стих"));
  Goto1->menuAction()->setVisible(false);

  Range1 = bar->addAction(QStringLiteral("О&бласт"));
  Range1->setVisible(false);
  Options1 = bar->addAction(QStringLiteral("&Настройка"));
  Options1->setVisible(false);
  Windows1 = bar->addMenu(QStringLiteral("П&розорци"));
  Tile1 = Windows1->addAction(QStringLiteral("Нареди"));
  Windows1->menuAction()->setVisible(false);

  Help1 = bar->addMenu(QStringLiteral("&Помощ"));
  ThisProgram1 = Help1->addAction(QStringLiteral("за програмата"));
  ThisBible1 = Help1->addAction(QStringLiteral("за Библията"));
  ThisBible1->setVisible(false);
  N4 = Help1->addSeparator();
  Logo1 = Help1->addAction(QStringLiteral("Сигнал"));

  // As in every multiple-document program, Ctrl+F4 closes the active document window.
  CloseWindow1 = new QAction(this);
  CloseWindow1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
  CloseWindow1->setShortcutContext(Qt::WindowShortcut);
  addAction(CloseWindow1);
}

void TMainForm1::ConnectEvents() {
  for (QAction* item : Version)
    BIBLE_CONNECT(item, &QAction::triggered, this, [this, item] { VersionClick(item); });
  BIBLE_CONNECT(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
  BIBLE_CONNECT(ViewWindow1, &QAction::triggered, this, [this] { ViewWindow1Click(); });
  BIBLE_CONNECT(Previous1, &QAction::triggered, this, [this] { Previous1Click(); });
  BIBLE_CONNECT(Random1, &QAction::triggered, this, [this] { Random1Click(); });
  BIBLE_CONNECT(Options1, &QAction::triggered, this, [this] { Options1Click(); });
  BIBLE_CONNECT(Tile1, &QAction::triggered, this, [this] { Tile1Click(); });
  BIBLE_CONNECT(Windows1, &QMenu::aboutToShow, this, [this] { Windows1Popup(); });
  BIBLE_CONNECT(ThisProgram1, &QAction::triggered, this, [this] { Help1Click(); });
  BIBLE_CONNECT(ThisBible1, &QAction::triggered, this, [this] { ThisBible1Click(); });
  BIBLE_CONNECT(Logo1, &QAction::triggered, this, [this] { Logo1Click(); });
  BIBLE_CONNECT(CloseWindow1, &QAction::triggered, this, [this] {
    if (TBibleForm1* active = ActiveBibleForm())
      if (QMdiSubWindow* sub = active->SubWindow()) sub->close();
  });
  BIBLE_CONNECT(MdiArea, &QMdiArea::subWindowActivated, this,
                [this](QMdiSubWindow* w) { SubWindowActivated(w); });
  BIBLE_CONNECT(Splitter1, &QSplitter::splitterMoved, this, [this] { TileWindows(); });
  BIBLE_CONNECT(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
  // A real keyboard's keys reach the combo box, which hands them to its line edit without going
  // through that one's filters; both are watched, for keys sent to either.
  ComboBox1->installEventFilter(this);
  ComboBox1->lineEdit()->installEventFilter(this);
  // The windows are tiled whenever the frame's area changes size: window resize, panel shown or
  // hidden, splitter moved.
  MdiArea->installEventFilter(this);
  for (TMySpinEdit* box : {SpinEdit1, SpinEdit2}) {
    box->OnChange = [this](QObject*) { SpinEdit1Change(); };
    box->OnKeyDown = [this, box](QObject*, int& key, Qt::KeyboardModifiers) {
      SpinEdit2KeyDown(box, key);
    };
    box->OnEnter = [box](QObject*) {
      if (auto* edit = box->findChild<QLineEdit*>()) edit->end(false);
    };
  }
  SpinEdit2->OnMin = [this] { SpinEdit2Min(); };
  SpinEdit2->OnMax = [this] { SpinEdit2Max(); };
  BIBLE_CONNECT(BibleComboBox1, &QComboBox::activated, this, [this] { BibleComboBox1Change(); });
  LargeListBox1->OnChangeItemIndex = [this](QObject*) { LargeListBox1ChangeItemIndex(); };
  LargeListBox1->OnClick = [this](QObject*) { LargeListBox1ChangeItemIndex(); };
  LargeListBox1->OnKeyPress = [this](QObject*, char& key) { LargeListBox1KeyPress(key); };
  BIBLE_CONNECT(Button1, &QPushButton::pressed, this, [this] { Button1MouseDown(); });
  for (QAction* item : {Only1, And1, Or1, Without1})
    BIBLE_CONNECT(item, &QAction::triggered, this, [this, item] { ModeClick(item); });
  ListBox2->OnClick = [this](QObject*) { ListBox2Click(); };
  for (QAction* item : {Copy1, Copy2, Copy3})
    BIBLE_CONNECT(item, &QAction::triggered, this, [this, item] { Copy1Click(item); });
  BIBLE_CONNECT(Range1, &QAction::triggered, this, [this] { Range1Click(); });
  BIBLE_CONNECT(ListBox2, &QWidget::customContextMenuRequested, this,
                [this](const QPoint& p) { PopupMenu1->popup(ListBox2->mapToGlobal(p)); });
  ConnectDictionaryEvents();
}

void TMainForm1::FormCreate() {
  BookSet.fill(1);
  ListVersions();

  // Placement: centred on the screen unless the settings say otherwise.
  QRect screen(0, 0, 1280, 800);
  if (QScreen* s = QGuiApplication::primaryScreen()) screen = s->availableGeometry();
  const int width = std::min(1000, screen.width() - 40);
  const int height = std::min(700, screen.height() - 60);
  TFormPlacement placement;
  placement.WindowState = wsNormal;
  placement.Left = screen.left() + (screen.width() - width) / 2;
  placement.Top = screen.top() + (screen.height() - height) / 2;
  placement.Width = width;
  placement.Height = height;
  if (IniFile) IniFile->ReadFormPlacement(Section, placement);
  // A stored size that cannot hold the menu and the panel is damage; the default takes over.
  if (placement.Width < 200 || placement.Height < 150) {
    placement.Width = width;
    placement.Height = height;
  }
  setGeometry(placement.Left, placement.Top, placement.Width, placement.Height);
  if (placement.WindowState == wsMaximized) setWindowState(Qt::WindowMaximized);

  SetPanelAlign(ReadInt("PanelAlign", alLeft) == alRight ? alRight : alLeft);
  const int panelWidth = std::max(157, ReadInt("PanelWidth", 157));
  Splitter1->setSizes(FPanelAlign == alLeft ? QList<int>{panelWidth, width - panelWidth}
                                            : QList<int>{width - panelWidth, panelWidth});
  const int splitterTop = std::max(40, ReadInt("SplitterTop", 144));
  Splitter2->setSizes({splitterTop, std::max(60, height - splitterTop - 140)});
  SetShowHint(ReadFlag("ShowHint", true));

  CurrentVerseColor = uint32_t(ReadInt("CurrentVerseColor", 0x008000)) & 0xFFFFFF;
  FounWordColor = uint32_t(ReadInt("FounWordColor", 0xFF0000)) & 0xFFFFFF;
  ViewOptions = ReadInt("ViewOptions", DefaultViewOptions);
  SearchRangeType = ReadInt("SearchRangeType", 0);
  // A character other than "0" keeps the book in the range, as does a string shorter than 78.
  const std::string range = IniFile ? IniFile->ReadString(Section, "SearchRange", "") : "";
  for (size_t k = 0; k < BookSet.size(); ++k) BookSet[k] = k < range.size() && range[k] == '0' ? 0 : 1;
  Search.BookSet = BookSet;
  CheckClipboard = ReadFlag("CheckClipboard", true);
  DifferentFonts = ReadFlag("DifferentFonts", false);
  AutoKeybd = ReadFlag("AutoKeybd", true);
  FoneticCyr = ReadFlag("FoneticCyr", false);
  SelectBulgarianLayout(FoneticCyr);
}

void TMainForm1::ListVersions() {
  bool any = false;
  for (int i = 0; i < VersionTableSize; ++i) {
    std::error_code ec;
    const bool installed = std::filesystem::exists(
        DataFile(VersionDiskFolder(i) + "BibleTitles.txt", TPathUse::Read), ec);
    Version[size_t(i)]->setVisible(installed);
    any = any || installed;
  }
  bool dictionaries = false;
  for (const std::string& folder : DataFileFolders("Dictionaries")) {
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator(folder, ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
      dictionaries = dictionaries || it->path().extension() == ".ibf";
  }
  Dictionary1->setVisible(dictionaries);
  if (dictionaries) DictionaryFolder = DataRoot + "Dictionaries/";
  N1->setVisible(dictionaries || !BibleForms().empty());
  N3->setVisible(any);
}

void TMainForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (FShown) return;
  FShown = true;
  // After the frame has appeared, so that the splash stands in front of it.
  QTimer::singleShot(0, this, [this] { FormShow(); });
}

void TMainForm1::FormShow() {
  if (OptionsForm1) OptionsForm1->CheckBox8->setChecked(ReadFlag("PlaySound", true));
  if (LogoForm1) LogoForm1->exec();
  if (OptionsForm1) OptionsForm1->CheckBox10->setChecked(ReadFlag("ShowFootnotes", true));
  ReopenWindows();
  ActivateAndTile();
  if (ReadFlag("IsDicVizible", false)) Dictionary1Click();
  if (ReadFlag("IsBeacon", false)) ViewWindow1Click();
}

void TMainForm1::ReopenWindows() {
  const int n = std::clamp(ReadInt("MDIChildCount", 0), 0, MaxSavedWindows);
  for (int k = n - 1; k >= 0; --k) {
    const std::string section = "Bible" + std::to_string(k);
    if (!IniFile) break;
    const int version = IniFile->ReadInteger(section, "BibleHndl", 1);
    // A section that names no version of the table is skipped; the others still open.
    if (version < 0 || version >= VersionTableSize) continue;
    OpenBibleWindow(version, IniFile->ReadInteger(section, "Book", 1),
                    IniFile->ReadInteger(section, "Chapter", 1),
                    IniFile->ReadInteger(section, "Verse", 1));
  }
}

void TMainForm1::OpenBibleWindow(int version, int book, int chapter, int verse) {
  TBibleForm1* form = nullptr;
  try {
    form = TBibleForm1::Create(this, version, book, chapter, verse);
  } catch (const std::exception& e) {
    ShowMessage(QString::fromStdString(e.what()), this);
    return;
  }
  if (!form) return;
  QMdiSubWindow* sub = MdiArea->addSubWindow(form);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  // Ctrl+F4 is the main window's (CloseWindow1): the window's own copy in its system menu
  // would make the key ambiguous while the focus is in the window.
  if (QMenu* system = sub->systemMenu())
    for (QAction* item : system->actions())
      if (item->shortcuts().contains(CloseWindow1->shortcut())) item->setShortcuts({});
  sub->setWindowIcon(QIcon(QPixmap::fromImage([] {
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
  }())));
  sub->resize(420, 360);
  sub->show();
  MdiArea->setActiveSubWindow(sub);
  ShowPanel();
  ClearNewFlag();
}

std::vector<TBibleForm1*> TMainForm1::BibleForms() const {
  std::vector<TBibleForm1*> forms;
  const QList<QMdiSubWindow*> list = MdiArea->subWindowList(QMdiArea::StackingOrder);
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    auto* form = dynamic_cast<TBibleForm1*>((*it)->widget());
    if (form && !form->Closing) forms.push_back(form);
  }
  return forms;
}

// The active window takes over the control panel (its version's lists and histories); a read
// error there is shown, and the windows are tiled either way.
void TMainForm1::ActivateAndTile() {
  if (TBibleForm1* active = ActiveBibleForm()) {
    try {
      active->FormActivate();
    } catch (const std::exception& e) {
      ShowMessage(QString::fromStdString(e.what()), this);
    }
  }
  TileWindows();
}

TBibleForm1* TMainForm1::ActiveBibleForm() const {
  if (QMdiSubWindow* sub = MdiArea->activeSubWindow()) {
    auto* form = dynamic_cast<TBibleForm1*>(sub->widget());
    if (form && !form->Closing) return form;
  }
  const auto forms = BibleForms();
  return forms.empty() ? nullptr : forms.front();
}

void TMainForm1::SubWindowActivated(QMdiSubWindow* window) {
  if (!window) return;
  auto* form = dynamic_cast<TBibleForm1*>(window->widget());
  if (!form) return;
  try {
    form->FormActivate();
  } catch (const std::exception& e) {
    ShowMessage(QString::fromStdString(e.what()), this);
  }
}

void TMainForm1::ClearNewFlag() {
  // Every other window had its flag cleared right after its own creation.
  for (TBibleForm1* form : BibleForms()) form->JustCreated = false;
}

void TMainForm1::ShowPanel() {
  if (BibleForms().empty()) return;
  if (Panel3->isHidden()) {
    Panel3->show();
    // The windows' area shrinks now, not at the next layout pass, so that tiling sees its size.
    Splitter1->refresh();
  }
  for (QAction* item : {ViewWindow1, N1, Options1, Range1, ThisBible1}) item->setVisible(true);
  Goto1->menuAction()->setVisible(true);
  Windows1->menuAction()->setVisible(true);
}

void TMainForm1::BibleWindowClosed(TBibleForm1* form) {
  form->Closing = true;
  if (LastSynced == form) LastSynced = nullptr;
  if (QMdiSubWindow* sub = form->SubWindow()) sub->deleteLater();
  if (BibleForms().empty()) {
    Panel3->hide();
    for (QAction* item : {Options1, Range1, ViewWindow1, ThisBible1}) item->setVisible(false);
    Goto1->menuAction()->setVisible(false);
    Windows1->menuAction()->setVisible(false);
    N1->setVisible(Dictionary1->isVisible());
  }
  TileWindows();
  if (TBibleForm1* active = ActiveBibleForm()) active->BRichEdit1->viewport()->update();
}

void TMainForm1::SetPanelAlign(TAlign align) {
  FPanelAlign = align;
  // The splitter lies between the panel and the windows' area on either side.
  Splitter1->insertWidget(align == alLeft ? 0 : 1, Panel3);
  TileWindows();
}

void TMainForm1::SetShowHint(bool on) {
  ShowHint = on;
  // Hints are the tool tips of the panel's controls and of the Bible windows; off, they are kept
  // but not shown.
  ShowHints(this, on);
}

int TMainForm1::NameCharset() const {
  if (!CurrentBible) return AnsiCharset;
  return VersionLanguage(*CurrentBible) == 3 ? RUSSIAN_CHARSET : CurrentBible->Font.Charset;
}

void TMainForm1::ApplyVersionFont() {
  if (!CurrentBible) return;
  MainFont = CurrentBible->Font;
  const QFont f = ToQFont(CurrentBible->Font);
  Panel3->setFont(f);
  LargeListBox1->SetFont(f);
  StatusBar1->setFont(f);
  StatusBar1->setMinimumHeight(QFontMetrics(f).height() + 8);
  // The panel is never squeezed below its text and frame; the bar grows to hold it.
  StatusPanel->setMinimumHeight(0);
  StatusPanel->setMinimumHeight(StatusPanel->sizeHint().height());
  LargeListBox1->FillRows();
  if (Dic_Form1) Dic_Form1->SetDicFont(CurrentBible->Font);
}

void TMainForm1::TileWindows() {
  if (!MdiArea) return;
  std::vector<QMdiSubWindow*> windows;
  for (QMdiSubWindow* sub : MdiArea->subWindowList(QMdiArea::CreationOrder)) {
    auto* form = dynamic_cast<TBibleForm1*>(sub->widget());
    if (form && !form->Closing && !sub->isMinimized()) windows.push_back(sub);
  }
  const int n = int(windows.size());
  if (n == 0) return;
  // Side by side in columns, as parallel texts are read; more than four make a grid.
  const int columns = n <= 4 ? n : int(std::ceil(std::sqrt(double(n))));
  const int rows = (n + columns - 1) / columns;
  const QRect area = MdiArea->viewport()->rect();
  for (int i = 0; i < n; ++i) {
    const int row = i / columns;
    const int column = i % columns;
    const int inRow = row == rows - 1 ? n - row * columns : columns;
    const int x0 = area.width() * column / inRow;
    const int x1 = area.width() * (column + 1) / inRow;
    const int y0 = area.height() * row / rows;
    const int y1 = area.height() * (row + 1) / rows;
    if (windows[size_t(i)]->isMaximized()) windows[size_t(i)]->showNormal();
    windows[size_t(i)]->setGeometry(x0, y0, x1 - x0, y1 - y0);
  }
}

void TMainForm1::FitBookList() {
  QAbstractItemView* list = ComboBox1->view();
  list->setTextElideMode(Qt::ElideNone);
  const QFontMetrics metrics(list->font());
  int widest = 0;
  for (int i = 0; i < ComboBox1->count(); ++i)
    widest = std::max(widest, metrics.horizontalAdvance(ComboBox1->itemText(i)));
  // The row's margins, the list's frame and a scroll bar for a long list.
  const int extra = 2 * list->frameWidth() + 16 +
                    list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
  list->setMinimumWidth(widest + extra);
}

void TMainForm1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  TileWindows();
  // The frame's own size follows once the layout has run.
  QTimer::singleShot(0, this, [this] { TileWindows(); });
}

void TMainForm1::SetBookLine(int position) {
  ComboBox1->blockSignals(true);
  ComboBox1->setCurrentIndex(position - 1);
  ComboBox1->setEditText(ComboBox1->itemText(position - 1));
  ComboBox1->blockSignals(false);
}

// ---- Menus ----

void TMainForm1::VersionClick(QAction* sender) {
  if (!sender) return;
  const int chapter = SpinEdit1->Value();
  const int verse = SpinEdit2->Value();
  TBibleForm1* previous = ActiveBibleForm();
  OpenBibleWindow(sender->data().toInt(), CurrentBook, chapter, verse);
  TBibleForm1* opened = ActiveBibleForm();
  // A version that lacks the shown place opens at the nearest place it has, beside the window
  // that was active: that one keeps the controls, so neither they nor the other windows lose
  // their place.
  if (previous && opened && opened != previous &&
      !HasPlace(*opened->Bible, CurrentBook, chapter, verse))
    MdiArea->setActiveSubWindow(previous->SubWindow());
  ActivateAndTile();
}

void TMainForm1::Exit1Click() { close(); }

void TMainForm1::Options1Click() {
  if (!OptionsForm1) return;
  if (!OptionsForm1->EditOptions()) {
    // The chosen font stays with the version even when the dialog is cancelled; its windows show
    // it rather than keep the old face until the next chapter.
    if (OptionsForm1->FFontChanged && CurrentBible) {
      ApplyVersionFont();
      for (TBibleForm1* form : BibleForms()) {
        if (form->Bible != CurrentBible) continue;
        ReuseChapterText = false;
        form->DisplayVerse(form->Book, form->Chapter, form->Verse);
        ReuseChapterText = true;
      }
    }
    return;
  }
  ApplyVersionFont();
  TileWindows();
  if (RebuildTexts) {
    const auto forms = BibleForms();
    for (TBibleForm1* form : forms) {
      if (form->Bible != CurrentBible && DifferentFonts) continue;
      ReuseChapterText = false;
      form->Bible->SetFont(MainFont);
      form->DisplayVerse(form->Book, form->Chapter, form->Verse);
      ReuseChapterText = true;
    }
    if (!forms.empty() && forms.front()->VersionIndex() == 9)
      ShowMessage(QStringLiteral("Ако избрания шрифт притежава Script:Greek, но въпреки това "
                                 "гръцкия текст не се показва с гръцки букви, затворете "
                                 "програмата и я стартирайте отново."),
                  this);
  }
  ShowFound(std::string());
}

void TMainForm1::Tile1Click() {
  TileWindows();
  if (TBibleForm1* active = ActiveBibleForm()) active->BRichEdit1->viewport()->update();
}

void TMainForm1::Windows1Popup() {
  // "Нареди" and then one item per open window, the active one checked.
  const QList<QAction*> items = Windows1->actions();
  for (QAction* item : items)
    if (item != Tile1) {
      Windows1->removeAction(item);
      delete item;
    }
  const auto forms = BibleForms();
  if (!forms.empty()) Windows1->addSeparator();
  TBibleForm1* active = ActiveBibleForm();
  int number = 1;
  for (QMdiSubWindow* sub : MdiArea->subWindowList(QMdiArea::CreationOrder)) {
    auto* form = dynamic_cast<TBibleForm1*>(sub->widget());
    if (!form || form->Closing) continue;
    QAction* item = Windows1->addAction(QStringLiteral("&%1 %2").arg(number++).arg(sub->windowTitle()));
    item->setCheckable(true);
    item->setChecked(form == active);
    BIBLE_CONNECT(item, &QAction::triggered, this, [this, sub] { MdiArea->setActiveSubWindow(sub); });
  }
}

// F1 on a control opens the page of its help context (see platform/winhelp.h). The panel's
// controls and the menu carry the form's numbers; the word list and the Bible windows' text carry
// 5 and 6, the word list's "Речник" menu the dictionary's 11.
void TMainForm1::SetHelpContexts() {
  SetHelpContext(ComboBox1, 1);
  SetHelpContext(SpinEdit1, 2);
  SetHelpContext(SpinEdit2, 3);
  SetHelpContext(Button1, 4);
  SetHelpContext(PopupMenu4, 4);
  SetHelpContext(LargeListBox1, 5);
  SetHelpContext(MdiArea, 6);
  SetHelpContext(ListBox2, 7);
  SetHelpContext(PopupMenu1, 7);
  SetHelpContext(BibleComboBox1, 8);
  SetHelpContext(menuBar(), 9);
  SetHelpContext(PopupMenu5, 11);
}

void TMainForm1::Help1Click() { ShowHelpTopic(QStringLiteral("Main")); }

void TMainForm1::ThisBible1Click() {
  if (!CurrentBible || CurrentBible->VersionIndex >= VersionTableSize) return;
  const QString topic = QString::fromLatin1(VersionHelpTopics[CurrentBible->VersionIndex]);
  if (topic == QStringLiteral("GER")) SetApplicationHelpFile(QStringLiteral("DIEELBERF.HLP"));
  if (!topic.isEmpty()) ShowHelpTopic(topic);
  SetApplicationHelpFile(QStringLiteral("Bible.hlp"));
}

void TMainForm1::Logo1Click() {
  if (LogoForm1) LogoForm1->exec();
}

void TMainForm1::closeEvent(QCloseEvent* event) {
  if (!FClosed) {
    FClosed = true;
    FormClose();
  }
  event->accept();
  QCoreApplication::quit();
}

void TMainForm1::FormClose() {
  auto report = [this](const std::exception& e) {
    ShowMessage(QString::fromStdString(e.what()), this);
  };
  const auto forms = BibleForms();
  if (IniFile && !SettingsWriteFailed) {
    try {
      TFormPlacement placement;
      placement.WindowState = isMaximized() ? wsMaximized : isMinimized() ? wsMinimized : wsNormal;
      const QRect r = isMaximized() ? normalGeometry() : geometry();
      placement.Left = r.left();
      placement.Top = r.top();
      placement.Width = r.width();
      placement.Height = r.height();
      IniFile->WriteFormPlacement(Section, placement);
      IniFile->WriteString(Section, "FontName", MainFont.Name);
      IniFile->WriteInteger(Section, "FontSize", MainFont.Size);
      IniFile->WriteInteger(Section, "PanelAlign", FPanelAlign);
      IniFile->WriteInteger(Section, "PanelWidth", Panel3->isVisible() ? Panel3->width()
                                                                      : ReadInt("PanelWidth", 157));
      IniFile->WriteInteger(Section, "SplitterTop",
                            Panel3->isVisible() ? LargeListBox1->height() : ReadInt("SplitterTop", 144));
      IniFile->WriteInteger(Section, "ViewOptions", ViewOptions);
      IniFile->WriteBool(Section, "ShowHint", ShowHint);
      IniFile->WriteBool(Section, "ShowFootnotes",
                         !OptionsForm1 || OptionsForm1->CheckBox10->isChecked());
      IniFile->WriteInteger(Section, "CurrentVerseColor", int(CurrentVerseColor));
      IniFile->WriteInteger(Section, "FounWordColor", int(FounWordColor));
      IniFile->WriteInteger(Section, "SearchRangeType", SearchRangeType);
      std::string range;
      for (uint8_t flag : BookSet) range += flag ? '1' : '0';
      IniFile->WriteString(Section, "SearchRange", range);
      const int old = std::clamp(ReadInt("MDIChildCount", 0), 0, MaxSavedWindows);
      for (int k = 0; k < old; ++k) IniFile->EraseSection("Bible" + std::to_string(k));
      IniFile->WriteInteger(Section, "MDIChildCount", int(forms.size()));
      for (size_t k = 0; k < forms.size(); ++k)
        forms[k]->SaveWindowState(*IniFile, "Bible" + std::to_string(k));
      IniFile->WriteBool(Section, "DifferentFonts", DifferentFonts);
      IniFile->WriteBool(Section, "CheckClipboard", CheckClipboard);
      IniFile->WriteBool(Section, "PlaySound", !OptionsForm1 || OptionsForm1->CheckBox8->isChecked());
      IniFile->WriteBool(Section, "AutoKeybd", AutoKeybd);
      IniFile->WriteBool(Section, "FoneticCyr", FoneticCyr);
      IniFile->WriteBool(Section, "IsDicVizible", Dic_Form1 && Dic_Form1->isVisible());
      IniFile->WriteBool(Section, "IsBeacon", ViewerLinked);
    } catch (const std::exception& e) {
      // A refused write (read-only folder, full disk) is reported once; the program still closes
      // and the settings file keeps its last complete state.
      SettingsWriteFailed = true;
      report(e);
    }
  }
  if (CurrentBible) {
    try {
      LargeListBox1->ComboBox->SaveToFile(CurrentBible->HistoryPath + "Search_List.txt");
      BibleComboBox1->SaveToFile(CurrentBible->HistoryPath + "VerseHistory.txt");
    } catch (const std::exception& e) {
      report(e);
    }
  }
  for (auto& bible : Bibles) {
    if (!bible) continue;
    if (SettingsWriteFailed) {
      bible->SettingsSaved = true;
      continue;
    }
    try {
      bible->SaveSettings();
    } catch (const std::exception& e) {
      SettingsWriteFailed = true;
      report(e);
    }
  }
  if (Dic_Form1 && Dic_Form1->isVisible()) Dic_Form1->close();
  // The windows still point at their versions; they go first.
  LastSynced = nullptr;
  CurrentBible = nullptr;
  for (TBibleForm1* form : forms) {
    form->Closing = true;
    if (QMdiSubWindow* sub = form->SubWindow()) delete sub;
  }
  for (auto& bible : Bibles) bible.reset();
}
