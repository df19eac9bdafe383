// The options dialog as a user drives it: opened from the main window's menu with its keyboard
// shortcut, its controls clicked, the font and colour dialogs answered, keys sent to the window
// that has the focus. Versions are generated in temporary folders.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>
#include <functional>

#include "controls/fontconvert.h"
#include "controls/tbiblecombobox.h"
#include "controls/tbiblerichedit1.h"
#include "controls/tlargelistbox.h"
#include "core/chapterbuilder.h"
#include "core/cp1251.h"
#include "core/keyboard.h"
#include "tests/controls/uitest.h"
#include "tests/support/mainwindowfixture.h"

namespace {

void Enter() { SendKey(Qt::Key_Return, QStringLiteral("\r")); }
// Escape to a dialog that has just come up in front (it is the window the keyboard goes to).
void EscapeTo(QWidget* dialog) { SendKey(Qt::Key_Escape, QStringLiteral("\x1b"), {}, dialog); }

template <class T>
T* ActiveModal() {
  return dynamic_cast<T*>(QApplication::activeModalWidget());
}

// Clicks the dialog's OK button.
void ClickOk(QWidget* dialog) {
  auto* box = dialog->findChild<QDialogButtonBox*>();
  ASSERT_TRUE(box);
  QTest::mouseClick(box->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

// The font dialog or the colour dialog, answered as a user does: a choice and OK, or Escape.
void AnswerFontDialog(const QFont* choice) {
  WhenOpen([] { return ActiveModal<QFontDialog>(); },
           [choice](QWidget* w) {
             QApplication::setActiveWindow(w);
             if (choice) {
               static_cast<QFontDialog*>(w)->setCurrentFont(*choice);
               ClickOk(w);
             } else {
               EscapeTo(w);
             }
           });
}
void AnswerColorDialog(const QColor* choice, QColor* openedWith = nullptr) {
  WhenOpen([] { return ActiveModal<QColorDialog>(); },
           [choice, openedWith](QWidget* w) {
             auto* dialog = static_cast<QColorDialog*>(w);
             if (openedWith) *openedWith = dialog->currentColor();
             QApplication::setActiveWindow(w);
             if (choice) {
               dialog->setCurrentColor(*choice);
               ClickOk(w);
             } else {
               EscapeTo(w);
             }
           });
}

class Options : public TMainWindowTest {
 protected:
  void SetUp() override {
    TMainWindowTest::SetUp();
    WriteSampleVersion(Dir.Path(), 4, EnglishSample());
    WriteSampleVersion(Dir.Path(), 0, BulgarianSample());
    WriteSampleVersion(Dir.Path(), 9, GreekSample());
    Start(true);
    Dialog = TMainWindowTest::Options.get();
  }
  TOptionsForm1* Dialog = nullptr;
  // Runs the dialog with EditOptions; act works in it while it is up and closes it.
  bool Edit(std::function<void()> act) {
    WhenOpen([] { return ActiveModal<TOptionsForm1>(); },
             [act](QWidget* w) {
               QApplication::setActiveWindow(w);
               act();
             });
    return Dialog->EditOptions();
  }
  // Opens the dialog from the main window's menu with Alt and the underlined letter.
  void FromMenu(std::function<void()> act) {
    WhenOpen([] { return ActiveModal<TOptionsForm1>(); },
             [act](QWidget* w) {
               QApplication::setActiveWindow(w);
               act();
             });
    QApplication::setActiveWindow(Main.get());
    Main->activateWindow();
    Main->setFocus();
    SendKey(0x041D, QStringLiteral("н"), Qt::AltModifier);  // "&Настройка"
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Dialog->isVisible(); }));
  }
  // A push button is clicked in its middle, a check box or radio button on its box, where a
  // user aims.
  static void Click(QAbstractButton* button) {
    const bool push = qobject_cast<QPushButton*>(button);
    QTest::mouseClick(button, Qt::LeftButton, {},
                      push ? button->rect().center() : QPoint(8, button->height() / 2));
  }
  // Clicks the tab of the page.
  void ShowPage(int index) {
    QTabBar* tabs = Dialog->PageControl1->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    ASSERT_EQ(Dialog->PageControl1->currentIndex(), index);
  }
};

}  // namespace

TEST_F(Options, TheFormsInitialStatesAndAFixedDialogWithoutMaximising) {
  for (QCheckBox* on : {Dialog->CheckBox5, Dialog->CheckBox6, Dialog->CheckBox8, Dialog->CheckBox9,
                        Dialog->CheckBox10})
    EXPECT_TRUE(on->isChecked()) << on->text().toStdString();
  for (QCheckBox* off : {Dialog->CheckBox1, Dialog->CheckBox2, Dialog->CheckBox3, Dialog->CheckBox4,
                         Dialog->CheckBox7})
    EXPECT_FALSE(off->isChecked()) << off->text().toStdString();
  EXPECT_EQ(Dialog->RadioGroup1->ItemIndex(), 1);
  EXPECT_EQ(Dialog->RadioGroup2->ItemIndex(), 0);
  EXPECT_FALSE(Dialog->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(Dialog->windowFlags() & Qt::WindowMinimizeButtonHint);
  Open(4, 54, 3, 16);
  Edit([this] {
    EXPECT_EQ(Dialog->minimumSize(), Dialog->maximumSize());
    EXPECT_GE(Dialog->width(), 400);
    EXPECT_GE(Dialog->height(), 308);
    EscapeTo(Dialog);
  });
}

TEST_F(Options, OpenedFromTheMenuFilledFromTheSettingsAndConfirmedUntouchedChangesNothing) {
  Main->Settings.ViewOptions = TViewOptions{true, false, true, true}.Pack();
  Main->Settings.CurrentVerseColor = 0x0000FF;
  Main->Settings.DifferentFonts = true;
  Main->Settings.CheckClipboard = false;
  Main->Settings.FoneticCyr = true;
  Main->SetPanelAlign(TMainForm1::alRight);
  TBibleForm1* f = Open(4, 54, 3, 16);
  ASSERT_TRUE(f);
  const std::string before = f->BRichEdit1->Text();
  bool filled = false;
  FromMenu([&] {
    filled = true;
    EXPECT_TRUE(Dialog->CheckBox1->isChecked());
    EXPECT_TRUE(Dialog->CheckBox2->isChecked());
    EXPECT_FALSE(Dialog->CheckBox3->isChecked());
    EXPECT_TRUE(Dialog->CheckBox4->isChecked());
    EXPECT_FALSE(Dialog->CheckBox7->isChecked());
    EXPECT_FALSE(Dialog->CheckBox6->isChecked());
    EXPECT_EQ(Dialog->RadioGroup1->ItemIndex(), 1);
    EXPECT_EQ(Dialog->RadioGroup2->ItemIndex(), 1);
    EXPECT_EQ(TOptionsForm1::PanelColor(Dialog->Panel1), 0x0000FFu);
    EXPECT_EQ(Dialog->Label2->text(), QStringLiteral("Times New Roman 12"));
    Enter();  // "ДА" is the default button while no other button has the focus
  });
  EXPECT_TRUE(filled);
  EXPECT_FALSE(Main->Settings.RebuildTexts);
  EXPECT_EQ(f->BRichEdit1->Text(), before);
  // Confirmed untouched, the result is false; so it is after a click on the side already chosen.
  EXPECT_FALSE(Edit([] { Enter(); }));
  EXPECT_FALSE(Edit([this] {
    Click(Dialog->RadioGroup1->Button(1));
    Click(Dialog->Button2);
  }));
  EXPECT_FALSE(Main->Settings.RebuildTexts);
  EXPECT_EQ(Main->Settings.CurrentVerseColor, 0x0000FFu);
  EXPECT_TRUE(Main->Settings.DifferentFonts);
}

TEST_F(Options, ChapterNumberConfirmedRebuildsAndCancelledKeepsTheSetting) {
  Open(4, 54, 3, 16);
  EXPECT_TRUE(Edit([this] {
    Click(Dialog->CheckBox3);
    Click(Dialog->Button2);
  }));
  EXPECT_TRUE(Main->Settings.RebuildTexts);
  EXPECT_TRUE(TViewOptions::Unpack(Main->Settings.ViewOptions).ShowChapter);
  EXPECT_FALSE(Edit([this] {
    EXPECT_TRUE(Dialog->CheckBox3->isChecked());
    Click(Dialog->CheckBox3);
    EscapeTo(Dialog);
  }));
  EXPECT_TRUE(TViewOptions::Unpack(Main->Settings.ViewOptions).ShowChapter);
  Edit([this] {
    EXPECT_TRUE(Dialog->CheckBox3->isChecked());
    EscapeTo(Dialog);
  });
}

TEST_F(Options, ColourStoredButACancelledFontDialogMakesTheResultFalse) {
  Open(4, 54, 3, 16);
  const QColor red(255, 0, 0);
  QColor firstOpening, secondOpening;
  const bool result = Edit([&] {
    AnswerColorDialog(&red, &firstOpening);
    Click(Dialog->Button5);
    EXPECT_EQ(TOptionsForm1::PanelColor(Dialog->Panel1), 0x0000FFu);
    EXPECT_TRUE(Dialog->FChanged);
    AnswerFontDialog(nullptr);
    Click(Dialog->Button4);
    EXPECT_FALSE(Dialog->FChanged);
    // The colour dialog opens with the colour last chosen in it, not with the panel's colour.
    AnswerColorDialog(nullptr, &secondOpening);
    Click(Dialog->Button6);
    EXPECT_EQ(TOptionsForm1::PanelColor(Dialog->Panel2), 0xFF0000u);
    Click(Dialog->Button2);
  });
  EXPECT_FALSE(result);
  EXPECT_FALSE(Main->Settings.RebuildTexts);
  EXPECT_EQ(Main->Settings.CurrentVerseColor, 0x0000FFu);
  EXPECT_EQ(Main->Settings.FounWordColor, 0xFF0000u);
  EXPECT_EQ(firstOpening, QColor(Qt::black));
  EXPECT_EQ(secondOpening, red);
}

TEST_F(Options, AChosenFontStaysWithTheVersionAndShowsWhenTheDialogIsCancelled) {
  TBibleForm1* f = Open(4, 54, 3, 16);
  ASSERT_TRUE(f);
  const QFont chosen(QStringLiteral("DejaVu Sans"), 14);
  FromMenu([&] {
    AnswerFontDialog(&chosen);
    Click(Dialog->Button4);
    EXPECT_EQ(Dialog->Label2->text(), QStringLiteral("DejaVu Sans 14"));
    // The version has it before the dialog is confirmed, with its own character set.
    EXPECT_EQ(f->Bible->Font.Name, "DejaVu Sans");
    EXPECT_EQ(f->Bible->Font.Charset, RUSSIAN_CHARSET);
    EscapeTo(Dialog);
  });
  EXPECT_EQ(f->Bible->Font.Name, "DejaVu Sans");
  EXPECT_EQ(f->Bible->Font.Size, 14);
  EXPECT_EQ(f->BRichEdit1->font().family(), QStringLiteral("DejaVu Sans"));
  // The next opening offers the version's new font.
  Edit([this] {
    EXPECT_EQ(Dialog->Label2->text(), QStringLiteral("DejaVu Sans 14"));
    EscapeTo(Dialog);
  });
}

TEST_F(Options, PhoneticLayoutChosenAndCancelledStaysInForceAndIsSaved) {
  Open(0, 1, 1, 1);
  EXPECT_FALSE(Edit([this] {
    ShowPage(1);
    Click(Dialog->RadioGroup2->Button(1));
    EXPECT_EQ(KeyboardTables[2], BulgarianLayouts[1]);
    EscapeTo(Dialog);
  }));
  EXPECT_TRUE(Main->Settings.FoneticCyr);
  // The word box translates with the phonetic layout: q w e give я в е.
  QApplication::setActiveWindow(Main.get());
  Main->LargeListBox1->ComboBox->setFocus();
  TypeKeys(QStringLiteral("qwe"));
  EXPECT_EQ(Cp1251ToUtf8(Main->LargeListBox1->Text()), "яве");
  Edit([this] {
    EXPECT_EQ(Dialog->RadioGroup2->ItemIndex(), 1);
    Click(Dialog->RadioGroup2->Button(0));
    EXPECT_EQ(KeyboardTables[2], BulgarianLayouts[0]);
    Click(Dialog->RadioGroup2->Button(1));
    EscapeTo(Dialog);
  });
  Main->close();
  EXPECT_TRUE(Ini->ReadBool("MainWindow", "FoneticCyr", false));
}

TEST_F(Options, SoundSwitchedOffAndCancelledStaysOffAndIsSaved) {
  Open(4, 1, 1, 1);
  Dialog->CheckBox8->setChecked(true);
  EXPECT_FALSE(Edit([this] {
    ShowPage(1);
    Click(Dialog->CheckBox8);
    EscapeTo(Dialog);
  }));
  EXPECT_FALSE(Dialog->CheckBox8->isChecked());
  Edit([this] {
    EXPECT_FALSE(Dialog->CheckBox8->isChecked());
    EscapeTo(Dialog);
  });
  Main->close();
  EXPECT_FALSE(Ini->ReadBool("MainWindow", "PlaySound", true));
}

TEST_F(Options, ForAllWindowsDecidesTheResultOnlyUntilAFontIsChosen) {
  Open(4, 1, 1, 1);
  // Ticked, no font chosen: unticking makes the result false even after another change.
  EXPECT_FALSE(Edit([this] {
    EXPECT_TRUE(Dialog->CheckBox7->isChecked());
    Click(Dialog->CheckBox3);
    Click(Dialog->CheckBox7);
    Click(Dialog->Button2);
  }));
  EXPECT_TRUE(Main->Settings.DifferentFonts);
  // Ticking it again is a change of its own.
  EXPECT_TRUE(Edit([this] {
    Click(Dialog->CheckBox7);
    Click(Dialog->Button2);
  }));
  EXPECT_FALSE(Main->Settings.DifferentFonts);
  // After a font was chosen, the box changes nothing.
  const QFont chosen(QStringLiteral("DejaVu Serif"), 11);
  EXPECT_TRUE(Edit([&] {
    AnswerFontDialog(&chosen);
    Click(Dialog->Button4);
    Click(Dialog->CheckBox7);
    Click(Dialog->CheckBox7);
    Click(Dialog->CheckBox7);
    Click(Dialog->Button2);
  }));
  EXPECT_TRUE(Main->Settings.RebuildTexts);
}

TEST_F(Options, WithDifferentFontsOnlyTheActiveVersionsWindowsTakeTheFont) {
  TBibleForm1* bulgarian = Open(0, 1, 1, 1);
  TBibleForm1* english = Open(4, 1, 1, 1);
  ASSERT_TRUE(bulgarian && english);
  Main->Settings.DifferentFonts = true;
  const QFont chosen(QStringLiteral("DejaVu Sans"), 13);
  FromMenu([&] {
    AnswerFontDialog(&chosen);
    Click(Dialog->Button4);
    Click(Dialog->Button2);
  });
  EXPECT_TRUE(Main->Settings.DifferentFonts);
  EXPECT_EQ(english->Bible->Font.Name, "DejaVu Sans");
  EXPECT_EQ(english->BRichEdit1->font().family(), QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(bulgarian->Bible->Font.Name, "Times New Roman");
  EXPECT_EQ(bulgarian->BRichEdit1->font().family(), QStringLiteral("Times New Roman"));
  // One font for all windows: every version takes it.
  const QFont common(QStringLiteral("DejaVu Serif"), 12);
  FromMenu([&] {
    Click(Dialog->CheckBox7);
    AnswerFontDialog(&common);
    Click(Dialog->Button4);
    Click(Dialog->Button2);
  });
  EXPECT_FALSE(Main->Settings.DifferentFonts);
  EXPECT_EQ(bulgarian->Bible->Font.Name, "DejaVu Serif");
  EXPECT_EQ(bulgarian->BRichEdit1->font().family(), QStringLiteral("DejaVu Serif"));
  EXPECT_EQ(bulgarian->Bible->Font.Charset, RUSSIAN_CHARSET);
}

TEST_F(Options, TheGreekWarningOnlyWhenTheActiveWindowShowsTheGreekVersion) {
  Open(4, 54, 1, 1);
  QPointer<QTimer> watch;
  QString text;
  watch = WhenOpen([] { return ActiveModal<QMessageBox>(); },
                   [&text](QWidget* w) {
                     text = static_cast<QMessageBox*>(w)->text();
                     static_cast<QMessageBox*>(w)->accept();
                   });
  FromMenu([this] {
    Click(Dialog->CheckBox3);
    Click(Dialog->Button2);
  });
  QTest::qWait(50);
  EXPECT_TRUE(text.isEmpty());
  delete watch.data();
  Open(9, 54, 1, 1);
  AnswerNextMessageBox(&text);
  FromMenu([this] {
    Click(Dialog->CheckBox3);
    Click(Dialog->Button2);
  });
  EXPECT_TRUE(text.startsWith(QStringLiteral("Ако избрания шрифт притежава Script:Greek")));
}

TEST_F(Options, HintsAndThePanelSideAreAppliedOnConfirm) {
  Open(4, 1, 1, 1);
  EXPECT_TRUE(Edit([this] {
    Click(Dialog->CheckBox5);
    Click(Dialog->RadioGroup1->Button(1));
    Click(Dialog->Button2);
  }));
  EXPECT_FALSE(Main->Settings.ShowHint);
  EXPECT_TRUE(Main->ComboBox1->toolTip().isEmpty());
  EXPECT_EQ(Main->PanelAlign(), TMainForm1::alRight);
  EXPECT_EQ(Main->Splitter1->indexOf(Main->Panel3), 1);
  Edit([this] {
    EXPECT_FALSE(Dialog->CheckBox5->isChecked());
    EXPECT_EQ(Dialog->RadioGroup1->ItemIndex(), 1);
    Click(Dialog->CheckBox5);
    Click(Dialog->RadioGroup1->Button(0));
    Click(Dialog->Button2);
  });
  EXPECT_EQ(Main->ComboBox1->toolTip(), QStringLiteral("Книга от Библията"));
  EXPECT_EQ(Main->PanelAlign(), TMainForm1::alLeft);
}

TEST_F(Options, TheDialogTakesTheFontOfACyrillicVersion) {
  TBibleForm1* f = Open(0, 1, 1, 1);
  ASSERT_TRUE(f);
  f->Bible->SetFont(TFont{"DejaVu Sans", 12, 0, RUSSIAN_CHARSET, 0});
  Edit([this] {
    EXPECT_EQ(Dialog->font().family(), QStringLiteral("DejaVu Sans"));
    EscapeTo(Dialog);
  });
}
