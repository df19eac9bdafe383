#pragma once
// A word box with history over a virtual list of a TLargeStringList: the row list holds only the
// rows in view, and only those are ever read from the list source. Typing in the word box runs
// an incremental search: the view moves to where the word stands, and the entry is selected as
// soon as the typed text equals one regardless of case.

#include <QFrame>
#include <cstdint>
#include <memory>
#include <string>

#include "controls/controlevents.h"

class QListWidget;
class QMenu;
class QScrollBar;
class TBibleComboBox;
class TLargeStringList;
class TRowList;

class TLargeListBox : public QFrame {
 public:
  explicit TLargeListBox(QWidget* parent = nullptr);
  ~TLargeListBox() override;

  TBibleComboBox* ComboBox = nullptr;
  QScrollBar* ScrollBar = nullptr;
  QListWidget* RowList = nullptr;

  // Takes ownership of the source (which may be null), frees the previous one, selects nothing
  // and refills; the view position stays until the next search.
  void SetList(std::unique_ptr<TLargeStringList> list);
  TLargeStringList* List() const { return FList.get(); }

  // The word box text as bytes. Writing a different text runs the search with this control as
  // sender; writing the present text does nothing.
  std::string Text() const;
  void SetText(const std::string& text);
  int32_t ItemIndex() const { return FItemIndex; }
  int32_t TopIndex() const { return FTopIndex; }

  // The word box's font; writing sets the word box and the row list.
  QFont Font() const;
  void SetFont(const QFont& font);
  // The character set of the list source's bytes, for the word box and the rows.
  int Charset() const { return FCharset; }
  void SetCharset(int charset);
  // The word box's popup menu, taken over by TBibleComboBox as its history commands.
  void SetPopupMenu(QMenu* menu);
  // The row list's popup menu.
  void SetPopupMenu2(QMenu* menu);

  // Rows that fit into the row list; adjusts the scroll bar's range and page step.
  int VisibleRows();
  void FillRows();

  TNotifyEvent OnChange;
  TNotifyEvent OnChangeItemIndex;
  TNotifyEvent OnClick;
  TKeyPressEvent OnKeyPress;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class TRowList;
  int32_t Count() const;
  std::string WordAt(int32_t i) const;
  void TextChanged(QObject* sender);
  void SelectItem(int32_t i);
  void ShowText(const std::string& s);
  void RowSelected();
  void RowKeyDown(int key);
  void Scrolled(int position);
  int SelectedRow() const;
  void SetRowSelection(int row);

  std::unique_ptr<TLargeStringList> FList;
  int32_t FItemIndex = -1;
  int32_t FTopIndex = 0;
  bool FDroppedDown = false;
  bool FIndexEventFired = false;
  bool FFilling = false;
  bool FForwarding = false;
  int FCharset = 204;
  QMenu* FPopupMenu2 = nullptr;
};
