// The dictionary window and the picture window over generated dictionaries, pictures and a
// generated English version: looking a clicked word up from a Bible window, typing into the word
// box (keys go to the window, as the window system delivers them), the choice of a dictionary,
// the articles of a word, the history, the illustrations, the settings and damaged files.

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QSplitter>
#include <QTextCursor>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <random>

#include "controls/tbiblecombobox.h"
#include "controls/tbiblerichedit1.h"
#include "controls/tfoundlistbox.h"
#include "controls/tlargelistbox.h"
#include "core/cp1251.h"
#include "core/eioerror.h"
#include "platform/pictureloader.h"
#include "tests/controls/uitest.h"
#include "tests/support/mainwindowfixture.h"

namespace fs = std::filesystem;

namespace {

void Store(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

TCharSet LatinLetters() {
  TCharSet letters;
  for (int c = 'a'; c <= 'z'; ++c) letters.set(size_t(c));
  for (int c = 'A'; c <= 'Z'; ++c) letters.set(size_t(c));
  return letters;
}

TDictionaryData Latin(const std::string& title, const std::vector<std::string>& articles) {
  TDictionaryData d;
  d.Title = title;
  d.Letters = LatinLetters();
  for (const std::string& a : articles) d.Articles.push_back({a, {0}});
  return d;
}

// Three dictionaries, by title: "English Bible words" (three articles of "shepherd"), "Names of
// places" and the Cyrillic "Библейски речник".
void WriteDictionaries(const std::string& root) {
  const std::string folder = root + "Dictionaries/";
  fs::create_directories(folder);
  WriteDictionary(folder + "Eng",
                  Latin("English Bible words",
                        {"shepherd - one who keeps sheep, Ps 1:2.",
                         "shepherd - a pastor of a church.",
                         "shepherd - the good shepherd, John 10:11.", "love - charity.",
                         "God - the creator.", "world - the earth."}));
  WriteDictionary(folder + "Names", Latin("Names of places", {"Bethlehem - a town of Judah.",
                                                              "Jerusalem - the holy city."}));
  WriteDictionary(folder + "Bg", SampleDictionary());
}

QImage Filled(int w, int h, QColor color) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(color);
  return image;
}

// Pictures: two of "shepherd" (red, then blue), one BMP of "love".
void WritePictures(const std::string& root) {
  const std::string folder = root + "Pictures/";
  fs::create_directories(folder);
  ASSERT_TRUE(Filled(30, 20, Qt::red).save(QString::fromStdString(folder + "a.jpg"), "JPG"));
  ASSERT_TRUE(Filled(40, 25, Qt::blue).save(QString::fromStdString(folder + "b.jpg"), "JPG"));
  ASSERT_TRUE(Filled(16, 16, Qt::green).save(QString::fromStdString(folder + "heart.bmp"), "BMP"));
  Store(folder + "DicPictures.txt",
        "shepherd=b.jpg\r\nlove=heart.bmp\r\nline without equals sign\r\nshepherd=a.jpg\r\n");
}

// A window gets its keys as the window system delivers them: to the focused widget of the
// active window.
void TypeInto(QWidget* window, const std::string& ascii) {
  TypeKeys(QString::fromLatin1(ascii), window);
}

void SelectAllByKeys(QWidget* window) {
  SendKey(Qt::Key_A, QStringLiteral("\x01"), Qt::ControlModifier, window);
}

class Dictionary : public TMainWindowTest {
 protected:
  void SetUp() override {
    TMainWindowTest::SetUp();
    WriteSampleVersion(Dir.Path(), 4, EnglishSample());
    WriteDictionaries(Dir.Path());
    WritePictures(Dir.Path());
  }
  TBibleForm1* Open(int version, int book, int chapter, int verse) {
    Main->show();
    return TMainWindowTest::Open(version, book, chapter, verse);
  }
  // The dictionary window shown and active, with the focus in its word box.
  QWidget* Focused() {
    if (!Dic->isVisible()) Dic->ShowDictionary();
    Dic->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(Dic.get()));
    Dic->LargeListBox1->ComboBox->lineEdit()->setFocus();
    QApplication::processEvents();
    return QApplication::focusWidget() ? QApplication::focusWidget()->window() : Dic.get();
  }
  std::string Base() const { return fs::path(Dic->CurrentDictionary).stem().string(); }
  std::string Article() const { return Dic->BibleRichEdit11->Text(); }
  std::string WordBox() const { return Dic->LargeListBox1->Text(); }
};

}  // namespace

TEST_F(Dictionary, CreationListsTheDictionariesByTitleInTheMenu) {
  Start();
  EXPECT_TRUE(Main->Dictionary1->isVisible());
  EXPECT_EQ(Main->DictionaryFolder, Dir.Path() + "Dictionaries/");
  ASSERT_EQ(Dic->DicMenu->actions().size(), 3);
  EXPECT_EQ(Dic->DicMenu->actions()[0]->text(), QStringLiteral("English Bible words"));
  EXPECT_EQ(Dic->DicMenu->actions()[1]->text(), QStringLiteral("Names of places"));
  EXPECT_EQ(Dic->DicMenu->actions()[2]->text(), QStringLiteral("Библейски речник"));
  EXPECT_TRUE(Dic->ToolButton6->isEnabled());
  for (QToolButton* b : {Dic->ToolButton1, Dic->ToolButton2, Dic->ToolButton3, Dic->ToolButton4,
                         Dic->ToolButton5})
    EXPECT_FALSE(b->isEnabled());
  EXPECT_TRUE(Dic->CurrentDictionary.empty());
}

TEST_F(Dictionary, ClickedWordOfABibleWindowOpensItsArticleThroughTheMenu) {
  Start();
  TBibleForm1* f = Open(4, 22, 1, 1);
  ASSERT_TRUE(f);
  TBibleRichEdit1* view = f->BRichEdit1;
  const std::string text = view->Text();
  const size_t at = text.find("shepherd");
  ASSERT_NE(at, std::string::npos);
  QTextCursor cursor(view->document());
  cursor.setPosition(view->DocPosition(int(at) + 3));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cursorRect(cursor).center());
  EXPECT_EQ(view->SelText(), "shepherd");
  EXPECT_TRUE(f->Translate1->isEnabled());
  ChooseFromContextMenu(view->viewport(), 1, view->cursorRect(cursor).center());
  ASSERT_TRUE(Dic->isVisible());
  EXPECT_EQ(Base(), "Eng");
  EXPECT_EQ(Dic->windowTitle(), QStringLiteral("English Bible words"));
  EXPECT_GE(Dic->LargeListBox1->ItemIndex(), 0);
  EXPECT_EQ(WordBox(), "shepherd");
  EXPECT_EQ(Article(), "shepherd - one who keeps sheep, Ps 1:2.");
  EXPECT_TRUE(Dic->ToolButton4->isEnabled());
  EXPECT_FALSE(Dic->ToolButton5->isEnabled());
  EXPECT_TRUE(Dic->ToolButton3->isEnabled());
  // A word no dictionary holds leaves "Речник" disabled.
  std::string other;
  size_t in = std::string::npos;
  for (const char* w : {"created", "heaven", "earth", "beginning"})
    if ((in = text.find(std::string(" ") + w + " ")) != std::string::npos) {
      other = w;
      break;
    }
  ASSERT_NE(in, std::string::npos);
  cursor.setPosition(view->DocPosition(int(in) + 3));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cursorRect(cursor).center());
  EXPECT_EQ(view->SelText(), other);
  EXPECT_FALSE(f->Translate1->isEnabled());
}

// A marked Greek word opens the Greek lexicon's article of its lemma (from the version's
// word-to-lemma table) or of its own letters in the lexicon's Latin.
TEST_F(Dictionary, AGreekWordOpensTheArticleOfItsLemma) {
  WriteSampleVersion(Dir.Path(), 9, GreekSample());
  Store(Dir.File("GR/Lemmas.txt"), Greek("θεον") + "\ttheos\r\n");
  WriteDictionary(Dir.File("Dictionaries/Greek"),
                  Latin("Greek lexicon", {"theos - God.", "logos - word."}));
  Start();
  NewDictionary();
  TBibleForm1* f = Open(9, 54, 1, 1);
  ASSERT_TRUE(f);
  TBibleRichEdit1* view = f->BRichEdit1;
  const std::string text = view->Text();
  auto mark = [&](const std::string& word) {
    const size_t at = text.find(" " + word);
    ASSERT_NE(at, std::string::npos);
    QTextCursor cursor(view->document());
    cursor.setPosition(view->DocPosition(int(at) + 2));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cursorRect(cursor).center());
    EXPECT_EQ(view->SelText(), word);
  };
  for (const auto& [word, article] : {std::pair{"θεον", "theos - God."}, {"λογος", "logos - word."}}) {
    mark(Greek(word));
    EXPECT_TRUE(f->Translate1->isEnabled()) << word;
    f->Translate1->trigger();
    ASSERT_TRUE(Dic->isVisible());
    EXPECT_EQ(Base(), "Greek") << word;
    EXPECT_EQ(Article(), article) << word;
  }
  mark(Greek("προς"));
  EXPECT_FALSE(f->Translate1->isEnabled());
}

TEST_F(Dictionary, TypingSwitchesToTheDictionaryThatHoldsTheWord) {
  Start();
  Dic->GoToWord("love");
  EXPECT_EQ(Base(), "Eng");
  QWidget* window = Focused();
  SelectAllByKeys(window);
  // The first dictionary lacks the word; while the letters are covered nothing switches.
  TypeInto(window, "bethle");
  EXPECT_EQ(WordBox(), "bethle");
  EXPECT_EQ(Base(), "Eng");
  EXPECT_LT(Dic->LargeListBox1->ItemIndex(), 0);
  TypeInto(window, "hem");
  EXPECT_EQ(Base(), "Names");
  EXPECT_EQ(WordBox(), "Bethlehem");
  EXPECT_GE(Dic->LargeListBox1->ItemIndex(), 0);
  EXPECT_EQ(Article(), "Bethlehem - a town of Judah.");
  EXPECT_EQ(Dic->windowTitle(), QStringLiteral("Names of places"));

  // Latin letters typed while the Cyrillic dictionary is open switch before the word is whole.
  Dic->GoToWord(Utf8ToCp1251("Авраам"));
  EXPECT_EQ(Base(), "Bg");
  EXPECT_EQ(Article(), Utf8ToCp1251("АВРААМ, праотец на евреите. Вж. Битие 12:1."));
  window = Focused();
  SelectAllByKeys(window);
  TypeInto(window, "sh");
  EXPECT_NE(Base(), "Bg");
  TypeInto(window, "epherd");
  EXPECT_EQ(Base(), "Eng");
  EXPECT_GE(Dic->LargeListBox1->ItemIndex(), 0);
}

TEST_F(Dictionary, AChosenDictionaryStaysUntilALookUpFromOutside) {
  Start();
  Dic->ShowDictionary();
  // The tool bar button drops the dictionary menu down; the user picks the first dictionary.
  WhenOpen([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); },
           [](QWidget* w) {
             auto* menu = static_cast<QMenu*>(w);
             QTest::mouseClick(menu, Qt::LeftButton, {},
                               menu->actionGeometry(menu->actions()[0]).center());
           });
  QTest::mouseClick(Dic->ToolButton6, Qt::LeftButton);
  EXPECT_EQ(Base(), "Eng");
  EXPECT_TRUE(Dic->FFixedDictionary);
  EXPECT_EQ(WordBox(), "");
  EXPECT_FALSE(Dic->ToolButton3->isEnabled());
  QWidget* window = Focused();
  TypeInto(window, "bethlehem");
  EXPECT_EQ(Base(), "Eng");
  EXPECT_LT(Dic->LargeListBox1->ItemIndex(), 0);
  // A look-up from a Bible window frees the choice.
  TBibleForm1* f = Open(4, 1, 1, 1);
  ASSERT_TRUE(f);
  Dic->ShowWord("Bethlehem");
  EXPECT_FALSE(Dic->FFixedDictionary);
  EXPECT_EQ(Base(), "Names");
  EXPECT_GE(Dic->LargeListBox1->ItemIndex(), 0);
}

TEST_F(Dictionary, ArticleButtonsAndTheHistoryWalkedInTimeOrder) {
  Start();
  Dic->ShowDictionary();
  Dic->GoToWord("shepherd");
  EXPECT_FALSE(Dic->ToolButton5->isEnabled());
  EXPECT_TRUE(Dic->ToolButton4->isEnabled());
  QTest::mouseClick(Dic->ToolButton4, Qt::LeftButton);
  QTest::mouseClick(Dic->ToolButton4, Qt::LeftButton);
  EXPECT_EQ(Dic->ExplanationNumber, 3);
  EXPECT_EQ(Article(), "shepherd - the good shepherd, John 10:11.");
  EXPECT_FALSE(Dic->ToolButton4->isEnabled());
  EXPECT_TRUE(Dic->ToolButton5->isEnabled());
  QTest::mouseClick(Dic->ToolButton5, Qt::LeftButton);
  EXPECT_EQ(Dic->ExplanationNumber, 2);
  EXPECT_EQ(Article(), "shepherd - a pastor of a church.");
  EXPECT_FALSE(Dic->ToolButton1->isEnabled());

  Dic->GoToWord("love");
  Dic->GoToWord("God");
  TBibleComboBox& history = *Dic->LargeListBox1->ComboBox;
  ASSERT_EQ(history.Count(), 3);
  const std::vector<TDateTime> times = history.Times();
  EXPECT_TRUE(Dic->ToolButton1->isEnabled());
  EXPECT_FALSE(Dic->ToolButton2->isEnabled());
  QTest::mouseClick(Dic->ToolButton1, Qt::LeftButton);
  EXPECT_EQ(WordBox(), "love");
  QTest::mouseClick(Dic->ToolButton1, Qt::LeftButton);
  EXPECT_EQ(WordBox(), "shepherd");
  // The article number recorded last for the word comes back with it.
  EXPECT_EQ(Dic->ExplanationNumber, 2);
  EXPECT_EQ(Article(), "shepherd - a pastor of a church.");
  EXPECT_FALSE(Dic->ToolButton1->isEnabled());
  EXPECT_TRUE(Dic->ToolButton2->isEnabled());
  QTest::mouseClick(Dic->ToolButton2, Qt::LeftButton);
  EXPECT_EQ(WordBox(), "love");
  EXPECT_EQ(Article(), "love - charity.");
  EXPECT_EQ(history.Count(), 3);
  EXPECT_EQ(history.Times(), times);

  // Enter in the word box records the word shown.
  QWidget* window = Focused();
  SelectAllByKeys(window);
  TypeInto(window, "world");
  EXPECT_EQ(history.Count(), 3);
  SendKey(Qt::Key_Return, QStringLiteral("\r"), {}, window);
  EXPECT_EQ(history.Count(), 4);
  EXPECT_EQ(history.TextPosition("world") >= 0, true);
}

TEST_F(Dictionary, TwoIllustrationsOfOneWordCycleAndTheirClickLooksTheWordUp) {
  Start();
  Dic->ShowDictionary();
  Dic->GoToWord("shepherd");
  ASSERT_TRUE(Dic->ToolButton3->isEnabled());
  // The list is sorted: a.jpg before b.jpg, whatever the file's order.
  EXPECT_EQ(Dic->FPicture, "a.jpg");
  std::vector<QSize> sizes;
  for (int press = 0; press < 4; ++press) {
    QTest::mouseClick(Dic->ToolButton3, Qt::LeftButton);
    ASSERT_TRUE(Picture->isVisible());
    sizes.push_back(Picture->Image1->pixmap().size());
  }
  EXPECT_EQ(sizes, (std::vector<QSize>{QSize(30, 20), QSize(40, 25), QSize(30, 20), QSize(40, 25)}));
  EXPECT_EQ(Picture->windowTitle(), QStringLiteral("shepherd"));
  QApplication::processEvents();
  EXPECT_EQ(Picture->size(), QSize(40, 25));
  // A word without pictures disables the button; a BMP picture shows as well.
  Dic->GoToWord("God");
  EXPECT_FALSE(Dic->ToolButton3->isEnabled());
  Dic->GoToWord("love");
  QTest::mouseClick(Dic->ToolButton3, Qt::LeftButton);
  EXPECT_EQ(Picture->Image1->pixmap().size(), QSize(16, 16));
  // Clicking the picture brings the dictionary to its word.
  Dic->GoToWord("world");
  QTest::mouseClick(Picture->Image1, Qt::LeftButton);
  EXPECT_EQ(WordBox(), "love");
  EXPECT_EQ(Article(), "love - charity.");
}

TEST_F(Dictionary, PicturesThatCannotBeShownAreReportedAndTheWindowKeepsItsPicture) {
  Start();
  const std::string folder = Dir.File("Pictures/");
  std::string jpeg = ReadFileBytes(folder + "a.jpg");
  // Garbage after the header: the first start-of-scan marker and all that follows.
  const size_t sos = jpeg.find("\xFF\xDA");
  ASSERT_NE(sos, std::string::npos);
  std::string garbage = jpeg.substr(0, sos);
  std::mt19937 random(7);
  for (int i = 0; i < 400; ++i) garbage += char(random());
  Store(folder + "garbage.jpg", garbage);
  Store(folder + "truncated.jpg", jpeg.substr(0, jpeg.size() - 6));
  Store(folder + "header.jpg", jpeg.substr(0, 30));
  Store(folder + "empty.jpeg", "");
  Store(folder + "picture.wmf", "not a metafile");
  Store(folder + "bad.bmp", "BM garbage");
  // A frame header that promises 60000 x 60000 pixels.
  std::string huge = jpeg;
  const size_t sof = huge.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  huge[sof + 5] = char(0xEA);
  huge[sof + 6] = char(0x60);
  huge[sof + 7] = char(0xEA);
  huge[sof + 8] = char(0x60);
  Store(folder + "huge.jpg", huge);

  ASSERT_TRUE(Picture->ShowPicture("shepherd", "a.jpg"));
  Picture->hide();
  struct TCase {
    const char* File;
    QString Message;
  };
  const std::vector<TCase> cases = {
      {"missing.jpg", QStringLiteral("Cannot open file ") + QString::fromStdString(folder) +
                          QStringLiteral("missing.jpg")},
      {"garbage.jpg", QStringLiteral("JPEG error #")},
      {"header.jpg", QStringLiteral("JPEG error #")},
      {"empty.jpeg", QStringLiteral("JPEG error #")},
      {"huge.jpg", QStringLiteral("JPEG error #")},
      {"picture.wmf", QStringLiteral("Unknown picture file extension (.wmf)")},
      {"bad.bmp", QStringLiteral("Bitmap image is not valid")},
  };
  for (const TCase& c : cases) {
    QString text;
    AnswerNextMessageBox(&text);
    EXPECT_FALSE(Picture->ShowPicture("other", c.File)) << c.File;
    EXPECT_TRUE(text.startsWith(c.Message)) << c.File << ": " << text.toStdString();
    EXPECT_FALSE(Picture->isVisible()) << c.File;
    EXPECT_EQ(Picture->windowTitle(), QStringLiteral("shepherd"));
    EXPECT_EQ(Picture->Image1->pixmap().size(), QSize(30, 20));
  }
  // A file that ends early shows what it holds.
  EXPECT_TRUE(Picture->ShowPicture("half", "truncated.jpg"));
  EXPECT_EQ(Picture->Image1->pixmap().size(), QSize(30, 20));
}

TEST_F(Dictionary, JpegDecoderNumbersTheErrorsAndNeverEndsTheProcess) {
  const QImage source = Filled(64, 48, QColor(200, 100, 50));
  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(source.save(&buffer, "JPG", 95));
  }
  QImage image;
  ASSERT_EQ(DecodeJpeg(reinterpret_cast<const unsigned char*>(bytes.constData()),
                       size_t(bytes.size()), image),
            0);
  EXPECT_EQ(image.size(), QSize(64, 48));
  const QColor middle = image.pixelColor(32, 24);
  EXPECT_NEAR(middle.red(), 200, 8);
  EXPECT_NEAR(middle.green(), 100, 8);
  EXPECT_NEAR(middle.blue(), 50, 8);
  // Every prefix and flipped bytes: a number or a picture, nothing else.
  std::mt19937 random(11);
  for (int cut = 0; cut < bytes.size(); cut += 7) {
    QImage out;
    const int code = DecodeJpeg(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                size_t(cut), out);
    EXPECT_TRUE(code > 0 || !out.isNull()) << cut;
  }
  for (int round = 0; round < 200; ++round) {
    QByteArray damaged = bytes;
    for (int k = 0; k < 4; ++k) damaged[int(random() % damaged.size())] = char(random());
    QImage out;
    const int code = DecodeJpeg(reinterpret_cast<const unsigned char*>(damaged.constData()),
                                size_t(damaged.size()), out);
    EXPECT_TRUE(code > 0 || !out.isNull());
  }
}

TEST_F(Dictionary, OneDictionaryLeavesTheChangeButtonDisabledAndNoneOpensNothing) {
  fs::remove(Dir.File("Dictionaries/Names.ind"));
  fs::remove(Dir.File("Dictionaries/Bg.ind"));
  Start();
  EXPECT_FALSE(Dic->ToolButton6->isEnabled());
  // A disabled button looks it: its picture is drawn greyed, not as the enabled one.
  const QIcon icon = Dic->ToolButton6->icon();
  EXPECT_NE(icon.pixmap(24, QIcon::Disabled).toImage(), icon.pixmap(24, QIcon::Normal).toImage());
  EXPECT_TRUE(Dic->DicMenu->actions().isEmpty());
  Dic->ShowWord("love");
  EXPECT_EQ(Article(), "love - charity.");
  // The first open, without a stored place: words and articles readable.
  EXPECT_GE(Dic->width(), 560);
  EXPECT_GE(Dic->height(), 340);
  EXPECT_GE(Dic->Panel1->width(), 150);
  fs::remove(Dir.File("Dictionaries/Eng.ind"));
  NewDictionary();
  EXPECT_FALSE(Dic->FindDictionary("love"));
  Dic->ShowWord("love");
  EXPECT_TRUE(Dic->CurrentDictionary.empty());
  EXPECT_EQ(Article(), "");
  EXPECT_FALSE(Dic->ToolButton3->isEnabled());
}

TEST_F(Dictionary, ClosingSavesTheWordAndArticleAndTheNextShowRestoresThem) {
  Start();
  Dic->ShowDictionary();
  Dic->GoToWord("shepherd");
  QTest::mouseClick(Dic->ToolButton4, Qt::LeftButton);
  Dic->close();
  EXPECT_FALSE(Dic->isVisible());
  EXPECT_EQ(Ini->ReadString("DicForm", "Text", ""), "shepherd");
  EXPECT_EQ(Ini->ReadInteger("DicForm", "CurrentWord", 0), 2);
  EXPECT_GT(Ini->ReadInteger("DicForm", "PanelWidth", 0), 0);
  // A damaged number is brought to the nearest article.
  Ini->WriteInteger("DicForm", "CurrentWord", 40);
  NewDictionary();
  Dic->ShowDictionary();
  EXPECT_EQ(WordBox(), "shepherd");
  EXPECT_EQ(Dic->ExplanationNumber, 3);
  EXPECT_EQ(Article(), "shepherd - the good shepherd, John 10:11.");
  // The main window remembers the open dictionary window and opens it again.
  Main->FormClose();
  EXPECT_TRUE(Ini->ReadBool("MainWindow", "IsDicVizible", false));
}

TEST_F(Dictionary, TheMainWordListOffersTheDictionaryForItsSelectedWord) {
  Start();
  TBibleForm1* f = Open(4, 1, 1, 1);
  ASSERT_TRUE(f);
  Main->LargeListBox1->SetText("shepherd");
  ASSERT_GE(Main->LargeListBox1->ItemIndex(), 0);
  Main->PopupMenu5Popup();
  EXPECT_TRUE(Main->Dictionary2->isEnabled());
  Main->Dictionary2->trigger();
  EXPECT_TRUE(Dic->isVisible());
  EXPECT_EQ(Article(), "shepherd - one who keeps sheep, Ps 1:2.");
  Main->LargeListBox1->SetText("beginning");
  Main->PopupMenu5Popup();
  EXPECT_FALSE(Main->Dictionary2->isEnabled());
}

TEST_F(Dictionary, ArticleMenuLooksUpMovesTheBibleAndSearchesTheWord) {
  Start();
  TBibleForm1* f = Open(4, 1, 1, 1);
  ASSERT_TRUE(f);
  Dic->ShowWord("shepherd");
  TBibleRichEdit1* view = Dic->BibleRichEdit11;
  const std::string text = view->Text();
  // "Ps 1:2" selected: "Библия" is offered and moves the Bible windows there.
  const size_t ref = text.find("Ps 1:2");
  ASSERT_NE(ref, std::string::npos);
  view->SetSelection(int(ref), 6);
  view->UpdatePopupItems();
  EXPECT_TRUE(Dic->Bible1->isEnabled());
  EXPECT_FALSE(Dic->Dictionary1->isEnabled());
  Dic->Bible1->trigger();
  EXPECT_EQ(f->Book, 22);
  EXPECT_EQ(f->Chapter, 1);
  EXPECT_EQ(f->Verse, 2);
  // "sheep" is no headword; "shepherd" is, and "Речник" looks it up in the window itself.
  const size_t sheep = text.find("sheep,");
  view->SetSelection(int(sheep), 5);
  view->UpdatePopupItems();
  EXPECT_FALSE(Dic->Dictionary1->isEnabled());
  EXPECT_TRUE(Dic->Concordance1->isEnabled());
  // "Конкорданс" searches the word in the main window's word list.
  view->SetSelection(0, 8);
  Dic->Concordance1->trigger();
  EXPECT_EQ(Main->LargeListBox1->Text(), "shepherd");
  EXPECT_GT(Main->ListBox2->count(), 0);
}

// The window over each damaged file of a dictionary: the documented empty result or the
// input/output error in a message, never another failure, a crash or a hang.
TEST_F(Dictionary, DamagedDictionaryFilesGiveEmptyResultsOrTheInputOutputError) {
  const std::string folder = Dir.File("Dictionaries/");
  std::mt19937 random(5);
  int errors = 0;
  for (const char* name : {"Eng.ind", "Eng.ibf", "Eng.ibp", "EngC.ibf", "EngC.ibp"}) {
    const std::string path = folder + name;
    const std::string original = ReadFileBytes(path);
    std::vector<std::string> damages;
    for (size_t cut : {size_t(0), size_t(1), size_t(3), size_t(33), original.size() / 2,
                       original.size() - 1})
      if (cut < original.size()) damages.push_back(original.substr(0, cut));
    for (int round = 0; round < 4; ++round) {
      std::string s = original;
      for (int k = 0; k < 6; ++k) s[random() % s.size()] = char(random() % 256);
      damages.push_back(s);
    }
    std::string hostile = original;
    for (size_t at = 0; at + 4 <= hostile.size() && at < 64; at += 4) {
      hostile[at] = char(0xFF);
      hostile[at + 1] = char(0x7F);
    }
    damages.push_back(hostile);
    for (const std::string& bytes : damages) {
      Store(path, bytes);
      TearDown();
      Start();
      auto guarded = [&](const std::function<void()>& action) {
        try {
          action();
        } catch (const EInOutError&) {
          ++errors;
        }
      };
      guarded([&] { Dic->ShowDictionary(); });
      for (const char* word : {"shepherd", "love", "Bethlehem", "zzz", ""})
        guarded([&] { Dic->GoToWord(word); });
      guarded([&] { Dic->ToolButton4Click(Dic->ToolButton4); });
      guarded([&] { Dic->ToolButton4Click(Dic->ToolButton5); });
      guarded([&] { Dic->ToolButton1Click(); });
      guarded([&] { Dic->ToolButton2Click(); });
      for (int i = 0; i < Dic->DicMenu->actions().size(); ++i)
        guarded([&] { Dic->OnDicPopupMenuClick(i); });
      guarded([&] { Dic->LargeListBox1->SetText("she"); });
      EXPECT_GE(Dic->ExplanationNumber, 1);
    }
    Store(path, original);
  }
  EXPECT_GT(errors, 0);
}
