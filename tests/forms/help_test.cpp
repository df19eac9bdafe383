// Help: every topic and help context the program can open has a page, the pages link only to
// pages that exist, F1 opens the page of the focused control, and help opened from a modal dialog
// takes input while the dialog is open.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTabWidget>
#include <QTextBrowser>
#include <QtTest>

#include "controls/tbiblecombobox.h"
#include "controls/tbiblerichedit1.h"
#include "controls/tfoundlistbox.h"
#include "controls/tlargelistbox.h"
#include "controls/tmyspinedit.h"
#include "forms/tlistmessageform1.h"
#include "platform/thelpwindow.h"
#include "platform/winhelp.h"
#include "tests/controls/uitest.h"
#include "tests/support/mainwindowfixture.h"

namespace {

const QString Source = QStringLiteral(BIBLE_SOURCE_DIR);

QString ReadText(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(f.readAll());
}

// The program's sources, where help is opened.
QStringList SourceFiles() {
  QStringList files;
  for (const char* folder : {"forms", "platform", "controls", "app"}) {
    QDirIterator it(Source + QLatin1Char('/') + QLatin1String(folder),
                    {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files);
    while (it.hasNext()) files << it.next();
  }
  return files;
}

// Every topic name the code opens: literals handed to ShowHelpTopic or SetHelpTopic.
QSet<QString> TopicsInCode() {
  QSet<QString> topics;
  const QRegularExpression call(QStringLiteral(R"re((?:ShowHelpTopic|SetHelpTopic)\(([^;]*)\);)re"));
  const QRegularExpression literal(QStringLiteral(R"re(QStringLiteral\("([A-Za-z0-9_]+)"\))re"));
  for (const QString& file : SourceFiles()) {
    const QString text = ReadText(file);
    for (auto calls = call.globalMatch(text); calls.hasNext();) {
      const QString args = calls.next().captured(1);
      for (auto names = literal.globalMatch(args); names.hasNext();)
        topics.insert(names.next().captured(1));
    }
  }
  return topics;
}

// Every context number the code gives a control: SetHelpContext(x, N) and HelpContext = N.
QSet<int> ContextsInCode() {
  QSet<int> contexts;
  const QRegularExpression given(
      QStringLiteral(R"re(SetHelpContext\([^,;]+,\s*(\d+)\)|HelpContext\s*=\s*(\d+))re"));
  for (const QString& file : SourceFiles()) {
    for (auto m = given.globalMatch(ReadText(file)); m.hasNext();) {
      const auto match = m.next();
      contexts.insert((match.captured(1).isEmpty() ? match.captured(2) : match.captured(1)).toInt());
    }
  }
  return contexts;
}

QString Page(const QString& helpFile, const QString& topic) {
  SetHelpRoot(Source + QStringLiteral("/help"));
  return HelpPagePath(helpFile, topic);
}

// F1 to the window that has the focus.
void F1() { SendKey(Qt::Key_F1); }
QString Shown() { return QFileInfo(THelpWindow::Instance()->CurrentPage()).fileName(); }

}  // namespace

TEST(HelpPages, EveryTopicAndContextTheProgramCanOpenHasAPage) {
  const QSet<QString> topics = TopicsInCode();
  // The help button of every dialog, the menu's help and F1 in the options dialog.
  for (const char* known : {"Main", "Range", "ListMessage", "Options1", "Options2"})
    EXPECT_TRUE(topics.contains(QLatin1String(known))) << known;
  for (const QString& topic : topics)
    EXPECT_TRUE(QFileInfo::exists(Page(QStringLiteral("Bible.hlp"), topic))) << topic.toStdString();
  // The versions' topics; "GER" lives in the second help file.
  for (int v = 0; v < VersionTableSize; ++v) {
    const QString topic = QString::fromLatin1(VersionHelpTopics[v]);
    if (topic.isEmpty()) continue;
    const QString file = topic == QStringLiteral("GER") ? QStringLiteral("DIEELBERF.HLP")
                                                        : QStringLiteral("Bible.hlp");
    EXPECT_TRUE(QFileInfo::exists(Page(file, topic))) << topic.toStdString();
  }
  // Every context a control carries, and the whole table, opens a page.
  const QSet<int> contexts = ContextsInCode();
  for (int c = 1; c <= 12; ++c) EXPECT_TRUE(contexts.contains(c)) << "no control carries " << c;
  for (int c : contexts) {
    const QString topic = HelpTopicOfContext(c);
    EXPECT_FALSE(topic.isEmpty()) << c;
    EXPECT_TRUE(QFileInfo::exists(Page(QStringLiteral("Bible.hlp"), topic))) << c;
  }
  for (int c : HelpContexts())
    EXPECT_TRUE(QFileInfo::exists(Page(QStringLiteral("Bible.hlp"), HelpTopicOfContext(c)))) << c;
}

TEST(HelpPages, PagesLinkToPagesThatExistAndEachIsLinkedFromAnother) {
  const QDir root(Source + QStringLiteral("/help"));
  const QRegularExpression link(QStringLiteral(R"re(href="([^"#]+)(#[^"]*)?")re"));
  QSet<QString> pages, linked;
  QDirIterator it(root.path(), {QStringLiteral("*.html")}, QDir::Files,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) pages.insert(QFileInfo(it.next()).canonicalFilePath());
  ASSERT_GT(pages.size(), 20);
  for (const QString& page : pages) {
    const QString text = ReadText(page);
    EXPECT_TRUE(text.contains(QStringLiteral("<title>"))) << page.toStdString();
    for (auto m = link.globalMatch(text); m.hasNext();) {
      const QString target = m.next().captured(1);
      if (target.startsWith(QStringLiteral("http"))) continue;
      const QFileInfo file(QFileInfo(page).dir(), target);
      EXPECT_TRUE(file.exists()) << page.toStdString() << " -> " << target.toStdString();
      if (file.canonicalFilePath() != page) linked.insert(file.canonicalFilePath());
    }
  }
  for (const QString& page : pages)
    EXPECT_TRUE(linked.contains(page)) << "no page links to " << page.toStdString();
}

namespace {

class Help : public TMainWindowTest {
 protected:
  void SetUp() override {
    TMainWindowTest::SetUp();
    WriteSampleVersion(Dir.Path(), 4, EnglishSample());
    SetHelpRoot(Source + QStringLiteral("/help"));
    Start(true);
    Open(4, 54, 1, 1);
    Dialog = TMainWindowTest::Options.get();
  }
  void TearDown() override {
    THelpWindow::Instance()->hide();
    TMainWindowTest::TearDown();
  }
  void FocusAndF1(QWidget* control) {
    QApplication::setActiveWindow(Main.get());
    control->setFocus();
    F1();
  }
  TOptionsForm1* Dialog = nullptr;
};

}  // namespace

TEST_F(Help, F1OpensThePageOfTheFocusedControl) {
  FocusAndF1(Main->ComboBox1);
  EXPECT_EQ(Shown(), QStringLiteral("Book.html"));
  EXPECT_TRUE(THelpWindow::Instance()->isVisible());
  EXPECT_EQ(THelpWindow::Instance()->windowTitle(), QStringLiteral("Книга от Библията — помощ"));
  FocusAndF1(Main->SpinEdit2);
  EXPECT_EQ(Shown(), QStringLiteral("ChapterVerse.html"));
  FocusAndF1(Main->LargeListBox1->ComboBox);
  EXPECT_EQ(Shown(), QStringLiteral("WordList.html"));
  FocusAndF1(Main->ListBox2);
  EXPECT_EQ(Shown(), QStringLiteral("FoundVerses.html"));
  FocusAndF1(Main->BibleComboBox1);
  EXPECT_EQ(Shown(), QStringLiteral("VerseHistory.html"));
  FocusAndF1(Main->ActiveBibleForm()->BRichEdit1);
  EXPECT_EQ(Shown(), QStringLiteral("BibleWindow.html"));
  // The dictionary stays on top of the other windows; help asked for in the main window comes up
  // in front of it, and is an ordinary window again without it.
  auto onTop = [] {
    QWindow* w = THelpWindow::Instance()->windowHandle();
    return w && (w->flags() & Qt::WindowStaysOnTopHint);
  };
  EXPECT_FALSE(onTop());
  Dic->ShowDictionary();
  FocusAndF1(Main->ComboBox1);
  EXPECT_TRUE(onTop());
  Dic->hide();
  FocusAndF1(Main->ComboBox1);
  EXPECT_FALSE(onTop());
  // The dialogs carry their own numbers.
  TRangeForm1 range(Main.get());
  EXPECT_EQ(HelpTopicOf(&range), QStringLiteral("Range"));
  TListMessageForm1 warning(Main.get());
  EXPECT_EQ(HelpTopicOf(&warning), QStringLiteral("ListMessage"));
  TDic_Form1 dictionary(Main->DictionaryFolder, Main.get());
  EXPECT_EQ(HelpTopicOf(dictionary.LargeListBox1), QStringLiteral("Dictionary"));
  // A link leads to another page in the same window.
  THelpWindow* help = THelpWindow::Instance();
  help->Browser->setSource(help->Browser->source().resolved(QUrl(QStringLiteral("Keyboard.html"))));
  EXPECT_EQ(Shown(), QStringLiteral("Keyboard.html"));
  EXPECT_EQ(help->windowTitle(), QStringLiteral("Подредби на клавиатурата — помощ"));
}

TEST_F(Help, HelpFromTheOptionsDialogTakesInputWhileTheDialogIsOpen) {
  THelpWindow* help = THelpWindow::Instance();
  help->hide();
  bool acted = false;
  WhenOpen([] { return dynamic_cast<TOptionsForm1*>(QApplication::activeModalWidget()); },
           [&](QWidget* w) {
             acted = true;
             QApplication::setActiveWindow(w);
             QTest::mouseClick(Dialog->Button3, Qt::LeftButton);
             EXPECT_TRUE(help->isVisible());
             EXPECT_EQ(Shown(), QStringLiteral("Options1.html"));
             // Keys reach the help window while the dialog is up: the page scrolls.
             help->resize(400, 200);
             QApplication::setActiveWindow(help);
             QScrollBar* bar = help->Browser->verticalScrollBar();
             bar->setValue(0);
             SendKey(Qt::Key_PageDown, QString(), {}, help);
             EXPECT_GT(bar->value(), 0);
             // F1 on the second page of the dialog opens its page.
             QApplication::setActiveWindow(w);
             Dialog->PageControl1->setCurrentIndex(1);
             Dialog->CheckBox6->setFocus();
             F1();
             EXPECT_EQ(Shown(), QStringLiteral("Options2.html"));
             // The dialog goes on taking input too.
             QApplication::setActiveWindow(w);
             QTest::mouseClick(Dialog->Button2, Qt::LeftButton);
           });
  EXPECT_FALSE(Dialog->EditOptions());
  EXPECT_TRUE(acted);
  EXPECT_FALSE(Dialog->isVisible());
  // Once the dialog is gone, the help window is on its own again.
  Main->Help1Click();
  EXPECT_EQ(Shown(), QStringLiteral("Main.html"));
  EXPECT_EQ(help->windowHandle()->transientParent(), nullptr);
}
