#include "forms/tbibleform1.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "controls/fontconvert.h"
#include "controls/tbiblerichedit1.h"
#include "core/chapterbuilder.h"
#include "core/nearestplace.h"
#include "core/tbible.h"
#include "core/dictionarychoice.h"
#include "platform/checkedconnect.h"
#include "platform/showmessage.h"

TBibleForm1* TBibleForm1::Create(const TBibleFormShared& shared, int x, int b, int c, int v,
                                 QWidget* messageParent) {
  if (x < 0 || x >= VersionTableSize) {
    ShowMessage(QStringLiteral("Версията липсва."), messageParent);
    return nullptr;
  }
  auto& slot = Bibles[size_t(x)];
  if (!slot) {
    slot = std::make_unique<TBible>(x, shared.Settings.DifferentFonts);
    if (slot->DataPath.empty()) {
      slot->SettingsSaved = true;  // nothing of an unavailable version goes to the settings
      slot.reset();
      ShowMessage(QStringLiteral("Версията липсва."), messageParent);
      return nullptr;
    }
    // Said once, when the version is loaded; its windows show what can be read.
    if (!slot->DamagedFile.empty())
      ShowMessage(QStringLiteral("Преводът „%1“ е повреден: файлът %2 не съответства на "
                                 "останалите му файлове и част от текста липсва. Показва се "
                                 "това, което може да се прочете. Внесете превода отново, за да "
                                 "се поправи.")
                      .arg(QString::fromUtf8(VersionCaptions[x]),
                           QString::fromStdString(slot->DamagedFile)),
                  messageParent);
  }
  // A place the version lacks (a book outside the Greek New Testament, damaged settings) opens
  // at the nearest place the version has.
  NearestPlace(*slot, b, c, v);
  return new TBibleForm1(shared, x, b, c, v);
}

std::vector<TBibleForm1*> TBibleForm1::FormsIn(const QMdiArea* area) {
  std::vector<TBibleForm1*> forms;
  if (!area) return forms;
  const QList<QMdiSubWindow*> list = area->subWindowList(QMdiArea::StackingOrder);
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    auto* form = qobject_cast<TBibleForm1*>((*it)->widget());
    if (form && !form->Closing) forms.push_back(form);
  }
  return forms;
}

TBibleForm1* TBibleForm1::ActiveIn(const QMdiArea* area) {
  if (QMdiSubWindow* sub = area ? area->activeSubWindow() : nullptr) {
    auto* form = qobject_cast<TBibleForm1*>(sub->widget());
    if (form && !form->Closing) return form;
  }
  const auto forms = FormsIn(area);
  return forms.empty() ? nullptr : forms.front();
}

void TBibleForm1::TileIn(QMdiArea* area) {
  if (!area) return;
  std::vector<QMdiSubWindow*> windows;
  for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::CreationOrder)) {
    auto* form = qobject_cast<TBibleForm1*>(sub->widget());
    if (form && !form->Closing && !sub->isMinimized()) windows.push_back(sub);
  }
  const int n = int(windows.size());
  if (n == 0) return;
  // Side by side in columns, as parallel texts are read; more than four make a grid.
  const int columns = n <= 4 ? n : int(std::ceil(std::sqrt(double(n))));
  const int rows = (n + columns - 1) / columns;
  const QRect frame = area->viewport()->rect();
  for (int i = 0; i < n; ++i) {
    const int row = i / columns;
    const int column = i % columns;
    const int inRow = row == rows - 1 ? n - row * columns : columns;
    const int x0 = frame.width() * column / inRow;
    const int x1 = frame.width() * (column + 1) / inRow;
    const int y0 = frame.height() * row / rows;
    const int y1 = frame.height() * (row + 1) / rows;
    if (windows[size_t(i)]->isMaximized()) windows[size_t(i)]->showNormal();
    windows[size_t(i)]->setGeometry(x0, y0, x1 - x0, y1 - y0);
  }
}

TBibleForm1::TBibleForm1(const TBibleFormShared& shared, int x, int b, int c, int v)
    : QWidget(nullptr), FShared(shared) {
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

  QObject* to = &FConnections;
  BIBLE_CONNECT(PopupMenu1, &QMenu::aboutToShow, to, [this] { PopupMenu1Popup(); });
  BIBLE_CONNECT(Copy1, &QAction::triggered, to, [this] { Copy1Click(); });
  BIBLE_CONNECT(Translate1, &QAction::triggered, to, [this] { Translate1Click(); });
  BIBLE_CONNECT(Navigate1, &QAction::triggered, to, [this] { Navigate1Click(); });
  BIBLE_CONNECT(Find1, &QAction::triggered, to, [this] { Find1Click(); });
  BIBLE_CONNECT(ActivateVerse1, &QAction::triggered, to, [this] { ActivateVerse1Click(); });
  BIBLE_CONNECT(SelektVerse1, &QAction::triggered, to, [this] { SelektVerse1Click(); });
  BIBLE_CONNECT(SelectAll1, &QAction::triggered, to, [this] { SelectAll1Click(); });
  BIBLE_CONNECT(AddBookmark1, &QAction::triggered, to, [this] { AddBookmark1Click(); });
  BIBLE_CONNECT(DeleteBookmark1, &QAction::triggered, to, [this] { DeleteBookmark1Click(); });
  // A search colours its words in every window.
  BIBLE_CONNECT(&FShared.Search, &TChangeNotifier::Changed, to, [this] {
    if (!Closing) DisplayVerse(Book, Chapter, Verse);
  });

  FormCreate();
  BRichEdit1->SetViewFont(Bible->Font);
  DisplayVerse(b, c, v);
}

void TBibleForm1::FormCreate() {
  const int x = VersionIndex();
  setWindowTitle(QString::fromUtf8(VersionCaption(x)));
  JustCreated = true;
  BRichEdit1->Letters = Bible->Letters;
}

int TBibleForm1::VersionIndex() const { return Bible ? Bible->VersionIndex : 0; }

QMdiSubWindow* TBibleForm1::SubWindow() const {
  return qobject_cast<QMdiSubWindow*>(parentWidget());
}

void TBibleForm1::FormActivate() {
  if (!JustCreated && !Closing) Q_EMIT Activated(this);
}

void TBibleForm1::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

void TBibleForm1::FormClose() {
  if (Closing) return;
  Closing = true;
  Q_EMIT Closed(this);
}

void TBibleForm1::SaveWindowState(TSavedWindow& state) const {
  state = {VersionIndex(), Book, Chapter, Verse};
}

void TBibleForm1::DisplayVerse(int b, int c, int v, bool reuseChapterText) {
  TBibleRichEdit1& view = *BRichEdit1;
  view.SetViewFont(Bible->Font);
  const TBook* book = b >= 1 && b <= MaxBooks ? Bible->Books[size_t(b)].get() : nullptr;
  if (!book || c < 1 || c > int(book->Chapters.size())) {
    view.Clear();
    return;
  }
  const int n = book->Chapters[size_t(c - 1)];
  view.SetHideSelection(true);
  if (b != ShownBook || c != ShownChapter || !reuseChapterText || VerseStart.empty()) {
    TChapterOptions options;
    options.View = TViewOptions::Unpack(FShared.Settings.ViewOptions);
    options.ShowFootnotes = FShared.Settings.ShowFootnotes;
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
    view.SetSelColor(ToQColor(FShared.Settings.CurrentVerseColor));
    view.SetHideSelection(false);
    view.SetSelStart(VerseStart[size_t(v)]);
    SendViewerPosition(v);
    const std::vector<std::string>& words = FShared.Search.MarkWords;
    if (!words.empty()) {
      // Only the active verse is searched, so only its bytes are taken from the view; the text
      // before it stands in as blanks (never letters, as the line break before a verse).
      const int from = VerseStart[size_t(v)];
      std::string text(size_t(from), ' ');
      text += view.TextRange(from, VerseStart[size_t(v) + 1] - from);
      const auto ranges =
          FoundWordRanges(text, VerseStart, v, words.data(),
                          int(std::min(words.size(), MaxMarkWords)), Bible->Letters);
      for (const auto& [start, length] : ranges) {
        view.SetSelection(start, length);
        view.SetSelColor(ToQColor(FShared.Settings.FounWordColor));
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
  return ::VerseAt(VerseStart, p, FShared.Place.LastVerse());
}

std::string TBibleForm1::ActiveVerseText() const {
  return ::ActiveVerseText(BRichEdit1->Text(), VerseStart, FShared.Place.Verse);
}

std::string TBibleForm1::PositionReference() const {
  return TPlace{Bible, Book, Chapter, Verse}.Reference();
}

int TBibleForm1::FindBookmark() const {
  const auto& marks = Bible->BookMarks;
  const auto at = std::find(marks.begin(), marks.end(), PositionReference());
  return at == marks.end() ? -1 : int(at - marks.begin()) + 1;
}

void TBibleForm1::Copy1Click() { BRichEdit1->CopyToClipboard(); }

void TBibleForm1::Translate1Click() {
  const std::string text = BRichEdit1->SelText();
  const std::string form = DictionaryForm(text);
  Q_EMIT DictionaryRequested(form.empty() ? text : form);
}

void TBibleForm1::Navigate1Click() { Q_EMIT ReferenceRequested(BRichEdit1->SelText()); }

void TBibleForm1::Find1Click() { Q_EMIT SearchRequested(BRichEdit1->SelText()); }

void TBibleForm1::ActivateVerse1Click() {
  const int start = BRichEdit1->SelStart();
  const int length = BRichEdit1->SelLength();
  Q_EMIT VerseRequested(VerseAt(start));
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
  Bible->BookMarks.push_back(PositionReference());
  Q_EMIT BookmarksChanged();
}

void TBibleForm1::DeleteBookmark1Click() {
  const int i = FindBookmark();
  if (i < 1) return;
  Bible->BookMarks.erase(Bible->BookMarks.begin() + (i - 1));
  Q_EMIT BookmarksChanged();
}

void TBibleForm1::PopupMenu1Popup() {
  const int i = FindBookmark();
  DeleteBookmark1->setVisible(i >= 0);
  AddBookmark1->setVisible(i < 0);
}

bool TBibleForm1::BRichEdit1Enable0(const std::string& text) const { return !text.empty(); }

bool TBibleForm1::BRichEdit1Enable1(const std::string& text) const {
  return !DictionaryForm(text).empty();
}

std::string TBibleForm1::DictionaryForm(const std::string& text) const {
  if (!FindDictionary || text.empty()) return {};
  for (const std::string& form :
       LookUpForms(text, VersionLanguage(*Bible) == 3, Bible->DataPath + "Lemmas.txt"))
    if (FindDictionary(form)) return form;
  return {};
}

bool TBibleForm1::BRichEdit1Enable2(const std::string& text) const {
  return TPlace{Bible}.IsReference(text);  // in the window's own version
}

void TBibleForm1::BRichEdit1KeyDown(int& key) {
  if (key == Qt::Key_Up || key == Qt::Key_Down)
    Q_EMIT VerseStepRequested(key == Qt::Key_Up ? -1 : 1);
}
