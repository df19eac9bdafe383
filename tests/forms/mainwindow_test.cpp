// The main window as a user meets it: keys go to the focused top-level window as the window
// system delivers them. Accessible names, tiling of every opened window, a version that lacks
// the shown place, the current verse kept in view, dialog frames and the book list's width.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QButtonGroup>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QtTest>
#include <algorithm>
#include <filesystem>

#include "controls/tbiblecombobox.h"
#include "controls/tbiblerichedit1.h"
#include "controls/tfoundlistbox.h"
#include "controls/tlargelistbox.h"
#include "controls/tmyspinedit.h"
#include "core/bibleunit.h"
#include "forms/tlistmessageform1.h"
#include "platform/accessiblenames.h"
#include "tests/support/mainwindowfixture.h"

namespace {

// The English sample with a book name as long as the longest real ones.
TVersionData LongNamedSample() {
  TVersionData d = EnglishSample();
  d.Books.back().Name = "The Gospel According to Saint John the Apostle";
  return d;
}

class MainWindow : public TMainWindowTest {
 protected:
  void SetUp() override {
    TMainWindowTest::SetUp();
    WriteSampleVersion(Dir.Path(), 4, LongNamedSample());
    WriteSampleVersion(Dir.Path(), 0, BulgarianSample());
    WriteSampleVersion(Dir.Path(), 9, GreekSample());
  }
  // The main window shown and active, as after the splash.
  TMainForm1& Start() {
    TMainWindowTest::Start();
    Main->setGeometry(100, 100, 1000, 700);
    Main->show();
    Main->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(Main.get()));
    return *Main;
  }
  // "&Отвори" → the version's item, as the menu runs it; the window it opened.
  TBibleForm1* OpenFromMenu(int version) {
    const auto before = Main->BibleForms();
    Main->Version[size_t(version)]->trigger();
    QApplication::processEvents();
    for (TBibleForm1* form : Main->BibleForms())
      if (std::find(before.begin(), before.end(), form) == before.end()) return form;
    return nullptr;
  }
  // Goes to a place of the active version as the book box does.
  void GoTo(int position, int chapter, int verse) {
    Main->GoToVerse(VerseNumber(*Main->CurrentBible(), position, chapter, verse));
    QApplication::processEvents();
  }
  // A key to the focused top-level window, the events it causes delivered.
  static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    SendKey(key, QString(), modifiers);
    QApplication::processEvents();
  }
  static QString NameOf(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
  }
};

// The rectangle of a text position (CR LF = 2) inside the view's viewport.
QRect PlaceInView(TBibleRichEdit1& view, int textPosition) {
  QTextCursor c(view.document());
  c.setPosition(view.DocPosition(textPosition));
  return view.cursorRect(c);
}

bool InView(TBibleRichEdit1& view, int textPosition) {
  const QRect r = PlaceInView(view, textPosition);
  return r.top() >= 0 && r.bottom() <= view.viewport()->height();
}

}  // namespace

TEST_F(MainWindow, EveryControlIsNamedByItsHintOrCaption) {
  Settings("[MainWindow]\r\nShowHint=0\r\n");  // names stay when hints are not shown
  TMainForm1& m = Start();
  TBibleForm1* f = OpenFromMenu(4);
  ASSERT_TRUE(f);
  QApplication::processEvents();
  EXPECT_EQ(NameOf(m.ComboBox1->lineEdit()), QStringLiteral("Книга от Библията"));
  EXPECT_EQ(NameOf(m.SpinEdit1), QStringLiteral("Глава на книгата"));
  EXPECT_EQ(NameOf(m.SpinEdit2), QStringLiteral("Номер на стиха"));
  EXPECT_EQ(NameOf(m.LargeListBox1), QStringLiteral("Списък на думите"));
  EXPECT_EQ(NameOf(m.LargeListBox1->ComboBox->lineEdit()), QStringLiteral("Списък на думите"));
  EXPECT_EQ(NameOf(m.ListBox2), QStringLiteral("Намерени стихове"));
  EXPECT_EQ(NameOf(m.BibleComboBox1->lineEdit()), QStringLiteral("Отваряни стихове"));
  EXPECT_EQ(NameOf(m.StatusBar1), QStringLiteral("Резултат от търсенето"));
  EXPECT_EQ(NameOf(m.Button1), QStringLiteral("само"));
  EXPECT_EQ(NameOf(f->BRichEdit1), QStringLiteral("King James Version"));
  // Every control a user reads or operates, in the main window and in a dialog, has a name.
  auto unnamed = [this](QWidget* window) {
    QStringList missing;
    for (QWidget* w : window->findChildren<QWidget*>()) {
      if (!w->isVisible()) continue;
      QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
      if (!a) continue;
      switch (a->role()) {
        case QAccessible::EditableText:
        case QAccessible::SpinBox:
        case QAccessible::List:
        case QAccessible::PushButton:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::PageTabList:
          if (NameOf(w).isEmpty()) missing << w->metaObject()->className() + QStringLiteral(" ") +
                                                  w->objectName();
          break;
        default:
          break;
      }
    }
    return missing;
  };
  EXPECT_EQ(unnamed(&m), QStringList());
  Options->show();
  QApplication::processEvents();
  EXPECT_EQ(unnamed(Options.get()), QStringList());
  Options->hide();
  // The helper names a window built later, whatever its kind.
  QWidget later;
  auto* box = new QComboBox(&later);
  box->setEditable(true);
  box->setToolTip(QStringLiteral("Речник"));
  NameControls(&later);
  EXPECT_EQ(NameOf(box->lineEdit()), QStringLiteral("Речник"));
}

TEST_F(MainWindow, AWindowOpenedAfterTheLastWasClosedIsTiled) {
  TMainForm1& m = Start();
  ASSERT_TRUE(OpenFromMenu(4));
  // Ctrl+F4 closes the active Bible window, wherever the focus is in the main window.
  m.ActiveBibleForm()->BRichEdit1->setFocus();
  Key(Qt::Key_F4, Qt::ControlModifier);
  QApplication::processEvents();
  ASSERT_TRUE(m.BibleForms().empty());
  EXPECT_TRUE(m.Panel3->isHidden());
  TBibleForm1* f = OpenFromMenu(4);
  ASSERT_TRUE(f);
  QApplication::processEvents();
  const QRect area = m.MdiArea->viewport()->rect();
  EXPECT_EQ(f->SubWindow()->geometry(), area);
  // Two windows share the area side by side.
  TBibleForm1* g = OpenFromMenu(0);
  ASSERT_TRUE(g);
  QApplication::processEvents();
  EXPECT_EQ(f->SubWindow()->width() + g->SubWindow()->width(), m.MdiArea->viewport()->width());
  EXPECT_EQ(g->SubWindow()->height(), m.MdiArea->viewport()->height());
}

TEST_F(MainWindow, CtrlF4ClosesOnlyTheActiveBibleWindow) {
  TMainForm1& m = Start();
  TBibleForm1* english = OpenFromMenu(4);
  TBibleForm1* bulgarian = OpenFromMenu(0);
  ASSERT_TRUE(english && bulgarian);
  m.SpinEdit2->setFocus();
  Key(Qt::Key_F4, Qt::ControlModifier);
  QApplication::processEvents();
  ASSERT_EQ(m.BibleForms().size(), 1u);
  EXPECT_EQ(m.BibleForms().front(), english);
  EXPECT_TRUE(m.isVisible());
}

TEST_F(MainWindow, AVersionLackingTheShownBookOpensAtItsNearestPlaceAndMovesNothingElse) {
  TMainForm1& m = Start();
  TBibleForm1* english = OpenFromMenu(4);
  ASSERT_TRUE(english);
  GoTo(2, 2, 3);  // Psalms 2:3
  ASSERT_EQ(english->Book, 22);
  TBibleForm1* greek = OpenFromMenu(9);
  ASSERT_TRUE(greek);
  ASSERT_NE(greek, english);
  QApplication::processEvents();
  // The Greek New Testament has no Psalms: it opens at its first book after them.
  EXPECT_EQ(greek->Book, 51);
  EXPECT_EQ(greek->Chapter, 1);
  EXPECT_EQ(greek->Verse, 1);
  EXPECT_EQ(greek->ShownBook, 51);
  EXPECT_EQ(english->Book, 22);
  EXPECT_EQ(english->Chapter, 2);
  EXPECT_EQ(english->Verse, 3);
  EXPECT_EQ(english->ShownBook, 22);
  // The English window stayed the current one throughout: no version switch saved its lists.
  EXPECT_EQ(m.CurrentBible(), english->Bible);
  EXPECT_FALSE(std::filesystem::exists(Dir.File("KJV/VerseHistory.txt")));
  EXPECT_EQ(m.ComboBox1->currentText(), QStringLiteral("Psalms"));
  EXPECT_EQ(m.SpinEdit1->Value(), 2);
  EXPECT_EQ(m.SpinEdit2->Value(), 3);
  // A version that has the place opens there and takes over, as before.
  TBibleForm1* bulgarian = OpenFromMenu(0);
  ASSERT_TRUE(bulgarian);
  EXPECT_EQ(m.ActiveBibleForm(), bulgarian);
  EXPECT_EQ(bulgarian->Book, 22);
  EXPECT_EQ(bulgarian->Chapter, 2);
  EXPECT_EQ(bulgarian->Verse, 3);
  EXPECT_EQ(english->Book, 22);
  EXPECT_EQ(greek->Book, 51);
}

TEST_F(MainWindow, TheHeadingShowsAtVerseOneAndTheCurrentVerseStaysInViewAfterRelayout) {
  TMainForm1& m = Start();
  TBibleForm1* f = OpenFromMenu(4);
  ASSERT_TRUE(f);
  GoTo(3, 1, 51);  // the last verse of John 1, far below its heading
  TBibleRichEdit1& view = *f->BRichEdit1;
  ASSERT_GT(view.verticalScrollBar()->maximum(), 0) << "the chapter must be longer than the view";
  EXPECT_TRUE(InView(view, f->VerseStart[51]));
  // Up to verse 1 with the keys, from the text: the heading comes into view with it.
  GoTo(3, 1, 2);
  view.setFocus();
  Key(Qt::Key_Up);
  ASSERT_EQ(f->Verse, 1);
  QApplication::processEvents();
  EXPECT_TRUE(InView(view, 0)) << "the heading";
  EXPECT_TRUE(InView(view, f->VerseStart[1]));
  // A verse low in the chapter, then the frame shrinks (tiling with another window and a
  // smaller main window): the verse is still in view.
  GoTo(3, 1, 40);
  ASSERT_TRUE(InView(view, f->VerseStart[40]));
  ASSERT_TRUE(OpenFromMenu(0));
  m.resize(700, 380);
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
  EXPECT_TRUE(InView(view, f->VerseStart[40]));
  m.resize(1000, 700);
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
  EXPECT_TRUE(InView(view, f->VerseStart[40]));
}

TEST_F(MainWindow, DialogsHaveNoMaximiseButtonAndTheBookListShowsWholeNames) {
  TMainForm1& m = Start();
  TListMessageForm1 list(&m);
  for (QWidget* dialog : {static_cast<QWidget*>(Options.get()), static_cast<QWidget*>(&list)}) {
    EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMinimizeButtonHint);
    // Without this the window manager decides the buttons itself and offers maximising.
    EXPECT_TRUE(dialog->windowFlags() & Qt::CustomizeWindowHint);
    EXPECT_TRUE(dialog->windowFlags() & Qt::WindowCloseButtonHint);
  }
  EXPECT_EQ(Options->windowTitle(), QStringLiteral("Настройка"));
  EXPECT_EQ(m.windowTitle(), QStringLiteral("Библията"));
  TBibleForm1* f = OpenFromMenu(4);
  ASSERT_TRUE(f);
  // The drop-down is as wide as the longest book name, so no name is cut.
  m.ComboBox1->showPopup();
  QApplication::processEvents();
  QAbstractItemView* view = m.ComboBox1->view();
  const int last = m.ComboBox1->count() - 1;
  const QString name = m.ComboBox1->itemText(last);
  const QRect row = view->visualRect(view->model()->index(last, 0));
  // The row holds the text with the item's margins on both sides.
  EXPECT_GE(row.width(), view->fontMetrics().horizontalAdvance(name) + 8) << name.toStdString();
  EXPECT_EQ(view->textElideMode(), Qt::ElideNone);
  m.ComboBox1->hidePopup();
  // The status panel keeps its whole frame inside the bar, also with a large font.
  f->Bible->Font.Size = 28;
  m.ApplyVersionFont();
  m.StatusPanel->setText(QStringLiteral("love | 55"));
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
  EXPECT_TRUE(m.StatusBar1->rect().contains(m.StatusPanel->geometry()));
  EXPECT_GE(m.StatusPanel->height(),
            m.StatusPanel->fontMetrics().height() + 2 * m.StatusPanel->frameWidth());
  EXPECT_NE(m.StatusPanel->frameShape(), QFrame::NoFrame);
}

// At the default size no text is cut: the book box and the history box hold a long book name and
// a long reference whole, the range dialog's captions show whole, a long search text neither
// widens the window nor hides its count; closing the last window clears the search's text.
TEST_F(MainWindow, LongTextsShowWholeAndTheLastSearchGoesWithTheLastWindow) {
  TMainForm1& m = Start();
  ASSERT_TRUE(OpenFromMenu(4));
  QApplication::processEvents();
  const QFontMetrics metrics(m.Panel3->font());
  EXPECT_GE(m.ComboBox1->lineEdit()->width(),
            metrics.horizontalAdvance(QStringLiteral("Деяния на Апостолите")));
  EXPECT_GE(m.BibleComboBox1->lineEdit()->width(),
            metrics.horizontalAdvance(QStringLiteral("Revelation of John 22:21")));
  Range->show();
  QApplication::processEvents();
  for (QAbstractButton* b : Range->RadioButtons->buttons())
    EXPECT_GE(b->width(), b->sizeHint().width()) << b->text().toStdString();
  Range->hide();
  const QString words = QStringLiteral("love + ").repeated(40) + QStringLiteral("world");
  m.StatusPanel->setText(words + QStringLiteral(" | 24123"));
  QApplication::processEvents();
  EXPECT_LE(m.minimumSizeHint().width(), 1000);
  EXPECT_EQ(m.width(), 1000);
  EXPECT_TRUE(m.StatusBar1->rect().contains(m.StatusPanel->geometry()));
  EXPECT_EQ(m.StatusPanel->text(), words + QStringLiteral(" | 24123"));  // the copies read it whole
  QApplication::setActiveWindow(&m);
  m.SpinEdit2->setFocus();
  Key(Qt::Key_F4, Qt::ControlModifier);
  QApplication::processEvents();
  ASSERT_TRUE(m.BibleForms().empty());
  EXPECT_EQ(m.StatusPanel->text(), QString());
  EXPECT_EQ(m.ListBox2->count(), 0);
}
