// The history combo box: entries in order, the popup commands, the history file, code pages.
#include "controls/tbiblecombobox.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>
#include <fstream>
#include <sstream>

#include "core/eioerror.h"
#include "platform/codepage.h"
#include "tests/controls/uitest.h"
#include "tests/support/testversion.h"

namespace {

QStringList Items(const QComboBox& box) {
  QStringList items;
  for (int i = 0; i < box.count(); ++i) items << box.itemText(i);
  return items;
}

}  // namespace

class TBibleComboBoxTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QWidget> Window;
  TBibleComboBox* Box = nullptr;
  QMenu* Menu = nullptr;

  void MakeThreeOrderMenu() {
    Menu = new QMenu(Window.get());
    Menu->addAction(QStringLiteral("По азбучен ред"));
    Menu->addAction(QStringLiteral("По време"));
    Menu->addAction(QStringLiteral("По място в Библията"));
    Menu->addSeparator();
    Menu->addAction(QStringLiteral("Изтриване"));
    Menu->addAction(QStringLiteral("Брой"));
    Box->SetPopupMenu(Menu);
  }

  void MakeTwoOrderMenu() {
    Menu = new QMenu(Window.get());
    Menu->addAction(QStringLiteral("По азбучен ред"));
    Menu->addAction(QStringLiteral("По време"));
    Menu->addSeparator();
    Menu->addAction(QStringLiteral("Изтриване"));
    Menu->addAction(QStringLiteral("Брой"));
    Box->SetPopupMenu(Menu);
  }

  QList<bool> Checks() const {
    QList<bool> checks;
    for (QAction* a : Menu->actions()) checks << a->isChecked();
    return checks;
  }

  // Three references in windows-1251, added at increasing times with scattered places.
  void AddVerses() {
    Box->Add(1000, QStringToAnsi(QStringLiteral("Йоан 3:16")), 45000.1);
    Box->Add(5, QStringToAnsi(QStringLiteral("Битие 1:1")), 45000.2);
    Box->Add(600, QStringToAnsi(QStringLiteral("Псалми 22:1")), 45000.3);
  }

 private Q_SLOTS:
  void init() {
    Window = std::make_unique<QWidget>();
    Window->resize(300, 80);
    Box = new TBibleComboBox(Window.get());
    Box->setGeometry(10, 10, 250, Box->sizeHint().height());
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
  }

  void cleanup() {
    Window.reset();
    Menu = nullptr;
  }

  void addShowsTheEntriesInOrderAndSelectsTheNewOne() {
    AddVerses();
    QCOMPARE(Items(*Box), (QStringList{QStringLiteral("Битие 1:1"), QStringLiteral("Йоан 3:16"),
                                       QStringLiteral("Псалми 22:1")}));
    QCOMPARE(Box->currentText(), QStringLiteral("Псалми 22:1"));
    QCOMPARE(Box->ItemIndex(), 2);
    // The same reference typed in other letter case updates the entry's spelling and stamp.
    Box->Add(5, QStringToAnsi(QStringLiteral("БИТИЕ 1:1")), 45001.0);
    QCOMPARE(Box->Count(), 3);
    QCOMPARE(Box->itemText(0), QStringLiteral("БИТИЕ 1:1"));
    QCOMPARE(Box->Times()[0], 45001.0);
    QCOMPARE(Box->Text(), QStringToAnsi(QStringLiteral("БИТИЕ 1:1")));
  }

  void typingDoesNotAddEntries() {
    AddVerses();
    Box->lineEdit()->clear();
    TypeText(Box->lineEdit(), QStringLiteral("нов текст"));
    QTest::keyClick(Box->lineEdit(), Qt::Key_Return);
    QCOMPARE(Box->Count(), 3);
    QCOMPARE(Box->Text(), QStringToAnsi(QStringLiteral("нов текст")));
  }

  void threeOrderMenuSortsDeletesAndCounts() {
    MakeThreeOrderMenu();
    AddVerses();
    QCOMPARE(Checks(), (QList<bool>{true, false, false, false, false, false}));
    Box->SetItemIndex(1);  // "Йоан 3:16"

    ChooseFromContextMenu(Box->lineEdit(), 2);  // by place
    QCOMPARE(Box->Sorted(), byIndex);
    QCOMPARE(Items(*Box), (QStringList{QStringLiteral("Битие 1:1"), QStringLiteral("Псалми 22:1"),
                                       QStringLiteral("Йоан 3:16")}));
    QCOMPARE(Box->currentText(), QStringLiteral("Йоан 3:16"));
    QCOMPARE(Box->ItemIndex(), 2);
    QCOMPARE(Checks(), (QList<bool>{false, false, true, false, false, false}));

    ChooseFromContextMenu(Box->lineEdit(), 1);  // by time
    QCOMPARE(Items(*Box), (QStringList{QStringLiteral("Йоан 3:16"), QStringLiteral("Битие 1:1"),
                                       QStringLiteral("Псалми 22:1")}));
    QCOMPARE(Box->ItemIndex(), 0);
    QCOMPARE(Checks(), (QList<bool>{false, true, false, false, false, false}));
    // Choosing the present order again keeps its check mark.
    ChooseFromContextMenu(Box->lineEdit(), 1);
    QCOMPARE(Checks(), (QList<bool>{false, true, false, false, false, false}));

    QString message;
    AnswerNextMessageBox(&message);
    ChooseFromContextMenu(Box->lineEdit(), 5);
    QCOMPARE(message, QStringLiteral("Списъкът съдържа 3 елемента."));

    ChooseFromContextMenu(Box->lineEdit(), 4);
    QCOMPARE(Box->Count(), 0);
    QCOMPARE(Box->count(), 0);
    QCOMPARE(Box->currentText(), QString());
  }

  void twoOrderMenuHasNoPlaceOrder() {
    MakeTwoOrderMenu();
    AddVerses();
    QString message;
    AnswerNextMessageBox(&message);
    ChooseFromContextMenu(Box->lineEdit(), 4);
    QCOMPARE(message, QStringLiteral("Списъкът съдържа 3 елемента."));
    ChooseFromContextMenu(Box->lineEdit(), 3);
    QCOMPARE(Box->Count(), 0);
  }

  void sortingWithoutTheEditEntryEmptiesTheEdit() {
    AddVerses();
    Box->lineEdit()->setText(QStringLiteral("друго"));
    Box->SetSorted(byTime);
    QCOMPARE(Box->ItemIndex(), -1);
    QCOMPARE(Box->currentText(), QString());
    // An empty box keeps its edit text.
    Box->Clear();
    Box->lineEdit()->setText(QStringLiteral("дума"));
    Box->SetSorted(byText);
    QCOMPARE(Box->currentText(), QStringLiteral("дума"));
  }

  void pickingFromTheDropDown() {
    AddVerses();
    int dropDowns = 0, activations = 0;
    Box->OnDropDown = [&](QObject*) { ++dropDowns; };
    connect(Box, &QComboBox::activated, this, [&] { ++activations; });
    Box->lineEdit()->setFocus();
    QTest::keyClick(Box->lineEdit(), Qt::Key_F4);  // opens the drop-down
    QTRY_VERIFY(Box->view()->isVisible());
    QCOMPARE(activations, 0);
    QCOMPARE(dropDowns, 1);
    QAbstractItemView* view = Box->view();
    const QRect first = view->visualRect(view->model()->index(1, 0));
    // The list ignores a release that comes sooner than a double click after opening.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseMove(view->viewport(), first.center());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, first.center());
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(activations, 1);
    QCOMPARE(Box->currentText(), QStringLiteral("Йоан 3:16"));
  }

  void greekHistoryRoundTrip() {
    // The history of the Greek version holds windows-1253 bytes.
    Box->SetCharset(161);
    const std::string logos = "\xEB\xFC\xE3\xEF\xF2";  // λόγος
    const std::string theos = "\xE8\xE5\xFC\xF2";      // θεός
    Box->Add(2000, logos, 45000.5);
    Box->Add(30, theos, 45000.75);
    QCOMPARE(Items(*Box), (QStringList{QStringLiteral("θεός"), QStringLiteral("λόγος")}));
    Box->lineEdit()->clear();
    TypeText(Box->lineEdit(), QStringLiteral("αρχή"));
    QCOMPARE(Box->Text(), std::string("\xE1\xF1\xF7\xDE"));

    TTempDir dir;
    const std::string name = dir.File("Search_List.txt");
    Box->SaveToFile(name);
    const std::string file = ReadFileBytes(name);
    QCOMPARE(file, std::string("0\r\n\xE1\xF1\xF7\xDE\r\n 4.50007500000000E+0004 30\r\n") + theos +
                       "\r\n 4.50005000000000E+0004 2000\r\n" + logos + "\r\n");

    TBibleComboBox other(Window.get());
    other.SetCharset(161);
    other.LoadFromFile(name);
    QCOMPARE(Items(other), Items(*Box));
    QCOMPARE(other.currentText(), QStringLiteral("αρχή"));
    QCOMPARE(other.Item(1), logos);
    QCOMPARE(other.Places()[1], 2000);
    // The same bytes under the Cyrillic code page would show other letters.
    other.SetCharset(204);
    QVERIFY(other.itemText(1) != QStringLiteral("λόγος"));
    QCOMPARE(other.Item(1), logos);
  }

  void damagedFilesGiveWhatWasReadBeforeTheDamage() {
    TTempDir dir;
    const std::string name = dir.File("VerseHistory.txt");
    {
      std::ofstream out(name, std::ios::binary);
      out << "1\r\nedit\r\n 4.5E+0004 7\r\nfirst\r\n 4.6E+0004 8\r\nsecond\r\n";
      out << std::string(1 << 20, '\x01') << "\r\n" << std::string(3 << 20, 'x');
    }
    Box->Add(1, "old", 1.0);
    Box->LoadFromFile(name);
    QCOMPARE(Box->Count(), 2);
    QCOMPARE(Box->Sorted(), byTime);
    QCOMPARE(Items(*Box), (QStringList{QStringLiteral("first"), QStringLiteral("second")}));
    QCOMPARE(Box->currentText(), QStringLiteral("edit"));
    Box->LoadFromFile(dir.File("missing.txt"));
    QCOMPARE(Box->Count(), 0);
    QCOMPARE(Box->currentText(), QString());
  }

  void aFailedSaveChangesNothing() {
    AddVerses();
    TTempDir dir;
    const std::string name = dir.File("VerseHistory.txt");
    Box->SaveToFile(name);
    const std::string before = ReadFileBytes(name);
    Box->Add(1, "extra", 2.0);
    bool raised = false;
    try {
      Box->SaveToFile(dir.File("no/such/folder/VerseHistory.txt"));
    } catch (const EInOutError&) {
      raised = true;
    }
    QVERIFY(raised);
    QCOMPARE(Box->Count(), 4);
    QCOMPARE(ReadFileBytes(name), before);
  }
};

QTEST_MAIN(TBibleComboBoxTest)
#include "tbiblecombobox_test.moc"
