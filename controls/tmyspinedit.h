#pragma once
// A one-line number box with up/down buttons. Unlike a plain spin box it does not hold the number
// in range by itself: OnMin and OnMax let the owner take over when a step would leave the range
// (the verse box steps across chapter and book borders), and FixValue sets the number without
// OnChange and without range check. Increment may be negative, so that "up" decreases.

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QMenu>
#include <cstdint>

#include "controls/controlevents.h"

class TMySpinEdit : public QAbstractSpinBox {
 public:
  explicit TMySpinEdit(QWidget* parent = nullptr);

  // The text as a decimal integer; MinValue when it is not one.
  int32_t Value() const;
  // Text := CheckRange(v); OnChange fires when the text changes.
  void SetValue(int32_t v);
  // Text := n, without OnChange and without range check.
  void FixValue(int32_t n);

  int32_t MinValue() const { return FMinValue; }
  void SetMinValue(int32_t v) { FMinValue = v; }
  int32_t MaxValue() const { return FMaxValue; }
  void SetMaxValue(int32_t v) { FMaxValue = v; }
  int32_t Increment() const { return FIncrement; }
  void SetIncrement(int32_t v) { FIncrement = v; }
  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool on);
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool on) { FAutoSelect = on; }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool on);
  QString Text() const;
  // The edit part, where the text is typed.
  QLineEdit* Edit() const { return lineEdit(); }
  void SetMaxLength(int n);
  // The owner's popup menu; without one the box offers the usual edit commands.
  QMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(QMenu* menu) { FPopupMenu = menu; }

  void StepUp();
  void StepDown();
  // The value a set would give: v itself, or the bound, or what OnMin/OnMax left in the box.
  int32_t CheckRange(int32_t v);

  // Where the style draws the two buttons, in widget coordinates.
  QRect UpButtonRect() const;
  QRect DownButtonRect() const;

  TNotifyEvent OnChange;
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TProcedure OnMin;
  TProcedure OnMax;

  void stepBy(int steps) override;
  QSize sizeHint() const override;

 protected:
  StepEnabled stepEnabled() const override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  bool IsValidChar(QChar c) const;
  void TextChanged();
  void UpdateEditorState();

  int32_t FMinValue = 0;
  int32_t FMaxValue = 0;
  int32_t FIncrement = 1;
  bool FEditorEnabled = true;
  bool FAutoSelect = true;
  bool FReadOnly = false;
  QMenu* FPopupMenu = nullptr;
};
