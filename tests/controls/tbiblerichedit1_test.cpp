// The rich text view: markup, positions with CR LF, word marking by clicks, popup items, runs in
// several code pages.
#include "controls/tbiblerichedit1.h"

#include <QClipboard>
#include <QMenu>
#include <QTextBlock>
#include <QtTest>

#include "platform/codepage.h"
#include "tests/support/testversion.h"

namespace {

// "b" bold, "i" italic, "r" regular: the style of each character of the text, "\r\n" as "--".
QString Styles(TBibleRichEdit1* edit) {
  QString out;
  const std::string text = edit->Text();
  for (int t = 0; t < int(text.size()); ++t) {
    if (text[size_t(t)] == '\r' || text[size_t(t)] == '\n') {
      out += QLatin1Char('-');
      continue;
    }
    QTextCursor c(edit->document());
    c.setPosition(edit->DocPosition(t) + 1);
    const QTextCharFormat f = c.charFormat();
    out += f.fontWeight() >= QFont::Bold ? QLatin1Char('b')
           : f.fontItalic()              ? QLatin1Char('i')
                                         : QLatin1Char('r');
  }
  return out;
}

}  // namespace

class TBibleRichEdit1Test : public QObject {
  Q_OBJECT

  std::unique_ptr<TBibleRichEdit1> Edit;

  // The point in the viewport where the caret stands before the character at a text position.
  QPoint PointAt(int textPos) {
    QTextCursor c(Edit->document());
    c.setPosition(Edit->DocPosition(textPos));
    const QRect r = Edit->cursorRect(c);
    return QPoint(r.left(), r.center().y());
  }

  void Click(int textPos, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(Edit->viewport(), button, {}, PointAt(textPos));
  }

 private Q_SLOTS:
  void init() {
    Edit = std::make_unique<TBibleRichEdit1>();
    Edit->setFont(QFont(QStringLiteral("Liberation Serif"), 12));
    Edit->resize(500, 300);
    Edit->show();
    QVERIFY(QTest::qWaitForWindowExposed(Edit.get()));
  }

  void cleanup() { Edit.reset(); }

  void markup_data() {
    QTest::addColumn<QString>("font");
    QTest::addColumn<QByteArray>("title");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("styles");
    QTest::newRow("italic with MS Serif")
        << "MS Serif" << QByteArray() << QByteArray("a|b|c") << QByteArray("ab c") << "rirr";
    QTest::newRow("italic with MS Sans Serif")
        << "MS Sans Serif" << QByteArray() << QByteArray("a|b|c") << QByteArray("ab c") << "rirr";
    QTest::newRow("italic with another font")
        << "Times New Roman" << QByteArray() << QByteArray("a|b|c") << QByteArray("abc") << "rir";
    QTest::newRow("italic ends with the line")
        << "Times New Roman" << QByteArray() << QByteArray("a|b~c") << QByteArray("ab\r\nc")
        << "ri--r";
    QTest::newRow("empty line") << "Arial" << QByteArray() << QByteArray("x~~y")
                                << QByteArray("x\r\n\r\ny") << "r----r";
    QTest::newRow("title and body on one line")
        << "Arial" << QByteArray("12 ") << QByteArray("text") << QByteArray("12 text") << "bbbrrrr";
    QTest::newRow("markup in the title is text")
        << "Arial" << QByteArray("a|~b") << QByteArray("|c") << QByteArray("a|~bc") << "bbbbi";
    QTest::newRow("open italic") << "Arial" << QByteArray() << QByteArray("|x~y")
                                 << QByteArray("x\r\ny") << "i--r";
  }

  void markup() {
    QFETCH(QString, font);
    QFETCH(QByteArray, title);
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, text);
    QFETCH(QString, styles);
    Edit->setFont(QFont(font, 12));
    Edit->AddText(title.toStdString(), body.toStdString());
    QCOMPARE(QByteArray::fromStdString(Edit->Text()), text);
    QCOMPARE(Styles(Edit.get()), styles);
    QCOMPARE(Edit->TextLength(), int(text.size()));
  }

  void successiveCallsAppend() {
    Edit->AddText("1 ", "first~");
    Edit->AddText("2 ", "second|x|");
    QCOMPARE(Edit->Text(), std::string("1 first\r\n2 secondx"));
    QCOMPARE(Edit->LineCount(), 2);
    QCOMPARE(Edit->Line(1), std::string("2 secondx"));
    Edit->Clear();
    QCOMPARE(Edit->Text(), std::string());
    Edit->AddText("", "plain");
    QCOMPARE(Styles(Edit.get()), QStringLiteral("rrrrr"));
  }

  void positionsCountALineBreakAsTwo() {
    Edit->AddText("Title", "one~two|three|~~four");
    const std::string text = Edit->Text();
    QCOMPARE(text, std::string("Titleone\r\ntwothree\r\n\r\nfour"));
    for (int t = 0; t <= int(text.size()); ++t) {
      const int d = Edit->DocPosition(t);
      const bool insideBreak = t > 0 && text[size_t(t - 1)] == '\r';
      QCOMPARE(Edit->TextPosition(d), insideBreak ? t - 1 : t);
    }
    QCOMPARE(Edit->DocPosition(int(text.size()) + 50), Edit->document()->characterCount() - 1);
    // A selection across line breaks: start, length and bytes in text positions.
    Edit->SetSelection(5, 7);
    QCOMPARE(Edit->SelStart(), 5);
    QCOMPARE(Edit->SelLength(), 7);
    QCOMPARE(Edit->SelText(), std::string("one\r\ntw"));
    Edit->SetSelStart(20);
    QCOMPARE(Edit->SelStart(), 20);
    QCOMPARE(Edit->SelLength(), 0);
    Edit->SetSelLength(6);
    QCOMPARE(Edit->SelText(), text.substr(20, 6));
    // The selection's attributes change the look, never the text.
    Edit->SetSelColor(Qt::red);
    Edit->SetSelStyle(fsBold | fsUnderline);
    QCOMPARE(Edit->SelColor(), QColor(Qt::red));
    QCOMPARE(Edit->SelStyle(), uint8_t(fsBold | fsUnderline));
    QCOMPARE(Edit->Text(), text);
  }

  void aClickMarksTheWordAtTheCaret() {
    Edit->AddText("", "In the beginning God created");
    int calls = 0;
    std::string seen;
    QMenu menu;
    for (int i = 0; i < 5; ++i) menu.addAction(QString::number(i));
    Edit->SetPopupMenu(&menu);
    Edit->Enable0 = [&](const std::string& s) {
      ++calls;
      seen = s;
      return !s.empty();
    };
    Edit->Enable1 = [](const std::string& s) { return s == "God"; };

    Click(9);  // inside "beginning"
    QCOMPARE(Edit->SelText(), std::string("beginning"));
    QCOMPARE(Edit->SelStart(), 7);
    QCOMPARE(calls, 1);
    QCOMPARE(seen, std::string("beginning"));
    QVERIFY(menu.actions()[0]->isEnabled());
    QVERIFY(!menu.actions()[1]->isEnabled());

    Click(20);  // directly after "God"
    QCOMPARE(Edit->SelText(), std::string("God"));
    QVERIFY(menu.actions()[1]->isEnabled());

    Click(21);  // before "created", after a blank: nothing
    QCOMPARE(Edit->SelLength(), 0);
    QCOMPARE(Edit->SelStart(), 21);
    QVERIFY(!menu.actions()[0]->isEnabled());
    QVERIFY(!menu.actions()[1]->isEnabled());

    // A right click without a selection leaves the items as they were.
    Click(2);
    QVERIFY(menu.actions()[0]->isEnabled());
    Edit->SetSelStart(16);
    const int before = calls;
    Click(24, Qt::RightButton);
    QCOMPARE(calls, before);
    QVERIFY(menu.actions()[0]->isEnabled());
    QCOMPARE(Edit->SelLength(), 0);
    // The items after the first four are the owner's alone.
    QVERIFY(menu.actions()[4]->isEnabled());

    Edit->AutoMark = false;
    Click(9);
    QCOMPARE(Edit->SelLength(), 0);
    QCOMPARE(calls, before);
  }

  void wordsAtTheEdgesOfTheText() {
    Edit->AddText("", "Word~next line");
    Click(0);  // the caret before the first character of the text selects the word after it
    QCOMPARE(Edit->SelText(), std::string("Word"));
    Click(6);  // at the start of the second line: the character before is the line break
    QCOMPARE(Edit->SelLength(), 0);
    Click(int(Edit->Text().size()));
    QCOMPARE(Edit->SelText(), std::string("line"));
  }

  void cyrillicAndGreekRuns() {
    const std::string title = QStringToAnsi(QStringLiteral("Йоан 1:1 "));
    const std::string body = Greek("εν αρχη ην ο λογος");
    Edit->AddTextCharsets(title, body, 204, 161);
    QCOMPARE(Edit->toPlainText(), QStringLiteral("Йоан 1:1 εν αρχη ην ο λογος"));
    QCOMPARE(Edit->Text(), title + body);
    Edit->SetSelection(0, 4);
    QCOMPARE(Edit->SelCharset(), 204);
    // Clicking a Greek word with the Greek version's letters marks its windows-1253 bytes.
    Edit->Letters = VersionLetters(9);
    Click(int(title.size()) + 16);
    QCOMPARE(Edit->SelText(), Greek("λογος"));
    QCOMPARE(Edit->SelCharset(), 161);
    // Another character set shows the same bytes with other letters.
    Edit->SetSelCharset(204);
    QCOMPARE(Edit->SelText(), Greek("λογος"));
    QCOMPARE(Edit->Text(), title + body);
    QVERIFY(!Edit->toPlainText().endsWith(QStringLiteral("λογος")));
    QCOMPARE(Edit->toPlainText().right(5), DecodeBytes(Greek("λογος"), 204));
  }

  void aHiddenSelectionKeepsTheColours() {
    Edit->AddText("1 ", "In the beginning God created");
    Edit->SetSelection(9, 9);
    Edit->SetSelColor(Qt::red);
    QWidget other;
    other.show();
    other.activateWindow();
    other.setFocus();
    QTRY_VERIFY(!Edit->hasFocus());
    const QImage selected = Edit->viewport()->grab().toImage();
    Edit->SetSelStart(0);
    const QImage unselected = Edit->viewport()->grab().toImage();
    QCOMPARE(selected, unselected);
    bool red = false;
    for (int y = 0; y < selected.height() && !red; ++y)
      for (int x = 0; x < selected.width() && !red; ++x) {
        const QColor c = selected.pixelColor(x, y);
        red = c.red() > 200 && c.green() < 80 && c.blue() < 80;
      }
    QVERIFY(red);  // the coloured word shows in its colour
    Edit->SetHideSelection(false);
    Edit->SetSelection(9, 9);
    QVERIFY(Edit->viewport()->grab().toImage() != unselected);
    QCOMPARE(Edit->SelText(), std::string("beginning"));
  }

  void theLineListAndTheClipboard() {
    Edit->SetFontCharset(204);
    Edit->AppendLine(QStringToAnsi(QStringLiteral("Битие 1:1")));
    Edit->AppendLine(QStringToAnsi(QStringLiteral("Йоан 3:16")));
    QCOMPARE(Edit->Text(), QStringToAnsi(QStringLiteral("Битие 1:1\r\nЙоан 3:16\r\n")));
    QCOMPARE(Edit->LineCount(), 2);
    QCOMPARE(Edit->Line(0), QStringToAnsi(QStringLiteral("Битие 1:1")));
    // Select all but the closing line break and copy, as the found-verse list is copied.
    Edit->SelectAll();
    Edit->SetSelLength(Edit->SelLength() - 2);
    Edit->CopyToClipboard();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Битие 1:1\nЙоан 3:16"));
    QVERIFY(QGuiApplication::clipboard()->mimeData()->hasHtml());
  }
};

QTEST_MAIN(TBibleRichEdit1Test)
#include "tbiblerichedit1_test.moc"
