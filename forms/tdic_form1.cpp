#include "forms/tdic_form1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "controls/fontconvert.h"
#include "controls/tbiblecombobox.h"
#include "controls/tbiblerichedit1.h"
#include "controls/tlargelistbox.h"
#include "core/ansi.h"
#include "core/datapaths.h"
#include "core/tbible.h"
#include "core/tcustominifile.h"
#include "core/tindex.h"
#include "forms/dictionaryicons.h"
#include "forms/tpictureform1.h"
#include "platform/checkedconnect.h"
#include "platform/codepage.h"
#include "platform/hints.h"
#include "platform/winhelp.h"

namespace {

const char* const Section = "DicForm";

bool HasOnlyLetters(const std::string& text, const TCharSet& letters) {
  return std::all_of(text.begin(), text.end(),
                     [&](char c) { return letters.test((unsigned char)c); });
}

}  // namespace

TDic_Form1::TDic_Form1(const std::string& dictionaryFolder, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), DictionaryFolder(dictionaryFolder) {
  setObjectName(QStringLiteral("Dic_Form1"));
  setWindowTitle(QStringLiteral("Речник"));
  // Every control of the window, its tool bar and dictionary menu carry help context 11.
  SetHelpContext(this, 11);
  resize(398, 180);
  CreateControls();
  ConnectEvents();
  FormCreate();
}

void TDic_Form1::CreateControls() {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  ToolBar1 = new QWidget(this);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMinimumHeight(125);
  auto* bar = new QVBoxLayout(ToolBar1);
  bar->setContentsMargins(1, 1, 1, 1);
  bar->setSpacing(1);
  auto button = [&](const char* name, const char* hint, int image) {
    auto* b = new QToolButton(ToolBar1);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(QString::fromUtf8(hint));
    b->setAccessibleName(QString::fromUtf8(hint));
    b->setIcon(DictionaryToolIcon(image));
    b->setIconSize(QSize(24, 24));
    b->setAutoRaise(true);
    b->setEnabled(false);
    b->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(b);
    return b;
  };
  ToolButton1 = button("ToolButton1", "Предишната дума", 0);
  ToolButton2 = button("ToolButton2", "Следващата дума", 1);
  ToolButton4 = button("ToolButton4", "Друго обяснение", 2);
  ToolButton5 = button("ToolButton5", "Назад", 3);
  ToolButton3 = button("ToolButton3", "Илюстрация", 4);
  ToolButton6 = button("ToolButton6", "Смяна на речника", 5);
  ToolButton6->setPopupMode(QToolButton::InstantPopup);
  ToolButton6->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; }"));
  bar->addStretch(1);
  layout->addWidget(ToolBar1);

  Splitter1 = new QSplitter(Qt::Horizontal, this);
  Splitter1->setObjectName(QStringLiteral("Splitter1"));
  Splitter1->setChildrenCollapsible(false);
  Panel1 = new QWidget(Splitter1);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setMinimumWidth(57);
  auto* panel = new QVBoxLayout(Panel1);
  panel->setContentsMargins(0, 0, 0, 0);
  LargeListBox1 = new TLargeListBox(Panel1);
  LargeListBox1->setObjectName(QStringLiteral("LargeListBox1"));
  LargeListBox1->setToolTip(QStringLiteral("Списък на думите"));
  LargeListBox1->setAccessibleName(QStringLiteral("Списък на думите"));
  LargeListBox1->SetCharset(AnsiCharset);
  panel->addWidget(LargeListBox1);
  BibleRichEdit11 = new TBibleRichEdit1(Splitter1);
  BibleRichEdit11->setObjectName(QStringLiteral("BibleRichEdit11"));
  BibleRichEdit11->setToolTip(QStringLiteral("Обяснение"));
  BibleRichEdit11->setAccessibleName(QStringLiteral("Обяснение"));
  BibleRichEdit11->setReadOnly(true);
  BibleRichEdit11->SetScrollBars(TBibleRichEdit1::ssVertical);
  BibleRichEdit11->SetFontCharset(AnsiCharset);
  BibleRichEdit11->AutoMark = true;
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({120, 250});
  layout->addWidget(Splitter1, 1);

  PopupMenu1 = new QMenu(this);
  Copy1 = PopupMenu1->addAction(QStringLiteral("Копирай"));
  Dictionary1 = PopupMenu1->addAction(QStringLiteral("Речник"));
  Bible1 = PopupMenu1->addAction(QStringLiteral("Библия"));
  Concordance1 = PopupMenu1->addAction(QStringLiteral("Конкорданс"));
  for (QAction* item : {Copy1, Dictionary1, Bible1, Concordance1}) item->setEnabled(false);
  BibleRichEdit11->SetPopupMenu(PopupMenu1);

  PopupMenu2 = new QMenu(this);
  PopupMenu2->addAction(QStringLiteral("По азбучен ред"));
  PopupMenu2->addAction(QStringLiteral("По време"));
  PopupMenu2->addSeparator();
  PopupMenu2->addAction(QStringLiteral("Изтриване"));
  PopupMenu2->addAction(QStringLiteral("Брой"));
  LargeListBox1->SetPopupMenu(PopupMenu2);

  DicMenu = new QMenu(this);
}

void TDic_Form1::ConnectEvents() {
  QObject* to = &FConnections;
  BibleRichEdit11->Enable0 = [this](const std::string& t) { return BibleRichEdit11Enable0(t); };
  BibleRichEdit11->Enable1 = [this](const std::string& t) { return BibleRichEdit11Enable1(t); };
  BibleRichEdit11->Enable2 = [this](const std::string& t) { return BibleRichEdit11Enable2(t); };
  BibleRichEdit11->Enable3 = [this](const std::string& t) { return BibleRichEdit11Enable0(t); };
  LargeListBox1->OnChange = [this](QObject*) { LargeListBox1Change(); };
  LargeListBox1->OnChangeItemIndex = [this](QObject*) { LargeListBox1ChangeItemIndex(); };
  LargeListBox1->OnClick = [this](QObject*) { LargeListBox1Click(); };
  LargeListBox1->OnKeyPress = [this](QObject*, char& key) { LargeListBox1KeyPress(key); };
  BIBLE_CONNECT(ToolButton1, &QToolButton::clicked, to, [this] { ToolButton1Click(); });
  BIBLE_CONNECT(ToolButton2, &QToolButton::clicked, to, [this] { ToolButton2Click(); });
  BIBLE_CONNECT(ToolButton4, &QToolButton::clicked, to, [this] { ToolButton4Click(ToolButton4); });
  BIBLE_CONNECT(ToolButton5, &QToolButton::clicked, to, [this] { ToolButton4Click(ToolButton5); });
  BIBLE_CONNECT(ToolButton3, &QToolButton::clicked, to, [this] { ToolButton8Click(); });
  BIBLE_CONNECT(PopupMenu2, &QMenu::aboutToShow, to, [this] { PopupMenu2Popup(); });
  BIBLE_CONNECT(Copy1, &QAction::triggered, to, [this] { Copy1Click(); });
  BIBLE_CONNECT(Dictionary1, &QAction::triggered, to, [this] { Dictionary1Click(); });
  BIBLE_CONNECT(Bible1, &QAction::triggered, to, [this] { Bible1Click(); });
  BIBLE_CONNECT(Concordance1, &QAction::triggered, to, [this] { Concordance1Click(); });
}

void TDic_Form1::FormCreate() {
  Pictures.LoadFromFile(DataFile("Pictures/DicPictures.txt", TPathUse::Read));
  LoadDictionaryList();
}

void TDic_Form1::LoadDictionaryList() {
  // The installed program also finds the dictionaries the user imported; the user's copy of a
  // dictionary comes before the installed one of the same file name.
  std::vector<std::string> folders = {DictionaryFolder};
  if (DictionaryFolder == DataRoot + "Dictionaries/") {
    folders.clear();
    for (const std::string& folder : DataFileFolders("Dictionaries")) folders.push_back(folder + "/");
  }
  Choice.LoadDictionaryList(folders);
  DicMenu->clear();
  if (Choice.DictionaryList.size() <= 1) {
    ToolButton6->setMenu(nullptr);
    ToolButton6->setEnabled(false);
    return;
  }
  for (size_t i = 0; i < Choice.DictionaryList.size(); ++i) {
    QString caption = AnsiToQString(Choice.DictionaryList[i].first);
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* item = DicMenu->addAction(caption);
    const int index = int(i);
    BIBLE_CONNECT(item, &QAction::triggered, &FConnections,
                  [this, index] { OnDicPopupMenuClick(index); });
  }
  ToolButton6->setMenu(DicMenu);
  ToolButton6->setEnabled(true);
}

bool TDic_Form1::FindDictionary(const std::string& word) { return Choice.FindDictionary(word); }

void TDic_Form1::SetDicFont(const TFont& font) {
  TFont cyrillic = font;
  cyrillic.Charset = RUSSIAN_CHARSET;
  const QFont f = ToQFont(cyrillic);
  setFont(f);
  LargeListBox1->SetFont(f);
  BibleRichEdit11->SetViewFont(cyrillic);
}

void TDic_Form1::SetCaption(const std::string& title) {
  setWindowTitle(title.empty() ? QStringLiteral("Речник") : AnsiToQString(title));
}

void TDic_Form1::OpenDictionary(const std::string& path) {
  auto list = std::make_unique<TLargeStringList1>(path);
  BibleRichEdit11->Letters = list->GetLetters();
  LargeListBox1->SetList(std::move(list));
  CurrentDictionary = path;
}

void TDic_Form1::LookUpWord(const std::string& word) {
  if (!FFixedDictionary) {
    if (FindDictionary(word)) {
      OpenDictionary(Choice.CandidateDictionary);
    } else if (!HasOnlyLetters(word, BibleRichEdit11->Letters) || CurrentDictionary.empty()) {
      if (!Choice.CandidateDictionary.empty()) OpenDictionary(Choice.CandidateDictionary);
    }
  }
  LargeListBox1->SetText(word);
}

void TDic_Form1::GoToWord(const std::string& word) {
  FFixedDictionary = false;
  LookUpWord(word);
  AddToHistory();
}

void TDic_Form1::LargeListBox1Change() { LookUpWord(LargeListBox1->Text()); }

void TDic_Form1::LargeListBox1ChangeItemIndex() {
  Explanations = ReadExplanations(CurrentDictionary, LargeListBox1->ItemIndex());
  const int entry = LargeListBox1->ComboBox->History().IndexOfText(LargeListBox1->Text());
  ExplanationNumber = entry >= 0 ? LargeListBox1->ComboBox->Places()[size_t(entry)] : 1;
  ShowArticle();
}

void TDic_Form1::ShowArticle() {
  SetCaption(DictionaryTitle(CurrentDictionary));
  BibleRichEdit11->Clear();
  // An empty list is no list: it names no article to show.
  if (Explanations.Present() && Explanations.Count() > 0) {
    // A number from the settings or from a history entry of another dictionary may lie outside
    // this word's articles; the nearest valid one is shown.
    ExplanationNumber = ClampExplanationNumber(Explanations, ExplanationNumber);
    const std::string article =
        ReadArticle(CurrentDictionary, Explanations[size_t(ExplanationNumber)]);
    BibleRichEdit11->AddText(std::string(), article);
    ToolButton4->setEnabled(ExplanationNumber < Explanations.Count());
  } else {
    ToolButton4->setEnabled(false);
  }
  BibleRichEdit11->SetSelStart(0);
  BibleRichEdit11->ensureCursorVisible();
  ToolButton5->setEnabled(ExplanationNumber > 1);
  FPicture = Pictures.FirstPicture(LargeListBox1->Text());
  ToolButton3->setEnabled(!FPicture.empty());
}

void TDic_Form1::AddToHistory() {
  if (LargeListBox1->ItemIndex() < 0) return;
  // Entries are told apart by their times: a new one comes strictly after every other, also
  // when the clock has not moved since the last.
  TDateTime now = DateTimeNow();
  for (TDateTime t : LargeListBox1->ComboBox->Times())
    if (std::isfinite(t) && t < 1e20 && now <= t) now = std::nextafter(t, 1e300);
  FHistoryTime = now;
  const uint16_t number = uint16_t(std::clamp(ExplanationNumber, 0, 65535));
  LargeListBox1->ComboBox->Add(number, LargeListBox1->Text(), FHistoryTime);
  UpdateWordButtons();
}

void TDic_Form1::UpdateWordButtons() {
  FPrevWord = LargeListBox1->ComboBox->PreviousByTime(FHistoryTime);
  FNextWord = LargeListBox1->ComboBox->NextByTime(FHistoryTime);
  ToolButton1->setEnabled(FPrevWord >= 0);
  ToolButton2->setEnabled(FNextWord >= 0);
}

void TDic_Form1::LargeListBox1Click() { AddToHistory(); }

void TDic_Form1::LargeListBox1KeyPress(char& key) {
  if (key == 13) AddToHistory();
}

void TDic_Form1::ToolButton1Click() {
  if (FPrevWord >= 0 && FPrevWord < LargeListBox1->ComboBox->Count()) {
    FHistoryTime = LargeListBox1->ComboBox->Times()[size_t(FPrevWord)];
    LargeListBox1->SetText(LargeListBox1->ComboBox->Item(FPrevWord));
  }
  UpdateWordButtons();
}

void TDic_Form1::ToolButton2Click() {
  if (FNextWord >= 0 && FNextWord < LargeListBox1->ComboBox->Count()) {
    FHistoryTime = LargeListBox1->ComboBox->Times()[size_t(FNextWord)];
    LargeListBox1->SetText(LargeListBox1->ComboBox->Item(FNextWord));
  }
  UpdateWordButtons();
}

void TDic_Form1::ToolButton4Click(QObject* sender) {
  if (sender == ToolButton5) {
    if (ExplanationNumber > 1) --ExplanationNumber;
  } else if (ExplanationNumber < Explanations.Count()) {
    ++ExplanationNumber;
  }
  ShowArticle();
  AddToHistory();
}

void TDic_Form1::ToolButton8Click() {
  if (!PictureWindow) return;
  const std::string word = LargeListBox1->Text();
  if (PictureWindow->isVisible()) FPicture = Pictures.NextPicture(word, FPicture);
  if (FPicture.empty()) return;
  PictureWindow->ShowPicture(word, FPicture);
}

void TDic_Form1::OnDicPopupMenuClick(int index) {
  if (index < 0 || size_t(index) >= Choice.DictionaryList.size()) return;
  OpenDictionary(Choice.DictionaryList[size_t(index)].second);
  LargeListBox1->SetText(std::string());
  SetCaption(DictionaryTitle(CurrentDictionary));
  BibleRichEdit11->Clear();
  FFixedDictionary = true;
  ToolButton3->setEnabled(false);
}

void TDic_Form1::PopupMenu2Popup() {
  const QList<QAction*> items = PopupMenu2->actions();
  const int order = int(LargeListBox1->ComboBox->Sorted());
  for (int i = 0; i < 2 && i < items.size(); ++i) {
    items[i]->setCheckable(true);
    items[i]->setChecked(i == order);
  }
}

void TDic_Form1::ShowDictionary() {
  if (Place && Place->Bible) SetDicFont(Place->Bible->Font);
  // By default beside the right edge of the screen's upper half.
  QRect screen(0, 0, 1280, 800);
  if (QScreen* s = QGuiApplication::primaryScreen()) screen = s->availableGeometry();
  TFormPlacement placement;
  placement.WindowState = wsNormal;
  // The first open: wide enough for words in the list and lines of the article.
  placement.Width = 600;
  placement.Height = 360;
  placement.Left = std::max(screen.left(), screen.right() - placement.Width - 40);
  placement.Top = screen.top() + 60;
  int panelWidth = 180;
  std::string text;
  int number = ExplanationNumber;
  if (IniFile) {
    IniFile->ReadFormPlacement(Section, placement);
    panelWidth = IniFile->ReadInteger(Section, "PanelWidth", panelWidth);
    text = IniFile->ReadString(Section, "Text", "");
    number = IniFile->ReadInteger(Section, "CurrentWord", number);
  }
  // A stored size too small for the tool bar is damage; the default size takes over.
  if (placement.Width < 120 || placement.Height < 125) {
    placement.Width = 600;
    placement.Height = 360;
  }
  setGeometry(placement.Left, placement.Top, placement.Width, placement.Height);
  panelWidth = std::clamp(panelWidth, 57, std::max(57, placement.Width - 80));
  Splitter1->setSizes({panelWidth, std::max(40, placement.Width - panelWidth)});
  GoToWord(text);
  ExplanationNumber = number;
  if (Explanations.Present()) ShowArticle();
  if (placement.WindowState == wsMaximized)
    showMaximized();
  else
    showNormal();
  raise();
  activateWindow();
}

void TDic_Form1::ShowWord(const std::string& word) {
  if (isVisible()) {
    if (isMinimized() || isMaximized()) showNormal();
    raise();
    activateWindow();
  } else {
    ShowDictionary();
  }
  GoToWord(word);
}

void TDic_Form1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FormShow();
}

void TDic_Form1::FormShow() {
  ShowHints(this, !Settings || Settings->ShowHint);
  LargeListBox1->FillRows();
}

void TDic_Form1::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

void TDic_Form1::FormClose() {
  if (!IniFile || IniFile->WriteFailed) return;
  TFormPlacement placement;
  placement.WindowState = isMaximized() ? wsMaximized : isMinimized() ? wsMinimized : wsNormal;
  const QRect r = isMaximized() || isMinimized() ? normalGeometry() : geometry();
  placement.Left = r.left();
  placement.Top = r.top();
  placement.Width = r.width();
  placement.Height = r.height();
  IniFile->WriteFormPlacement(Section, placement);
  IniFile->WriteInteger(Section, "PanelWidth", Panel1->width());
  IniFile->WriteString(Section, "Text", LargeListBox1->Text());
  IniFile->WriteInteger(Section, "CurrentWord", ExplanationNumber);
}

void TDic_Form1::Copy1Click() { BibleRichEdit11->CopyToClipboard(); }

void TDic_Form1::Dictionary1Click() { GoToWord(BibleRichEdit11->SelText()); }

void TDic_Form1::Bible1Click() {
  Q_EMIT ReferenceRequested(BibleRichEdit11->SelText());
  if (isMaximized()) showMinimized();
}

void TDic_Form1::Concordance1Click() {
  Q_EMIT SearchRequested(AnsiLowerCase(BibleRichEdit11->SelText()));
}

bool TDic_Form1::BibleRichEdit11Enable0(const std::string& text) const { return !text.empty(); }

bool TDic_Form1::BibleRichEdit11Enable1(const std::string& text) { return FindDictionary(text); }

bool TDic_Form1::BibleRichEdit11Enable2(const std::string& text) const {
  return Place && Place->IsReference(text);
}
