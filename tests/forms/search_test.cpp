// The word search of the main window as a user drives it: keys go to the focused top-level
// window through the window system's entry point, menus are opened and chosen, and the copies
// are read back from the clipboard. Versions are generated in temporary folders.

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "controls/tbiblecombobox.h"
#include "controls/fontconvert.h"
#include "controls/tbiblerichedit1.h"
#include "controls/tfoundlistbox.h"
#include "controls/tlargelistbox.h"
#include "controls/tmyspinedit.h"
#include "core/chapterbuilder.h"
#include "core/cp1251.h"
#include "core/keyboard.h"
#include "platform/codepage.h"
#include "tests/controls/uitest.h"
#include "tests/support/mainwindowfixture.h"
#include "tools/bible-tool/twordforms.h"

namespace {

std::vector<std::string> Verses(const char* book, int chapter, int count) {
  std::vector<std::string> out;
  for (int v = 1; v <= count; ++v)
    out.push_back(std::string(book) + " " + std::to_string(chapter) + " " + std::to_string(v));
  return out;
}

// Bulgarian: бог in 1:1, 1:2, 1:3, 1:5; дух in 1:1, 1:2, 1:4, 1:5; земя in 1:2, 1:3; John in the
// New Testament has бог in 1:1.
TVersionData CombinationVersion() {
  auto b = [](const char* s) { return Utf8ToCp1251(s); };
  TVersionBook gen{1, b("Битие"), b("Битие"), b("Бит"), {}};
  gen.Chapters = {{b("бог и дух"), b("Бог дух земя"), b("бог земя"), b("дух"), b("бог и дух над водата"),
                   b("вода")}};
  TVersionBook john{54, b("Евангелие от Йоан"), b("Йоан"), b("Йн"), {}};
  john.Chapters = {{b("Бог е дух"), b("в начало")}, {b("вода"), b("вино"), b("вода")}};
  TVersionData d;
  d.Books = {gen, john};
  return d;
}

// English: love in Genesis 1:1, 1:3, 2:4 and John 3:5.
TVersionData CopyVersion() {
  TVersionBook gen{1, "Genesis", "Genesis", "Gen", {}};
  gen.Chapters = {Verses("first", 1, 3), Verses("second", 2, 5)};
  gen.Chapters[0][0] = "love one";
  gen.Chapters[0][2] = "love |two|";
  gen.Chapters[1][3] = "love";
  TVersionBook john{54, "John", "John", "Jn", {}};
  john.Chapters = {Verses("a", 1, 2), Verses("b", 2, 2), Verses("c", 3, 16)};
  john.Chapters[2][4] = "love {a note}";
  john.Chapters[2][15] = "For God so loved the world";
  TVersionData d;
  d.Books = {gen, john};
  return d;
}

// German, windows-1252 letters with umlauts.
TVersionData GermanVersion() {
  TVersionBook gen{1, "1. Mose", "1. Mose", "1Mo", {}};
  gen.Chapters = {{"Am Anfang schuf Gott", "\xFC\x62\x65r die Erde", "Gr\xFC\xDF\x65"}};
  TVersionData d;
  d.Books = {gen};
  return d;
}

class Search : public TMainWindowTest {
 protected:
  void SetUp() override {
    TMainWindowTest::SetUp();
    WriteSampleVersion(Dir.Path(), 0, CombinationVersion());
    WriteSampleVersion(Dir.Path(), 4, CopyVersion());
    WriteSampleVersion(Dir.Path(), 8, GermanVersion());
    WriteSampleVersion(Dir.Path(), 9, GreekSample());
    Start(true);
  }
  static void Type(const QString& text) { TypeKeys(text); }
  static void Enter() { SendKey(Qt::Key_Return, QStringLiteral("\r")); }
  // Empties the focused box as a user does: all selected, then deleted.
  static void ClearBox() {
    SendKey(Qt::Key_A, QStringLiteral("\x01"), Qt::ControlModifier);
    SendKey(Qt::Key_Delete);
  }
  // A closed menu or dialog gives the activation back to the main window, as a window manager
  // does.
  void Focus(QWidget* w) {
    QApplication::setActiveWindow(Main.get());
    w->setFocus();
  }
  void FocusWordBox() {
    Focus(Main->LargeListBox1->ComboBox);
    ClearBox();
  }
  void SearchTyped(const QString& word) {
    FocusWordBox();
    Type(word);
    Enter();
  }
  // Opens the mode menu with the button and chooses the item.
  void ChooseMode(QAction* item) {
    QTest::mouseClick(Main->Button1, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Main->PopupMenu4->isVisible(); }));
    QTest::mouseClick(Main->PopupMenu4, Qt::LeftButton, {},
                      Main->PopupMenu4->actionGeometry(item).center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Main->PopupMenu4->isVisible(); }));
  }
  // The found list's popup menu, item index 0..2.
  void CopyCommand(int index) {
    QApplication::clipboard()->clear();
    ChooseFromContextMenu(Main->ListBox2->viewport(), index);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::clipboard()->text().isEmpty(); }));
  }
  QString Status() const { return Main->StatusPanel->text(); }
  std::string WordBoxBytes() const { return Main->LargeListBox1->Text(); }
};

}  // namespace

TEST_F(Search, LatinKeysInTheWordBoxGiveTheVersionsLetters) {
  Open(0, 1, 1, 1);
  FocusWordBox();
  Type(QStringLiteral("/fh"));  // BDS: б о г
  EXPECT_EQ(Cp1251ToUtf8(WordBoxBytes()), "бог");
  Enter();
  EXPECT_EQ(Status(), QStringLiteral("бог | 5"));
  EXPECT_EQ(Main->ListBox2->count(), 5);
  EXPECT_EQ(Main->ListBox2->Line(4), QStringLiteral("Йоан 1:1"));

  SelectBulgarianLayout(true);
  FocusWordBox();
  Type(QStringLiteral("zemq"));  // phonetic: з е м я
  EXPECT_EQ(Cp1251ToUtf8(WordBoxBytes()), "земя");
  // Cyrillic typed with a Bulgarian system layout passes unchanged.
  FocusWordBox();
  Type(QStringLiteral("дух"));
  EXPECT_EQ(Cp1251ToUtf8(WordBoxBytes()), "дух");
  // A letter the code page lacks is its base letter, a pasted stress mark goes: "ѝ" looks for "и".
  FocusWordBox();
  Type(QStringLiteral("ѝ"));
  EXPECT_EQ(Cp1251ToUtf8(WordBoxBytes()), "и");
  QApplication::clipboard()->setText(QStringLiteral("бо\u0301г"));
  FocusWordBox();
  SendKey(Qt::Key_V, QStringLiteral("\x16"), Qt::ControlModifier);
  EXPECT_EQ(Cp1251ToUtf8(WordBoxBytes()), "бог");
  Enter();
  EXPECT_EQ(Main->ListBox2->count(), 5);

  Main->Settings.AutoKeybd = false;
  FocusWordBox();
  Type(QStringLiteral("bog"));
  EXPECT_EQ(WordBoxBytes(), "bog");
  Main->Settings.AutoKeybd = true;

  Open(8, 1, 1, 1);
  FocusWordBox();
  Type(QStringLiteral("[;'-{:\"x"));
  EXPECT_EQ(WordBoxBytes(), "\xFC\xF6\xE4\xDF\xDC\xD6\xC4x");
  FocusWordBox();
  Type(QStringLiteral("[ber"));
  Enter();
  EXPECT_EQ(Main->ListBox2->count(), 1);
  EXPECT_EQ(Main->SpinEdit2->Value(), 2);

  Open(9, 51, 1, 1);
  FocusWordBox();
  Type(QStringLiteral("abg;W"));
  EXPECT_EQ(WordBoxBytes(), "\xE1\xE2\xE3\xB4\xD3");
  FocusWordBox();
  Type(QStringLiteral("logos"));
  EXPECT_EQ(WordBoxBytes(), Greek("λογοσ"));

  Open(4, 1, 1, 1);
  FocusWordBox();
  Type(QStringLiteral("love;["));
  EXPECT_EQ(WordBoxBytes(), "love;[");
}

TEST_F(Search, CombinationOfModesGivesTheExpressionAndCount) {
  Open(0, 1, 1, 1);
  SearchTyped(QStringLiteral("бог"));
  EXPECT_EQ(Status(), QStringLiteral("бог | 5"));
  ChooseMode(Main->And1);
  EXPECT_EQ(Main->Button1->text(), QStringLiteral("и"));
  SearchTyped(QStringLiteral("дух"));
  EXPECT_EQ(Status(), QStringLiteral("бог + дух | 4"));
  EXPECT_EQ(Main->Button1->text(), QStringLiteral("само"));
  ChooseMode(Main->Without1);
  SearchTyped(QStringLiteral("земя"));
  EXPECT_EQ(Status(), QStringLiteral("бог + дух -(земя) | 3"));
  ASSERT_EQ(Main->ListBox2->count(), 3);
  EXPECT_EQ(Main->ListBox2->Line(0), QStringLiteral("Битие 1:1"));
  EXPECT_EQ(Main->ListBox2->Line(1), QStringLiteral("Битие 1:5"));
  EXPECT_EQ(Main->ListBox2->Line(2), QStringLiteral("Йоан 1:1"));
  // Enter showed the first found verse and moved the focus to the found list.
  EXPECT_EQ(Main->SpinEdit2->Value(), 1);
  EXPECT_EQ(QApplication::focusWidget(), Main->ListBox2);

  // The same word right after it was applied changes nothing, and the mode is "само" again.
  ChooseMode(Main->Without1);
  SearchTyped(QStringLiteral("земя"));
  EXPECT_EQ(Status(), QStringLiteral("бог + дух -(земя) | 3"));
  EXPECT_EQ(Main->Button1->text(), QStringLiteral("само"));
  ChooseMode(Main->Or1);
  SearchTyped(QStringLiteral("вода"));
  EXPECT_EQ(Status(), QStringLiteral("бог + дух -(земя) / вода | 6"));
  ChooseMode(Main->Or1);
  SearchTyped(QStringLiteral("вода"));
  EXPECT_EQ(Status(), QStringLiteral("бог + дух -(земя) / вода | 6"));
}

TEST_F(Search, RepeatedWordInAndModeAndWithoutFirst) {
  Open(0, 1, 1, 1);
  // "без" as the first search of the run leaves no result and no status.
  ChooseMode(Main->Without1);
  SearchTyped(QStringLiteral("бог"));
  EXPECT_EQ(Main->ListBox2->count(), 0);
  EXPECT_EQ(Status(), QString());
  EXPECT_EQ(Main->Button1->text(), QStringLiteral("само"));

  SearchTyped(QStringLiteral("дух"));
  ChooseMode(Main->And1);
  SearchTyped(QStringLiteral("бог"));
  EXPECT_EQ(Status(), QStringLiteral("дух + бог | 4"));
  ChooseMode(Main->And1);
  SearchTyped(QStringLiteral("бог"));
  EXPECT_EQ(Status(), QStringLiteral("дух + бог | 4"));
  EXPECT_EQ(Main->Button1->text(), QStringLiteral("само"));
}

TEST_F(Search, PhraseWhoseFirstWordIsMissingFindsNothing) {
  TBibleForm1* f = Open(0, 1, 1, 1);
  ASSERT_TRUE(f);
  SearchTyped(QStringLiteral("ябълка бог"));
  EXPECT_EQ(Main->ListBox2->count(), 0);
  EXPECT_EQ(Status(), QStringLiteral("ябълка бог | 0"));
  // Only the whole text is remembered for highlighting; бог was never looked up.
  ASSERT_EQ(Main->Search.MarkWords.size(), 1u);
  EXPECT_EQ(Cp1251ToUtf8(Main->Search.MarkWords[0]), "ябълка бог");
  // Both words present: only the verses with both, in any order.
  SearchTyped(QStringLiteral("дух бог"));
  EXPECT_EQ(Status(), QStringLiteral("дух бог | 4"));
}

TEST_F(Search, CopiesGiveTheReferenceListAndTheVerseTexts) {
  Open(4, 1, 1, 1);
  SearchTyped(QStringLiteral("love"));
  ASSERT_EQ(Status(), QStringLiteral("love | 4"));
  CopyCommand(0);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("love | 4: Genesis 1:1,3, 2:4; John 3:5"));
  EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasHtml());
  EXPECT_TRUE(Main->Settings.CheckClipboard);  // untouched by the copy

  CopyCommand(1);
  EXPECT_EQ(QApplication::clipboard()->text(),
            QStringLiteral("love | 4:\nGenesis 1:1 love one\nGenesis 1:3 love two\n"
                           "Genesis 2:4 love\nJohn 3:5 love {a note}"));

  // Two lines marked with the mouse: only their verses, without a title.
  QTest::mouseClick(Main->ListBox2->viewport(), Qt::LeftButton, {},
                    Main->ListBox2->visualRect(Main->ListBox2->model()->index(1, 0)).center());
  EXPECT_EQ(Main->SpinEdit2->Value(), 3);
  QTest::mouseClick(Main->ListBox2->viewport(), Qt::LeftButton, Qt::ControlModifier,
                    Main->ListBox2->visualRect(Main->ListBox2->model()->index(3, 0)).center());
  EXPECT_TRUE(Main->Copy3->isEnabled());
  // A right click on another line opens the menu and keeps the marked lines.
  QTest::mouseClick(Main->ListBox2->viewport(), Qt::RightButton, {},
                    Main->ListBox2->visualRect(Main->ListBox2->model()->index(2, 0)).center());
  EXPECT_EQ(Main->ListBox2->SelectedRows(), (std::vector<int>{1, 3}));
  CopyCommand(2);
  EXPECT_EQ(QApplication::clipboard()->text(),
            QStringLiteral("\nGenesis 1:3 love two\nJohn 3:5 love {a note}"));

  // Short names in the list and in the copied list; hidden notes are not copied.
  Main->Settings.ViewOptions = TViewOptions{false, false, true, true}.Pack();
  Options->CheckBox10->setChecked(false);
  SearchTyped(QStringLiteral("love"));
  EXPECT_EQ(Main->ListBox2->Line(3), QStringLiteral("Jn 3:5"));
  CopyCommand(0);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("love | 4: Gen 1:1,3, 2:4; Jn 3:5"));
  CopyCommand(1);
  EXPECT_TRUE(QApplication::clipboard()->text().endsWith(QStringLiteral("\nJn 3:5 love")));

  // An empty result copies the title alone; "all verses" then has no ":".
  SearchTyped(QStringLiteral("hate"));
  ASSERT_EQ(Main->ListBox2->count(), 0);
  CopyCommand(1);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("hate | 0"));
  CopyCommand(0);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("hate | 0:"));
}

TEST_F(Search, TypedReferencesInTheBookBox) {
  TBibleForm1* f = Open(4, 1, 1, 1);
  ASSERT_TRUE(f);
  Focus(Main->ComboBox1);
  ClearBox();
  Type(QStringLiteral("Joh "));
  EXPECT_EQ(Main->ComboBox1->currentText(), QStringLiteral("John "));
  Type(QStringLiteral("3:16"));
  Enter();
  EXPECT_EQ(f->Book, 54);
  EXPECT_EQ(f->Chapter, 3);
  EXPECT_EQ(f->Verse, 16);
  ClearBox();
  Type(QStringLiteral("3:4"));
  Enter();
  EXPECT_EQ(f->Book, 54);
  EXPECT_EQ(f->Chapter, 3);
  EXPECT_EQ(f->Verse, 4);
  ClearBox();
  Type(QStringLiteral("Gen 2:4"));
  Enter();
  EXPECT_EQ(f->Book, 1);
  EXPECT_EQ(f->Chapter, 2);
  EXPECT_EQ(f->Verse, 4);
  // A name in the other language reaches the same book; a word naming no book moves nothing.
  for (const char* text : {"Йоан 3:5", "Table 1:1"}) {
    ClearBox();
    Type(QString::fromUtf8(text));
    Enter();
    EXPECT_EQ(std::tie(f->Book, f->Chapter, f->Verse), std::make_tuple(54, 3, 5)) << text;
  }

  // The Bulgarian version's book box types Cyrillic from Latin keys; digits stay.
  TBibleForm1* bg = Open(0, 1, 1, 1);
  ASSERT_TRUE(bg);
  Focus(Main->ComboBox1);
  ClearBox();
  Type(QStringLiteral("Xfd "));  // BDS: Й о а
  EXPECT_EQ(Main->ComboBox1->currentText(), QStringLiteral("Йоан "));
  Type(QStringLiteral("2:2"));
  Enter();
  EXPECT_EQ(bg->Book, 54);
  EXPECT_EQ(bg->Chapter, 2);
  EXPECT_EQ(bg->Verse, 2);
  // The Greek version's book names are Bulgarian: its book box types with the Bulgarian layout.
  TBibleForm1* gr = Open(9, 54, 1, 1);
  ASSERT_TRUE(gr);
  Focus(Main->ComboBox1);
  ClearBox();
  Type(QStringLiteral(":dj "));  // BDS: М а т
  EXPECT_EQ(Main->ComboBox1->currentText(), QStringLiteral("Матей "));
  Type(QStringLiteral("2:3"));
  EXPECT_EQ(Main->ComboBox1->currentText(), QStringLiteral("Матей 2:3"));
  Enter();
  EXPECT_EQ(gr->Book, 51);
  EXPECT_EQ(gr->Chapter, 2);
  EXPECT_EQ(gr->Verse, 3);
}

TEST_F(Search, RangeDialogLimitsTheSearchAndSearchesAgain) {
  Open(0, 1, 1, 1);
  SearchTyped(QStringLiteral("бог"));
  ASSERT_EQ(Status(), QStringLiteral("бог | 5"));
  auto chooseAndClose = [this](int type, QPushButton* TRangeForm1::*button) {
    WhenOpen([this] { return static_cast<QWidget*>(Range.get()); },
             [this, type, button](QWidget*) {
               if (type >= 0) QTest::mouseClick(Range->RadioButtons->button(type), Qt::LeftButton);
               QTest::mouseClick(Range.get()->*button, Qt::LeftButton);
             });
    Main->Range1->trigger();
  };
  chooseAndClose(TRangeForm1::rtNew, &TRangeForm1::Button1);
  EXPECT_EQ(Main->Search.RangeType, TRangeForm1::rtNew);
  EXPECT_EQ(Main->Search.BookSet[0], 0);   // Genesis
  EXPECT_EQ(Main->Search.BookSet[53], 1);  // John
  EXPECT_EQ(Main->Search.BookSet[1], 1);   // a slot the version lacks keeps its flag
  EXPECT_EQ(Status(), QStringLiteral("бог | 1"));

  // Cancel after changes leaves everything; the word is searched again all the same.
  chooseAndClose(TRangeForm1::rtAll, &TRangeForm1::Button2);
  EXPECT_EQ(Main->Search.RangeType, TRangeForm1::rtNew);
  EXPECT_EQ(Main->Search.BookSet[0], 0);
  EXPECT_EQ(Status(), QStringLiteral("бог | 1"));

  // The next opening shows the stored state again. Ticking a row switches to "Избрани книги"
  // and keeps the other ticks.
  WhenOpen([this] { return static_cast<QWidget*>(Range.get()); },
           [this](QWidget*) {
             EXPECT_EQ(Range->ItemIndex(), TRangeForm1::rtNew);
             EXPECT_EQ(Range->CheckListBox1->count(), 2);
             EXPECT_EQ(Range->CheckListBox1->item(0)->checkState(), Qt::Unchecked);
             EXPECT_EQ(Range->CheckListBox1->item(1)->checkState(), Qt::Checked);
             Range->CheckListBox1->item(0)->setCheckState(Qt::Checked);
             EXPECT_EQ(Range->ItemIndex(), TRangeForm1::rtSelected);
             EXPECT_EQ(Range->CheckListBox1->item(1)->checkState(), Qt::Checked);
             QTest::mouseClick(Range->Button3, Qt::LeftButton);  // "&Чисти"
             QTest::mouseClick(Range->Button1, Qt::LeftButton);
           });
  Main->Range1->trigger();
  EXPECT_EQ(Main->Search.RangeType, TRangeForm1::rtSelected);
  EXPECT_EQ(Main->Search.BookSet[0], 0);
  EXPECT_EQ(Main->Search.BookSet[53], 0);
  EXPECT_EQ(Main->ListBox2->count(), 0);
  EXPECT_EQ(Range->windowTitle(), QStringLiteral("Област за търсене"));
  EXPECT_EQ(Range->Button3->text(), QStringLiteral("&Чисти"));

  // The Greek version's books are listed with their Bulgarian names.
  Open(9, 51, 1, 1);
  WhenOpen([this] { return static_cast<QWidget*>(Range.get()); },
           [this](QWidget*) { QTest::mouseClick(Range->Button2, Qt::LeftButton); });
  Main->Range1->trigger();
  EXPECT_EQ(Range->CheckListBox1->item(0)->text(), QStringLiteral("Матей"));
}

TEST_F(Search, ConcordanceFromTheBibleWindowSearchesTheSelectedWord) {
  TBibleForm1* f = Open(4, 54, 3, 16);
  ASSERT_TRUE(f);
  const std::string text = f->BRichEdit1->Text();
  const int at = int(text.find("world", size_t(f->VerseStart[16])));
  f->BRichEdit1->SetSelection(at, 5);
  f->Find1Click();
  EXPECT_EQ(Status(), QStringLiteral("world | 1"));
  EXPECT_EQ(Main->LargeListBox1->Text(), "world");
  Main->SearchWord("love");
  EXPECT_EQ(Status(), QStringLiteral("love | 4"));
  EXPECT_EQ(f->Book, 1);
  EXPECT_EQ(f->Verse, 1);
}

// The found words are coloured from the active verse's bytes alone; those bytes must be exactly
// the text's, wherever a range starts or ends (also between the CR and LF of a break).
TEST(TextRange, EqualsTheWholeTextsSubstring) {
  TBibleRichEdit1 view;
  view.AddTextCharsets("Title\r\n", "", RUSSIAN_CHARSET, RUSSIAN_CHARSET);
  view.AddTextCharsets("\r\n1 ", "one |two|~three", RUSSIAN_CHARSET, RUSSIAN_CHARSET);
  view.AddTextCharsets("\r\n2 ", Utf8ToCp1251("четири"), RUSSIAN_CHARSET, RUSSIAN_CHARSET);
  const std::string text = view.Text();
  const int n = int(text.size());
  for (int start = 0; start <= n; ++start)
    for (int length = 0; start + length <= n + 2; ++length)
      ASSERT_EQ(view.TextRange(start, length), text.substr(size_t(start), size_t(length)))
          << start << " " << length;
}

TEST_F(Search, AllFormsToggleFindsEveryFormColoursThemAndSaysWhenAVersionHasNone) {
  WriteVersionForms(Dir.Path() + "2000/", 0, 3);
  TBibleForm1* f = Open(0, 1, 1, 1);
  EXPECT_FALSE(Main->CheckBox1->isChecked());  // off by default: the exact search as always
  SearchTyped(QStringLiteral("вода"));
  EXPECT_EQ(Status(), QStringLiteral("вода | 3"));
  EXPECT_FALSE(Main->Label1->isVisible());

  // Turned on, it is kept in the settings and the word is searched again with its forms.
  QTest::mouseClick(Main->CheckBox1, Qt::LeftButton);
  EXPECT_TRUE(Main->Settings.AllForms);
  EXPECT_EQ(Status(), QStringLiteral("вода (2 форми) | 4"));
  EXPECT_EQ(Main->Label1->text(), QStringLiteral("Форми: вода, водата"));
  EXPECT_TRUE(Main->Label1->isVisible());
  FocusWordBox();
  Type(QStringLiteral("вода"));
  Enter();
  EXPECT_EQ(Main->ListBox2->Line(0), QStringLiteral("Битие 1:5"));
  // The first found verse is shown with the other form coloured as a found word.
  const std::string text = f->BRichEdit1->Text();
  const size_t at = text.find(Utf8ToCp1251("водата"), size_t(f->VerseStart[5]));
  ASSERT_NE(at, std::string::npos);
  f->BRichEdit1->SetSelection(int(at), 1);
  EXPECT_EQ(FromQColor(f->BRichEdit1->SelColor()), Main->Settings.FounWordColor);
  // A prefix, and the modes over form sets.
  SearchTyped(QStringLiteral("Зем*"));
  EXPECT_EQ(Status(), QStringLiteral("Зем* (1 форма) | 2"));
  ChooseMode(Main->And1);
  SearchTyped(QStringLiteral("вода"));
  EXPECT_EQ(Status(), QStringLiteral("Зем* + вода (2 форми) | 0"));

  // A version without form groups is searched exactly, and the panel says so.
  Open(4, 1, 1, 1);
  EXPECT_EQ(Main->Label1->text(), QStringLiteral("Тази версия няма форми на думите: търси се точно."));
  SearchTyped(QStringLiteral("love"));
  EXPECT_EQ(Status(), QStringLiteral("love | 4"));
  QTest::mouseClick(Main->CheckBox1, Qt::LeftButton);
  EXPECT_FALSE(Main->Settings.AllForms);
  EXPECT_FALSE(Main->Label1->isVisible());
}
