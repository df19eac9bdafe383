#include "controls/tbiblecombobox.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

#include "platform/checkedconnect.h"
#include "platform/codepage.h"
#include "platform/showmessage.h"

TBibleComboBox::TBibleComboBox(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  // The box orders and adds its entries itself.
  setInsertPolicy(QComboBox::NoInsert);
  setCompleter(nullptr);
  // Qt's combo box picks the item that matches the edit text when the edit loses focus and
  // reports it as a choice; here only the user's choices from the list are choices.
  QObject::disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
  setDuplicatesEnabled(true);
  setMaxVisibleItems(16);
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  setMinimumContentsLength(8);
  lineEdit()->setContextMenuPolicy(Qt::CustomContextMenu);
  setContextMenuPolicy(Qt::CustomContextMenu);
  auto showMenu = [this](QWidget* from, const QPoint& pos) {
    if (FPopupMenu)
      FPopupMenu->exec(from->mapToGlobal(pos));
    else if (from == lineEdit()) {
      std::unique_ptr<QMenu> menu(lineEdit()->createStandardContextMenu());
      menu->exec(from->mapToGlobal(pos));
    }
  };
  BIBLE_CONNECT(lineEdit(), &QWidget::customContextMenuRequested, this,
                [this, showMenu](const QPoint& pos) { showMenu(lineEdit(), pos); });
  BIBLE_CONNECT(this, &QWidget::customContextMenuRequested, this,
                [this, showMenu](const QPoint& pos) { showMenu(this, pos); });
}

std::string TBibleComboBox::Text() const { return EncodeTypedText(currentText(), FCharset); }

void TBibleComboBox::SetText(const std::string& text) {
  lineEdit()->setText(DecodeBytes(text, FCharset));
}

void TBibleComboBox::SetItemIndex(int i) {
  if (i < 0 || i >= count()) {
    setCurrentIndex(-1);
    lineEdit()->clear();
  } else {
    setCurrentIndex(i);
  }
}

void TBibleComboBox::SetCharset(int charset) {
  if (charset == FCharset) return;
  const std::string edit = Text();
  FCharset = charset;
  FillItems();
  SetText(edit);
}

void TBibleComboBox::FillItems() {
  // The item list mirrors the entries; refilling it must not touch the edit text.
  const QString edit = lineEdit()->text();
  const int cursor = lineEdit()->cursorPosition();
  const bool blocked = blockSignals(true);
  QComboBox::clear();
  QStringList items;
  items.reserve(FHistory.Count());
  for (const std::string& t : FHistory.Texts) items.append(DecodeBytes(t, FCharset));
  addItems(items);
  setCurrentIndex(-1);
  lineEdit()->setText(edit);
  lineEdit()->setCursorPosition(cursor);
  blockSignals(blocked);
}

void TBibleComboBox::Add(uint16_t place, const std::string& text, TDateTime stamp) {
  const int p = FHistory.Add(place, text, stamp);
  if (p < 0) return;
  FillItems();
  setCurrentIndex(p);
}

void TBibleComboBox::Insert(int index, uint16_t place, const std::string& text, TDateTime stamp) {
  FHistory.Insert(index, place, text, stamp);
  FillItems();
}

void TBibleComboBox::Clear() {
  FHistory.Clear();
  FillItems();
  lineEdit()->clear();
}

void TBibleComboBox::SetCheck(int index, bool on) {
  if (!FPopupMenu) return;
  const QList<QAction*> items = FPopupMenu->actions();
  if (index < 0 || index >= items.size()) return;
  items[index]->setCheckable(true);
  items[index]->setChecked(on);
}

void TBibleComboBox::SetSorted(TSorted order) {
  const std::string edit = Text();
  SetCheck(int(FHistory.Sorted), false);
  SetCheck(int(order), true);
  FHistory.SetSorted(order);
  FillItems();
  if (FHistory.Count() > 0) SetItemIndex(FHistory.IndexOfText(edit));
}

void TBibleComboBox::LoadFromFile(const std::string& fileName) {
  const TSorted old = FHistory.Sorted;
  FHistory.LoadFromFile(fileName);
  SetCheck(int(old), false);
  SetCheck(int(FHistory.Sorted), true);
  FillItems();
  SetText(FHistory.EditText);
}

void TBibleComboBox::SaveToFile(const std::string& fileName) {
  FHistory.EditText = Text();
  FHistory.SaveToFile(fileName);
}

void TBibleComboBox::SetPopupMenu(QMenu* menu) {
  FPopupMenu = menu;
  if (!menu) return;
  const QList<QAction*> items = menu->actions();
  for (int i = 0; i < items.size(); ++i)
    BIBLE_CONNECT(items[i], &QAction::triggered, this, [this, i] { PopupItemClick(i); });
  SetCheck(int(FHistory.Sorted), true);
}

void TBibleComboBox::PopupItemClick(int index) {
  const QList<QAction*> items = FPopupMenu ? FPopupMenu->actions() : QList<QAction*>();
  const bool twoOrders = items.size() > 2 && items[2]->isSeparator();
  switch (index) {
    case 0:
      SetSorted(byText);
      break;
    case 1:
      SetSorted(byTime);
      break;
    case 2:
      if (!twoOrders) SetSorted(byIndex);
      break;
    case 3:
      if (twoOrders) Clear();
      break;
    case 4:
      if (twoOrders)
        ShowCount();
      else
        Clear();
      break;
    case 5:
      if (!twoOrders) ShowCount();
      break;
    default:
      break;
  }
}

void TBibleComboBox::ShowCount() {
  ShowMessage(QStringLiteral("Списъкът съдържа %1 елемента.").arg(FHistory.Count()), this);
}

void TBibleComboBox::showPopup() {
  if (OnDropDown) OnDropDown(this);
  QComboBox::showPopup();
}
