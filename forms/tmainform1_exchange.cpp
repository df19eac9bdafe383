// The main window's exchange with other programs: the items that they poke and request.
#include <QComboBox>

#include "forms/tmainform1.h"

void TMainForm1::SetBookPokeData(const QString& text) {
  if (!CurrentBible || !ActiveBibleForm()) return;
  ComboBox1->setEditText(text);
  ComboBox1KeyPress(13);
}
