// The main window's exchange with other programs over generated versions: the items that another
// program pokes and requests, the clipboard watching, and the link to the on-top viewer (the
// project's own viewer, served on the test's session bus).

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QTextEdit>
#include <fstream>

#include "controls/tbiblerichedit1.h"
#include "controls/tmyspinedit.h"
#include "platform/ddeserver.h"
#include "tests/controls/uitest.h"
#include "tests/support/mainwindowfixture.h"
#include "tools/beacon/tbeaconform1.h"

namespace {

struct TShown {
  int Book, Chapter, Verse;
  bool operator==(const TShown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TShown& p) {
  return out << p.Book << " " << p.Chapter << ":" << p.Verse;
}

TShown PlaceOf(const TBibleForm1* f) { return {f->Book, f->Chapter, f->Verse}; }

class Exchange : public TMainWindowTest {
 protected:
  void SetUp() override {
    TMainWindowTest::SetUp();
    WriteSampleVersion(Dir.Path(), 4, EnglishSample());
    WriteSampleVersion(Dir.Path(), 0, BulgarianSample());
    QGuiApplication::clipboard()->clear();
  }
  TMainForm1& Start() {
    TMainWindowTest::Start();
    // Joining the clipboard chain tells of the clipboard once, while no window is open.
    QCoreApplication::processEvents();
    return *Main;
  }
  // The English window active, the Bulgarian one beside it, both at Genesis 1:1.
  void TwoWindows() {
    Start();
    ASSERT_TRUE(Open(0, 1, 1, 1));
    ASSERT_TRUE(Open(4, 1, 1, 1));
  }
  std::vector<TShown> Places() const {
    std::vector<TShown> places;
    for (TBibleForm1* f : Main->BibleForms()) places.push_back(PlaceOf(f));
    return places;
  }
  QString Poke(const char* item, const QString& data) {
    return Main->DdeServerConv1->PokeData(QString::fromLatin1(item), data);
  }
  QString VerseValue() const { return Main->DdeServerConv1->Value(QStringLiteral("SetVerse")); }
  static void Copy(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QCoreApplication::processEvents();
  }
};

const std::vector<TShown> At(TShown p) { return {p, p}; }

// Waits for the condition while the events are delivered; false when it did not come true.
template <class F>
bool WaitFor(F condition, int ms = 5000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition() && timer.elapsed() < ms) QTest::qWait(10);
  return condition();
}

// The viewer's own connection to the session bus, as it has in a process of its own.
QDBusConnection ViewerBus() {
  return QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("viewer"));
}

}  // namespace

TEST_F(Exchange, ServiceIsNamedAfterTheExecutable) {
  // The test executable's name; a name with a dot keeps what is before it.
  EXPECT_EQ(TMainForm1::ExchangeServiceName(), QStringLiteral("exchange_test"));
}

TEST_F(Exchange, SetBookWithAWholeReferenceMovesAllWindowsAndHoldsTheVerse) {
  TwoWindows();
  EXPECT_EQ(Poke("SetBook", QStringLiteral("John 3:16")), QString());
  EXPECT_EQ(Places(), At({54, 3, 16}));
  EXPECT_EQ(VerseValue(), QStringLiteral("16 For God so loved the world, that he gave his only "
                                         "begotten Son, that whosoever believeth in him should "
                                         "not perish, but have everlasting life."));
  // A book name alone: its first chapter and verse.
  Poke("SetBook", QStringLiteral("Psalms"));
  EXPECT_EQ(Places(), At({22, 1, 1}));
  EXPECT_TRUE(VerseValue().startsWith(QStringLiteral("1 Blessed is the man")));
  // A text that is no reference moves nothing; the item holds the verse shown.
  Poke("SetBook", QStringLiteral("hello"));
  EXPECT_EQ(Places(), At({22, 1, 1}));
  EXPECT_TRUE(VerseValue().startsWith(QStringLiteral("1 Blessed")));
}

TEST_F(Exchange, SetBookInBulgarianOnTheBulgarianWindow) {
  TwoWindows();
  Main->MdiArea->setActiveSubWindow(Main->BibleForms().back()->SubWindow());
  ASSERT_EQ(Main->CurrentBible()->VersionIndex, 0);
  Poke("SetBook", QStringLiteral("Йоан 3:16"));
  EXPECT_EQ(Places(), At({54, 3, 16}));
  EXPECT_EQ(VerseValue(), QStringLiteral("16 Защото Бог толкова възлюби света, че даде Своя Единороден Син."));
}

TEST_F(Exchange, SetChapterAndSetVerseAreTakenAsTheSpinEditsTakeThem) {
  TwoWindows();
  Poke("SetBook", QStringLiteral("John 1:5"));
  const QString verse = VerseValue();
  // A chapter beyond the book: the last one; "SetVerse" keeps its value.
  Poke("SetChapter", QStringLiteral("999"));
  EXPECT_EQ(Places(), At({54, 3, 5}));
  EXPECT_EQ(VerseValue(), verse);
  Poke("SetChapter", QStringLiteral("99999999999999999999"));
  EXPECT_EQ(Places(), At({54, 3, 5}));
  Poke("SetChapter", QStringLiteral("-4"));
  EXPECT_EQ(Places(), At({54, 1, 5}));
  Poke("SetChapter", QStringLiteral(" 2 "));
  EXPECT_EQ(Places(), At({54, 2, 5}));
  // The verse, reduced to the chapter's count; a text that is no number is verse 1.
  Poke("SetVerse", QStringLiteral("1000"));
  EXPECT_EQ(Places(), At({54, 2, 25}));
  EXPECT_TRUE(VerseValue().startsWith(QStringLiteral("25 ")));
  Poke("SetVerse", QStringLiteral("abc"));
  EXPECT_EQ(Places(), At({54, 2, 1}));
  EXPECT_TRUE(VerseValue().startsWith(QStringLiteral("1 ")));
  EXPECT_EQ(Main->SpinEdit2->Text(), QStringLiteral("1"));
}

TEST_F(Exchange, BadPokesMoveNothingAndGetErrors) {
  TwoWindows();
  Poke("SetBook", QStringLiteral("John 3:16"));
  const QString megabyte(1 << 20, QLatin1Char('7'));
  EXPECT_EQ(Poke("SetBook", megabyte), QLatin1String(TDdeServerConv::TooLongError));
  EXPECT_EQ(Poke("SetChapter", megabyte), QLatin1String(TDdeServerConv::TooLongError));
  EXPECT_EQ(Poke("Nothing", QStringLiteral("1")), QLatin1String(TDdeServerConv::UnknownItemError));
  EXPECT_EQ(Poke("", QString()), QLatin1String(TDdeServerConv::UnknownItemError));
  EXPECT_EQ(Places(), At({54, 3, 16}));
  // Empty texts and a text of control characters and odd letters.
  Poke("SetBook", QString());
  Poke("SetBook", QStringLiteral("\x01\x02\t\r\n\u2028\U0001F600"));
  EXPECT_EQ(Places(), At({54, 3, 16}));
  // A thousand pokes in a burst end where the last one says.
  // (The last two: verse 39 of chapter 3, the last there, then chapter 0, the first.)
  for (int k = 1; k <= 1000; ++k) Poke(k % 2 ? "SetVerse" : "SetChapter", QString::number(k % 40));
  EXPECT_EQ(Places(), At({54, 1, 36}));
  Poke("SetVerse", QStringLiteral("3"));
  EXPECT_EQ(Places(), At({54, 1, 3}));
}

TEST_F(Exchange, PokesWithoutABibleWindowAreIgnored) {
  TMainForm1& m = Start();
  EXPECT_EQ(Poke("SetBook", QStringLiteral("John 3:16")), QString());
  Poke("SetChapter", QStringLiteral("2"));
  Poke("SetVerse", QStringLiteral("2"));
  EXPECT_EQ(m.CurrentBible(), nullptr);
  EXPECT_EQ(m.ComboBox1->currentText(), QString());
  EXPECT_EQ(VerseValue(), QStringLiteral("2"));  // the last text poked
}

TEST_F(Exchange, ACopiedReferenceMovesEveryWindow) {
  TwoWindows();
  Copy(QStringLiteral("John 3:16"));
  EXPECT_EQ(Places(), At({54, 3, 16}));
  // Numbers without a book keep the book; a time of day is such a text.
  Copy(QStringLiteral("2:5"));
  EXPECT_EQ(Places(), At({54, 2, 5}));
  Copy(QStringLiteral("12:30"));
  EXPECT_EQ(Places(), At({54, 3, 30}));
  // A text that is no reference, one character, binary contents: nothing moves.
  Copy(QStringLiteral("hello"));
  Copy(QStringLiteral("7"));
  auto* binary = new QMimeData;
  binary->setData(QStringLiteral("image/png"), QByteArray("\x89PNG\r\n\x1a\n\0\0", 10));
  QGuiApplication::clipboard()->setMimeData(binary);
  QCoreApplication::processEvents();
  EXPECT_EQ(Places(), At({54, 3, 30}));
}

TEST_F(Exchange, OnlyTextsOfTwoTo99CharactersAreExamined) {
  TwoWindows();
  const QString tail = QStringLiteral(" 3:16");
  Copy(QStringLiteral("John") + QString(99 - 4 - tail.size(), QLatin1Char(' ')) + tail);
  EXPECT_EQ(Places(), At({54, 3, 16}));
  Copy(QStringLiteral("Psalms") + QString(100 - 6 - 4, QLatin1Char(' ')) + QStringLiteral(" 2:3"));
  EXPECT_EQ(Places(), At({54, 3, 16}));
  Copy(QString(1 << 20, QLatin1Char('1')));
  EXPECT_EQ(Places(), At({54, 3, 16}));
  Copy(QStringLiteral("12"));
  EXPECT_EQ(Places(), At({54, 1, 12}));
}

TEST_F(Exchange, WithCheckClipboardOffOrNoWindowNothingMoves) {
  Start();
  Copy(QStringLiteral("John 3:16"));  // before any window: ignored
  ASSERT_TRUE(Open(0, 1, 1, 1));
  ASSERT_TRUE(Open(4, 1, 1, 1));
  EXPECT_EQ(Places(), At({1, 1, 1}));
  Main->Settings.CheckClipboard = false;
  Copy(QStringLiteral("John 3:16"));
  EXPECT_EQ(Places(), At({1, 1, 1}));
  Main->Settings.CheckClipboard = true;
  Copy(QStringLiteral("Psalms 2:3"));
  EXPECT_EQ(Places(), At({22, 2, 3}));
}

TEST_F(Exchange, TheProgramsOwnCopyDoesNotMakeItJump) {
  TwoWindows();
  Main->show();
  Poke("SetBook", QStringLiteral("John 3:16"));
  TBibleForm1* f = Main->ActiveBibleForm();
  // A click on the heading's first word selects it: the book's name, a reference to its first
  // verse if it were followed.
  TBibleRichEdit1& view = *f->BRichEdit1;
  QTextCursor at(view.document());
  at.setPosition(1);
  const QPoint word = view.cursorRect(at).center();
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, word);
  ASSERT_EQ(view.SelText(), "John");
  ASSERT_TRUE(f->BRichEdit1Enable2(view.SelText()));
  // "Копирай", the popup's first item.
  bool chosen = false;
  WhenOpen([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); },
           [&chosen](QWidget* w) {
             auto* menu = static_cast<QMenu*>(w);
             QAction* copy = menu->actions().value(0);
             if (!copy || !copy->isEnabled()) {
               menu->close();
               return;
             }
             chosen = true;
             QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(copy).center());
           });
  QContextMenuEvent event(QContextMenuEvent::Mouse, word, view.viewport()->mapToGlobal(word));
  QApplication::sendEvent(view.viewport(), &event);
  ASSERT_TRUE(chosen);
  QCoreApplication::processEvents();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("John"));
  EXPECT_EQ(Places(), At({54, 3, 16}));
  EXPECT_TRUE(Main->Settings.CheckClipboard);
}

TEST_F(Exchange, SavedViewerLinkIsRestoredAtStart) {
  if (!QDBusConnection::sessionBus().isConnected()) GTEST_SKIP() << "no session bus";
  TBeaconForm1 beacon;
  ASSERT_TRUE(beacon.Register(ViewerBus()));
  std::ofstream(Dir.File("bible.ini"), std::ios::binary)
      << "[MainWindow]\r\nIsBeacon=1\r\nPlaySound=0\r\nMDIChildCount=1\r\n"
         "[Bible0]\r\nBibleHndl=4\r\nBook=54\r\nChapter=3\r\nVerse=16\r\n";
  TMainForm1& m = Start();
  m.FormShow();
  EXPECT_TRUE(m.ViewerLinked);
  EXPECT_TRUE(WaitFor([&] { return beacon.MarkStart() >= 0; }));
  EXPECT_EQ(beacon.windowTitle(), QStringLiteral("King James Version"));
  const QString marked = beacon.Memo1->toPlainText().mid(
      beacon.Memo1->extraSelections().value(0).cursor.selectionStart(),
      beacon.Memo1->extraSelections().value(0).cursor.selectionEnd() -
          beacon.Memo1->extraSelections().value(0).cursor.selectionStart());
  EXPECT_TRUE(marked.startsWith(QStringLiteral("16 For God so loved"))) << marked.toStdString();
  EXPECT_TRUE(marked.endsWith(QStringLiteral("everlasting life."))) << marked.toStdString();
  m.close();
  EXPECT_TRUE(Ini->ReadBool("MainWindow", "IsBeacon", false));
}

TEST_F(Exchange, ViewerGetsTheTextOnAChapterChangeAndOnlyPositionsOnAVerseChange) {
  if (!QDBusConnection::sessionBus().isConnected()) GTEST_SKIP() << "no session bus";
  TwoWindows();
  Poke("SetBook", QStringLiteral("John 3:16"));
  // Nothing is linked while no viewer runs.
  Main->ViewWindow1Click();
  EXPECT_FALSE(Main->ViewerLinked);

  auto beacon = std::make_unique<TBeaconForm1>();
  QStringList received;
  beacon->DdeServerConv1->OnPokeData = [&](const QString& item, const QString& data) {
    received << item;
    beacon->PokeData(item, data);
  };
  ASSERT_TRUE(beacon->Register(ViewerBus()));
  Main->ViewWindow1Click();
  ASSERT_TRUE(Main->ViewerLinked);
  const QStringList text = {"SetCaption", "SetFont", "SetFontSize", "SetFontCharSet", "SetText"};
  const QStringList positions = {"GoToPos", "GoToPos"};
  EXPECT_TRUE(WaitFor([&] { return received == text + positions; })) << received.join(' ').toStdString();
  const TBibleForm1* f = Main->ActiveBibleForm();
  EXPECT_EQ(beacon->MarkStart(), f->VerseStart[16]);
  EXPECT_EQ(beacon->MarkEnd(), f->VerseStart[17] - 2);

  received.clear();
  Main->SpinEdit2->SetValue(17);
  EXPECT_TRUE(WaitFor([&] { return received == positions; })) << received.join(' ').toStdString();
  received.clear();
  Poke("SetChapter", QStringLiteral("2"));
  EXPECT_TRUE(WaitFor([&] { return received == text + positions; })) << received.join(' ').toStdString();
  received.clear();
  // Activating the other window shows its place (its two positions), then sends its own text
  // and positions.
  Main->MdiArea->setActiveSubWindow(Main->BibleForms().back()->SubWindow());
  EXPECT_TRUE(WaitFor([&] { return received == positions + text + positions; }))
      << received.join(' ').toStdString();
  EXPECT_EQ(beacon->windowTitle(), QStringLiteral("Издание 2000 г."));

  // A reference copied elsewhere asks the linked viewer to come forward.
  QStringList commands;
  beacon->DdeServerConv1->OnExecuteMacro = [&](const QString& command) {
    commands << command;
    return beacon->ExecuteMacro(command);
  };
  // (The Bulgarian window is active: the English name finds its own Psalms.)
  Copy(QStringLiteral("Psalms 2:3"));
  EXPECT_TRUE(WaitFor([&] { return commands == QStringList{QStringLiteral("Restore")}; }))
      << commands.join(' ').toStdString();
  EXPECT_EQ(Places(), At({22, 2, 3}));
  // So does the menu item while the link is open.
  Main->ViewWindow1->trigger();
  EXPECT_TRUE(WaitFor([&] { return commands.size() == 2; }));

  // The viewer quits: the link closes, and nothing more is sent.
  beacon.reset();
  EXPECT_TRUE(WaitFor([&] { return !Main->ViewerLinked; }));
  Poke("SetVerse", QStringLiteral("2"));
}

TEST(Beacon, MarksTheRangeBetweenTwoPositionsAndSurvivesBadPokes) {
  TBeaconForm1 beacon;
  beacon.PokeData(QStringLiteral("SetText"), QStringLiteral("John 3\r\n\r\n1 First.\r\n2 Second."));
  // "2 Second." lies at 20..29 in the poked text (CR LF counted twice), 17..26 in the view.
  beacon.PokeData(QStringLiteral("GoToPos"), QStringLiteral("20"));
  beacon.PokeData(QStringLiteral("GoToPos"), QStringLiteral("29"));
  EXPECT_EQ(beacon.MarkStart(), 20);
  EXPECT_EQ(beacon.MarkEnd(), 29);
  const QTextCursor mark = beacon.Memo1->extraSelections().value(0).cursor;
  EXPECT_EQ(mark.selectedText(), QStringLiteral("2 Second."));
  for (const char* item : {"GoToPos", "SetFontSize", "SetFontCharSet", "SetFont", "SetCaption", "Nothing"})
    for (const QString& data : {QString(), QStringLiteral("-5"), QStringLiteral("99999999999999"),
                                QStringLiteral("abc"), QString(100000, QLatin1Char('x'))})
      beacon.PokeData(QString::fromLatin1(item), data);
  EXPECT_LE(beacon.MarkEnd(), 29);
  EXPECT_GE(beacon.FontCharset(), 0);
  EXPECT_LE(beacon.FontCharset(), 255);
  EXPECT_FALSE(beacon.ExecuteMacro(QStringLiteral("Format C:")));
  EXPECT_TRUE(beacon.ExecuteMacro(QStringLiteral("Restore")));
  EXPECT_TRUE(beacon.isVisible());
}
