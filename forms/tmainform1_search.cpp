// The main window's word search: the word box, the mode menu, the found-verse list.
#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStringList>

#include "controls/tbiblecombobox.h"
#include "controls/tbiblerichedit1.h"
#include "controls/tfoundlistbox.h"
#include "controls/tlargelistbox.h"
#include "core/bibleunit.h"
#include "core/chapterbuilder.h"
#include "core/keyboard.h"
#include "core/tbible.h"
#include "forms/tmainform1.h"
#include "forms/trangeform1.h"
#include "platform/codepage.h"
#include "platform/showmessage.h"

void TMainForm1::SearchText(const std::string& text) {
  if (!Place.Bible || !Search.SearchText(*Place.Bible, text)) return;
  if (Search.Found.Count() > 0)
    LargeListBox1->ComboBox->Add(Search.Found[1], LargeListBox1->Text(), DateTimeNow());
  ShowFound(Search.SearchExpression);
  ShowForms();
  // The Bible windows colour the found words in their active verses.
  Search.NotifyChanged();
}

void TMainForm1::ShowFound(const std::string& expression) {
  ListBox2->clear();
  if (!Place.Bible || Search.Found.Absent()) return;
  // The lines are made only when they come into view; each reads the result as it is then.
  const bool shortNames = TViewOptions::Unpack(Settings.ViewOptions).ShortNames;
  const TBible* bible = Place.Bible;
  const int charset = NameCharset();
  ListBox2->SetLines(Search.Found.Count(), [this, bible, shortNames, charset](int row) {
    if (row >= Search.Found.Count() || bible != Place.Bible) return QString();
    return DecodeBytes(VerseReference(*bible, Search.Found[size_t(row) + 1], shortNames), charset);
  });
  if (!expression.empty()) {
    const QString status = DecodeBytes(Search.StatusText, Place.Bible->Font.Charset);
    StatusPanel->setText(QString::fromStdString(StatusWithForms(Search, status.toStdString())));
    ListBox2->SetCurrentRow(0);
  }
}

void TMainForm1::CheckBox1Click() {
  Settings.AllForms = CheckBox1->isChecked();
  Search.Forms = Settings.AllForms;
  ShowForms();
  // The word in the box is searched again with the new setting, as a new search.
  if (Place.Bible && !LargeListBox1->Text().empty()) {
    SetModeOnly();
    SearchTypedText();
  }
}

void TMainForm1::ShowForms() {
  QString text;
  if (Search.Expanded && Place.Bible) {
    QStringList forms;
    for (const std::string& form : Search.MatchedForms)
      forms << DecodeBytes(form, Place.Bible->Font.Charset);
    text = QStringLiteral("Форми: ") + forms.join(QStringLiteral(", "));
  } else if (Search.Forms && Place.Bible && !VersionHasForms) {
    text = QStringLiteral("Тази версия няма форми на думите: търси се точно.");
  }
  Label1->setText(text);
  Panel9->setVisible(!text.isEmpty());
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

int TMainForm1::CountMarked() const { return ListBox2->SelectedCount(); }

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
    SearchEnteredText();
  } else {
    Typing = true;
    // "*" marks a prefix in the word box; no layout's character on that key is part of a word.
    if (key != '*') TranslateKey(key);
  }
}

void TMainForm1::SearchWord(const std::string& word) {
  LargeListBox1->SetText(word);
  SearchEnteredText();
}

// The word box's text searched as Enter searches it: the first verse found shown, and the found
// list in front.
void TMainForm1::SearchEnteredText() {
  Typing = false;
  SearchTypedText();
  if (Search.Found.Count() > 0) {
    GoToVerse(Search.Found[1]);
    ListBox2->setFocus();
  }
}

void TMainForm1::TranslateKey(char& key) const {
  if (Place.Bible) ::TranslateKey(key, Settings.AutoKeybd, VersionLanguage(*Place.Bible));
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

void TMainForm1::Range1Click() {
  if (FRange) FRange->RunForm();
  LargeListBox1ChangeItemIndex();
}

void TMainForm1::CopyList() {
  RichEdit1->Clear();
  if (!Place.Bible) return;
  const int charset = Place.Bible->Font.Charset;
  const std::string title = EncodeText(StatusPanel->text(), charset) + ":";
  const std::string body = ReferenceList(*Place.Bible, Search.Found,
                                         TViewOptions::Unpack(Settings.ViewOptions).ShortNames);
  RichEdit1->AddTextCharsets(title, body, charset, NameCharset());
}

void TMainForm1::CopyVerses(bool markedOnly) {
  RichEdit1->Clear();
  RichEdit1->SetSelStyle(0);
  if (!Place.Bible) return;
  const TBible& bible = *Place.Bible;
  const int charset = bible.Font.Charset;
  std::string title;
  if (!markedOnly) {
    title = EncodeText(StatusPanel->text(), charset);
    if (ListBox2->count() > 0) title += ":";
  }
  RichEdit1->AddTextCharsets(title, std::string(), charset, charset);
  std::vector<int> rows;
  if (markedOnly) {
    rows = ListBox2->SelectedRows();
  } else {
    rows.resize(size_t(ListBox2->count()));
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = int(i);
  }
  // The verses as the windows show them: without the notes when those are hidden.
  const bool notes = Settings.ShowFootnotes;
  const int names = NameCharset();
  for (int row : rows) {
    if (row < 0 || row >= Search.Found.Count()) continue;
    int position = 0, chapter = 0, verse = 0;
    LocateVerse(bible, Search.Found[size_t(row) + 1], position, chapter, verse);
    std::string text = ReadVerseAt(bible, position, chapter, verse);
    if (!notes) StripFootnotes(text);
    RichEdit1->AddTextCharsets("\r\n" + EncodeText(ListBox2->Line(row), names) + " ", text, names,
                               charset);
  }
}

void TMainForm1::Copy1Click(QAction* sender) {
  try {
    if (sender == Copy1)
      CopyList();
    else
      CopyVerses(sender == Copy3);
  } catch (const std::exception& e) {
    ShowMessage(QString::fromStdString(e.what()), this);
    return;
  }
  // All of the text but a closing line break.
  const std::string text = RichEdit1->Text();
  int length = int(text.size());
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) length -= 2;
  RichEdit1->SetSelection(0, length);
  RichEdit1->CopyToClipboard();
}
