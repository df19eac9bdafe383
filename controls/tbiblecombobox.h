#pragma once
// A combo box with an edit part that keeps a history of entries (text, place, time stamp),
// sorted by text, time or place as its popup menu chooses, saved to a small text file. The
// entries are bytes in the box's code page and are shown decoded; the edit text is independent
// of the entries. The entry logic and the file live in THistoryList.

#include <QComboBox>
#include <cstdint>
#include <string>
#include <vector>

#include "controls/controlevents.h"
#include "core/historylist.h"

class QMenu;

class TBibleComboBox : public QComboBox {
 public:
  explicit TBibleComboBox(QWidget* parent = nullptr);

  TSorted Sorted() const { return FHistory.Sorted; }
  // Re-sorts, moves the check mark of the popup menu and keeps the entry of the edit text
  // selected; without such an entry nothing is selected and the edit text is emptied.
  void SetSorted(TSorted order);
  const std::vector<TDateTime>& Times() const { return FHistory.Times; }
  const std::vector<uint16_t>& Places() const { return FHistory.Places; }
  const THistoryList& History() const { return FHistory; }
  int Count() const { return FHistory.Count(); }
  // The text of entry i as bytes.
  const std::string& Item(int i) const { return FHistory.Texts.at(size_t(i)); }

  // Adds or updates the entry in order and selects it; an empty text does nothing.
  void Add(uint16_t place, const std::string& text, TDateTime stamp);
  void Insert(int index, uint16_t place, const std::string& text, TDateTime stamp);
  // Removes all entries and empties the edit text.
  void Clear();
  // Replaces entries and edit text from the file; a missing or damaged file gives what could
  // be read (nothing for a missing file).
  void LoadFromFile(const std::string& fileName);
  // Raises EInOutError when the file cannot be written; the previous file then stays.
  void SaveToFile(const std::string& fileName);

  int TextPosition(const std::string& text) const { return FHistory.TextPosition(text); }
  int TimePosition(TDateTime stamp) const { return FHistory.TimePosition(stamp); }
  int PlacePosition(uint16_t place) const { return FHistory.PlacePosition(place); }
  int PreviousByTime(TDateTime x) const { return FHistory.PreviousByTime(x); }
  int NextByTime(TDateTime x) const { return FHistory.NextByTime(x); }

  // Takes the menu's items over as the history commands: 0 by text, 1 by time, then either
  // 2 by place, 4 delete, 5 count (three orders), or, when item 2 is a separator, 3 delete and
  // 4 count (two orders).
  QMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(QMenu* menu);

  // The font character set that decides the code page of the texts.
  int Charset() const { return FCharset; }
  void SetCharset(int charset);
  // The edit text as bytes.
  std::string Text() const;
  void SetText(const std::string& text);
  int ItemIndex() const { return currentIndex(); }
  void SetItemIndex(int i);

  // Fires when the drop-down list opens.
  TNotifyEvent OnDropDown;

  void showPopup() override;

 private:
  void PopupItemClick(int index);
  void SetCheck(int index, bool on);
  void FillItems();
  void ShowCount();

  THistoryList FHistory;
  QMenu* FPopupMenu = nullptr;
  int FCharset = 204;
};
