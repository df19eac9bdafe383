#include "controls/tbiblerichedit1.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <vector>

#include "controls/fontconvert.h"
#include "platform/clipboardchain.h"
#include "platform/codepage.h"

namespace {
// The character set of a run, kept in its character format.
constexpr int CharsetProperty = QTextFormat::UserProperty + 1;
}  // namespace

TCharSet TBibleRichEdit1::DefaultLetters() {
  TCharSet letters;
  for (int c = '0'; c <= '9'; ++c) letters.set(size_t(c));
  for (int c = 'A'; c <= 'Z'; ++c) letters.set(size_t(c));
  for (int c = 'a'; c <= 'z'; ++c) letters.set(size_t(c));
  for (int c = 0xC0; c <= 0xFF; ++c) letters.set(size_t(c));
  return letters;
}

TBibleRichEdit1::TBibleRichEdit1(QWidget* parent) : QTextEdit(parent), Letters(DefaultLetters()) {
  setReadOnly(true);
  setAcceptRichText(false);
  setUndoRedoEnabled(false);
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  SetHideSelection(true);
}

int TBibleRichEdit1::CharsetOf(const QTextCharFormat& format) const {
  return format.hasProperty(CharsetProperty) ? format.intProperty(CharsetProperty) : FFontCharset;
}

std::string TBibleRichEdit1::Bytes(int docStart, int docEnd) const {
  std::string out;
  const QTextDocument* doc = document();
  for (QTextBlock block = doc->findBlock(docStart); block.isValid(); block = block.next()) {
    if (block.position() > docEnd) break;
    if (block.position() > docStart) out += "\r\n";
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      const int from = qMax(docStart, f.position());
      const int to = qMin(docEnd, f.position() + f.length());
      if (from >= to) continue;
      out += EncodeText(f.text().mid(from - f.position(), to - from), CharsetOf(f.charFormat()));
    }
    // The block's own break lies inside the range only when the next block starts in it.
    if (block.position() + block.length() > docEnd) break;
  }
  return out;
}

std::string TBibleRichEdit1::Text() const { return Bytes(0, document()->characterCount() - 1); }

std::string TBibleRichEdit1::TextRange(int start, int length) const {
  if (length <= 0) return std::string();
  // A start between CR and LF maps to the line's end, where the break's bytes begin: the LF
  // alone is then cut from the front.
  const int docStart = DocPosition(start);
  // An end between CR and LF takes the whole break, and the LF is cut at the end.
  int docEnd = DocPosition(start + length);
  if (TextPosition(docEnd) < start + length && docEnd < document()->characterCount() - 1) ++docEnd;
  std::string bytes = Bytes(docStart, docEnd);
  const int lead = TextPosition(docStart) - start;
  if (lead < 0 && size_t(-lead) <= bytes.size()) bytes.erase(0, size_t(-lead));
  if (bytes.size() > size_t(length)) bytes.resize(size_t(length));
  return bytes;
}

int TBibleRichEdit1::TextLength() const { return TextPosition(document()->characterCount() - 1); }

int TBibleRichEdit1::TextPosition(int docPos) const {
  const int end = document()->characterCount() - 1;
  if (docPos < 0) docPos = 0;
  if (docPos > end) docPos = end;
  return docPos + document()->findBlock(docPos).blockNumber();
}

int TBibleRichEdit1::DocPosition(int textPos) const {
  if (textPos <= 0) return 0;
  const QTextDocument* doc = document();
  // The last block whose text start (its position plus one extra character per earlier break)
  // is not beyond textPos.
  int lo = 0, hi = doc->blockCount() - 1;
  while (lo < hi) {
    const int mid = lo + (hi - lo + 1) / 2;
    if (doc->findBlockByNumber(mid).position() + mid <= textPos)
      lo = mid;
    else
      hi = mid - 1;
  }
  const QTextBlock block = doc->findBlockByNumber(lo);
  const int offset = textPos - (block.position() + lo);
  const int lineLength = block.length() - 1;
  return block.position() + qMin(offset, lineLength);
}

int TBibleRichEdit1::SelStart() const { return TextPosition(textCursor().selectionStart()); }

int TBibleRichEdit1::SelLength() const {
  const QTextCursor c = textCursor();
  return TextPosition(c.selectionEnd()) - TextPosition(c.selectionStart());
}

void TBibleRichEdit1::SetSelection(int start, int length) {
  QTextCursor c = textCursor();
  c.setPosition(DocPosition(start));
  if (length > 0) c.setPosition(DocPosition(start + length), QTextCursor::KeepAnchor);
  setTextCursor(c);
}

void TBibleRichEdit1::SetSelStart(int start) { SetSelection(start, 0); }

void TBibleRichEdit1::SetSelLength(int length) { SetSelection(SelStart(), length); }

std::string TBibleRichEdit1::SelText() const {
  const QTextCursor c = textCursor();
  if (!c.hasSelection()) return std::string();
  return Bytes(c.selectionStart(), c.selectionEnd());
}

QColor TBibleRichEdit1::SelColor() const {
  const QTextCharFormat f = textCursor().charFormat();
  return f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color()
                                                     : palette().color(QPalette::Text);
}

void TBibleRichEdit1::SetSelColor(const QColor& color) {
  QTextCharFormat f;
  f.setForeground(color);
  QTextCursor c = textCursor();
  c.mergeCharFormat(f);
  setTextCursor(c);
}

uint8_t TBibleRichEdit1::SelStyle() const {
  const QTextCharFormat f = textCursor().charFormat();
  uint8_t style = 0;
  if (f.fontWeight() >= QFont::Bold) style |= fsBold;
  if (f.fontItalic()) style |= fsItalic;
  if (f.fontUnderline()) style |= fsUnderline;
  if (f.fontStrikeOut()) style |= fsStrikeOut;
  return style;
}

void TBibleRichEdit1::SetSelStyle(uint8_t style) {
  QTextCharFormat f;
  f.setFontWeight((style & fsBold) ? QFont::Bold : QFont::Normal);
  f.setFontItalic(style & fsItalic);
  f.setFontUnderline(style & fsUnderline);
  f.setFontStrikeOut(style & fsStrikeOut);
  QTextCursor c = textCursor();
  c.mergeCharFormat(f);
  setTextCursor(c);
}

int TBibleRichEdit1::SelCharset() const { return CharsetOf(textCursor().charFormat()); }

void TBibleRichEdit1::SetSelCharset(int charset) {
  QTextCursor c = textCursor();
  if (!c.hasSelection()) {
    QTextCharFormat f;
    f.setProperty(CharsetProperty, charset);
    c.mergeCharFormat(f);
    setTextCursor(c);
    return;
  }
  // The bytes keep their values: each run is decoded afresh in the new character set. One byte
  // is one character in every code page, so no position moves.
  const int start = c.selectionStart(), end = c.selectionEnd();
  std::vector<std::pair<int, int>> runs;
  for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() < end;
       block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      const int from = qMax(start, f.position()), to = qMin(end, f.position() + f.length());
      if (from < to) runs.emplace_back(from, to);
    }
  for (const auto& [from, to] : runs) {
    QTextCursor run(document());
    run.setPosition(from);
    run.setPosition(to, QTextCursor::KeepAnchor);
    QTextCharFormat format = run.charFormat();
    const std::string bytes = EncodeText(run.selectedText(), CharsetOf(format));
    format.setProperty(CharsetProperty, charset);
    run.insertText(DecodeBytes(bytes, charset), format);
  }
  c.setPosition(start);
  c.setPosition(end, QTextCursor::KeepAnchor);
  setTextCursor(c);
}

void TBibleRichEdit1::SetDefColor(const QColor& color) {
  FDefFormat.setForeground(color);
  QPalette p = palette();
  p.setColor(QPalette::Text, color);
  setPalette(p);
}

void TBibleRichEdit1::SetDefStyle(uint8_t style) {
  FDefFormat.setFontWeight((style & fsBold) ? QFont::Bold : QFont::Normal);
  FDefFormat.setFontItalic(style & fsItalic);
  FDefFormat.setFontUnderline(style & fsUnderline);
  FDefFormat.setFontStrikeOut(style & fsStrikeOut);
  if (document()->isEmpty()) setCurrentCharFormat(FDefFormat);
}

void TBibleRichEdit1::SetHideSelection(bool on) {
  FHideSelection = on;
  viewport()->update();
}

void TBibleRichEdit1::paintEvent(QPaintEvent* event) {
  if (!FHideSelection || hasFocus()) {
    QTextEdit::paintEvent(event);
    return;
  }
  // Without the focus the selection is not drawn, and selected text keeps its own colours
  // (the coloured verse stays coloured). Owners still read and set the selection.
  QPainter painter(viewport());
  const QPoint offset(horizontalScrollBar()->value(), verticalScrollBar()->value());
  painter.translate(-offset);
  QAbstractTextDocumentLayout::PaintContext context;
  context.palette = palette();
  context.clip = QRectF(event->rect().translated(offset));
  context.cursorPosition = -1;
  painter.setClipRect(context.clip);
  document()->documentLayout()->draw(&painter, context);
}

void TBibleRichEdit1::SetScrollBars(TScrollStyle bars) {
  setVerticalScrollBarPolicy((bars == ssVertical || bars == ssBoth) ? Qt::ScrollBarAlwaysOn
                                                                    : Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy((bars == ssHorizontal || bars == ssBoth) ? Qt::ScrollBarAlwaysOn
                                                                        : Qt::ScrollBarAlwaysOff);
  // Without a horizontal scroll bar the lines wrap at the window's edge.
  setLineWrapMode((bars == ssHorizontal || bars == ssBoth) ? QTextEdit::NoWrap
                                                           : QTextEdit::WidgetWidth);
}

void TBibleRichEdit1::Clear() {
  clear();
  setCurrentCharFormat(FDefFormat);
}

void TBibleRichEdit1::SelectAll() { selectAll(); }

void TBibleRichEdit1::CopyToClipboard() {
  const TOwnClipboardCopy own;
  copy();
}

int TBibleRichEdit1::LineCount() const {
  const QTextDocument* doc = document();
  int n = doc->blockCount();
  if (doc->lastBlock().length() <= 1) --n;
  return qMax(0, n);
}

std::string TBibleRichEdit1::Line(int i) const {
  const QTextBlock block = document()->findBlockByNumber(i);
  if (!block.isValid()) return std::string();
  return Bytes(block.position(), block.position() + block.length() - 1);
}

void TBibleRichEdit1::AppendLine(const std::string& line) {
  QTextCursor c(document());
  c.movePosition(QTextCursor::End);
  QTextCharFormat format = c.charFormat();
  format.setProperty(CharsetProperty, FFontCharset);
  if (document()->lastBlock().length() > 1) c.insertBlock(c.blockFormat(), format);
  InsertBytes(c, line, format);
  c.insertBlock(c.blockFormat(), format);
}

void TBibleRichEdit1::SetViewFont(const TFont& font) {
  setFont(ToQFont(font));
  FFontCharset = font.Charset;
  QPalette p = palette();
  p.setColor(QPalette::Text, ToQColor(font.Color));
  setPalette(p);
}

void TBibleRichEdit1::InsertBytes(QTextCursor& cursor, const std::string& bytes,
                                  const QTextCharFormat& format) {
  // A CR LF, LF or CR inside the bytes is a line break of the view.
  const int charset = CharsetOf(format);
  size_t start = 0;
  while (start <= bytes.size()) {
    const size_t brk = bytes.find_first_of("\r\n", start);
    const size_t end = brk == std::string::npos ? bytes.size() : brk;
    if (end > start)
      cursor.insertText(DecodeBytes(std::string_view(bytes).substr(start, end - start), charset),
                        format);
    if (brk == std::string::npos) break;
    cursor.insertBlock(cursor.blockFormat(), format);
    start = brk + 1;
    if (bytes[brk] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
}

void TBibleRichEdit1::AppendLinePiece(QTextCursor& cursor, const std::string& piece,
                                      QTextCharFormat format) {
  // The font names whose italic runs need a blank after them to look right.
  const QString family = font().family();
  const bool blankAfterItalic =
      family == QStringLiteral("MS Sans Serif") || family == QStringLiteral("MS Serif");
  format.setFontWeight(QFont::Normal);
  format.setFontItalic(false);
  size_t start = 0;
  for (size_t bar = piece.find('|'); bar != std::string::npos; bar = piece.find('|', start)) {
    InsertBytes(cursor, piece.substr(start, bar - start), format);
    if (format.fontItalic()) {
      format.setFontItalic(false);
      if (blankAfterItalic) InsertBytes(cursor, " ", format);
    } else {
      format.setFontItalic(true);
    }
    start = bar + 1;
  }
  InsertBytes(cursor, piece.substr(start), format);
}

void TBibleRichEdit1::AddText(const std::string& title, const std::string& body) {
  AddTextCharsets(title, body, FFontCharset, FFontCharset);
}

void TBibleRichEdit1::AddTextCharsets(const std::string& title, const std::string& body,
                                      int titleCharset, int bodyCharset) {
  QTextCursor cursor = FBuilding ? FBuildCursor : textCursor();
  QTextCharFormat format = cursor.charFormat();
  format.setFontWeight(QFont::Bold);
  format.setFontItalic(false);
  format.setFontUnderline(false);
  format.setFontStrikeOut(false);
  format.setProperty(CharsetProperty, titleCharset);
  // Inserting replaces the selection, so that successive calls append at the caret.
  if (cursor.hasSelection()) cursor.removeSelectedText();
  InsertBytes(cursor, title, format);
  format.setProperty(CharsetProperty, bodyCharset);
  size_t start = 0;
  for (size_t tilde = body.find('~'); tilde != std::string::npos; tilde = body.find('~', start)) {
    AppendLinePiece(cursor, body.substr(start, tilde - start) + "\r\n", format);
    start = tilde + 1;
  }
  AppendLinePiece(cursor, body.substr(start), format);
  if (FBuilding)
    FBuildCursor = cursor;
  else
    setTextCursor(cursor);
}

void TBibleRichEdit1::BeginBuild() {
  if (FBuilding) return;
  FBuildCursor = textCursor();
  FBuildCursor.beginEditBlock();
  FBuilding = true;
}

void TBibleRichEdit1::EndBuild() {
  if (!FBuilding) return;
  FBuilding = false;
  FBuildCursor.endEditBlock();
  setTextCursor(FBuildCursor);
  FBuildCursor = QTextCursor();
}

void TBibleRichEdit1::SelectWordAtCaret() {
  if (textCursor().hasSelection()) return;
  const std::string text = Text();
  const int len = int(text.size());
  const int s = SelStart();
  // 1-based as the text indexes of the rule: character k is text[k - 1], and character s is
  // the one just before the caret.
  auto isLetter = [&](int k) {
    return Letters.test(static_cast<unsigned char>(text[size_t(k - 1)]));
  };
  int e = qMax(s, 1);
  while (e <= len && isLetter(e)) ++e;
  int b = s;
  while (b >= 1 && isLetter(b)) --b;
  SetSelection(b, b < e ? e - b - 1 : 0);
}

void TBibleRichEdit1::UpdatePopupItems() {
  if (!FPopupMenu) return;
  const QList<QAction*> items = FPopupMenu->actions();
  const std::string selected = SelText();
  const TEnableFunction* enables[4] = {&Enable0, &Enable1, &Enable2, &Enable3};
  for (int i = 0; i < 4 && i < items.size(); ++i)
    if (*enables[i]) items[i]->setEnabled((*enables[i])(selected));
}

void TBibleRichEdit1::mousePressEvent(QMouseEvent* event) {
  // The view's own handling first places the caret under the mouse.
  QTextEdit::mousePressEvent(event);
  if (!AutoMark) return;
  if (textCursor().hasSelection()) {
    UpdatePopupItems();
  } else if (event->button() != Qt::RightButton) {
    SelectWordAtCaret();
    UpdatePopupItems();
  }
}

void TBibleRichEdit1::contextMenuEvent(QContextMenuEvent* event) {
  if (FPopupMenu) FPopupMenu->exec(event->globalPos());
  event->accept();
}

void TBibleRichEdit1::keyPressEvent(QKeyEvent* event) {
  int key = event->key();
  if (OnKeyDown) {
    OnKeyDown(this, key, event->modifiers());
    if (key == 0) {
      event->accept();
      return;
    }
  }
  QTextEdit::keyPressEvent(event);
}
