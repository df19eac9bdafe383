#include "forms/tmainform1.h"

#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTimer>
#include <QVBoxLayout>
#include <filesystem>
#include <functional>
#include <memory>

#include "controls/fontconvert.h"
#include "controls/tbiblecombobox.h"
#include "controls/tbiblerichedit1.h"
#include "controls/tfoundlistbox.h"
#include "controls/tlargelistbox.h"
#include "controls/tmyspinedit.h"
#include "core/keyboard.h"
#include "core/nearestplace.h"
#include "core/tbible.h"
#include "core/tlargestringlist.h"
#include "core/wordsearch.h"
#include "forms/taddversionform1.h"
#include "forms/tbibleform1.h"
#include "forms/tdic_form1.h"
#include "forms/tlistmessageform1.h"
#include "forms/tlogoform1.h"
#include "forms/toptionsform1.h"
#include "forms/tpictureform1.h"
#include "forms/trangeform1.h"
#include "platform/accessiblenames.h"
#include "platform/codepage.h"
#include "platform/datapaths.h"
#include "platform/hints.h"
#include "platform/showmessage.h"
#include "platform/winhelp.h"

namespace {

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
  setAcceptDrops(true);
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
}

namespace {

// The status text of a search: a long expression is cut short with "…", never its " | count",
// and the text never widens the window. text() stays whole (the copy commands read it).
class TStatusLabel : public QLabel {
 public:
  using QLabel::QLabel;
  QSize minimumSizeHint() const override {
    return QSize(50, QLabel::minimumSizeHint().height());
  }
  QSize sizeHint() const override { return QSize(50, QLabel::sizeHint().height()); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    drawFrame(&painter);
    const QRect r = contentsRect().adjusted(margin(), 0, -margin(), 0);
    const QString all = text();
    const qsizetype bar = all.lastIndexOf(QStringLiteral(" | "));
    const QString count = bar >= 0 ? all.mid(bar) : QString();
    const QString words = bar >= 0 ? all.left(bar) : all;
    const QFontMetrics metrics(font());
    const int room = std::max(0, r.width() - metrics.horizontalAdvance(count));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(r, Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(words, Qt::ElideRight, room) + count);
  }
};

}  // namespace

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

  // Under the found list, which it explains; the controls above keep their places.
  CheckBox1 = new QCheckBox(QStringLiteral("всички форми"), Panel3);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  CheckBox1->setToolTip(QStringLiteral("Търси всички форми на думата"));
  panel->addWidget(CheckBox1);
  // The label is read by its text, which changes with every search; the panel holding it is
  // found by its name, as the status bar is.
  Panel9 = new QWidget(Panel3);
  Panel9->setObjectName(QStringLiteral("Panel9"));
  Panel9->setAccessibleName(QStringLiteral("Намерени форми"));
  auto* formsLayout = new QVBoxLayout(Panel9);
  formsLayout->setContentsMargins(0, 0, 0, 0);
  Label1 = new QLabel(Panel9);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setWordWrap(true);
  // A prefix of many words must not stretch the panel: the label shows what fits.
  Label1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  Label1->setMaximumHeight(4 * Label1->fontMetrics().lineSpacing());
  formsLayout->addWidget(Label1);
  Panel9->hide();
  panel->addWidget(Panel9);

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
  StatusPanel = new TStatusLabel(StatusBar1);
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
  AddVersion1 = File1->addAction(QStringLiteral("Добави превод…"));

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
  QObject* to = &FConnections;
  BIBLE_CONNECT(&Place, &TChangeNotifier::Changed, to, [this] { ShowPlace(); });
  BIBLE_CONNECT(&Settings, &TChangeNotifier::Changed, to, [this] { ApplySettings(); });
  for (QAction* item : Version)
    BIBLE_CONNECT(item, &QAction::triggered, to, [this, item] { VersionClick(item); });
  BIBLE_CONNECT(Exit1, &QAction::triggered, to, [this] { Exit1Click(); });
  BIBLE_CONNECT(AddVersion1, &QAction::triggered, to, [this] { AddVersion1Click(); });
  // A version imported while the program runs is listed the next time the menu opens.
  BIBLE_CONNECT(File1, &QMenu::aboutToShow, to, [this] { ListVersions(); });
  BIBLE_CONNECT(ViewWindow1, &QAction::triggered, to, [this] { ViewWindow1Click(); });
  BIBLE_CONNECT(Previous1, &QAction::triggered, to, [this] { Previous1Click(); });
  BIBLE_CONNECT(Random1, &QAction::triggered, to, [this] { Random1Click(); });
  BIBLE_CONNECT(Options1, &QAction::triggered, to, [this] { Options1Click(); });
  BIBLE_CONNECT(Tile1, &QAction::triggered, to, [this] { Tile1Click(); });
  BIBLE_CONNECT(Windows1, &QMenu::aboutToShow, to, [this] { Windows1Popup(); });
  BIBLE_CONNECT(ThisProgram1, &QAction::triggered, to, [this] { Help1Click(); });
  BIBLE_CONNECT(ThisBible1, &QAction::triggered, to, [this] { ThisBible1Click(); });
  BIBLE_CONNECT(Logo1, &QAction::triggered, to, [this] { Logo1Click(); });
  BIBLE_CONNECT(CloseWindow1, &QAction::triggered, to, [this] {
    if (TBibleForm1* active = ActiveBibleForm())
      if (QMdiSubWindow* sub = active->SubWindow()) sub->close();
  });
  BIBLE_CONNECT(MdiArea, &QMdiArea::subWindowActivated, to, [this](QMdiSubWindow* w) {
    ActivateForm(w ? qobject_cast<TBibleForm1*>(w->widget()) : nullptr);
  });
  BIBLE_CONNECT(Splitter1, &QSplitter::splitterMoved, to, [this] { TileWindows(); });
  BIBLE_CONNECT(ComboBox1, &QComboBox::activated, to, [this] { ComboBox1Change(); });
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
  BIBLE_CONNECT(BibleComboBox1, &QComboBox::activated, to, [this] { BibleComboBox1Change(); });
  LargeListBox1->OnChangeItemIndex = [this](QObject*) { LargeListBox1ChangeItemIndex(); };
  LargeListBox1->OnClick = [this](QObject*) { LargeListBox1ChangeItemIndex(); };
  LargeListBox1->OnKeyPress = [this](QObject*, char& key) { LargeListBox1KeyPress(key); };
  BIBLE_CONNECT(Button1, &QPushButton::pressed, to, [this] { Button1MouseDown(); });
  BIBLE_CONNECT(CheckBox1, &QCheckBox::clicked, to, [this] { CheckBox1Click(); });
  for (QAction* item : {Only1, And1, Or1, Without1})
    BIBLE_CONNECT(item, &QAction::triggered, to, [this, item] { ModeClick(item); });
  ListBox2->OnClick = [this](QObject*) { ListBox2Click(); };
  for (QAction* item : {Copy1, Copy2, Copy3})
    BIBLE_CONNECT(item, &QAction::triggered, to, [this, item] { Copy1Click(item); });
  BIBLE_CONNECT(Range1, &QAction::triggered, to, [this] { Range1Click(); });
  BIBLE_CONNECT(ListBox2, &QWidget::customContextMenuRequested, to,
                [this](const QPoint& p) { PopupMenu1->popup(ListBox2->mapToGlobal(p)); });
  ConnectDictionaryEvents();
}

void TMainForm1::FormCreate() {
  ListVersions();
  // Placement: centred on the screen unless the settings say otherwise.
  QRect screen(0, 0, 1280, 800);
  if (QScreen* s = QGuiApplication::primaryScreen()) screen = s->availableGeometry();
  const int width = std::min(1000, screen.width() - 40);
  const int height = std::min(700, screen.height() - 60);
  Settings.Placement = {wsNormal, screen.top() + (screen.height() - height) / 2,
                        screen.left() + (screen.width() - width) / 2, width, height};
  if (IniFile) Settings.Load(*IniFile);
  TFormPlacement& placement = Settings.Placement;
  // A stored size that cannot hold the menu and the panel is damage; the default takes over.
  if (placement.Width < 200 || placement.Height < 150) {
    placement.Width = width;
    placement.Height = height;
  }
  setGeometry(placement.Left, placement.Top, placement.Width, placement.Height);
  if (placement.WindowState == wsMaximized) setWindowState(Qt::WindowMaximized);

  SetPanelAlign(PanelAlign());
  FitPanel();
  const int panelWidth = std::max(Panel3->minimumWidth(), Settings.PanelWidth);
  Splitter1->setSizes(PanelAlign() == alLeft ? QList<int>{panelWidth, width - panelWidth}
                                             : QList<int>{width - panelWidth, panelWidth});
  const int splitterTop = std::max(40, Settings.SplitterTop);
  Splitter2->setSizes({splitterTop, std::max(60, height - splitterTop - 140)});
  SetShowHint(Settings.ShowHint);
  // The search session holds the range for the run; the settings take it back at exit.
  Search.BookSet = Settings.SearchRange;
  Search.RangeType = Settings.SearchRangeType;
  Search.Forms = Settings.AllForms;
  CheckBox1->setChecked(Settings.AllForms);
  SelectBulgarianLayout(Settings.FoneticCyr);
}

void TMainForm1::SetWindows(const TWindows& windows) {
  FLogo = windows.Logo;
  FRange = windows.Range;
  FOptions = windows.Options;
  FListMessage = windows.ListMessage;
  FDictionary = windows.Dictionary;
  FPicture = windows.Picture;
  if (FLogo) FLogo->Settings = &Settings;
  if (FRange) {
    FRange->Search = &Search;
    FRange->Place = &Place;
  }
  if (FOptions) {
    FOptions->Settings = &Settings;
    FOptions->Place = &Place;
  }
  QObject* to = &FConnections;
  if (FDictionary) {
    FDictionary->Place = &Place;
    FDictionary->Settings = &Settings;
    FDictionary->PictureWindow = FPicture;
    FDictionary->disconnect(to);
    BIBLE_CONNECT(FDictionary, &TDic_Form1::ReferenceRequested, to,
                  [this](const std::string& text) { SetBookPokeData(AnsiToQString(text)); });
    BIBLE_CONNECT(FDictionary, &TDic_Form1::SearchRequested, to,
                  [this](const std::string& word) { SearchWord(word); });
  }
  if (FPicture) {
    FPicture->disconnect(to);
    BIBLE_CONNECT(FPicture, &TPictureForm1::LookUpRequested, to, [this](const std::string& word) {
      if (FDictionary) FDictionary->ShowWord(word);
    });
  }
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
  // A folder that carries its translation's own name is listed by that name.
  for (int i = 0; i < VersionTableSize; ++i)
    Version[size_t(i)]->setText(QString::fromUtf8(VersionCaption(i)));
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
  if (FLogo) FLogo->exec();
  if (FirstStart)
    OpenFirstWindows();
  else
    ReopenWindows();
  ActivateAndTile();
  if (Settings.DictionaryVisible) Dictionary1Click();
  if (Settings.LinkViewer) ViewWindow1Click();
  if (!FileToAdd.isEmpty()) OpenFileToAdd(FileToAdd);
}

void TMainForm1::OpenFirstWindows() {
  auto present = [](int v) {
    std::error_code ec;
    return std::filesystem::exists(DataFile(VersionDiskFolder(v) + "BibleTitles.txt", TPathUse::Read), ec);
  };
  std::vector<int> chosen;
  for (int v : {0, 1, 2, 3, 4, 6, 7, 8, 10, 5})
    if (present(v)) {
      chosen.push_back(v);
      break;
    }
  if (present(9)) chosen.push_back(9);
  for (int v : {0, 1, 2, 3, 4, 6, 7, 8, 10, 5})
    if (chosen.size() < 2 && present(v) && std::find(chosen.begin(), chosen.end(), v) == chosen.end())
      chosen.push_back(v);
  if (chosen.empty()) {
    AddVersion1Click();
    return;
  }
  // John 1:1 (book slot 54); the first is created last, so that it is the active window.
  for (auto v = chosen.rbegin(); v != chosen.rend(); ++v) OpenBibleWindow(*v, 54, 1, 1);
}

TAddVersionForm1* TMainForm1::AddVersionForm() {
  if (!FAddVersion) {
    FAddVersion = new TAddVersionForm1(this);
    FAddVersion->Settings = &Settings;
    BIBLE_CONNECT(FAddVersion.data(), &TAddVersionForm1::VersionImported, &FConnections,
                  [this](int v) { VersionImported(v); });
  }
  return FAddVersion;
}

void TMainForm1::AddVersion1Click() { AddVersionForm()->ShowLibrary(); }

void TMainForm1::OpenFileToAdd(const QString& path) { AddVersionForm()->ChooseFile(path); }

void TMainForm1::VersionImported(int version) {
  bool shown = false;
  for (TBibleForm1* form : BibleForms())
    if (form->VersionIndex() == version)
      if (QMdiSubWindow* sub = form->SubWindow()) {
        sub->close();
        shown = true;
      }
  // The loaded copy goes once no window of the version is left (closing ones go on the next turn).
  // The waiting timer holds the step; the step itself only a weak reference, or it would keep
  // itself alive for ever.
  auto drop = std::make_shared<std::function<void(int)>>();
  *drop = [this, version, self = std::weak_ptr(drop), shown](int tries) {
    bool open = false;
    for (QMdiSubWindow* sub : MdiArea->subWindowList())
      if (auto* form = qobject_cast<TBibleForm1*>(sub->widget()))
        open = open || form->VersionIndex() == version;
    if (!open || tries == 0) {
      if (!open) {
        // With no window left the place has no version, as before the first window opened.
        if (Place.Bible == Bibles[size_t(version)].get()) Place.Bible = nullptr;
        Bibles[size_t(version)].reset();
      }
      ListVersions();
      // A version that was shown is shown again, with its new text, at the place shown.
      if (!open && shown) OpenBibleWindow(version, Place.Book, SpinEdit1->Value(), SpinEdit2->Value());
      return;
    }
    QTimer::singleShot(50, this, [next = self.lock(), tries] { (*next)(tries - 1); });
  };
  (*drop)(40);
}

void TMainForm1::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() == 1 && urls[0].isLocalFile()) event->acceptProposedAction();
}

void TMainForm1::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() != 1 || !urls[0].isLocalFile()) return;
  event->acceptProposedAction();
  OpenFileToAdd(urls[0].toLocalFile());
}

void TMainForm1::ReopenWindows() {
  // The last saved first: the window saved as number 0 is created last, so it is active again.
  const std::vector<TSavedWindow> windows = Settings.Windows;
  for (auto w = windows.rbegin(); w != windows.rend(); ++w)
    OpenBibleWindow(w->Version, w->Book, w->Chapter, w->Verse);
}

void TMainForm1::OpenBibleWindow(int version, int book, int chapter, int verse) {
  const bool known = version >= 0 && version < VersionTableSize;
  // Loading a version starts the words to colour afresh.
  if (known && !Bibles[size_t(version)]) Search.MarkWords.clear();
  TBibleForm1* form = nullptr;
  try {
    form = TBibleForm1::Create({Settings, Search, Place, DdeClientConv1}, version, book, chapter,
                               verse, this);
  } catch (const std::exception& e) {
    // A damaged text file stops the first build: no window opens, and the version's menu item
    // stays checked only for the windows it already has.
    bool open = false;
    for (TBibleForm1* f : BibleForms()) open = open || f->VersionIndex() == version;
    if (known) Version[size_t(version)]->setChecked(open);
    ShowMessage(QString::fromStdString(e.what()), this);
    return;
  }
  if (!form) return;
  Version[size_t(version)]->setChecked(true);
  ConnectBibleForm(form);
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

void TMainForm1::ConnectBibleForm(TBibleForm1* form) {
  QObject* to = &FConnections;
  form->FindDictionary = [this](const std::string& word) {
    return FDictionary && FDictionary->FindDictionary(word);
  };
  BIBLE_CONNECT(form, &TBibleForm1::Activated, to,
                [this](TBibleForm1* f) { BibleFormActivated(f); });
  BIBLE_CONNECT(form, &TBibleForm1::Closed, to, [this](TBibleForm1* f) { BibleWindowClosed(f); });
  BIBLE_CONNECT(form, &TBibleForm1::ReferenceRequested, to,
                [this](const std::string& text) { GoToReference(text); });
  BIBLE_CONNECT(form, &TBibleForm1::SearchRequested, to,
                [this](const std::string& word) { SearchWord(word); });
  BIBLE_CONNECT(form, &TBibleForm1::DictionaryRequested, to, [this](const std::string& word) {
    if (FDictionary) FDictionary->ShowWord(word);
  });
  BIBLE_CONNECT(form, &TBibleForm1::VerseRequested, to, [this](int v) { SpinEdit2->SetValue(v); });
  BIBLE_CONNECT(form, &TBibleForm1::VerseStepRequested, to, [this](int step) {
    if (!Place.Bible || Place.Book == 0) return;
    SpinEdit2->setFocus();
    const TPlace here = ControlPlace();
    GoToVerse(step < 0 ? here.PreviousVerse() : here.NextVerse());
  });
  BIBLE_CONNECT(form, &TBibleForm1::BookmarksChanged, to, [this] { LoadBookmarkMenu(); });
}

void TMainForm1::BibleFormActivated(TBibleForm1* form) {
  if (Place.Bible != form->Bible) LoadVersion(form->Bible, form->Book);
  if (LastSynced == form) return;
  // The controls do not show this window's place yet.
  Place.Book = form->Book;
  Place.Chapter = form->Chapter;
  Place.Verse = form->Verse;
  ShowPosition();
  form->SendViewerText();
  form->SendViewerPosition(form->Verse);
  LastSynced = form;
}

// Another version becomes the current one: the previous one's histories are saved into its
// folder, and the control panel takes the new one's books, words, histories and bookmarks.
void TMainForm1::LoadVersion(TBible* bible, int book) {
  if (TBible* previous = Place.Bible) {
    // A history that cannot be written (a read-only data folder) is reported, and the switch
    // goes on: otherwise every later activation would stop at the same error.
    try {
      LargeListBox1->ComboBox->SaveToFile(previous->HistoryPath + "Search_List.txt");
      BibleComboBox1->SaveToFile(previous->HistoryPath + "VerseHistory.txt");
    } catch (const std::exception& e) {
      ShowMessage(QString::fromStdString(e.what()), this);
    }
  }
  Place.Bible = bible;
  ApplyVersionFont();
  const int names = NameCharset();
  ComboBox1->blockSignals(true);
  ComboBox1->clear();
  for (int p = 1; p <= bible->BookCount; ++p)
    ComboBox1->addItem(DecodeBytes(bible->BookAt(p).Name, names));
  ComboBox1->setCurrentIndex(book >= 1 && book <= MaxBooks ? bible->BookPosition[size_t(book)] - 1
                                                           : -1);
  ComboBox1->blockSignals(false);
  FitBookList();
  ListBox2->clear();
  LargeListBox1->SetCharset(bible->Font.Charset);
  LargeListBox1->SetList(std::make_unique<TLargeStringList2>(bible));
  LargeListBox1->ComboBox->SetCharset(bible->Font.Charset);
  LargeListBox1->ComboBox->LoadFromFile(bible->HistoryPath + "Search_List.txt");
  const std::string word = LargeListBox1->ComboBox->Text();
  LargeListBox1->ComboBox->SetText(std::string());
  LargeListBox1->SetText(word);
  BibleComboBox1->SetCharset(names);
  BibleComboBox1->LoadFromFile(bible->HistoryPath + "VerseHistory.txt");
  if (FListMessage) FListMessage->CheckList(BibleComboBox1, QStringLiteral("отваряните стихове"));
  LoadBookmarkMenu();
  // The forms found belong to the previous version's word list.
  Search.MatchedForms.clear();
  Search.Expanded = false;
  Search.FormsMissing = false;
  VersionHasForms = HasFormGroups(*bible);
  ShowForms();
}

std::vector<TBibleForm1*> TMainForm1::BibleForms() const { return TBibleForm1::FormsIn(MdiArea); }

TBibleForm1* TMainForm1::ActiveBibleForm() const { return TBibleForm1::ActiveIn(MdiArea); }

// The window takes over the control panel (its version's lists and histories); a read error
// there is shown.
void TMainForm1::ActivateForm(TBibleForm1* form) {
  if (!form) return;
  try {
    form->FormActivate();
  } catch (const std::exception& e) {
    ShowMessage(QString::fromStdString(e.what()), this);
  }
}

void TMainForm1::ActivateAndTile() {
  ActivateForm(ActiveBibleForm());
  TileWindows();
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
  // The version's menu item stays checked while another window shows it.
  bool others = false;
  for (TBibleForm1* f : BibleForms()) others = others || f->Bible == form->Bible;
  if (!others) Version[size_t(form->VersionIndex())]->setChecked(false);
  if (LastSynced == form) LastSynced = nullptr;
  if (QMdiSubWindow* sub = form->SubWindow()) sub->deleteLater();
  if (BibleForms().empty()) {
    // The last search's text and verses go with the panel and its word box.
    StatusPanel->clear();
    ListBox2->clear();
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
  Settings.PanelAlign = align;
  // The splitter lies between the panel and the windows' area on either side.
  Splitter1->insertWidget(align == alLeft ? 0 : 1, Panel3);
  TileWindows();
}

void TMainForm1::SetShowHint(bool on) {
  Settings.ShowHint = on;
  // Hints are the tool tips of the panel's controls and of the Bible windows; off, they are kept
  // but not shown.
  ShowHints(this, on);
}

int TMainForm1::NameCharset() const { return BookNameCharset(Place.Bible); }

// The options confirmed: the hints and the panel's side.
void TMainForm1::ApplySettings() {
  SetShowHint(Settings.ShowHint);
  if (FDictionary) ShowHints(FDictionary, Settings.ShowHint);
  SetPanelAlign(PanelAlign());
}

void TMainForm1::ApplyVersionFont() {
  if (!Place.Bible) return;
  MainFont = Place.Bible->Font;
  const QFont f = ToQFont(MainFont);
  Panel3->setFont(f);
  FitPanel();
  LargeListBox1->SetFont(f);
  StatusBar1->setFont(f);
  StatusBar1->setMinimumHeight(QFontMetrics(f).height() + 8);
  // The panel is never squeezed below its text and frame; the bar grows to hold it.
  StatusPanel->setMinimumHeight(0);
  StatusPanel->setMinimumHeight(StatusPanel->sizeHint().height());
  LargeListBox1->FillRows();
  if (FDictionary) FDictionary->SetDicFont(MainFont);
}

void TMainForm1::TileWindows() { TBibleForm1::TileIn(MdiArea); }

void TMainForm1::FitPanel() {
  // The longest book name of the versions and a long reference of the history stay whole in the
  // book box and the history box.
  const QFontMetrics metrics(Panel3->font());
  int text = 0;
  for (const QString& sample : {QStringLiteral("Деяния на Апостолите"),
                                QStringLiteral("Revelation of John 22:21")})
    text = std::max(text, metrics.horizontalAdvance(sample));
  QStyleOptionComboBox option;
  option.initFrom(ComboBox1);
  option.editable = true;
  const int box = ComboBox1->style()
                      ->sizeFromContents(QStyle::CT_ComboBox, &option,
                                         QSize(text + 8, metrics.height()), ComboBox1)
                      .width();
  const QMargins margins = Panel3->layout()->contentsMargins();
  Panel3->setMinimumWidth(std::max(157, box + margins.left() + margins.right()));
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
  if (ComboBox1->currentIndex() == position - 1 &&
      ComboBox1->currentText() == ComboBox1->itemText(position - 1))
    return;
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
  OpenBibleWindow(sender->data().toInt(), Place.Book, chapter, verse);
  TBibleForm1* opened = ActiveBibleForm();
  // A version that lacks the shown place opens at the nearest place it has, beside the window
  // that was active: that one keeps the controls, so neither they nor the other windows lose
  // their place.
  if (previous && opened && opened != previous &&
      !HasPlace(*opened->Bible, Place.Book, chapter, verse))
    MdiArea->setActiveSubWindow(previous->SubWindow());
  ActivateAndTile();
}

void TMainForm1::Exit1Click() { close(); }

void TMainForm1::Options1Click() {
  if (!FOptions) return;
  if (!FOptions->EditOptions()) {
    // The chosen font stays with the version even when the dialog is cancelled; its windows show
    // it rather than keep the old face until the next chapter.
    if (FOptions->FFontChanged && Place.Bible) {
      ApplyVersionFont();
      for (TBibleForm1* form : BibleForms())
        if (form->Bible == Place.Bible)
          form->DisplayVerse(form->Book, form->Chapter, form->Verse, false);
    }
    return;
  }
  ApplyVersionFont();
  TileWindows();
  if (Settings.RebuildTexts) {
    const auto forms = BibleForms();
    for (TBibleForm1* form : forms) {
      if (form->Bible != Place.Bible && Settings.DifferentFonts) continue;
      form->Bible->SetFont(MainFont);
      form->DisplayVerse(form->Book, form->Chapter, form->Verse, false);
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
  if (!Place.Bible || Place.Bible->VersionIndex >= VersionTableSize) return;
  const QString topic = QString::fromLatin1(VersionHelpTopics[Place.Bible->VersionIndex]);
  if (topic == QStringLiteral("GER")) SetApplicationHelpFile(QStringLiteral("DIEELBERF.HLP"));
  if (!topic.isEmpty()) ShowHelpTopic(topic);
  SetApplicationHelpFile(QStringLiteral("Bible.hlp"));
}

void TMainForm1::Logo1Click() {
  if (FLogo) FLogo->exec();
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
  if (IniFile && !IniFile->WriteFailed) {
    try {
      TMainSettings& s = Settings;
      const QRect r = isMaximized() ? normalGeometry() : geometry();
      const int state = isMaximized() ? wsMaximized : isMinimized() ? wsMinimized : wsNormal;
      s.Placement = {state, r.top(), r.left(), r.width(), r.height()};
      s.Font = MainFont;
      // A panel never shown keeps the sizes it was given.
      if (Panel3->isVisible()) {
        s.PanelWidth = Panel3->width();
        s.SplitterTop = LargeListBox1->height();
      }
      s.SearchRange = Search.BookSet;
      s.SearchRangeType = Search.RangeType;
      s.Windows.resize(forms.size());
      for (size_t k = 0; k < forms.size(); ++k) forms[k]->SaveWindowState(s.Windows[k]);
      s.DictionaryVisible = FDictionary && FDictionary->isVisible();
      s.LinkViewer = ViewerLinked;
      s.Save(*IniFile);
    } catch (const std::exception& e) {
      // A refused write (read-only folder, full disk) is reported once; the program still closes
      // and the settings file keeps its last complete state.
      IniFile->WriteFailed = true;
      report(e);
    }
  }
  if (Place.Bible) {
    try {
      LargeListBox1->ComboBox->SaveToFile(Place.Bible->HistoryPath + "Search_List.txt");
      BibleComboBox1->SaveToFile(Place.Bible->HistoryPath + "VerseHistory.txt");
    } catch (const std::exception& e) {
      report(e);
    }
  }
  for (auto& bible : Bibles) {
    if (!bible) continue;
    if (!IniFile || IniFile->WriteFailed) {
      bible->SettingsSaved = true;
      continue;
    }
    try {
      bible->SaveSettings();
    } catch (const std::exception& e) {
      IniFile->WriteFailed = true;
      report(e);
    }
  }
  if (FDictionary && FDictionary->isVisible()) FDictionary->close();
  // The windows still point at their versions; they go first.
  LastSynced = nullptr;
  Place.Bible = nullptr;
  for (TBibleForm1* form : forms) {
    form->Closing = true;
    if (QMdiSubWindow* sub = form->SubWindow()) delete sub;
  }
  for (auto& bible : Bibles) bible.reset();
}
