// The main window's navigation: book, chapter and verse controls, history, bookmarks, references.
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
#include "controls/tfoundlistbox.h"
#include "controls/tlargelistbox.h"
#include "controls/tmyspinedit.h"
#include "core/bibleunit.h"
#include "core/chapterbuilder.h"
#include "core/cp1251.h"
#include "core/eioerror.h"
#include "core/keyboard.h"
#include "core/nearestplace.h"
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

void TMainForm1::ShowPosition() {
  if (ComboBox1->currentIndex() < 0 || !CurrentBible) return;
  const TBible& bible = *CurrentBible;
  const int position = ComboBox1->currentIndex() + 1;
  CurrentBook = bible.BookOrder[size_t(std::min(position, MaxBooks))];
  SpinEdit1->SetMaxValue(std::max(1, bible.ChapterCount(position)));
  if (SpinEdit1->Text().isEmpty()) return;
  if (SpinEdit1->Value() > SpinEdit1->MaxValue()) SpinEdit1->FixValue(SpinEdit1->MaxValue());
  if (SpinEdit1->Value() < 1) SpinEdit1->FixValue(1);
  SpinEdit2->SetMaxValue(std::max(1, bible.ChapterVerses(position, SpinEdit1->Value())));
  if (SpinEdit2->Text().isEmpty()) return;
  if (SpinEdit2->Value() > SpinEdit2->MaxValue()) SpinEdit2->FixValue(SpinEdit2->MaxValue());
  if (SpinEdit2->Value() < 1) SpinEdit2->FixValue(1);
  RecordHistory();
  for (auto& b : Bibles)
    if (b) b->RefreshPending = true;
  for (TBibleForm1* form : BibleForms()) {
    if (!form->Bible->RefreshPending) continue;
    // A version without the book (the Greek New Testament at a psalm) keeps its own place
    // rather than losing it for an empty page.
    if (!HasPlace(*form->Bible, CurrentBook, 1, 1)) continue;
    form->Book = CurrentBook;
    form->Chapter = SpinEdit1->Value();
    form->Verse = SpinEdit2->Value();
    form->DisplayVerse(form->Book, form->Chapter, form->Verse);
    form->Bible->RefreshPending = false;
  }
}

void TMainForm1::RecordHistory() {
  const TBible& bible = *CurrentBible;
  const int n = VerseNumber(bible, bible.BookPosition[size_t(CurrentBook)], SpinEdit1->Value(),
                            SpinEdit2->Value());
  const std::string text = VerseReference(bible, n, false);
  if (n > 1) {
    const std::string previous = VerseReference(bible, n - 1, false);
    const QList<QAction*> items = BookMark2->actions();
    for (int j = 1; j < int(items.size()); ++j) {
      if (items[j]->data().toByteArray().toStdString() != previous) continue;
      if (size_t(j - 1) < CurrentBible->BookMarks.size())
        CurrentBible->BookMarks[size_t(j - 1)] = text;
      QString shown = DecodeBytes(text, NameCharset());
      items[j]->setText(shown.replace(QLatin1Char('&'), QStringLiteral("&&")));
      items[j]->setData(QByteArray::fromStdString(text));
      break;
    }
  }
  const TDateTime now = DateTimeNow();
  if (FollowStamp) HistoryStamp = now;
  FollowStamp = true;
  BibleComboBox1->Add(uint16_t(n), text, now);
}

void TMainForm1::GoToVerse(int n) {
  if (!CurrentBible) return;
  const TBible& bible = *CurrentBible;
  int position = 0, chapter = 1, verse = 1;
  LocateVerse(bible, n, position, chapter, verse);
  if (position < 1) return;
  CurrentBook = bible.BookOrder[size_t(position)];
  SetBookLine(position);
  SpinEdit1->SetMaxValue(std::max(1, bible.ChapterCount(position)));
  SpinEdit1->FixValue(chapter);
  SpinEdit2->SetMaxValue(std::max(1, bible.ChapterVerses(position, chapter)));
  SpinEdit2->FixValue(verse);
  // The found list's lines are the references of Found in order, so the shown verse's line is
  // where the verse stands in Found.
  ListBox2->clearSelection();
  const int shown = VerseNumber(bible, position, chapter, verse);
  const auto* first = Search.Found.begin();
  const auto* last = Search.Found.end();
  const auto* at = std::lower_bound(first, last, uint16_t(shown));
  const int row = at != last && *at == shown ? int(at - first) : -1;
  if (row >= 0 && row < ListBox2->count())
    ListBox2->SelectRow(row);
  else
    Copy3->setEnabled(false);
  ShowPosition();
}

bool TMainForm1::GoToReference(const std::string& text) {
  if (!CurrentBible) return false;
  int position = 0, chapter = 1, verse = 1;
  if (!ParseReference(*CurrentBible, text, position, chapter, verse)) return false;
  if (position > 0) SetBookLine(position);
  SpinEdit1->FixValue(chapter);
  SpinEdit2->FixValue(verse);
  ShowPosition();
  return true;
}

void TMainForm1::ComboBox1Change() {
  if (!CurrentBible || ComboBox1->currentIndex() < 0) return;
  const int position = ComboBox1->currentIndex() + 1;
  if (CurrentBible->BookOrder[size_t(std::min(position, MaxBooks))] != CurrentBook) ShowPosition();
}

bool TMainForm1::ComboBox1KeyPress(char& key) {
  if (!CurrentBible) return false;
  if (key == 13) {
    GoToReference(EncodeText(ComboBox1->currentText(), NameCharset()));
    return true;
  }
  if (key == ' ') {
    std::string s = EncodeText(ComboBox1->currentText(), NameCharset());
    if (s.size() < 2) return false;
    NormalizeReference(s);
    const int position = FindBookName(*CurrentBible, s);
    if (position < 1) return false;
    SetBookLine(position);
    ComboBox1->setEditText(ComboBox1->itemText(position - 1) + QLatin1Char(' '));
    ComboBox1->lineEdit()->end(false);
    return true;
  }
  // The Greek version's book names are Bulgarian, so its book box types with the Bulgarian
  // layout; the other versions type in their own. A key right after a digit is the separator of
  // chapter and verse (or another digit) and stays as typed: translated, the ":" of "3:16" would
  // become a letter and the verse would be lost.
  const int language = VersionLanguage(*CurrentBible);
  const QLineEdit* edit = ComboBox1->lineEdit();
  const int caret = edit->cursorPosition();
  const bool afterDigit = caret > 0 && edit->text().at(caret - 1).isDigit();
  if (language != 0 && !afterDigit) ::TranslateKey(key, AutoKeybd, language == 3 ? 2 : language);
  return false;
}

namespace {

// The typed character of a key event as one byte of the code page, 0 when it has none (a
// function key, a modifier, Delete, or a character the code page lacks).
char TypedByte(const QKeyEvent& key, int charset) {
  const QString text = key.text();
  if (text.size() != 1 || key.key() == Qt::Key_Delete || text[0].unicode() == 127) return 0;
  const std::string bytes = EncodeText(text, charset);
  if (bytes.size() != 1) return 0;
  // A character the code page cannot hold comes back as '?'.
  if (bytes[0] == '?' && text[0] != QLatin1Char('?')) return 0;
  return bytes[0];
}

}  // namespace

bool TMainForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == MdiArea && event->type() == QEvent::Resize) TileWindows();
  if ((watched == ComboBox1 || watched == ComboBox1->lineEdit()) &&
      event->type() == QEvent::KeyPress && !FForwardingKey) {
    const auto* key = static_cast<QKeyEvent*>(event);
    char c = 0;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
      c = 13;
    else if (key->key() == Qt::Key_Space)
      c = ' ';
    else if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
      c = TypedByte(*key, NameCharset());
    if (c) {
      const char typed = c;
      try {
        if (ComboBox1KeyPress(c)) return true;
      } catch (const std::exception& e) {
        ShowMessage(QString::fromStdString(e.what()), this);
        return true;
      }
      if (c != typed) {
        // The translated character goes to the box in place of the typed one.
        QKeyEvent changed(QEvent::KeyPress, 0, key->modifiers(),
                          DecodeBytes(std::string_view(&c, 1), NameCharset()));
        FForwardingKey = true;
        QApplication::sendEvent(watched, &changed);
        FForwardingKey = false;
        return true;
      }
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm1::SpinEdit1Change() {
  if (!Typing) ShowPosition();
}

void TMainForm1::SpinEdit2KeyDown(TMySpinEdit* sender, int& key) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Typing = false;
      SpinEdit1Change();
      break;
    case Qt::Key_PageUp:
      Typing = false;
      sender->SetValue(1);
      break;
    case Qt::Key_PageDown:
      Typing = false;
      sender->SetValue(sender->MaxValue());
      break;
    case Qt::Key_Up:
    case Qt::Key_Down:
    // Moving the focus and the modifiers alone type nothing.
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
      break;
    default:
      Typing = true;
      break;
  }
}

void TMainForm1::SpinEdit2Min() {
  if (!CurrentBible) return;
  const int n = VerseNumber(*CurrentBible, ComboBox1->currentIndex() + 1, SpinEdit1->Value(),
                            SpinEdit2->Value());
  GoToVerse(n > 1 ? n - 1 : 1);
}

void TMainForm1::SpinEdit2Max() {
  if (!CurrentBible) return;
  const int n = VerseNumber(*CurrentBible, ComboBox1->currentIndex() + 1, SpinEdit1->Value(),
                            SpinEdit2->Value());
  GoToVerse(n < CurrentBible->VerseCount ? n + 1 : n);
}

void TMainForm1::BibleComboBox1Change() {
  const int i = BibleComboBox1->currentIndex();
  if (i < 0 || i >= BibleComboBox1->Count()) return;
  GoToVerse(BibleComboBox1->Places()[size_t(i)]);
}

void TMainForm1::Previous1Click() {
  if (BibleComboBox1->Count() == 0) return;
  int i = BibleComboBox1->PreviousByTime(HistoryStamp);
  if (i < 0) i = 0;
  FollowStamp = false;
  HistoryStamp = BibleComboBox1->Times()[size_t(i)];
  GoToVerse(BibleComboBox1->Places()[size_t(i)]);
}

void TMainForm1::Random1Click() {
  if (!CurrentBible || CurrentBible->VerseCount == 0) return;
  GoToVerse(1 + std::rand() % CurrentBible->VerseCount);
}

void TMainForm1::GotoBookMark1Click(QAction* item) {
  if (!item) return;
  GoToReference(item->data().toByteArray().toStdString());
  SpinEdit2->setFocus();
}
