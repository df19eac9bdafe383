// The main window's word search: the word box, the mode menu, the found-verse list.
#include "forms/tmainform1.h"

#include <QAction>
#include <QCheckBox>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include "controls/fontconvert.h"
#include "controls/tbiblecombobox.h"
#include "controls/tbiblerichedit1.h"
#include "controls/tlargelistbox.h"
#include "controls/tmyspinedit.h"
#include "core/bibleunit.h"
#include "core/chapterbuilder.h"
#include "core/cp1251.h"
#include "core/eioerror.h"
#include "core/tbible.h"
#include "core/tcustominifile.h"
#include "core/tlargestringlist.h"
#include "forms/tbibleform1.h"
#include "forms/tlogoform1.h"
#include "forms/toptionsform1.h"
#include "platform/checkedconnect.h"
#include "platform/codepage.h"
#include "platform/showmessage.h"
#include "platform/winhelp.h"

void TMainForm1::SearchText(const std::string& text) {
  if (!CurrentBible) return;
  Search.BookSet = BookSet;
  if (!Search.SearchText(*CurrentBible, text)) return;
  if (Search.Found.Count() > 0)
    LargeListBox1->ComboBox->Add(Search.Found[1], LargeListBox1->Text(), DateTimeNow());
  ShowFound(Search.SearchExpression);
  // The found words are coloured in the active verse of every window.
  for (TBibleForm1* form : BibleForms()) {
    const bool keep = ReuseChapterText;
    form->DisplayVerse(form->Book, form->Chapter, form->Verse);
    ReuseChapterText = keep;
  }
}

void TMainForm1::ShowFound(const std::string& expression) {
  ListBox2->clear();
  if (!CurrentBible || Search.Found.Absent()) return;
  const bool shortNames = TViewOptions::Unpack(ViewOptions).ShortNames;
  QStringList lines;
  for (uint16_t n : Search.Found)
    lines.append(DecodeBytes(VerseReference(*CurrentBible, n, shortNames), NameCharset()));
  ListBox2->addItems(lines);
  if (!expression.empty()) {
    StatusPanel->setText(DecodeBytes(Search.StatusText, CurrentBible->Font.Charset));
    if (ListBox2->count() > 0) ListBox2->setCurrentRow(0, QItemSelectionModel::NoUpdate);
  }
}

void TMainForm1::SearchTypedText() {
  SearchText(LargeListBox1->Text());
  SetModeOnly();
}

void TMainForm1::SearchSelectedWord() {
  if (Typing) return;
  SearchText(LargeListBox1->Text());
  SetModeOnly();
  Copy3->setEnabled(false);
}

void TMainForm1::SetModeOnly() {
  Only1->setChecked(true);
  Search.SetModeOnly();
  Button1->setText(QStringLiteral("само"));
}

int TMainForm1::CountMarked() const { return int(ListBox2->selectedItems().size()); }

void TMainForm1::LargeListBox1ChangeItemIndex() {
  if (LargeListBox1->ItemIndex() < 0) {
    SearchTypedText();
  } else {
    SearchSelectedWord();
    Typing = false;
  }
}

void TMainForm1::LargeListBox1KeyPress(char& key) {
  if (key == 13) {
    Typing = false;
    SearchTypedText();
    if (Search.Found.Count() > 0) {
      GoToVerse(Search.Found[1]);
      ListBox2->setFocus();
    }
  } else {
    Typing = true;
  }
}

void TMainForm1::Button1MouseDown() {
  QPoint p = Button1->mapToGlobal(QPoint(0, Button1->height()));
  if (QScreen* s = QGuiApplication::primaryScreen())
    if (p.x() + 75 > s->geometry().width()) p.setX(s->geometry().width() - 75);
  PopupMenu4->popup(p);
}

void TMainForm1::ModeClick(QAction* item) {
  if (item == Only1) {
    SetModeOnly();
    return;
  }
  item->setChecked(true);
  Button1->setText(item->text());
  Search.Mode = item == And1 ? TSearchMode::And : item == Or1 ? TSearchMode::Or
                                                              : TSearchMode::Without;
}

void TMainForm1::ListBox2Click() {
  if (ListBox2->count() == 0) return;
  const int n = CountMarked();
  Copy3->setEnabled(n > 0);
  const int row = ListBox2->currentRow();
  if (n == 1 && row >= 0 && row < Search.Found.Count()) GoToVerse(Search.Found[size_t(row) + 1]);
}
