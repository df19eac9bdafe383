// The main window's navigation: book, chapter and verse controls, history, bookmarks, references.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <algorithm>
#include <tuple>

#include "controls/tbiblecombobox.h"
#include "controls/tfoundlistbox.h"
#include "controls/tmyspinedit.h"
#include "core/bibleunit.h"
#include "core/keyboard.h"
#include "core/nearestplace.h"
#include "core/tbible.h"
#include "forms/tbibleform1.h"
#include "forms/tmainform1.h"
#include "platform/codepage.h"
#include "platform/showmessage.h"

void TMainForm1::ShowPosition() {
  if (Place.Position() < 1) return;
  Place.Clamp();
  Place.NotifyChanged();
  RecordHistory();
  for (auto& b : Bibles)
    if (b) b->RefreshPending = true;
  for (TBibleForm1* form : BibleForms()) {
    if (!form->Bible->RefreshPending) continue;
    // A version without the book (the Greek New Testament at a psalm) keeps its own place
    // rather than losing it for an empty page.
    if (!HasPlace(*form->Bible, Place.Book, 1, 1)) continue;
    form->Book = Place.Book;
    form->Chapter = Place.Chapter;
    form->Verse = Place.Verse;
    form->DisplayVerse(form->Book, form->Chapter, form->Verse);
    form->Bible->RefreshPending = false;
  }
}

void TMainForm1::ShowPlace() {
  SetBookLine(Place.Position());
  for (auto [box, last, value] : {std::tuple{SpinEdit1, Place.LastChapter(), Place.Chapter},
                                  std::tuple{SpinEdit2, Place.LastVerse(), Place.Verse}}) {
    box->SetMaxValue(last);
    if (box->Text() != QString::number(value)) box->FixValue(value);
  }
}

bool TMainForm1::TakeControls() {
  if (!Place.Bible || ComboBox1->currentIndex() < 0) return false;
  Place.Book = Place.Bible->BookOrder[size_t(std::min(ComboBox1->currentIndex() + 1, MaxBooks))];
  SpinEdit1->SetMaxValue(Place.LastChapter());
  if (SpinEdit1->Text().isEmpty()) return false;
  Place.Chapter = std::clamp(SpinEdit1->Value(), 1, Place.LastChapter());
  if (Place.Chapter != SpinEdit1->Value()) SpinEdit1->FixValue(Place.Chapter);
  SpinEdit2->SetMaxValue(Place.LastVerse());
  if (SpinEdit2->Text().isEmpty()) return false;
  Place.Verse = SpinEdit2->Value();
  return true;
}

TPlace TMainForm1::ControlPlace() const {
  TPlace place = Place;
  place.Chapter = SpinEdit1->Value();
  place.Verse = SpinEdit2->Value();
  return place;
}

void TMainForm1::RecordHistory() {
  const std::string text = Place.Reference();
  if (const int carried = Place.CarryBookmark(); carried >= 0)
    if (QAction* item = BookMark2->actions().value(carried + 1)) ShowBookmark(item, text);
  const TDateTime now = DateTimeNow();
  Place.StampHistory(now);
  BibleComboBox1->Add(uint16_t(Place.VerseNumber()), text, now);
}

void TMainForm1::GoToVerse(int n) {
  if (!Place.MoveToVerse(n)) return;
  // The found list's lines are the references of Found in order, so the shown verse's line is
  // where the verse stands in Found.
  ListBox2->clearSelection();
  const int shown = Place.VerseNumber();
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
  if (!Place.MoveToReference(text)) return false;
  ShowPosition();
  return true;
}

void TMainForm1::ComboBox1Change() {
  if (!Place.Bible || ComboBox1->currentIndex() < 0) return;
  const int position = std::min(ComboBox1->currentIndex() + 1, MaxBooks);
  if (Place.Bible->BookOrder[size_t(position)] != Place.Book && TakeControls()) ShowPosition();
}

bool TMainForm1::ComboBox1KeyPress(char& key) {
  TBible* bible = Place.Bible;
  if (!bible) return false;
  if (key == 13) {
    GoToReference(EncodeTypedText(ComboBox1->currentText(), NameCharset()));
    return true;
  }
  if (key == ' ') {
    std::string s = EncodeTypedText(ComboBox1->currentText(), NameCharset());
    if (s.size() < 2) return false;
    NormalizeReference(s);
    const int position = FindBookName(*bible, s);
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
  const int language = VersionLanguage(*bible);
  const QLineEdit* edit = ComboBox1->lineEdit();
  const int caret = edit->cursorPosition();
  const bool afterDigit = caret > 0 && edit->text().at(caret - 1).isDigit();
  if (language != 0 && !afterDigit)
    ::TranslateKey(key, Settings.AutoKeybd, language == 3 ? 2 : language);
  return false;
}

namespace {

// The typed character of a key event as one byte of the code page, 0 when it has none (a
// function key, a modifier, Delete, or a character the code page lacks).
char TypedByte(const QKeyEvent& key, int charset) {
  const QString text = key.text();
  if (text.size() != 1 || key.key() == Qt::Key_Delete || text[0].unicode() == 127) return 0;
  const std::string bytes = EncodeTypedText(text, charset);
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
  if (!Typing && TakeControls()) ShowPosition();
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
  if (Place.Bible) GoToVerse(ControlPlace().PreviousVerse());
}

void TMainForm1::SpinEdit2Max() {
  if (Place.Bible) GoToVerse(ControlPlace().NextVerse());
}

void TMainForm1::BibleComboBox1Change() {
  const int i = BibleComboBox1->currentIndex();
  if (i < 0 || i >= BibleComboBox1->Count()) return;
  GoToVerse(BibleComboBox1->Places()[size_t(i)]);
}

void TMainForm1::Previous1Click() {
  if (BibleComboBox1->Count() == 0) return;
  int i = BibleComboBox1->PreviousByTime(Place.HistoryStamp);
  if (i < 0) i = 0;
  Place.StepBack(BibleComboBox1->Times()[size_t(i)]);
  GoToVerse(BibleComboBox1->Places()[size_t(i)]);
}

void TMainForm1::Random1Click() {
  if (!Place.Bible || Place.Bible->VerseCount == 0) return;
  GoToVerse(1 + std::rand() % Place.Bible->VerseCount);
}

void TMainForm1::GotoBookMark1Click(QAction* item) {
  if (!item) return;
  GoToReference(item->data().toByteArray().toStdString());
  SpinEdit2->setFocus();
}

void TMainForm1::LoadBookmarkMenu() {
  const QList<QAction*> items = BookMark2->actions();
  for (int i = int(items.size()) - 1; i >= 1; --i) {
    BookMark2->removeAction(items[i]);
    delete items[i];
  }
  if (Place.Bible)
    for (const std::string& mark : Place.Bible->BookMarks) AddBookmarkItem(mark);
}

void TMainForm1::AddBookmarkItem(const std::string& caption) {
  QAction* item = BookMark2->addAction(QString());
  ShowBookmark(item, caption);
  BIBLE_CONNECT(item, &QAction::triggered, &FConnections,
                [this, item] { GotoBookMark1Click(item); });
}

void TMainForm1::ShowBookmark(QAction* item, const std::string& caption) {
  item->setText(
      DecodeBytes(caption, NameCharset()).replace(QLatin1Char('&'), QStringLiteral("&&")));
  item->setData(QByteArray::fromStdString(caption));
}
