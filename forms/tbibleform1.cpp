#include "forms/tbibleform1.h"

#include <QAction>
#include <algorithm>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

#include "controls/fontconvert.h"
#include "controls/tbiblecombobox.h"
#include "controls/tbiblerichedit1.h"
#include "controls/tfoundlistbox.h"
#include "controls/tlargelistbox.h"
#include "controls/tmyspinedit.h"
#include "core/bibleunit.h"
#include "core/chapterbuilder.h"
#include "core/nearestplace.h"
#include "core/tbible.h"
#include "core/tcustominifile.h"
#include "core/tlargestringlist.h"
#include "forms/tdic_form1.h"
#include "forms/tlistmessageform1.h"
#include "forms/tmainform1.h"
#include "forms/toptionsform1.h"
#include "platform/checkedconnect.h"
#include "platform/codepage.h"
#include "platform/showmessage.h"

TBibleForm1* TBibleForm1::Create(TMainForm1* owner, int x, int b, int c, int v) {
  if (x < 0 || x >= VersionTableSize) {
    ShowMessage(QStringLiteral("Версията липсва."), owner);
    return nullptr;
  }
  auto& slot = Bibles[size_t(x)];
  if (!slot) {
    slot = std::make_unique<TBible>(x);
    if (slot->DataPath.empty()) {
      slot->SettingsSaved = true;  // nothing of an unavailable version goes to the settings
      slot.reset();
      ShowMessage(QStringLiteral("Версията липсва."), owner);
      return nullptr;
    }
  }
  // A place the version lacks (a book outside the Greek New Testament, damaged settings) opens
  // at the nearest place the version has.
  NearestPlace(*slot, b, c, v);
  try {
    return new TBibleForm1(owner, x, b, c, v);
  } catch (...) {
    // A damaged text file stops the first build: the window is not opened, and the version's
    // menu item stays checked only for the windows it already has.
    if (owner && owner->Version[size_t(x)]) {
      bool open = false;
      for (TBibleForm1* f : owner->BibleForms()) open = open || f->VersionIndex() == x;
      owner->Version[size_t(x)]->setChecked(open);
    }
    throw;
  }
}

TBibleForm1::TBibleForm1(TMainForm1* owner, int x, int b, int c, int v)
    : QWidget(nullptr), Owner(owner) {
  Bible = Bibles[size_t(x)].get();
  Book = b;
  Chapter = c;
  Verse = v;
  setObjectName(QStringLiteral("BibleForm1"));
  setAttribute(Qt::WA_DeleteOnClose, false);

  BRichEdit1 = new TBibleRichEdit1(this);
  BRichEdit1->setObjectName(QStringLiteral("BRichEdit1"));
  BRichEdit1->setReadOnly(true);
  BRichEdit1->SetScrollBars(TBibleRichEdit1::ssVertical);
  BRichEdit1->setFrameStyle(QFrame::NoFrame);
  BRichEdit1->document()->setDocumentMargin(8);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(BRichEdit1);

  PopupMenu1 = new QMenu(this);
  Copy1 = PopupMenu1->addAction(QStringLiteral("Копирай"));
  Translate1 = PopupMenu1->addAction(QStringLiteral("Речник"));
  Navigate1 = PopupMenu1->addAction(QStringLiteral("Библия"));
  Find1 = PopupMenu1->addAction(QStringLiteral("Конкорданс"));
  PopupMenu1->addSeparator();
  ActivateVerse1 = PopupMenu1->addAction(QStringLiteral("Активирай стиха"));
  SelektVerse1 = PopupMenu1->addAction(QStringLiteral("Маркирай стиха"));
  SelectAll1 = PopupMenu1->addAction(QStringLiteral("Маркирай всичко"));
  PopupMenu1->addSeparator();
  AddBookmark1 = PopupMenu1->addAction(QStringLiteral("Отбележи мястото"));
  DeleteBookmark1 = PopupMenu1->addAction(QStringLiteral("Махни отбелязването"));
  for (QAction* item : {Copy1, Translate1, Navigate1, Find1}) item->setEnabled(false);
  BRichEdit1->SetPopupMenu(PopupMenu1);
  BRichEdit1->Enable0 = [this](const std::string& t) { return BRichEdit1Enable0(t); };
  BRichEdit1->Enable1 = [this](const std::string& t) { return BRichEdit1Enable1(t); };
  BRichEdit1->Enable2 = [this](const std::string& t) { return BRichEdit1Enable2(t); };
  BRichEdit1->Enable3 = [this](const std::string& t) { return BRichEdit1Enable0(t); };
  BRichEdit1->OnKeyDown = [this](QObject*, int& key, Qt::KeyboardModifiers) {
    BRichEdit1KeyDown(key);
  };
  BRichEdit1->AutoMark = true;

  BIBLE_CONNECT(PopupMenu1, &QMenu::aboutToShow, this, [this] { PopupMenu1Popup(); });
  BIBLE_CONNECT(Copy1, &QAction::triggered, this, [this] { Copy1Click(); });
  BIBLE_CONNECT(Translate1, &QAction::triggered, this, [this] { Translate1Click(); });
  BIBLE_CONNECT(Navigate1, &QAction::triggered, this, [this] { Navigate1Click(); });
  BIBLE_CONNECT(Find1, &QAction::triggered, this, [this] { Find1Click(); });
  BIBLE_CONNECT(ActivateVerse1, &QAction::triggered, this, [this] { ActivateVerse1Click(); });
  BIBLE_CONNECT(SelektVerse1, &QAction::triggered, this, [this] { SelektVerse1Click(); });
  BIBLE_CONNECT(SelectAll1, &QAction::triggered, this, [this] { SelectAll1Click(); });
  BIBLE_CONNECT(AddBookmark1, &QAction::triggered, this, [this] { AddBookmark1Click(); });
  BIBLE_CONNECT(DeleteBookmark1, &QAction::triggered, this, [this] { DeleteBookmark1Click(); });

  FormCreate();
  BRichEdit1->SetViewFont(Bible->Font);
  DisplayVerse(b, c, v);
}

void TBibleForm1::FormCreate() {
  const int x = VersionIndex();
  setWindowTitle(QString::fromUtf8(VersionCaptions[x]));
  JustCreated = true;
  BRichEdit1->Letters = Bible->Letters;
  if (Owner && Owner->Version[size_t(x)]) Owner->Version[size_t(x)]->setChecked(true);
}

int TBibleForm1::VersionIndex() const { return Bible ? Bible->VersionIndex : 0; }

QMdiSubWindow* TBibleForm1::SubWindow() const {
  return qobject_cast<QMdiSubWindow*>(parentWidget());
}

void TBibleForm1::FormActivate() {
  if (JustCreated || Closing || !Owner) return;
  TMainForm1& m = *Owner;
  if (m.CurrentBible != Bible) {
    if (m.CurrentBible) {
      // A history that cannot be written (a read-only data folder) is reported, and the switch
      // goes on: otherwise every later activation would stop at the same error.
      try {
        m.LargeListBox1->ComboBox->SaveToFile(m.CurrentBible->HistoryPath + "Search_List.txt");
        m.BibleComboBox1->SaveToFile(m.CurrentBible->HistoryPath + "VerseHistory.txt");
      } catch (const std::exception& e) {
        ShowMessage(QString::fromStdString(e.what()), Owner);
      }
    }
    m.CurrentBible = Bible;
    m.LastVersionText.clear();
    m.ApplyVersionFont();
    const int names = m.NameCharset();
    m.ComboBox1->blockSignals(true);
    m.ComboBox1->clear();
    for (int p = 1; p <= Bible->BookCount; ++p)
      m.ComboBox1->addItem(DecodeBytes(Bible->BookAt(p).Name, names));
    m.ComboBox1->setCurrentIndex(Bible->BookPosition[size_t(Book >= 0 && Book <= MaxBooks ? Book : 0)] - 1);
    m.ComboBox1->blockSignals(false);
    m.FitBookList();
    m.ListBox2->clear();
    m.LargeListBox1->SetCharset(Bible->Font.Charset);
    m.LargeListBox1->SetList(std::make_unique<TLargeStringList2>(Bible));
    m.LargeListBox1->ComboBox->SetCharset(Bible->Font.Charset);
    m.LargeListBox1->ComboBox->LoadFromFile(Bible->HistoryPath + "Search_List.txt");
    const std::string word = m.LargeListBox1->ComboBox->Text();
    m.LargeListBox1->ComboBox->SetText(std::string());
    m.LargeListBox1->SetText(word);
    m.BibleComboBox1->SetCharset(names);
    m.BibleComboBox1->LoadFromFile(Bible->HistoryPath + "VerseHistory.txt");
    if (ListMessageForm1)
      ListMessageForm1->CheckList(m.BibleComboBox1, QStringLiteral("отваряните стихове"));
    LoadBookmarkMenu();
  }
  if (m.LastSynced != this) {
    m.CurrentBook = Book;
    const int position = Book >= 1 && Book <= MaxBooks ? Bible->BookPosition[size_t(Book)] : 0;
    m.ComboBox1->blockSignals(true);
    m.ComboBox1->setCurrentIndex(position - 1);
    m.ComboBox1->setEditText(m.ComboBox1->itemText(position - 1));
    m.ComboBox1->blockSignals(false);
    m.SpinEdit1->FixValue(Chapter);
    m.SpinEdit2->FixValue(Verse);
    m.ShowPosition();
    SendViewerText();
    SendViewerPosition(Verse);
    m.LastSynced = this;
  }
}

void TBibleForm1::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

void TBibleForm1::FormClose() {
  if (Closing) return;
  Closing = true;
  if (Owner) {
    int same = 1;
    for (TBibleForm1* f : Owner->BibleForms())
      if (f != this && f->Bible == Bible) ++same;
    if (same == 1 && Owner->Version[size_t(VersionIndex())])
      Owner->Version[size_t(VersionIndex())]->setChecked(false);
    Owner->BibleWindowClosed(this);
  }
}

void TBibleForm1::SaveWindowState(TCustomIniFile& settings, const std::string& section) const {
  settings.WriteInteger(section, "BibleHndl", VersionIndex());
  settings.WriteInteger(section, "Book", Book);
  settings.WriteInteger(section, "Chapter", Chapter);
  settings.WriteInteger(section, "Verse", Verse);
}

void TBibleForm1::DisplayVerse(int b, int c, int v) {
  TBibleRichEdit1& view = *BRichEdit1;
  view.SetViewFont(Bible->Font);
  const TBook* book = b >= 1 && b <= MaxBooks ? Bible->Books[size_t(b)].get() : nullptr;
  if (!book || c < 1 || c > int(book->Chapters.size())) {
    view.Clear();
    return;
  }
  const int n = book->Chapters[size_t(c - 1)];
  view.SetHideSelection(true);
  if (b != ShownBook || c != ShownChapter || !ReuseChapterText || VerseStart.empty()) {
    TChapterOptions options;
    options.View = TViewOptions::Unpack(ViewOptions);
    options.ShowFootnotes = !OptionsForm1 || OptionsForm1->CheckBox10->isChecked();
    options.FontCharset = Bible->Font.Charset;
    options.BlankAfterItalic = Bible->Font.Name == "MS Sans Serif" || Bible->Font.Name == "MS Serif";
    TChapterText text;
    BuildChapterText(*Bible, b, c, options, text);
    view.setUpdatesEnabled(false);
    view.SetDefStyle(fsBold);
    view.Clear();
    // One edit: the view lays the chapter out once, not after every verse.
    view.BeginBuild();
    view.AddTextCharsets(text.Heading + "\r\n", std::string(), text.HeadingCharset,
                         options.FontCharset);
    // Positions come from the view's own length after each append, so that they always agree
    // with what the view holds.
    VerseStart.assign(size_t(n) + 2, 0);
    for (int k = 1; k <= n; ++k) {
      const TChapterPiece& piece = text.Verses[size_t(k - 1)];
      VerseStart[size_t(k)] = view.TextLength() + 2;
      view.AddTextCharsets(piece.Title, piece.Body, piece.TitleCharset, piece.BodyCharset);
    }
    VerseStart[size_t(n) + 1] = view.TextLength() + 2;
    view.EndBuild();
    view.setUpdatesEnabled(true);
    SendViewerText();
  } else if (ShownVerse >= 1 && ShownVerse <= n) {
    view.SetSelection(VerseStart[size_t(ShownVerse)],
                      VerseStart[size_t(ShownVerse) + 1] - VerseStart[size_t(ShownVerse)]);
    view.SetSelColor(ToQColor(0));
  }
  view.SetScrollBars(TBibleRichEdit1::ssVertical);
  if (v >= 1 && v <= n) {
    view.SetSelection(VerseStart[size_t(v)], VerseStart[size_t(v) + 1] - VerseStart[size_t(v)]);
    view.SetSelColor(ToQColor(CurrentVerseColor));
    view.SetHideSelection(false);
    view.SetSelStart(VerseStart[size_t(v)]);
    SendViewerPosition(v);
    if (MarkWordCount > 0) {
      // Only the active verse is searched, so only its bytes are taken from the view; the text
      // before it stands in as blanks (never letters, as the line break before a verse).
      const int from = VerseStart[size_t(v)];
      std::string text(size_t(from), ' ');
      text += view.TextRange(from, VerseStart[size_t(v) + 1] - from);
      const auto ranges = FoundWordRanges(text, VerseStart, v, MarkWords.data(),
                                          std::min(MarkWordCount, MaxMarkWords), Bible->Letters);
      for (const auto& [start, length] : ranges) {
        view.SetSelection(start, length);
        view.SetSelColor(ToQColor(FounWordColor));
      }
    }
    view.SetSelStart(VerseStart[size_t(v)]);
    ShowVerseInView(v);
  } else {
    view.SetHideSelection(false);
    SendViewerPosition(v);
  }
  view.viewport()->update();
  ShownBook = b;
  ShownChapter = c;
  ShownVerse = v;
}

void TBibleForm1::ShowVerseInView(int v) {
  if (v < 1 || size_t(v) + 1 >= VerseStart.size()) return;
  TBibleRichEdit1& view = *BRichEdit1;
  const int last = view.document()->characterCount() - 1;
  auto rectAt = [&view, last](int textPosition) {
    QTextCursor cursor(view.document());
    cursor.setPosition(std::clamp(view.DocPosition(textPosition), 0, std::max(0, last)));
    return view.cursorRect(cursor);  // in the viewport
  };
  // At verse 1 the chapter heading belongs to it; the document margin shows above the first line.
  const int margin = v == 1 ? int(view.document()->documentMargin()) : 0;
  const QRect start = rectAt(v == 1 ? 0 : VerseStart[size_t(v)]);
  const QRect end = rectAt(VerseStart[size_t(v) + 1] - 2);
  const int height = view.viewport()->height();
  int shift = 0;
  if (end.bottom() >= height) shift = end.bottom() - height + 1;
  // A verse taller than the view shows from its start.
  if (start.top() - margin - shift < 0) shift = start.top() - margin;
  if (shift) view.verticalScrollBar()->setValue(view.verticalScrollBar()->value() + shift);
}

void TBibleForm1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // Tiling and resizing rewrap the text; the current verse stays where the reader can see it.
  ShowVerseInView(ShownVerse);
  QTimer::singleShot(0, this, [this] { ShowVerseInView(ShownVerse); });
}

int TBibleForm1::VerseAt(int32_t p) const {
  const int m = Owner ? Owner->SpinEdit2->MaxValue() : int(VerseStart.size()) - 2;
  return ::VerseAt(VerseStart, p, m);
}

std::string TBibleForm1::ActiveVerseText() const {
  const int v = Owner ? Owner->SpinEdit2->Value() : ShownVerse;
  return ::ActiveVerseText(BRichEdit1->Text(), VerseStart, v);
}

std::string TBibleForm1::PositionReference() const {
  const int position = Book >= 1 && Book <= MaxBooks ? Bible->BookPosition[size_t(Book)] : 0;
  return VerseReference(*Bible, VerseNumber(*Bible, position, Chapter, Verse), false);
}

void TBibleForm1::AddBookmarkItem(const std::string& caption) {
  if (!Owner) return;
  QString shown = DecodeBytes(caption, Owner->NameCharset());
  shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
  QAction* item = Owner->BookMark2->addAction(shown);
  item->setData(QByteArray::fromStdString(caption));
  TMainForm1* main = Owner;
  BIBLE_CONNECT(item, &QAction::triggered, main, [main, item] { main->GotoBookMark1Click(item); });
}

void TBibleForm1::LoadBookmarkMenu() {
  if (!Owner) return;
  const QList<QAction*> items = Owner->BookMark2->actions();
  for (int i = int(items.size()) - 1; i >= 1; --i) {
    Owner->BookMark2->removeAction(items[i]);
    delete items[i];
  }
  for (const std::string& mark : Bible->BookMarks) AddBookmarkItem(mark);
}

int TBibleForm1::FindBookmark() const {
  if (!Owner) return -1;
  const std::string text = PositionReference();
  const QList<QAction*> items = Owner->BookMark2->actions();
  for (int i = 1; i < int(items.size()); ++i)
    if (items[i]->data().toByteArray().toStdString() == text) return i;
  return -1;
}

void TBibleForm1::Copy1Click() {
  const bool watching = CheckClipboard;
  CheckClipboard = false;
  BRichEdit1->CopyToClipboard();
  CheckClipboard = watching;
}

void TBibleForm1::Translate1Click() {
  if (Dic_Form1) Dic_Form1->ShowWord(BRichEdit1->SelText());
}

void TBibleForm1::Navigate1Click() {
  if (Owner) Owner->GoToReference(BRichEdit1->SelText());
}

void TBibleForm1::Find1Click() {
  if (!Owner) return;
  Owner->LargeListBox1->SetText(BRichEdit1->SelText());
  char enter = 13;
  Owner->LargeListBox1KeyPress(enter);
}

void TBibleForm1::ActivateVerse1Click() {
  if (!Owner) return;
  const int start = BRichEdit1->SelStart();
  const int length = BRichEdit1->SelLength();
  Owner->SpinEdit2->SetValue(VerseAt(start));
  BRichEdit1->SetSelection(start, length);
}

void TBibleForm1::SelektVerse1Click() {
  const int n = VerseAt(BRichEdit1->SelStart());
  int32_t start = 0, length = 0;
  // In the heading there is no verse to select.
  if (::VerseRange(VerseStart, n, start, length)) BRichEdit1->SetSelection(start, length);
}

void TBibleForm1::SelectAll1Click() { BRichEdit1->SelectAll(); }

void TBibleForm1::AddBookmark1Click() {
  const std::string text = PositionReference();
  AddBookmarkItem(text);
  Bible->BookMarks.push_back(text);
}

void TBibleForm1::DeleteBookmark1Click() {
  const int i = FindBookmark();
  if (i < 1 || !Owner) return;
  QAction* item = Owner->BookMark2->actions()[i];
  Owner->BookMark2->removeAction(item);
  delete item;
  if (size_t(i - 1) < Bible->BookMarks.size())
    Bible->BookMarks.erase(Bible->BookMarks.begin() + (i - 1));
}

void TBibleForm1::PopupMenu1Popup() {
  const int i = FindBookmark();
  DeleteBookmark1->setVisible(i >= 0);
  AddBookmark1->setVisible(i < 0);
}

bool TBibleForm1::BRichEdit1Enable0(const std::string& text) const { return !text.empty(); }

bool TBibleForm1::BRichEdit1Enable1(const std::string& text) const {
  return Dic_Form1 && Dic_Form1->FindDictionary(text);
}

bool TBibleForm1::BRichEdit1Enable2(const std::string& text) const {
  int position = 0, chapter = 0, verse = 0;
  return ParseReference(*Bible, text, position, chapter, verse);
}

void TBibleForm1::BRichEdit1KeyDown(int& key) {
  if ((key != Qt::Key_Up && key != Qt::Key_Down) || !Owner || Owner->CurrentBook == 0 ||
      !Owner->CurrentBible)
    return;
  TMainForm1& m = *Owner;
  m.SpinEdit2->setFocus();
  const TBible& bible = *m.CurrentBible;
  const int book = m.CurrentBook >= 1 && m.CurrentBook <= MaxBooks ? m.CurrentBook : 0;
  int a = VerseNumber(bible, bible.BookPosition[size_t(book)], m.SpinEdit1->Value(),
                      m.SpinEdit2->Value());
  if (key == Qt::Key_Up) {
    if (a > 1) --a;
  } else if (a < bible.VerseCount) {
    ++a;
  }
  m.GoToVerse(a);
}
