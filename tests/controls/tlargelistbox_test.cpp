// The large list box as a user drives it: typing, rows, scrolling, resizing, the history.
#include "controls/tlargelistbox.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QtTest>
#include <algorithm>
#include <random>
#include <set>

#include "controls/tbiblecombobox.h"
#include "controls/tfoundlistbox.h"
#include "core/ansi.h"
#include "core/tlargestringlist.h"
#include "platform/codepage.h"
#include "tests/controls/uitest.h"
#include "tests/support/testversion.h"

namespace {

// A sorted word list in memory that counts what it is asked and notes any index outside it.
class TTestList : public TLargeStringList {
 public:
  explicit TTestList(std::vector<std::string> words) : Words(std::move(words)) {
    std::sort(Words.begin(), Words.end(),
              [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; });
    Size = int32_t(Words.size());
  }
  int32_t GetCount() override {
    ++CountCalls;
    const int32_t n = Size;
    Size = std::max(0, Size - ShrinkBy);  // a source that shrinks between calls
    Current = n;
    return n;
  }
  std::string Get(int32_t i) override {
    ++GetCalls;
    if (i < 0 || i >= Size) ++Outside;
    if (i < 0 || i >= int32_t(Words.size())) return std::string();
    return Words[size_t(i)] + " " + std::to_string(i % 97 + 1);
  }
  int32_t IndexOf(const std::string& s) override {
    ++IndexCalls;
    const auto it = std::lower_bound(
        Words.begin(), Words.begin() + Size, s,
        [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; });
    return int32_t(it - Words.begin());
  }
  std::string GetWord(int32_t i) override {
    ++WordCalls;
    if (i < 0 || i >= Size) ++Outside;
    if (i < 0 || i >= int32_t(Words.size())) return std::string();
    return Words[size_t(i)];
  }

  std::vector<std::string> Words;
  int32_t Size = 0;
  int32_t Current = 0;
  int32_t ShrinkBy = 0;
  int GetCalls = 0, WordCalls = 0, IndexCalls = 0, CountCalls = 0, Outside = 0;
};

// 50 000 distinct generated words of mixed case, among them "Word", "Logos" and "wordy".
std::vector<std::string> GeneratedWords() {
  std::mt19937 rng(7);
  std::set<std::string> lower{"word", "logos", "wordy"};
  std::vector<std::string> words{"Word", "Logos", "wordy"};
  const std::string letters = "abcdefghijklmnopqrstuvwxyz";
  while (words.size() < 50000) {
    std::string w;
    const int len = 3 + int(rng() % 8);
    for (int i = 0; i < len; ++i) w.push_back(letters[rng() % letters.size()]);
    if (!lower.insert(w).second) continue;
    if (rng() % 5 == 0) w[0] = char(w[0] - 'a' + 'A');
    words.push_back(w);
  }
  return words;
}

QStringList Rows(const QListWidget* list) {
  QStringList rows;
  for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
  return rows;
}

}  // namespace

class TLargeListBoxTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QWidget> Window;
  TLargeListBox* Box = nullptr;
  TTestList* List = nullptr;  // owned by Box
  int Changes = 0, IndexChanges = 0, Clicks = 0;
  QObject* LastChangeSender = nullptr;

  void Install(std::vector<std::string> words) {
    auto list = std::make_unique<TTestList>(std::move(words));
    List = list.get();
    Box->SetList(std::move(list));
  }

  void ClickRow(int row) {
    QListWidget* rows = Box->RowList;
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {},
                      rows->visualItemRect(rows->item(row)).center());
  }

  int SelectedRow() const {
    const auto items = Box->RowList->selectedItems();
    return items.isEmpty() ? -1 : Box->RowList->row(items.first());
  }

  // Every row shows the entry at its place, once, and nothing more.
  void CheckRowsMatchTop() {
    const int rows = Box->RowList->count();
    QVERIFY(rows > 0);
    for (int r = 0; r < rows; ++r)
      QCOMPARE(Box->RowList->item(r)->text(),
               QString::fromStdString(List->Get(Box->TopIndex() + r)));
    QCOMPARE(Box->ScrollBar->value(), Box->TopIndex());
  }

 private Q_SLOTS:
  void init() {
    Window = std::make_unique<QWidget>();
    Window->resize(260, 320);
    Box = new TLargeListBox(Window.get());
    Box->setGeometry(5, 5, 240, 300);
    Changes = IndexChanges = Clicks = 0;
    LastChangeSender = nullptr;
    Box->OnChange = [this](QObject* sender) {
      ++Changes;
      LastChangeSender = sender;
    };
    Box->OnChangeItemIndex = [this](QObject*) { ++IndexChanges; };
    Box->OnClick = [this](QObject*) { ++Clicks; };
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    List = nullptr;
  }

  void cleanup() { Window.reset(); }

  void aShortListShowsAllItsEntries() {
    Install({"alpha", "beta", "gamma", "delta", "epsilon"});
    QCOMPARE(Rows(Box->RowList),
             (QStringList{"alpha 1", "beta 2", "delta 3", "epsilon 4", "gamma 5"}));
    QCOMPARE(Box->ScrollBar->maximum(), 0);
    QTest::mouseClick(Box->ScrollBar, Qt::LeftButton, {},
                      QPoint(Box->ScrollBar->width() / 2, Box->ScrollBar->height() - 30));
    QCOMPARE(Box->TopIndex(), 0);
    QCOMPARE(Box->ItemIndex(), -1);
  }

  void typingSearchesAndSelectsOnlyAWholeWord() {
    Install(GeneratedWords());
    const int rows = Box->VisibleRows();
    QVERIFY(rows >= 10);
    QCOMPARE(Box->RowList->count(), rows);
    Box->ComboBox->setFocus();
    for (const char c : std::string("wor")) {
      List->GetCalls = List->IndexCalls = 0;
      QTest::keyClick(Box->ComboBox->lineEdit(), c);
      // One binary search and one read per visible row, whatever the list's length.
      QCOMPARE(List->IndexCalls, 1);
      QVERIFY(List->GetCalls <= rows);
    }
    QCOMPARE(Changes, 3);
    QCOMPARE(LastChangeSender, static_cast<QObject*>(Box->ComboBox));
    QCOMPARE(IndexChanges, 0);
    QCOMPARE(Box->ItemIndex(), -1);
    QCOMPARE(SelectedRow(), -1);
    const int32_t a = List->IndexOf("wor");
    QVERIFY(a >= Box->TopIndex() && a < Box->TopIndex() + rows);
    CheckRowsMatchTop();

    // "word" equals the entry "Word" regardless of case: the box takes the entry's spelling.
    QTest::keyClick(Box->ComboBox->lineEdit(), 'd');
    QCOMPARE(IndexChanges, 1);
    QCOMPARE(Box->Text(), std::string("Word"));
    QCOMPARE(Box->ComboBox->lineEdit()->cursorPosition(), 4);
    QVERIFY(!Box->ComboBox->lineEdit()->hasSelectedText());
    QCOMPARE(Box->ItemIndex(), List->IndexOf("word"));
    QCOMPARE(Box->RowList->item(SelectedRow())->text(),
             QString::fromStdString(List->Get(Box->ItemIndex())));

    // Changing the last letter's case keeps the same entry: a search, no new selection.
    QTest::keyClick(Box->ComboBox->lineEdit(), Qt::Key_Backspace);
    QTest::keyClick(Box->ComboBox->lineEdit(), 'D');
    QCOMPARE(IndexChanges, 2);  // "Wor" left the entry, "WorD" selected it again
    Box->ComboBox->lineEdit()->setSelection(3, 1);
    QTest::keyClick(Box->ComboBox->lineEdit(), 'd');
    QCOMPARE(IndexChanges, 2);
    QCOMPARE(Changes, 7);
  }

  void aWordBeyondTheListShowsTheLastPage() {
    Install(GeneratedWords());
    Box->SetText("\xFF\xFF");
    QCOMPARE(Changes, 1);
    QCOMPARE(LastChangeSender, static_cast<QObject*>(Box));
    QCOMPARE(Box->ItemIndex(), -1);
    QCOMPARE(Box->TopIndex(), 50000 - Box->VisibleRows());
    CheckRowsMatchTop();
    QCOMPARE(List->Outside, 0);
    // Writing the present text does nothing.
    Box->SetText("\xFF\xFF");
    QCOMPARE(Changes, 1);
  }

  void rowClicksFireOneEventEach() {
    Install(GeneratedWords());
    Box->SetText("Logos");
    const int32_t logos = Box->ItemIndex();
    QCOMPARE(IndexChanges, 1);
    const int row = SelectedRow();
    QVERIFY(row >= 0);
    ClickRow(row);  // the row that is already selected
    QCOMPARE(Clicks, 1);
    QCOMPARE(IndexChanges, 1);
    ClickRow(row == 0 ? 1 : 0);
    QCOMPARE(Clicks, 1);
    QCOMPARE(IndexChanges, 2);
    QVERIFY(Box->ItemIndex() != logos);
    QCOMPARE(Box->Text(), List->GetWord(Box->ItemIndex()));
    QCOMPARE(Changes, 1);  // a row never starts a search
    // Dragging over rows reports the row where the button comes up, once.
    QListWidget* rows = Box->RowList;
    QTest::mousePress(rows->viewport(), Qt::LeftButton, {},
                      rows->visualItemRect(rows->item(2)).center());
    QTest::mouseMove(rows->viewport(), rows->visualItemRect(rows->item(4)).center());
    QTest::mouseRelease(rows->viewport(), Qt::LeftButton, {},
                        rows->visualItemRect(rows->item(4)).center());
    QCOMPARE(Clicks + IndexChanges, 4);
    QCOMPARE(Box->ItemIndex(), Box->TopIndex() + SelectedRow());
    // A right click selects nothing.
    const int32_t selected = Box->ItemIndex();
    QTest::mouseClick(rows->viewport(), Qt::RightButton, {},
                      rows->visualItemRect(rows->item(6)).center());
    QCOMPARE(Box->ItemIndex(), selected);
    QCOMPARE(Box->TopIndex() + SelectedRow(), selected);
    QCOMPARE(Clicks + IndexChanges, 4);
  }

  void arrowKeysAtTheEdgesScroll() {
    Install(GeneratedWords());
    const int rows = Box->VisibleRows();
    Box->SetText("Logos");
    ClickRow(rows - 1);
    const int32_t entry = Box->ItemIndex();
    const int32_t top = Box->TopIndex();
    QTest::keyClick(Box->RowList, Qt::Key_Down);
    QCOMPARE(Box->TopIndex(), top + 1);
    QCOMPARE(Box->ItemIndex(), entry + 1);
    QCOMPARE(SelectedRow(), rows - 1);
    CheckRowsMatchTop();
    ClickRow(0);
    QTest::keyClick(Box->RowList, Qt::Key_Up);
    QCOMPARE(Box->TopIndex(), top);
    QCOMPARE(Box->ItemIndex(), top);
    QCOMPARE(SelectedRow(), 0);

    // At the end of the list Down does nothing more.
    Box->SetText(List->Words.back());
    QCOMPARE(Box->ItemIndex(), 49999);
    const int before = IndexChanges;
    QTest::keyClick(Box->RowList, Qt::Key_Down);
    QCOMPARE(Box->ItemIndex(), 49999);
    QCOMPARE(Box->TopIndex(), 50000 - rows);
    QCOMPARE(IndexChanges, before);
    // Page keys stay within the rows in view.
    QTest::keyClick(Box->RowList, Qt::Key_Home);
    QCOMPARE(Box->TopIndex(), 50000 - rows);
    QCOMPARE(Box->ItemIndex(), 50000 - rows);
  }

  void theScrollBarAndTheWheelMoveTheView() {
    Install(GeneratedWords());
    const int rows = Box->VisibleRows();
    QCOMPARE(Box->ScrollBar->pageStep(), rows - 1);
    QCOMPARE(Box->ScrollBar->maximum(), 50000 - rows);
    List->GetCalls = 0;
    // A click into the lower part of the bar pages down, keeping one row of overlap.
    QTest::mouseClick(Box->ScrollBar, Qt::LeftButton, {},
                      QPoint(Box->ScrollBar->width() / 2, Box->ScrollBar->height() - 30));
    QCOMPARE(Box->TopIndex(), rows - 1);
    QVERIFY(List->GetCalls <= rows);
    CheckRowsMatchTop();
    // Dragging the thumb moves the view live.
    Box->ScrollBar->setSliderDown(true);
    Box->ScrollBar->setSliderPosition(25000);
    QCOMPARE(Box->TopIndex(), 25000);
    Box->ScrollBar->setSliderDown(false);
    CheckRowsMatchTop();
    QWheelEvent wheel(QPointF(20, 20), Box->RowList->viewport()->mapToGlobal(QPointF(20, 20)),
                      QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(Box->RowList->viewport(), &wheel);
    QVERIFY(Box->TopIndex() > 25000);
    CheckRowsMatchTop();
    QCOMPARE(Changes, 0);
  }

  void growingAtTheEndKeepsTheLastPageFull() {
    Install(GeneratedWords());
    Box->SetText(List->Words.back());
    const int rows = Box->VisibleRows();
    QCOMPARE(Box->TopIndex(), 50000 - rows);
    Box->resize(Box->width(), Box->height() + 120);
    const int more = Box->VisibleRows();
    QVERIFY(more > rows);
    QCOMPARE(Box->TopIndex(), 50000 - more);
    QCOMPARE(Box->RowList->count(), more);
    CheckRowsMatchTop();
    QCOMPARE(SelectedRow(), more - 1);
    // Shrinking keeps the position; the rows simply end sooner.
    Box->resize(Box->width(), 120);
    QCOMPARE(Box->TopIndex(), 50000 - more);
    QCOMPARE(Box->RowList->count(), Box->VisibleRows());
  }

  void aNewSourceKeepsThePositionUntilTheNextSearch() {
    Install(GeneratedWords());
    Box->SetText("Logos");
    const int32_t top = Box->TopIndex();
    Install({"aa", "bb", "cc"});
    QCOMPARE(Box->ItemIndex(), -1);
    QCOMPARE(Box->TopIndex(), 0);  // the short list pulls the scroll range back
    QCOMPARE(Rows(Box->RowList), (QStringList{"aa 1", "bb 2", "cc 3"}));
    Install(GeneratedWords());
    Box->ScrollBar->setValue(top);
    Install(GeneratedWords());
    QCOMPARE(Box->TopIndex(), top);
    Box->SetText("wordy");
    QCOMPARE(Box->ItemIndex(), List->IndexOf("wordy"));
    QCOMPARE(Box->Text(), std::string("wordy"));
  }

  void emptyAndShrinkingSourcesAreNeverReadOutside() {
    Box->SetText("abc");  // no source at all: only OnChange
    QCOMPARE(Changes, 1);
    QCOMPARE(Box->RowList->count(), 0);

    Install({});
    QTest::keyClicks(Box->ComboBox->lineEdit(), "word");
    QCOMPARE(Box->RowList->count(), 0);
    QCOMPARE(List->GetCalls, 0);
    QCOMPARE(List->Outside, 0);
    QCOMPARE(Box->ItemIndex(), -1);
    QCOMPARE(Box->ScrollBar->maximum(), 0);

    Install(GeneratedWords());
    Box->SetText(List->Words.back());
    List->ShrinkBy = 997;
    for (int i = 0; i < 60; ++i) {
      QTest::keyClick(Box->ComboBox->lineEdit(), Qt::Key_Backspace);
      QTest::keyClick(Box->ComboBox->lineEdit(), 'z');
      QTest::keyClick(Box->RowList, Qt::Key_Down);
      Box->ScrollBar->setValue(Box->ScrollBar->maximum());
      Box->resize(Box->width(), 200 + (i % 3) * 50);
    }
    QCOMPARE(List->Size, 0);
    QCOMPARE(List->Outside, 0);
  }

  void pickingThePresentWordFromTheHistoryFiresAgain() {
    Install(GeneratedWords());
    Box->ComboBox->Add(0, "Logos", 45000.0);
    Box->ComboBox->Add(0, "wordy", 45000.1);
    Box->SetText("Logos");
    QCOMPARE(IndexChanges, 1);
    TBibleComboBox* combo = Box->ComboBox;
    combo->lineEdit()->setFocus();
    QTest::keyClick(combo->lineEdit(), Qt::Key_F4);  // opens the drop-down
    QTRY_VERIFY(combo->view()->isVisible());
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    const QRect logos = combo->view()->visualRect(combo->view()->model()->index(0, 0));
    QTest::mouseMove(combo->view()->viewport(), logos.center());
    QTest::mouseClick(combo->view()->viewport(), Qt::LeftButton, {}, logos.center());
    QTRY_VERIFY(!combo->view()->isVisible());
    QCOMPARE(Box->Text(), std::string("Logos"));
    QCOMPARE(IndexChanges, 2);
    QCOMPARE(Changes, 2);
    // The arrow keys choose from the history too.
    combo->lineEdit()->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(Box->Text(), std::string("wordy"));
    QCOMPARE(IndexChanges, 3);
    QCOMPARE(Changes, 3);
    // Leaving the word box with the text of another history entry is no choice.
    combo->lineEdit()->setText(QStringLiteral("Logos"));
    Box->RowList->setFocus();
    QCOMPARE(Changes, 3);
    QCOMPARE(combo->currentIndex(), 1);
  }

  void keyPressesPassThroughTheOwner() {
    Install(GeneratedWords());
    QList<QObject*> senders;
    Box->OnKeyPress = [&](QObject* sender, char& key) {
      senders << sender;
      if (key == 'a') key = 'b';
      if (key == 'x') key = 0;
    };
    QTest::keyClicks(Box->ComboBox->lineEdit(), "axc");
    QCOMPARE(Box->Text(), std::string("bc"));
    QCOMPARE(Changes, 2);
    QCOMPARE(senders.size(), 3);
    QCOMPARE(senders.first(), static_cast<QObject*>(Box->ComboBox));
    QTest::keyClick(Box->RowList, 'q');
    QCOMPARE(senders.last(), static_cast<QObject*>(Box->RowList));
    // Arrow keys carry no character.
    QTest::keyClick(Box->RowList, Qt::Key_Down);
    QCOMPARE(senders.size(), 4);
  }

  void cyrillicWordsRoundTrip() {
    // windows-1251 bytes in the list, Cyrillic on the screen, the same bytes out.
    std::vector<std::string> words;
    for (const char* w : {"Бог", "Господ", "живот", "любов", "Слово", "светлина", "ябълка"})
      words.push_back(QStringToAnsi(QString::fromUtf8(w)));
    Install(words);
    Box->SetCharset(204);
    QCOMPARE(Box->RowList->item(0)->text(), QStringLiteral("Бог 1"));
    Box->ComboBox->lineEdit()->setFocus();
    TypeText(Box->ComboBox->lineEdit(), QStringLiteral("слово"));
    QCOMPARE(Box->ComboBox->currentText(), QStringLiteral("Слово"));
    QCOMPARE(Box->Text(), QStringToAnsi(QStringLiteral("Слово")));
    QCOMPARE(Box->ItemIndex(), 5);  // after "светлина"
    QCOMPARE(IndexChanges, 1);

    // Latin keys translated to windows-1251 bytes by the owner, as the keyboard layouts do.
    Box->OnKeyPress = [](QObject*, char& key) {
      const std::string latin = "abgdevzijklmnoprstufhc",
                        cyrillic = QStringToAnsi(QStringLiteral("абгдевзийклмнопрстуфхц"));
      const size_t i = latin.find(key);
      if (i != std::string::npos) key = cyrillic[i];
    };
    Box->ComboBox->lineEdit()->clear();
    QTest::keyClicks(Box->ComboBox->lineEdit(), "bog");
    QCOMPARE(Box->ComboBox->currentText(), QStringLiteral("Бог"));
    QCOMPARE(Box->ItemIndex(), 0);
    QCOMPARE(IndexChanges, 2);
  }

  void overAVersionWordList() {
    TTempDir dir;
    WriteSampleVersion(dir.Path(), 0, BulgarianSample());
    WriteSampleVersion(dir.Path(), 9, GreekSample());
    DataRoot = dir.Path();
    TBible bulgarian(0);
    TBible greek(9);
    QVERIFY(!bulgarian.DataPath.empty());
    Box->SetCharset(bulgarian.Font.Charset);
    Box->SetList(std::make_unique<TLargeStringList2>(&bulgarian));
    Box->ComboBox->lineEdit()->setFocus();
    TypeText(Box->ComboBox->lineEdit(), QStringLiteral("бог"));
    QVERIFY(Box->ItemIndex() >= 0);
    QCOMPARE(Box->ComboBox->currentText(), QStringLiteral("бог"));
    const QString row = Box->RowList->selectedItems().value(0)->text();
    QVERIFY2(row.startsWith(QStringLiteral("бог ")), qPrintable(row));
    QVERIFY(row.section(QLatin1Char(' '), 1).toInt() > 0);

    // The Greek version's list in windows-1253, as the owner switches it with the version.
    Box->SetCharset(greek.Font.Charset);
    Box->SetList(std::make_unique<TLargeStringList2>(&greek));
    Box->ComboBox->lineEdit()->clear();
    TypeText(Box->ComboBox->lineEdit(), QStringLiteral("λογος"));
    QCOMPARE(Box->Text(), Greek("λογος"));
    QVERIFY(Box->ItemIndex() >= 0);
    QVERIFY(Box->RowList->selectedItems().value(0)->text().startsWith(QStringLiteral("λογος ")));
    Box->SetList(nullptr);
    DataRoot.clear();
  }

  // A screen reader sees the found list's lines in view only, whatever their number, and reads
  // the count and the current line from its description.
  void FoundListShowsScreenReadersTheLinesInViewTheCountAndTheCurrentLine() {
    TFoundListBox list;
    list.resize(200, 120);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    list.SetLines(30000, [](int row) { return QStringLiteral("Line %1").arg(row); });
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&list);
    QVERIFY(a);
    QCOMPARE(a->role(), QAccessible::List);
    const int shown = a->childCount();
    QVERIFY(shown > 2 && shown < 20);
    QCOMPARE(a->text(QAccessible::Description), QStringLiteral("30000 стиха"));
    list.SelectRow(29990);
    QApplication::processEvents();
    QCOMPARE(a->text(QAccessible::Description), QStringLiteral("30000 стиха, текущ 29991: Line 29990"));
    QCOMPARE(a->childCount(), shown);
    bool selectedSeen = false;
    for (int i = 0; i < shown; ++i) {
      QAccessibleInterface* line = a->child(i);
      QVERIFY(line);
      QCOMPARE(a->indexOfChild(line), i);
      QCOMPARE(line->text(QAccessible::Name), QStringLiteral("Line %1").arg(list.FirstVisibleRow() + i));
      QVERIFY(a->rect().intersects(line->rect()));
      selectedSeen |= line->state().selected;
    }
    QVERIFY(selectedSeen);
    QVERIFY(!a->child(shown));
    list.clear();
    QCOMPARE(a->childCount(), 0);
    QCOMPARE(a->text(QAccessible::Description), QStringLiteral("0 стиха"));
  }
};

QTEST_MAIN(TLargeListBoxTest)
#include "tlargelistbox_test.moc"

