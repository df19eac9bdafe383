#include "controls/tmyspinedit.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <charconv>

#include "platform/beep.h"
#include "platform/checkedconnect.h"

TMySpinEdit::TMySpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
  setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  setAccelerated(false);
  setKeyboardTracking(true);
  lineEdit()->setText(QStringLiteral("0"));
  lineEdit()->installEventFilter(this);
  BIBLE_CONNECT(lineEdit(), &QLineEdit::textChanged, this, [this] { TextChanged(); });
}

QString TMySpinEdit::Text() const { return lineEdit()->text(); }

int32_t TMySpinEdit::Value() const {
  const QByteArray t = lineEdit()->text().toLatin1();
  const char* first = t.constData();
  const char* last = first + t.size();
  if (first != last && *first == '+') ++first;
  int32_t v = 0;
  const auto r = std::from_chars(first, last, v);
  if (first == last || r.ec != std::errc() || r.ptr != last) return FMinValue;
  return v;
}

int32_t TMySpinEdit::CheckRange(int32_t v) {
  if (FMinValue == FMaxValue) return v;
  if (v < FMinValue) {
    if (OnMin) {
      OnMin();
      return Value();
    }
    return FMinValue;
  }
  if (v > FMaxValue) {
    if (OnMax) {
      OnMax();
      return Value();
    }
    return FMaxValue;
  }
  return v;
}

void TMySpinEdit::SetValue(int32_t v) { lineEdit()->setText(QString::number(CheckRange(v))); }

void TMySpinEdit::FixValue(int32_t n) {
  TNotifyEvent saved = std::move(OnChange);
  OnChange = nullptr;
  lineEdit()->setText(QString::number(n));
  OnChange = std::move(saved);
}

void TMySpinEdit::TextChanged() {
  if (OnChange) OnChange(this);
}

void TMySpinEdit::SetEditorEnabled(bool on) {
  FEditorEnabled = on;
  UpdateEditorState();
}

void TMySpinEdit::SetReadOnly(bool on) {
  FReadOnly = on;
  UpdateEditorState();
}

void TMySpinEdit::UpdateEditorState() {
  // The edit refuses typing, paste and cut unless the editor is enabled and the box writable.
  lineEdit()->setReadOnly(FReadOnly || !FEditorEnabled);
}

void TMySpinEdit::SetMaxLength(int n) { lineEdit()->setMaxLength(n); }

// Overflow wraps as the 32-bit arithmetic of the number does.
static int32_t AddWrapped(int32_t a, int32_t b) { return int32_t(uint32_t(a) + uint32_t(b)); }

void TMySpinEdit::StepUp() {
  if (FReadOnly)
    MessageBeep();
  else
    SetValue(AddWrapped(Value(), FIncrement));
}

void TMySpinEdit::StepDown() {
  if (FReadOnly)
    MessageBeep();
  else
    SetValue(int32_t(uint32_t(Value()) - uint32_t(FIncrement)));
}

void TMySpinEdit::stepBy(int steps) {
  // The buttons, the wheel and the context menu come here: positive is the upper button.
  for (; steps > 0; --steps) StepUp();
  for (; steps < 0; ++steps) StepDown();
}

QAbstractSpinBox::StepEnabled TMySpinEdit::stepEnabled() const {
  // Both buttons always work; a read-only box beeps instead of stepping.
  return StepUpEnabled | StepDownEnabled;
}

bool TMySpinEdit::IsValidChar(QChar c) const {
  const ushort u = c.unicode();
  const QString sep = QLocale::system().decimalPoint();
  bool valid = u == '+' || u == '-' || (u >= '0' && u <= '9') || (sep.size() == 1 && c == sep[0]) ||
               (u < 32 && u != 13);
  if (!FEditorEnabled && (u >= 32 || u == 8)) valid = false;
  return valid;
}

void TMySpinEdit::keyPressEvent(QKeyEvent* event) {
  int key = event->key();
  if (key == Qt::Key_Up)
    StepUp();
  else if (key == Qt::Key_Down)
    StepDown();
  if (OnKeyDown) {
    OnKeyDown(this, key, event->modifiers());
    if (key == 0) {
      event->accept();
      return;
    }
  }
  if (key == Qt::Key_Up || key == Qt::Key_Down) {
    event->accept();
    return;
  }
  if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
    event->ignore();  // not a step here
    return;
  }
  if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)) {
    if (!FEditorEnabled || FReadOnly) {
      event->accept();
      return;
    }
    if (event->matches(QKeySequence::Paste))
      lineEdit()->paste();
    else
      lineEdit()->cut();
    event->accept();
    return;
  }
  // Delete has no character of its own, whatever text the keyboard layer gives it.
  const QString text = key == Qt::Key_Delete ? QString() : event->text();
  if (text.size() == 1) {
    if (!IsValidChar(text[0])) {
      MessageBeep();
      event->accept();
      return;
    }
    if (OnKeyPress) {
      char c = text[0].unicode() < 128 ? char(text[0].unicode()) : '?';
      const char before = c;
      OnKeyPress(this, c);
      if (c == 0) {
        event->accept();
        return;
      }
      if (c != before) {
        QKeyEvent changed(event->type(), 0, event->modifiers(), QString(QChar(uchar(c))));
        QAbstractSpinBox::keyPressEvent(&changed);
        event->accept();
        return;
      }
    }
  }
  QAbstractSpinBox::keyPressEvent(event);
}

void TMySpinEdit::keyReleaseEvent(QKeyEvent* event) {
  int key = event->key();
  if (OnKeyUp) OnKeyUp(this, key, event->modifiers());
  QAbstractSpinBox::keyReleaseEvent(event);
}

void TMySpinEdit::focusInEvent(QFocusEvent* event) {
  QAbstractSpinBox::focusInEvent(event);
  // The base selects on Tab; here only AutoSelect decides, and a mouse click never selects.
  if (FAutoSelect && event->reason() != Qt::MouseFocusReason)
    lineEdit()->selectAll();
  else if (!FAutoSelect && lineEdit()->hasSelectedText())
    lineEdit()->deselect();
  if (OnEnter) OnEnter(this);
}

void TMySpinEdit::focusOutEvent(QFocusEvent* event) {
  QAbstractSpinBox::focusOutEvent(event);
  const int32_t v = Value();
  if (CheckRange(v) != v) SetValue(Value());
  if (OnExit) OnExit(this);
}

bool TMySpinEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lineEdit()) {
    if (event->type() == QEvent::MouseButtonRelease && OnClick) OnClick(this);
    if (event->type() == QEvent::MouseButtonDblClick && OnDblClick) OnDblClick(this);
  }
  return QAbstractSpinBox::eventFilter(watched, event);
}

void TMySpinEdit::contextMenuEvent(QContextMenuEvent* event) {
  if (FPopupMenu) {
    FPopupMenu->exec(event->globalPos());
    event->accept();
    return;
  }
  QAbstractSpinBox::contextMenuEvent(event);
}

QRect TMySpinEdit::UpButtonRect() const {
  QStyleOptionSpinBox opt;
  initStyleOption(&opt);
  return style()->subControlRect(QStyle::CC_SpinBox, &opt, QStyle::SC_SpinBoxUp, this);
}

QRect TMySpinEdit::DownButtonRect() const {
  QStyleOptionSpinBox opt;
  initStyleOption(&opt);
  return style()->subControlRect(QStyle::CC_SpinBox, &opt, QStyle::SC_SpinBoxDown, this);
}

QSize TMySpinEdit::sizeHint() const {
  // Room for a three-digit chapter or verse number and the buttons.
  QSize s = QAbstractSpinBox::sizeHint();
  const int digits = fontMetrics().horizontalAdvance(QStringLiteral("0000"));
  QStyleOptionSpinBox opt;
  initStyleOption(&opt);
  const QSize content(digits + 4, s.height());
  const QSize styled = style()->sizeFromContents(QStyle::CT_SpinBox, &opt, content, this);
  return QSize(qMax(s.width(), styled.width()), s.height());
}
