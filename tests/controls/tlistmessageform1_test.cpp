// The list-size warning: when it shows, its buttons, the limit, the help page.
#include "forms/tlistmessageform1.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextEdit>
#include <QtTest>
#include <fstream>

#include "controls/tbiblecombobox.h"
#include "platform/thelpwindow.h"
#include "platform/winhelp.h"
#include "tests/controls/uitest.h"
#include "tests/support/testversion.h"

class TListMessageForm1Test : public QObject {
  Q_OBJECT

  std::unique_ptr<TBibleComboBox> Box;
  std::unique_ptr<TListMessageForm1> Form;

  void Fill(int n) {
    for (int i = 0; i < n; ++i) Box->Insert(i, uint16_t(i), "v" + std::to_string(i), 45000.0 + i);
  }

  // Runs CheckList; when the dialog opens, act on it (it must close it) and note that it opened.
  bool CheckListAnd(std::function<void()> act) {
    bool shown = false;
    QPointer<QTimer> timer = WhenOpen([this] { return Form.get(); },
                                      [&shown, act](QWidget*) {
                                        shown = true;
                                        act();
                                      });
    Form->CheckList(Box.get(), QStringLiteral("отваряните стихове"));
    // The timer of a dialog that never opened must not act on a later one.
    delete timer.data();
    return shown;
  }

 private Q_SLOTS:
  void init() {
    Box = std::make_unique<TBibleComboBox>();
    Form = std::make_unique<TListMessageForm1>();
  }

  void cleanup() {
    Form.reset();
    Box.reset();
  }

  void aListUpToTheLimitShowsNothing() {
    Fill(200);
    QVERIFY(!CheckListAnd([this] { Form->reject(); }));
    QCOMPARE(Form->Edit1->text(), QStringLiteral("200"));
    QCOMPARE(Box->Count(), 200);
  }

  void overTheLimitTheDialogWarnsAndCanDelete() {
    Fill(201);
    QString message;
    QVERIFY(CheckListAnd([&] {
      message = Form->Memo1->toPlainText();
      QTest::mouseClick(Form->Button1, Qt::LeftButton);
    }));
    QCOMPARE(message, QStringLiteral("Списъка с отваряните стихове съдържа вече 201 елемента. "
                                     "Големият брой елементи ще води до забавяне. "
                                     "Препоръчително е да бъде изтрит."));
    QCOMPARE(Box->Count(), 0);
    QCOMPARE(Form->windowTitle(), QStringLiteral("Библията"));
  }

  void closingTakesAValidLimitOver() {
    Fill(201);
    QVERIFY(CheckListAnd([this] {
      Form->Edit1->setText(QStringLiteral("500"));
      QTest::mouseClick(Form->Button2, Qt::LeftButton);  // "Добре"
    }));
    QCOMPARE(Form->ListLimit, 500);
    QCOMPARE(Box->Count(), 201);
    QVERIFY(!CheckListAnd([this] { Form->reject(); }));

    Fill(400);
    QVERIFY(CheckListAnd([this] {
      Form->Edit1->setText(QStringLiteral("много"));
      QTest::keyClick(Form.get(), Qt::Key_Escape);  // closing by any way
    }));
    QCOMPARE(Form->ListLimit, 500);
  }

  void helpOpensTheListMessagePage() {
    TTempDir dir;
    const std::string folder = dir.Path() + "Bible";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/ListMessage.html")
        << "<html><body><p>Помощ за списъка</p></body></html>";
    SetHelpRoot(QString::fromStdString(dir.Path()));
    Fill(201);
    QVERIFY(CheckListAnd([this] {
      QTest::mouseClick(Form->Button3, Qt::LeftButton);
      Form->accept();
    }));
    THelpWindow* help = THelpWindow::Instance();
    QVERIFY(help->isVisible());
    QCOMPARE(help->CurrentPage(), QString::fromStdString(folder + "/ListMessage.html"));
    QVERIFY(help->Browser->toPlainText().contains(QStringLiteral("Помощ за списъка")));
    // The context number of the dialog leads to the same page; an unknown topic to a note.
    QCOMPARE(HelpTopicOfContext(TListMessageForm1::HelpContext), QStringLiteral("ListMessage"));
    ShowHelpTopic(QStringLiteral("Липсваща"));
    QVERIFY(help->Browser->toPlainText().contains(QStringLiteral("Липсваща")));
    QCOMPARE(HelpPagePath(QStringLiteral("Bible.hlp"), QStringLiteral("../etc/passwd")), QString());
    QCOMPARE(HelpFolder(QStringLiteral("DIEELBERF.HLP")),
             QString::fromStdString(dir.Path()) + QStringLiteral("DIEELBERF/"));
    help->close();
    SetHelpRoot(QString());
  }
};

QTEST_MAIN(TListMessageForm1Test)
#include "tlistmessageform1_test.moc"
