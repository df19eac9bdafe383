// The Bible window's part of the link to the on-top viewer: what it shows and where.
#include <QMdiSubWindow>
#include <QTextBlock>
#include <QTextDocument>

#include "controls/tbiblerichedit1.h"
#include "core/tbible.h"
#include "forms/tbibleform1.h"
#include "platform/codepage.h"
#include "platform/ddeclient.h"

namespace {

// The view's whole text with line breaks as CR LF, so that its positions are the view's own
// text positions (verse starts), one character per byte of the stored text.
QString ViewerText(const TBibleRichEdit1& view) {
  QString out;
  for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next()) {
    if (block != view.document()->begin()) out += QStringLiteral("\r\n");
    out += block.text();
  }
  return out;
}

}  // namespace

bool TBibleForm1::IsViewerWindow() const {
  return FShared.Viewer && FShared.Viewer->Linked() && SubWindow() &&
         ActiveIn(SubWindow()->mdiArea()) == this;
}

void TBibleForm1::SendViewerText() {
  if (!IsViewerWindow()) return;
  TDdeClientConv& link = *FShared.Viewer;
  const TFont& font = Bible->Font;
  link.PokeData(QStringLiteral("SetCaption"), windowTitle());
  link.PokeData(QStringLiteral("SetFont"), AnsiToQString(font.Name));
  link.PokeData(QStringLiteral("SetFontSize"), QString::number(font.Size));
  link.PokeData(QStringLiteral("SetFontCharSet"), QString::number(font.Charset & 0xFF));
  link.PokeData(QStringLiteral("SetText"), ViewerText(*BRichEdit1));
}

void TBibleForm1::SendViewerPosition(int v) {
  // Only a verse of the shown chapter has a range.
  if (!IsViewerWindow() || v < 1 || size_t(v) + 1 >= VerseStart.size()) return;
  TDdeClientConv& link = *FShared.Viewer;
  link.PokeData(QStringLiteral("GoToPos"), QString::number(VerseStart[size_t(v)]));
  link.PokeData(QStringLiteral("GoToPos"), QString::number(VerseStart[size_t(v) + 1] - 2));
}
