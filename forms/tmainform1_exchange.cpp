// The main window's exchange with other programs: the items that they poke and request, and the
// link to the on-top viewer.
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

#include "controls/tmyspinedit.h"
#include "core/exchangedata.h"
#include "core/tbible.h"
#include "forms/tbibleform1.h"
#include "forms/tmainform1.h"
#include "platform/codepage.h"
#include "platform/ddeclient.h"
#include "platform/ddeserver.h"
#include "platform/showmessage.h"

namespace {

const QString SetBookItem = QStringLiteral("SetBook");
const QString SetChapterItem = QStringLiteral("SetChapter");
const QString SetVerseItem = QStringLiteral("SetVerse");

// A reference or a number is short; anything near this is not one.
constexpr int MaxPokeLength = 4096;

// The spin edit's text as the number that the poked text reads as: a text that is no number
// reads as the box's minimum, as the box itself reads it.
void PokeSpinEdit(TMySpinEdit& box, const QString& text) {
  int32_t n = 0;
  if (!ReadPokedNumber(text.toStdString(), n)) n = box.MinValue();
  box.Edit()->setText(QString::number(n));
}

}  // namespace

QString TMainForm1::ExchangeServiceName() {
  QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName().section('.', 0, 0);
  // A bus name element holds only ASCII letters, digits, "_" and "-" and starts with no digit.
  for (QChar& c : name) {
    const char16_t u = c.unicode();
    const bool ok = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
                    u == '_' || u == '-';
    if (!ok) c = QLatin1Char('_');
  }
  if (name.isEmpty()) name = QStringLiteral("bible");
  if (name.front().isDigit()) name.prepend(QLatin1Char('_'));
  return name;
}

void TMainForm1::CreateExchange() {
  DdeServerConv1 = new TDdeServerConv(QStringLiteral("DdeServerConv1"), this);
  for (const QString& item : {SetBookItem, SetChapterItem, SetVerseItem}) DdeServerConv1->AddItem(item);
  DdeServerConv1->MaxDataLength = MaxPokeLength;
  DdeServerConv1->OnPokeData = [this](const QString& item, const QString& data) {
    try {
      if (item == SetBookItem)
        SetBookPokeData(data);
      else if (item == SetChapterItem)
        SetChapterPokeData(data);
      else if (item == SetVerseItem)
        SetVersePokeData(data);
    } catch (const std::exception& e) {
      // A read error of the data files is shown as any other, once the call has been answered.
      const QString message = QString::fromStdString(e.what());
      QTimer::singleShot(0, this, [this, message] { ShowMessage(message, this); });
      throw;
    }
  };
  // Without a session bus (or with the name taken by another copy of the program) the items
  // still work for the program's own callers.
  DdeServerConv1->Register(ExchangeServiceName());

  DdeClientConv1 = new TDdeClientConv(QStringLiteral("Beacon"), QStringLiteral("DdeServerConv1"), this);
  DdeClientConv1->OnOpen = [this] { DdeClientConv1Open(); };
  DdeClientConv1->OnClose = [this] { DdeClientConv1Close(); };
}

void TMainForm1::DestroyExchange() {
  if (DdeClientConv1) {
    DdeClientConv1->OnOpen = nullptr;
    DdeClientConv1->OnClose = nullptr;
  }
  if (DdeServerConv1) DdeServerConv1->OnPokeData = nullptr;
}

void TMainForm1::SetBookPokeData(const QString& text) {
  if (!Place.Bible || !ActiveBibleForm()) return;
  ComboBox1->setEditText(text);
  // Text that is no reference moves nothing, the box included.
  if (!Place.IsReference(EncodeText(text, NameCharset()))) ShowPlace();
  else ComboBox1KeyPress(13);
  if (TBibleForm1* form = ActiveBibleForm(); form && DdeServerConv1)
    DdeServerConv1->SetValue(SetVerseItem,
                             DecodeBytes(form->ActiveVerseText(), form->Bible->Font.Charset));
}

void TMainForm1::SetChapterPokeData(const QString& text) {
  if (!Place.Bible || !ActiveBibleForm()) return;
  PokeSpinEdit(*SpinEdit1, text);
}

void TMainForm1::SetVersePokeData(const QString& text) {
  if (!Place.Bible || !ActiveBibleForm()) return;
  PokeSpinEdit(*SpinEdit2, text);
  if (TBibleForm1* form = ActiveBibleForm(); form && DdeServerConv1)
    DdeServerConv1->SetValue(SetVerseItem,
                             DecodeBytes(form->ActiveVerseText(), form->Bible->Font.Charset));
}

void TMainForm1::ViewWindow1Click() {
  if (!DdeClientConv1) return;
  if (ViewerLinked)
    DdeClientConv1->ExecuteMacro(QStringLiteral("Restore"));
  else
    DdeClientConv1->OpenLink();
  if (!ViewerLinked) return;
  if (TBibleForm1* form = ActiveBibleForm()) {
    form->SendViewerText();
    form->SendViewerPosition(Place.Verse);
  }
}

void TMainForm1::DdeClientConv1Open() { ViewerLinked = true; }

void TMainForm1::DdeClientConv1Close() { ViewerLinked = false; }
