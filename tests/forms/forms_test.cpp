// The main window and the Bible windows over generated versions: the chapter text in the view,
// navigation, version switching with its history files, reopening and saving the windows.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "controls/fontconvert.h"
#include "controls/tbiblecombobox.h"
#include "controls/tbiblerichedit1.h"
#include "controls/tfoundlistbox.h"
#include "controls/tlargelistbox.h"
#include "controls/tmyspinedit.h"
#include "core/ansi.h"
#include "core/bibleunit.h"
#include "core/chapterbuilder.h"
#include "core/cp1251.h"
#include "forms/tlogoform1.h"
#include "platform/thelpwindow.h"
#include "platform/winhelp.h"
#include "tests/controls/uitest.h"
#include "tests/support/mainwindowfixture.h"

namespace fs = std::filesystem;

namespace {

// A data root with the English (4), Bulgarian (0) and Greek (9) samples.
class Forms : public TMainWindowTest {
 protected:
  void SetUp() override {
    TMainWindowTest::SetUp();
    WriteSampleVersion(Dir.Path(), 4, EnglishSample());
    WriteSampleVersion(Dir.Path(), 0, BulgarianSample());
    WriteSampleVersion(Dir.Path(), 9, GreekSample());
  }
};

}  // namespace

TEST_F(Forms, FirstStartShowsOnlyTheMenusOfInstalledVersions) {
  TMainForm1& m = Start();
  EXPECT_TRUE(m.Version[4]->isVisible());
  EXPECT_TRUE(m.Version[0]->isVisible());
  EXPECT_FALSE(m.Version[5]->isVisible());
  EXPECT_TRUE(m.N3->isVisible());
  EXPECT_FALSE(m.Dictionary1->isVisible());
  EXPECT_FALSE(m.Goto1->menuAction()->isVisible());
  EXPECT_FALSE(m.Options1->isVisible());
  EXPECT_TRUE(m.Panel3->isHidden());
  for (uint8_t flag : m.Search.BookSet) EXPECT_EQ(flag, 1);
  EXPECT_TRUE(m.Settings.CheckClipboard);
  EXPECT_TRUE(m.Settings.AutoKeybd);
  EXPECT_EQ(m.Settings.ViewOptions, 0x00010000);
  m.ReopenWindows();
  EXPECT_TRUE(m.BibleForms().empty());
}

TEST_F(Forms, ChapterTextInTheViewMatchesTheBuilder) {
  Start();
  TBibleForm1* f = Open(4, 1, 1, 3);
  ASSERT_TRUE(f);
  TChapterText t;
  ASSERT_TRUE(BuildChapterText(*f->Bible, 1, 1, TChapterOptions{}, t));
  EXPECT_EQ(f->VerseStart, t.VerseStart);
  const std::string text = f->BRichEdit1->Text();
  EXPECT_EQ(int32_t(text.size()), t.Length);
  EXPECT_EQ(text.substr(0, t.Heading.size() + 4), t.Heading + "\r\n\r\n");
  EXPECT_EQ(f->ActiveVerseText(), "3 " + ReadVerseAt(*f->Bible, 1, 1, 3));
  // The heading is bold, the active verse green, the others black.
  f->BRichEdit1->SetSelection(1, 1);
  EXPECT_TRUE(f->BRichEdit1->SelStyle() & fsBold);
  f->BRichEdit1->SetSelection(f->VerseStart[3] + 4, 1);
  EXPECT_EQ(FromQColor(f->BRichEdit1->SelColor()), Main->Settings.CurrentVerseColor);
  f->BRichEdit1->SetSelection(f->VerseStart[4] + 4, 1);
  EXPECT_EQ(FromQColor(f->BRichEdit1->SelColor()), 0u);
  EXPECT_EQ(f->VerseAt(2), 32);  // in the heading: the verse count + 1
  EXPECT_EQ(f->VerseAt(f->VerseStart[7] + 1), 7);
}

TEST_F(Forms, MovingInsideTheChapterRecoloursWithoutRebuilding) {
  Start();
  TBibleForm1* f = Open(4, 1, 1, 3);
  ASSERT_TRUE(f);
  f->BRichEdit1->AppendLine("marker");  // survives only while the text is kept
  Main->Search.MarkWords = {"god", "the"};
  f->DisplayVerse(1, 1, 1);
  EXPECT_NE(f->BRichEdit1->Text().find("marker"), std::string::npos);
  f->BRichEdit1->SetSelection(f->VerseStart[3] + 4, 1);
  EXPECT_EQ(FromQColor(f->BRichEdit1->SelColor()), 0u);
  // Verse 1 is "In the beginning God created the heaven and the earth.": only the first "the"
  // and "God" take the found-word colour.
  const std::string text = f->BRichEdit1->Text();
  const int v1 = f->VerseStart[1];
  const int god = int(text.find("God", size_t(v1)));
  const int the1 = int(text.find("the", size_t(v1)));
  const int the2 = int(text.find("the", size_t(the1) + 1));
  const uint32_t found = Main->Settings.FounWordColor;
  for (auto [pos, colour] : {std::pair{god, found}, std::pair{the1, found},
                             std::pair{the2, Main->Settings.CurrentVerseColor}}) {
    f->BRichEdit1->SetSelection(pos, 1);
    EXPECT_EQ(FromQColor(f->BRichEdit1->SelColor()), colour) << pos;
  }
  // Another chapter builds anew; found words stay inside the active verse only.
  f->DisplayVerse(1, 2, 1);
  EXPECT_EQ(f->VerseStart.size(), 27u);
  EXPECT_EQ(f->BRichEdit1->Text().find("marker"), std::string::npos);
}

TEST_F(Forms, GreekHeadingAndLabelsUseTheCyrillicCharset) {
  Start();
  TBibleForm1* f = Open(9, 51, 1, 1);
  ASSERT_TRUE(f);
  f->BRichEdit1->SetSelection(1, 1);
  EXPECT_EQ(f->BRichEdit1->SelCharset(), RUSSIAN_CHARSET);
  f->BRichEdit1->SetSelection(f->VerseStart[2], 1);  // the label "2"
  EXPECT_EQ(f->BRichEdit1->SelCharset(), RUSSIAN_CHARSET);
  f->BRichEdit1->SetSelection(f->VerseStart[2] + 3, 1);
  EXPECT_EQ(f->BRichEdit1->SelCharset(), GREEK_CHARSET);
  EXPECT_EQ(Main->ComboBox1->itemText(0), QStringLiteral("Матей"));
}

TEST_F(Forms, VerseBoxRollsOverChaptersAndBooksAndStopsAtTheEnds) {
  TMainForm1& m = Start();
  TBibleForm1* f = Open(4, 1, 1, 31);
  ASSERT_TRUE(f);
  m.SpinEdit2->StepDown();  // increment -1: "down" goes forward
  EXPECT_EQ(f->Chapter, 2);
  EXPECT_EQ(f->Verse, 1);
  m.GoToVerse(VerseNumber(*f->Bible, 1, 3, 24));  // the last verse of Genesis
  m.SpinEdit2->StepDown();
  EXPECT_EQ(f->Book, 22);
  EXPECT_EQ(f->Chapter, 1);
  EXPECT_EQ(m.ComboBox1->currentText(), QStringLiteral("Psalms"));
  m.SpinEdit2->StepUp();
  EXPECT_EQ(f->Book, 1);
  EXPECT_EQ(f->Chapter, 3);
  EXPECT_EQ(f->Verse, 24);
  m.GoToVerse(1);
  m.SpinEdit2->StepUp();
  EXPECT_EQ(f->Verse, 1);
  m.GoToVerse(f->Bible->VerseCount);
  m.SpinEdit2->StepDown();
  EXPECT_EQ(f->Book, 54);
  EXPECT_EQ(f->Chapter, 3);
  EXPECT_EQ(f->Verse, 36);
  // The chapter box clamps; typed digits wait for Enter; Page Up goes to 1 at once.
  int key = Qt::Key_5;
  m.SpinEdit2KeyDown(m.SpinEdit1, key);
  m.SpinEdit1->SetValue(2);
  EXPECT_EQ(f->Chapter, 3);
  key = Qt::Key_Return;
  m.SpinEdit2KeyDown(m.SpinEdit1, key);
  EXPECT_EQ(f->Chapter, 2);
  key = Qt::Key_PageUp;
  m.SpinEdit2KeyDown(m.SpinEdit1, key);
  EXPECT_EQ(f->Chapter, 1);
  m.SpinEdit1->SetValue(40);
  EXPECT_EQ(f->Chapter, 3);
}

TEST_F(Forms, TypedReferencesAndBookNameCompletion) {
  TMainForm1& m = Start();
  TBibleForm1* f = Open(4, 1, 1, 1);
  ASSERT_TRUE(f);
  m.ComboBox1->setEditText(QStringLiteral("John 3:16"));
  EXPECT_TRUE(m.ComboBox1KeyPress(13));
  EXPECT_EQ(f->Book, 54);
  EXPECT_EQ(f->Chapter, 3);
  EXPECT_EQ(f->Verse, 16);
  m.ComboBox1->setEditText(QStringLiteral("2:5"));
  m.ComboBox1KeyPress(13);
  EXPECT_EQ(f->Book, 54);  // no book named: the book stays
  EXPECT_EQ(f->Chapter, 2);
  EXPECT_EQ(f->Verse, 5);
  m.ComboBox1->setEditText(QStringLiteral("nonsense"));
  EXPECT_FALSE(m.GoToReference("nonsense"));
  EXPECT_EQ(f->Chapter, 2);
  m.ComboBox1->setEditText(QStringLiteral("Gen"));
  EXPECT_TRUE(m.ComboBox1KeyPress(' '));
  EXPECT_EQ(m.ComboBox1->currentText(), QStringLiteral("Genesis "));
  m.ComboBox1->setEditText(QStringLiteral("G"));
  EXPECT_FALSE(m.ComboBox1KeyPress(' '));  // one letter is not enough
  // Through the keyboard: the space is swallowed when it completes.
  m.ComboBox1->setEditText(QStringLiteral("Psa"));
  QTest::keyClick(m.ComboBox1->lineEdit(), Qt::Key_Space);
  EXPECT_EQ(m.ComboBox1->currentText(), QStringLiteral("Psalms "));
  QTest::keyClicks(m.ComboBox1->lineEdit(), "2:3");
  QTest::keyClick(m.ComboBox1->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(f->Book, 22);
  EXPECT_EQ(f->Chapter, 2);
  EXPECT_EQ(f->Verse, 3);
}

TEST_F(Forms, PreviousVerseWalksBackInTimeWhateverTheSortOrder) {
  TMainForm1& m = Start();
  TBibleForm1* f = Open(4, 54, 1, 1);
  ASSERT_TRUE(f);
  const TBible& b = *f->Bible;
  for (int ch : {3, 2}) {  // John 1:1, then 3:1, then 2:1, each a little later
    QTest::qWait(5);
    m.GoToVerse(VerseNumber(b, 3, ch, 1));
  }
  ASSERT_EQ(m.BibleComboBox1->Count(), 3);
  m.Previous1Click();
  EXPECT_EQ(f->Chapter, 3);
  QTest::qWait(5);
  m.Previous1Click();
  EXPECT_EQ(f->Chapter, 1);
  m.Random1Click();
  const int n = VerseNumber(b, b.BookPosition[size_t(f->Book)], f->Chapter, f->Verse);
  EXPECT_GE(n, 1);
  EXPECT_LE(n, b.VerseCount);
  m.BibleComboBox1->setCurrentIndex(0);  // sorted by text: "John 1:1" first
  m.BibleComboBox1Change();
  EXPECT_EQ(f->Chapter, 1);
  EXPECT_EQ(f->Verse, 1);
}

TEST_F(Forms, BookmarksAreSetMovedForwardAndRemoved) {
  TMainForm1& m = Start();
  TBibleForm1* f = Open(4, 1, 1, 5);
  ASSERT_TRUE(f);
  f->PopupMenu1Popup();
  EXPECT_TRUE(f->AddBookmark1->isVisible());
  EXPECT_FALSE(f->DeleteBookmark1->isVisible());
  f->AddBookmark1Click();
  ASSERT_EQ(f->Bible->BookMarks.size(), 1u);
  EXPECT_EQ(f->Bible->BookMarks[0], "Genesis 1:5");
  f->PopupMenu1Popup();
  EXPECT_TRUE(f->DeleteBookmark1->isVisible());
  EXPECT_FALSE(f->AddBookmark1->isVisible());
  m.SpinEdit2->SetValue(6);
  EXPECT_EQ(f->Bible->BookMarks[0], "Genesis 1:6");
  EXPECT_EQ(m.BookMark2->actions()[1]->text(), QStringLiteral("Genesis 1:6"));
  m.SpinEdit2->SetValue(8);
  EXPECT_EQ(f->Bible->BookMarks[0], "Genesis 1:6");
  m.GotoBookMark1Click(m.BookMark2->actions()[1]);
  EXPECT_EQ(f->Verse, 6);
  f->DeleteBookmark1Click();
  EXPECT_TRUE(f->Bible->BookMarks.empty());
  EXPECT_EQ(m.BookMark2->actions().size(), 1);
}

TEST_F(Forms, VersionSwitchSavesThePreviousHistoriesAndLoadsTheNewOnes) {
  TMainForm1& m = Start();
  // A history of the Bulgarian version waits in its folder.
  std::ofstream(Dir.File("2000/VerseHistory.txt"), std::ios::binary)
      << "0\r\n\r\n 4.50000000000000E+0004 3\r\n" << Utf8ToCp1251("Битие 1:3") << "\r\n";
  TBibleForm1* english = Open(4, 1, 1, 2);
  ASSERT_TRUE(english);
  const std::string englishHistory = Dir.File("KJV/VerseHistory.txt");
  EXPECT_FALSE(fs::exists(englishHistory));
  TBibleForm1* bulgarian = Open(0, 1, 1, 1);
  ASSERT_TRUE(bulgarian);
  EXPECT_TRUE(fs::exists(englishHistory));
  EXPECT_TRUE(fs::exists(Dir.File("KJV/Search_List.txt")));
  EXPECT_NE(ReadFileBytes(englishHistory).find("Genesis 1:2"), std::string::npos);
  EXPECT_EQ(m.CurrentBible(), bulgarian->Bible);
  EXPECT_EQ(m.ComboBox1->itemText(0), QStringLiteral("Битие"));
  bool loaded = false;
  for (int i = 0; i < m.BibleComboBox1->Count(); ++i)
    loaded = loaded || m.BibleComboBox1->Item(i) == Utf8ToCp1251("Битие 1:3");
  EXPECT_TRUE(loaded);
  // A second window of the same version shares its TBible and switches nothing.
  fs::remove(englishHistory);
  TBibleForm1* second = Open(0, 54, 1, 1);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->Bible, bulgarian->Bible);
  EXPECT_FALSE(fs::exists(englishHistory));
  EXPECT_FALSE(fs::exists(Dir.File("2000/VerseHistory.txt.tmp")));
  // Only the first window of a version in child order follows the controls.
  m.GoToVerse(VerseNumber(*second->Bible, 1, 2, 4));
  EXPECT_EQ(second->Chapter, 2);
  EXPECT_EQ(bulgarian->Chapter, 1);
  // Closing one of the two keeps the menu item checked; closing the other unchecks it.
  EXPECT_TRUE(m.Version[0]->isChecked());
  second->SubWindow()->close();
  EXPECT_TRUE(m.Version[0]->isChecked());
  bulgarian->SubWindow()->close();
  EXPECT_FALSE(m.Version[0]->isChecked());
  EXPECT_EQ(m.BibleForms().size(), 1u);
}

TEST_F(Forms, ReopenSkipsOrRepairsDamagedSectionsAndRestoresTheOrder) {
  Settings(
      "[MainWindow]\r\nMDIChildCount=5\r\n"
      "[Bible0]\r\nBibleHndl=4\r\nBook=54\r\nChapter=3\r\nVerse=16\r\n"
      "[Bible1]\r\nBibleHndl=15\r\nBook=1\r\nChapter=1\r\nVerse=1\r\n"
      "[Bible2]\r\nBibleHndl=0\r\nBook=2\r\nChapter=9\r\nVerse=9\r\n"
      "[Bible3]\r\nBibleHndl=9\r\nBook=54\r\nChapter=99\r\nVerse=500\r\n"
      "[Bible4]\r\nBibleHndl=4\r\nBook=22\r\nChapter=2\r\nVerse=-7\r\n");
  TMainForm1& m = Start();
  m.ReopenWindows();
  const auto forms = m.BibleForms();
  ASSERT_EQ(forms.size(), 4u);  // the version index 15 is skipped
  for (TBibleForm1* f : forms) {
    const TBook& book = *f->Bible->Books[size_t(f->Book)];
    ASSERT_FALSE(book.Chapters.empty()) << f->VersionIndex();
    EXPECT_GE(f->Chapter, 1);
    ASSERT_LE(f->Chapter, int(book.Chapters.size()));
    EXPECT_GE(f->Verse, 1);
    EXPECT_LE(f->Verse, book.Chapters[size_t(f->Chapter - 1)]);
    EXPECT_EQ(f->ShownChapter, f->Chapter);
  }
  EXPECT_EQ(forms[1]->VersionIndex(), 0);
  // Slot 2 is not in the version: the next book it has, from its start.
  EXPECT_EQ(forms[1]->Book, 22);
  EXPECT_EQ(forms[1]->Chapter, 1);
  EXPECT_EQ(forms[1]->Verse, 1);
  EXPECT_EQ(forms[2]->VersionIndex(), 9);
  EXPECT_EQ(forms[2]->Chapter, 1);
  EXPECT_EQ(forms[2]->Verse, 51);
  EXPECT_EQ(forms[3]->Verse, 1);
  // The window saved as number 0 was created last: it is active and takes over the controls.
  m.ActiveBibleForm()->FormActivate();
  EXPECT_EQ(m.ActiveBibleForm(), forms[0]);
  EXPECT_EQ(forms[0]->VersionIndex(), 4);
  EXPECT_EQ(forms[0]->Book, 54);
  EXPECT_EQ(forms[0]->Chapter, 3);
  EXPECT_EQ(forms[0]->Verse, 16);
  EXPECT_EQ(m.CurrentBible(), forms[0]->Bible);
  EXPECT_EQ(m.SpinEdit1->Value(), 3);
  EXPECT_EQ(m.SpinEdit2->Value(), 16);
  EXPECT_FALSE(m.Panel3->isHidden());
  // The Greek window follows to John 3, which its version lacks: its view is empty.
  EXPECT_TRUE(forms[2]->BRichEdit1->Text().empty());
  EXPECT_EQ(forms[1]->Chapter, 3);
}

TEST_F(Forms, ClosingWritesEverySectionAndErasesTheSurplus) {
  Settings(
      "[MainWindow]\r\nMDIChildCount=3\r\nPanelAlign=4\r\n"
      "[Bible0]\r\nBibleHndl=4\r\nBook=1\r\nChapter=2\r\nVerse=3\r\n"
      "[Bible1]\r\nBibleHndl=0\r\nBook=54\r\nChapter=1\r\nVerse=1\r\n"
      "[Bible2]\r\nBibleHndl=9\r\nBook=51\r\nChapter=1\r\nVerse=1\r\n");
  TMainForm1& m = Start();
  EXPECT_EQ(m.PanelAlign(), TMainForm1::alRight);
  EXPECT_EQ(m.Splitter1->indexOf(m.Panel3), 1);
  m.FormShow();
  ASSERT_EQ(m.BibleForms().size(), 3u);
  m.BibleForms()[2]->SubWindow()->close();  // the Greek window goes
  m.FormClose();
  TMyIniFile& ini = *Ini;
  EXPECT_EQ(ini.ReadInteger("MainWindow", "MDIChildCount", 0), 2);
  EXPECT_EQ(ini.ReadInteger("Bible0", "BibleHndl", -1), 4);
  EXPECT_EQ(ini.ReadInteger("Bible0", "Chapter", -1), 2);
  EXPECT_EQ(ini.ReadInteger("Bible0", "Verse", -1), 3);
  EXPECT_EQ(ini.ReadInteger("Bible1", "BibleHndl", -1), 0);
  EXPECT_FALSE(ini.SectionExists("Bible2"));
  EXPECT_EQ(ini.ReadInteger("MainWindow", "PanelAlign", 0), 4);
  EXPECT_EQ(ini.ReadString("MainWindow", "SearchRange", "").size(), 78u);
  EXPECT_TRUE(ini.SectionExists("KJV\\Font"));
  EXPECT_TRUE(fs::exists(Dir.File("KJV/VerseHistory.txt")));
  for (auto& b : Bibles) EXPECT_FALSE(b);
}

TEST_F(Forms, AnUnwritableSettingsFileIsReportedOnceAndTheWindowStillCloses) {
  fs::create_directories(Dir.File("blocked.ini/inside"));  // a folder where the file should be
  TMainForm1& m = Start(false, Dir.File("blocked.ini"));
  ASSERT_TRUE(Open(4, 1, 1, 1));
  QString text;
  AnswerNextMessageBox(&text);
  m.FormClose();
  EXPECT_TRUE(text.startsWith(QStringLiteral("Unable to write to "))) << text.toStdString();
  EXPECT_TRUE(Ini->WriteFailed);
  for (auto& b : Bibles) EXPECT_FALSE(b);
  EXPECT_TRUE(fs::is_directory(Dir.File("blocked.ini/inside")));
}

TEST_F(Forms, MissingVersionShowsTheMessageAndOpensNothing) {
  TMainForm1& m = Start();
  QString text;
  AnswerNextMessageBox(&text);
  m.OpenBibleWindow(7, 1, 1, 1);
  EXPECT_EQ(text, QStringLiteral("Версията липсва."));
  EXPECT_TRUE(m.BibleForms().empty());
  EXPECT_FALSE(Bibles[7]);
}

TEST_F(Forms, SplashClosesOnEnterOrByItsTimerAndPlaysOnlyWhenAsked) {
  Start();
  std::ofstream(Dir.File("Beg1.wav"), std::ios::binary) << "RIFF";
  TLogoForm1 logo;
  EXPECT_EQ(logo.Timer1->interval(), 11000);
  EXPECT_EQ(logo.size(), QSize(293, 406));
  logo.Settings = &Main->Settings;
  Options->CheckBox8->setChecked(false);
  QTimer::singleShot(50, &logo, [&logo] {
    EXPECT_TRUE(logo.Timer1->isActive());
    QTest::keyClick(&logo, Qt::Key_Return);
  });
  logo.exec();
  EXPECT_FALSE(logo.Timer1->isActive());
  EXPECT_TRUE(logo.SoundFile().isEmpty());
  Options->CheckBox8->setChecked(true);
  logo.Timer1->setInterval(30);  // the timer's own path, shortened
  logo.exec();
  EXPECT_FALSE(logo.Timer1->isActive());
  EXPECT_EQ(logo.SoundFile(), QString::fromStdString(Dir.File("Beg1.wav")));
}

TEST_F(Forms, WordTypedInTheWordListIsSearchedListedAndShown) {
  TMainForm1& m = Start();
  TBibleForm1* f = Open(4, 1, 1, 1);
  ASSERT_TRUE(f);
  m.LargeListBox1->SetText("shepherd");
  char enter = 13;
  m.LargeListBox1KeyPress(enter);
  ASSERT_GT(m.ListBox2->count(), 0);
  EXPECT_TRUE(m.StatusPanel->text().startsWith(QStringLiteral("shepherd | ")));
  // The first found verse is shown, with the word coloured in it.
  const int first = m.Search.Found[1];
  EXPECT_EQ(VerseNumber(*f->Bible, f->Bible->BookPosition[size_t(f->Book)], f->Chapter, f->Verse),
            first);
  const std::string text = f->BRichEdit1->Text();
  const size_t at = AnsiLowerCase(text).find("shepherd", size_t(f->VerseStart[size_t(f->Verse)]));
  ASSERT_NE(at, std::string::npos);
  f->BRichEdit1->SetSelection(int(at), 1);
  EXPECT_EQ(FromQColor(f->BRichEdit1->SelColor()), m.Settings.FounWordColor);
  EXPECT_EQ(m.Button1->text(), QStringLiteral("само"));
}

TEST_F(Forms, OptionsConfirmedWithTheChapterNumberRebuildTheTexts) {
  TMainForm1& m = Start();
  TBibleForm1* f = Open(4, 54, 3, 16);
  ASSERT_TRUE(f);
  WhenOpen([] { return qobject_cast<QDialog*>(QApplication::activeModalWidget()); },
           [this](QWidget*) {
             Options->CheckBox3->click();
             Options->Button2->click();
           });
  m.Options1Click();
  EXPECT_TRUE(TViewOptions::Unpack(m.Settings.ViewOptions).ShowChapter);
  EXPECT_EQ(f->ActiveVerseText().substr(0, 5), "3:16 ");
  // The rebuild was for once: a move within the chapter keeps the text again.
  f->BRichEdit1->AppendLine("marker");
  m.SpinEdit2->SetValue(17);
  EXPECT_NE(f->BRichEdit1->Text().find("marker"), std::string::npos);
  // Cancelled, nothing changes.
  WhenOpen([] { return qobject_cast<QDialog*>(QApplication::activeModalWidget()); },
           [this](QWidget*) {
             Options->CheckBox3->click();
             Options->Button1->click();
           });
  m.Options1Click();
  EXPECT_TRUE(TViewOptions::Unpack(m.Settings.ViewOptions).ShowChapter);
}

TEST_F(Forms, HelpOpensTheMainPageAndTheTopicOfTheActiveVersion) {
  TMainForm1& m = Start();
  SetHelpRoot(QString::fromStdString(Dir.Path()) + QStringLiteral("help"));
  m.Help1Click();
  EXPECT_TRUE(THelpWindow::Instance()->CurrentPage().endsWith(QStringLiteral("/Bible/Main.html")));
  ASSERT_TRUE(Open(9, 51, 1, 1));
  m.ThisBible1Click();
  EXPECT_TRUE(THelpWindow::Instance()->CurrentPage().endsWith(QStringLiteral("/Bible/GrNt.html")));
  EXPECT_EQ(ApplicationHelpFile(), QStringLiteral("Bible.hlp"));
  THelpWindow::Instance()->hide();
}

TEST_F(Forms, AHistoryThatCannotBeSavedIsReportedAndTheSwitchGoesOn) {
  TMainForm1& m = Start();
  ASSERT_TRUE(Open(4, 1, 1, 1));
  // A folder where the history file should be: the save fails even for root.
  fs::create_directories(Dir.File("KJV/Search_List.txt/x"));
  QString text;
  AnswerNextMessageBox(&text);
  TBibleForm1* bulgarian = Open(0, 1, 1, 1);
  ASSERT_TRUE(bulgarian);
  EXPECT_FALSE(text.isEmpty());
  EXPECT_EQ(m.CurrentBible(), bulgarian->Bible);
  EXPECT_EQ(m.ComboBox1->itemText(0), QStringLiteral("Битие"));
}

TEST_F(Forms, ADamagedVersionIsReportedOnceAndShowsWhatCanBeRead) {
  TMainForm1& m = Start();
  fs::resize_file(Dir.File("KJV/CompactText.bin"), fs::file_size(Dir.File("KJV/CompactText.bin")) / 2);
  QString text;
  AnswerNextMessageBox(&text);
  TBibleForm1* f = Open(4, 1, 1, 1);
  ASSERT_TRUE(f);
  EXPECT_TRUE(text.contains(QStringLiteral("„King James Version“ е повреден"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Внесете превода отново"))) << text.toStdString();
  EXPECT_TRUE(f->BRichEdit1->toPlainText().contains(QStringLiteral("In the beginning")));
  // The last chapter lies in the lost half: its verses are empty, and no message comes again.
  text.clear();
  QPointer<QTimer> waiting = AnswerNextMessageBox(&text);
  ASSERT_TRUE(Open(4, 54, 3, 36));
  QTest::qWait(50);
  EXPECT_TRUE(text.isEmpty()) << text.toStdString();
  delete waiting;
  EXPECT_EQ(m.BibleForms().size(), 2u);
  // The other versions still open.
  EXPECT_TRUE(Open(0, 1, 1, 1));
}
