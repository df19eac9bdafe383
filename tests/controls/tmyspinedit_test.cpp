// The spin edit as a user drives it: arrow keys, its buttons, typing, leaving the box.
#include "controls/tmyspinedit.h"

#include <QClipboard>
#include <QLineEdit>
#include <QtTest>

#include "platform/beep.h"

class TMySpinEditTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QWidget> Window;
  TMySpinEdit* Spin = nullptr;
  QLineEdit* Other = nullptr;
  int Changes = 0;
  int Beeps = 0;

  // The chapter box of the main window: "up" leads towards the beginning of the book.
  void MakeChapterBox() {
    Spin->SetAutoSelect(false);
    Spin->SetIncrement(-1);
    Spin->SetMinValue(1);
    Spin->SetMaxValue(150);
    Spin->SetValue(5);
    Changes = 0;
  }

 private Q_SLOTS:
  void init() {
    Window = std::make_unique<QWidget>();
    Spin = new TMySpinEdit(Window.get());
    Other = new QLineEdit(Window.get());
    Spin->setGeometry(10, 10, 80, Spin->sizeHint().height());
    Other->setGeometry(10, 60, 80, 24);
    Changes = 0;
    Beeps = 0;
    Spin->OnChange = [this](QObject*) { ++Changes; };
    SetBeepHandler([this] { ++Beeps; });
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    Spin->setFocus();
  }

  void cleanup() {
    Window.reset();
    SetBeepHandler(nullptr);
  }

  void startsAtZeroWithoutARange() {
    QCOMPARE(Spin->Text(), QStringLiteral("0"));
    // MinValue = MaxValue = 0: no range at all.
    QTest::keyClick(Spin, Qt::Key_Down);
    QTest::keyClick(Spin, Qt::Key_Down);
    QCOMPARE(Spin->Value(), -2);
    Spin->SetValue(100000);
    QCOMPARE(Spin->Text(), QStringLiteral("100000"));
    QCOMPARE(Changes, 3);
  }

  void negativeIncrementTurnsTheArrows() {
    MakeChapterBox();
    QTest::keyClick(Spin, Qt::Key_Up);
    QCOMPARE(Spin->Value(), 4);
    QTest::keyClick(Spin, Qt::Key_Down);
    QTest::keyClick(Spin, Qt::Key_Down);
    QCOMPARE(Spin->Value(), 6);
    QCOMPARE(Changes, 3);
    // The buttons do the same: the upper one decreases.
    QTest::mouseClick(Spin, Qt::LeftButton, {}, Spin->UpButtonRect().center());
    QCOMPARE(Spin->Value(), 5);
    QTest::mouseClick(Spin, Qt::LeftButton, {}, Spin->DownButtonRect().center());
    QTest::mouseClick(Spin, Qt::LeftButton, {}, Spin->DownButtonRect().center());
    QCOMPARE(Spin->Value(), 7);
    QCOMPARE(Changes, 6);
  }

  void theRangeEventsTakeOver() {
    MakeChapterBox();
    Spin->FixValue(1);
    QTest::keyClick(Spin, Qt::Key_Up);
    QCOMPARE(Spin->Value(), 1);
    QCOMPARE(Changes, 0);  // the text did not change

    // The verse box: below the first verse it goes to the last verse of the previous chapter.
    int mins = 0;
    Spin->OnMin = [&] {
      ++mins;
      Spin->FixValue(31);
    };
    QTest::keyClick(Spin, Qt::Key_Up);
    QCOMPARE(mins, 1);
    QCOMPARE(Spin->Text(), QStringLiteral("31"));
    QCOMPARE(Changes, 0);  // FixValue in the handler, and the set value equals it

    int maxes = 0;
    Spin->OnMax = [&] { ++maxes; };
    Spin->FixValue(150);
    QTest::keyClick(Spin, Qt::Key_Down);
    QCOMPARE(maxes, 1);
    QCOMPARE(Spin->Value(), 150);  // what the handler left
  }

  void leavingBringsATypedNumberIntoTheRange() {
    MakeChapterBox();
    Spin->Edit()->selectAll();
    QTest::keyClicks(Spin, "200");
    QCOMPARE(Spin->Text(), QStringLiteral("200"));
    Other->setFocus();
    QCOMPARE(Spin->Text(), QStringLiteral("150"));
    QCOMPARE(Changes, 4);  // "2", "20", "200", "150"

    int maxes = 0;
    Spin->OnMax = [&] {
      ++maxes;
      Spin->FixValue(1);
    };
    Spin->setFocus();
    Spin->Edit()->selectAll();
    QTest::keyClicks(Spin, "999");
    Other->setFocus();
    QCOMPARE(maxes, 1);
    QCOMPARE(Spin->Text(), QStringLiteral("1"));
  }

  void invalidCharactersBeep() {
    MakeChapterBox();
    QTest::keyClick(Spin, Qt::Key_End);
    QTest::keyClicks(Spin, "a!");
    QCOMPARE(Spin->Text(), QStringLiteral("5"));
    QCOMPARE(Beeps, 2);
    // Enter reaches OnKeyDown, then is refused as a character.
    int downs = 0;
    Spin->OnKeyDown = [&](QObject*, int& key, Qt::KeyboardModifiers) {
      downs += key == Qt::Key_Return;
    };
    QTest::keyClick(Spin, Qt::Key_Return);
    QCOMPARE(downs, 1);
    QCOMPARE(Beeps, 3);
    QTest::keyClicks(Spin, "-1");
    QCOMPARE(Spin->Text(), QStringLiteral("5-1"));
    QCOMPARE(Beeps, 3);
    // Deleting is no character and never beeps.
    QTest::keyClick(Spin, Qt::Key_Home);
    QTest::keyClick(Spin, Qt::Key_Delete);
    QCOMPARE(Spin->Text(), QStringLiteral("-1"));
    QCOMPARE(Beeps, 3);
  }

  void aTextThatIsNoNumberReadsAsMinValue() {
    MakeChapterBox();
    Spin->Edit()->clear();
    QCOMPARE(Spin->Value(), 1);
    Spin->Edit()->setText(QStringLiteral("5-1"));
    QCOMPARE(Spin->Value(), 1);
    Spin->Edit()->setText(QStringLiteral("99999999999"));
    QCOMPARE(Spin->Value(), 1);
    Spin->Edit()->setText(QStringLiteral("+7"));
    QCOMPARE(Spin->Value(), 7);
  }

  void fixValueSkipsOnChangeAndTheRange() {
    MakeChapterBox();
    Spin->FixValue(200);
    QCOMPARE(Spin->Text(), QStringLiteral("200"));
    QCOMPARE(Changes, 0);
    QVERIFY(Spin->OnChange);  // put back after the change
    Spin->SetValue(200);
    QCOMPARE(Spin->Text(), QStringLiteral("150"));
    QCOMPARE(Changes, 1);
  }

  void disabledEditorAndReadOnly() {
    MakeChapterBox();
    Spin->SetEditorEnabled(false);
    QTest::keyClicks(Spin, "7");
    QTest::keyClick(Spin, Qt::Key_Backspace);
    QCOMPARE(Spin->Text(), QStringLiteral("5"));
    QCOMPARE(Beeps, 2);
    QGuiApplication::clipboard()->setText(QStringLiteral("77"));
    QTest::keyClick(Spin, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Spin->Text(), QStringLiteral("5"));
    // The arrows still step.
    QTest::keyClick(Spin, Qt::Key_Down);
    QCOMPARE(Spin->Value(), 6);

    Spin->SetEditorEnabled(true);
    Spin->SetReadOnly(true);
    QTest::keyClick(Spin, Qt::Key_Down);
    QTest::mouseClick(Spin, Qt::LeftButton, {}, Spin->UpButtonRect().center());
    QCOMPARE(Spin->Value(), 6);
    QCOMPARE(Beeps, 4);
  }

  void autoSelectOnlyByKeyboard() {
    Spin->SetValue(42);
    Other->setFocus();
    QTest::keyClick(Other, Qt::Key_Tab, Qt::ShiftModifier);
    QVERIFY(Spin->hasFocus());
    QCOMPARE(Spin->Edit()->selectedText(), QStringLiteral("42"));
    Other->setFocus();
    QTest::mouseClick(Spin->Edit(), Qt::LeftButton, {}, QPoint(4, Spin->Edit()->height() / 2));
    QVERIFY(Spin->hasFocus());
    QCOMPARE(Spin->Edit()->selectedText(), QString());

    Spin->SetAutoSelect(false);
    Other->setFocus();
    QTest::keyClick(Other, Qt::Key_Tab, Qt::ShiftModifier);
    QVERIFY(Spin->hasFocus());
    QCOMPARE(Spin->Edit()->selectedText(), QString());
  }

  void textNeverRunsUnderTheButtons() {
    Spin->resize(60, Spin->height());
    QVERIFY(Spin->Edit()->geometry().right() < Spin->UpButtonRect().left());
    QVERIFY(Spin->UpButtonRect().bottom() < Spin->DownButtonRect().bottom());
    QVERIFY(Spin->sizeHint().width() >
            Spin->fontMetrics().horizontalAdvance(QStringLiteral("150")));
  }
};

QTEST_MAIN(TMySpinEditTest)
#include "tmyspinedit_test.moc"
