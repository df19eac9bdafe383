#pragma once
// The program's read-only text view. It appends text in a small markup ("~" ends a line, "|"
// switches italic, the title is bold), keeps every run's character set, selects the word under a
// click by itself and lets its owner enable the first four popup items from the selected text.
//
// Its text is bytes, each run in the code page of its character set, a line break being CR LF.
// Every position the owners use (selection, verse starts, the viewer's positions) counts that way;
// DocPosition and TextPosition convert to and from QTextDocument positions, where a paragraph
// break is one character. No other code does that conversion.

#include <QTextCursor>
#include <QTextEdit>
#include <cstdint>
#include <string>

#include "controls/controlevents.h"
#include "core/tbible.h"

class QMenu;

class TBibleRichEdit1 : public QTextEdit {
 public:
  explicit TBibleRichEdit1(QWidget* parent = nullptr);

  TEnableFunction Enable0;
  TEnableFunction Enable1;
  TEnableFunction Enable2;
  TEnableFunction Enable3;
  // A mouse click selects the word at the caret and updates the popup items.
  bool AutoMark = true;
  // The bytes that form a word.
  TCharSet Letters;
  TKeyEvent OnKeyDown;

  static TCharSet DefaultLetters();

  // AddTextCharsets with the view font's character set for both.
  void AddText(const std::string& title, const std::string& body);
  // Appends the title (bold) and the body (markup interpreted) at the caret.
  void AddTextCharsets(const std::string& title, const std::string& body, int titleCharset,
                       int bodyCharset);
  // The appends between BeginBuild and EndBuild form one edit of the document, which is laid out
  // once at EndBuild instead of after every append; the caret ends after the last append.
  void BeginBuild();
  void EndBuild();
  void SelectWordAtCaret();
  void UpdatePopupItems();

  // The text as bytes, line breaks as CR LF.
  std::string Text() const;
  int TextLength() const;
  // The bytes of length characters of the text from the text position start (as Text().substr).
  std::string TextRange(int start, int length) const;
  // Text positions (CR LF = 2) <-> document positions (paragraph break = 1). A text position
  // between CR and LF or beyond the end maps to the end of that line or of the text.
  int DocPosition(int textPos) const;
  int TextPosition(int docPos) const;

  int SelStart() const;
  // Caret to the position, nothing selected.
  void SetSelStart(int start);
  int SelLength() const;
  // Selects length characters from SelStart.
  void SetSelLength(int length);
  void SetSelection(int start, int length);
  std::string SelText() const;

  // The attributes of the selection, or of the insertion point when nothing is selected.
  QColor SelColor() const;
  void SetSelColor(const QColor& color);
  uint8_t SelStyle() const;  // TFontStyle bits
  void SetSelStyle(uint8_t style);
  int SelCharset() const;
  void SetSelCharset(int charset);
  // The attributes of text that has none of its own, also after Clear.
  void SetDefColor(const QColor& color);
  void SetDefStyle(uint8_t style);

  // Whether the selection disappears while the view has no focus (the default).
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool on);
  enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
  void SetScrollBars(TScrollStyle bars);

  // Empties the text; the insertion point returns to the default attributes.
  void Clear();
  void SelectAll();
  // The selection as rich and as plain text; the program's own copy, which the clipboard
  // watcher leaves alone (platform/clipboardchain.h).
  void CopyToClipboard();

  // The line list: a trailing empty line does not count.
  int LineCount() const;
  std::string Line(int i) const;
  // Appends the bytes as a line of their own, ended by a line break.
  void AppendLine(const std::string& line);

  // The view font: its Qt face and the character set of its bytes.
  void SetViewFont(const TFont& font);
  int FontCharset() const { return FFontCharset; }
  void SetFontCharset(int charset) { FFontCharset = charset; }

  QMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(QMenu* menu) { FPopupMenu = menu; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  std::string Bytes(int docStart, int docEnd) const;
  int CharsetOf(const QTextCharFormat& format) const;
  void InsertBytes(QTextCursor& cursor, const std::string& bytes, const QTextCharFormat& format);
  void AppendLinePiece(QTextCursor& cursor, const std::string& piece, QTextCharFormat format);

  QMenu* FPopupMenu = nullptr;
  int FFontCharset = DEFAULT_CHARSET;
  bool FHideSelection = true;
  QTextCharFormat FDefFormat;
  QTextCursor FBuildCursor;
  bool FBuilding = false;
};
