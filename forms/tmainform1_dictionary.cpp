// The main window's dictionary commands: "Речник" of the "&Отвори" menu and of the word list
// rows' popup menu.

#include <QAction>
#include <QMenu>

#include "controls/tlargelistbox.h"
#include "forms/tdic_form1.h"
#include "forms/tmainform1.h"
#include "platform/checkedconnect.h"

void TMainForm1::ConnectDictionaryEvents() {
  BIBLE_CONNECT(Dictionary1, &QAction::triggered, this, [this] { Dictionary1Click(); });
  BIBLE_CONNECT(PopupMenu5, &QMenu::aboutToShow, this, [this] { PopupMenu5Popup(); });
  BIBLE_CONNECT(Dictionary2, &QAction::triggered, this, [this] { Dictionary2Click(); });
}

void TMainForm1::Dictionary1Click() {
  if (Dic_Form1) Dic_Form1->ShowDictionary();
}

void TMainForm1::PopupMenu5Popup() {
  Dictionary2->setEnabled(Dic_Form1 && LargeListBox1->ItemIndex() >= 0 &&
                          Dic_Form1->FindDictionary(LargeListBox1->Text()));
}

void TMainForm1::Dictionary2Click() {
  if (Dic_Form1 && LargeListBox1->ItemIndex() >= 0) Dic_Form1->ShowWord(LargeListBox1->Text());
}
