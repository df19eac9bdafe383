// The main window's dictionary commands: "Речник" of the "&Отвори" menu and of the word list
// rows' popup menu.

#include <QAction>
#include <QMenu>

#include "controls/tlargelistbox.h"
#include "forms/tdic_form1.h"
#include "forms/tmainform1.h"
#include "platform/checkedconnect.h"

void TMainForm1::ConnectDictionaryEvents() {
  QObject* to = &FConnections;
  BIBLE_CONNECT(Dictionary1, &QAction::triggered, to, [this] { Dictionary1Click(); });
  BIBLE_CONNECT(PopupMenu5, &QMenu::aboutToShow, to, [this] { PopupMenu5Popup(); });
  BIBLE_CONNECT(Dictionary2, &QAction::triggered, to, [this] { Dictionary2Click(); });
}

void TMainForm1::Dictionary1Click() {
  if (FDictionary) FDictionary->ShowDictionary();
}

void TMainForm1::PopupMenu5Popup() {
  Dictionary2->setEnabled(FDictionary && LargeListBox1->ItemIndex() >= 0 &&
                          FDictionary->FindDictionary(LargeListBox1->Text()));
}

void TMainForm1::Dictionary2Click() {
  if (FDictionary && LargeListBox1->ItemIndex() >= 0) FDictionary->ShowWord(LargeListBox1->Text());
}
