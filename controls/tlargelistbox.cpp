#include "controls/tlargelistbox.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "controls/tbiblecombobox.h"
#include "core/ansi.h"
#include "core/tlargestringlist.h"
#include "platform/checkedconnect.h"
#include "platform/codepage.h"

// Rows of one fixed height, so that the number of rows in view follows from the height alone.
class TRowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  static int RowHeight(const QFontMetrics& fm) { return fm.height() + 3; }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    s.setHeight(RowHeight(option.fontMetrics));
    return s;
  }
};

// The row list: a plain list box whose arrow keys at its edges scroll the whole list first.
class TRowList : public QListWidget {
 public:
  explicit TRowList(TLargeListBox* owner) : QListWidget(owner), Owner(owner) {}
  int RowHeight() const { return TRowDelegate::RowHeight(fontMetrics()); }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    Owner->RowKeyDown(event->key());
    // After the edge scrolling, which refills the rows and moves the selection with them.
    const int before = currentRow();
    const bool hadSelection = !selectedItems().isEmpty();
    QListWidget::keyPressEvent(event);
    const bool hasSelection = !selectedItems().isEmpty();
    if (hasSelection && (currentRow() != before || !hadSelection)) Owner->RowSelected();
  }
  void mousePressEvent(QMouseEvent* event) override {
    // Only the left button selects; the right one opens the popup menu.
    if (event->button() == Qt::RightButton) {
      event->accept();
      return;
    }
    QListWidget::mousePressEvent(event);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    QListWidget::mouseReleaseEvent(event);
    // One report per click, also for the row already selected and after dragging over rows.
    if (event->button() == Qt::LeftButton && !selectedItems().isEmpty()) Owner->RowSelected();
  }
  void wheelEvent(QWheelEvent* event) override {
    // The rows never scroll themselves; the wheel moves the list through the scroll bar.
    QApplication::sendEvent(Owner->ScrollBar, event);
  }

 private:
  TLargeListBox* Owner;
};

TLargeListBox::TLargeListBox(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  ComboBox = new TBibleComboBox(this);
  layout->addWidget(ComboBox);
  // The rows and the scroll bar share one sunken frame, so that they look like one list box.
  auto* rowFrame = new QFrame(this);
  rowFrame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  auto* rows = new QHBoxLayout(rowFrame);
  rows->setSpacing(0);
  rows->setContentsMargins(rowFrame->frameWidth(), rowFrame->frameWidth(), rowFrame->frameWidth(),
                           rowFrame->frameWidth());
  auto* rowList = new TRowList(this);
  rowList->setParent(rowFrame);
  RowList = rowList;
  RowList->setItemDelegate(new TRowDelegate(RowList));
  RowList->setUniformItemSizes(true);
  RowList->setSelectionMode(QAbstractItemView::SingleSelection);
  RowList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  RowList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  RowList->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  RowList->setTextElideMode(Qt::ElideRight);
  RowList->setContextMenuPolicy(Qt::CustomContextMenu);
  RowList->setFrameStyle(QFrame::NoFrame);
  ScrollBar = new QScrollBar(Qt::Vertical, rowFrame);
  ScrollBar->setFocusPolicy(Qt::NoFocus);
  ScrollBar->setMinimum(0);
  ScrollBar->setMaximum(0);
  ScrollBar->setSingleStep(1);
  ScrollBar->setTracking(true);
  rows->addWidget(RowList, 1);
  rows->addWidget(ScrollBar);
  layout->addWidget(rowFrame, 1);

  // A real keyboard's keys reach the word box itself, which hands them to its line edit without
  // going through that one's filters; both are watched, for keys sent to either.
  ComboBox->installEventFilter(this);
  ComboBox->lineEdit()->installEventFilter(this);
  RowList->installEventFilter(this);
  ComboBox->OnDropDown = [this](QObject*) { FDroppedDown = true; };
  BIBLE_CONNECT(ComboBox->lineEdit(), &QLineEdit::textEdited, this,
                [this] { TextChanged(ComboBox); });
  BIBLE_CONNECT(ComboBox, &QComboBox::activated, this, [this] { TextChanged(ComboBox); });
  BIBLE_CONNECT(ScrollBar, &QScrollBar::valueChanged, this, [this](int v) { Scrolled(v); });
  BIBLE_CONNECT(RowList, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    if (FPopupMenu2) FPopupMenu2->exec(RowList->viewport()->mapToGlobal(pos));
  });
}

TLargeListBox::~TLargeListBox() = default;

int32_t TLargeListBox::Count() const {
  if (!FList) return 0;
  const int32_t n = FList->GetCount();
  return n < 0 ? 0 : n;
}

std::string TLargeListBox::WordAt(int32_t i) const {
  // The source is asked only about its own entries, whatever it answered before.
  if (!FList || i < 0 || i >= Count()) return std::string();
  return FList->GetWord(i);
}

void TLargeListBox::SetList(std::unique_ptr<TLargeStringList> list) {
  FList = std::move(list);
  FItemIndex = -1;
  FillRows();
}

std::string TLargeListBox::Text() const { return ComboBox->Text(); }

void TLargeListBox::SetText(const std::string& text) {
  const bool differs = ComboBox->Text() != text;
  ShowText(text);
  if (differs) TextChanged(this);
}

QFont TLargeListBox::Font() const { return ComboBox->font(); }

void TLargeListBox::SetFont(const QFont& font) {
  ComboBox->setFont(font);
  RowList->setFont(font);
  FillRows();
}

void TLargeListBox::SetCharset(int charset) {
  FCharset = charset;
  ComboBox->SetCharset(charset);
  FillRows();
}

void TLargeListBox::SetPopupMenu(QMenu* menu) { ComboBox->SetPopupMenu(menu); }

void TLargeListBox::SetPopupMenu2(QMenu* menu) { FPopupMenu2 = menu; }

int TLargeListBox::VisibleRows() {
  // The row list's inside, from its geometry: a partly visible last row stays empty.
  const int height = RowList->contentsRect().height();
  const int rows = qMax(0, height / qMax(1, static_cast<TRowList*>(RowList)->RowHeight()));
  if (FList) {
    const int32_t n = Count();
    const int before = ScrollBar->value();
    const bool blocked = ScrollBar->blockSignals(true);
    ScrollBar->setMaximum(n > rows ? n - rows : 0);
    ScrollBar->blockSignals(blocked);
    // A shorter range pulls the position back; the view follows it (the caller refills).
    if (ScrollBar->value() != before) FTopIndex = ScrollBar->value();
  }
  if (rows > 1) ScrollBar->setPageStep(rows - 1);
  return rows;
}

void TLargeListBox::FillRows() {
  const int rows = VisibleRows();
  FFilling = true;
  RowList->clear();
  if (FList) {
    const int32_t last = qMin<int64_t>(int64_t(FTopIndex) + rows - 1, int64_t(Count()) - 1);
    for (int32_t i = FTopIndex; i <= last; ++i) {
      if (i >= Count()) break;
      RowList->addItem(DecodeBytes(FList->Get(i), FCharset));
    }
  }
  SetRowSelection(FItemIndex - FTopIndex);
  FFilling = false;
}

void TLargeListBox::SetRowSelection(int row) {
  if (row >= 0 && row < RowList->count()) {
    RowList->setCurrentRow(row);
  } else {
    RowList->setCurrentRow(-1);
    RowList->clearSelection();
  }
}

int TLargeListBox::SelectedRow() const {
  const QList<QListWidgetItem*> items = RowList->selectedItems();
  return items.isEmpty() ? -1 : RowList->row(items.first());
}

void TLargeListBox::ShowText(const std::string& s) {
  QLineEdit* edit = ComboBox->lineEdit();
  edit->setText(DecodeBytes(s, FCharset));
  edit->setCursorPosition(int(edit->text().size()));
  edit->deselect();
}

void TLargeListBox::TextChanged(QObject* sender) {
  if (OnChange) OnChange(sender);
  if (FList) {
    const int32_t n = Count();
    int32_t a = FList->IndexOf(ComboBox->Text());
    if (a < 0) a = 0;
    if (a > n) a = n;
    if (a < FTopIndex) FTopIndex = a;
    const int r = qMax(0, VisibleRows() - 1);
    if (a > FTopIndex + r) FTopIndex = a - r;
    if (FTopIndex + r > n - 1) FTopIndex = n - 1 - r;
    if (FTopIndex < 0) FTopIndex = 0;
    const std::string s = WordAt(a);
    FillRows();
    if (a < n && AnsiLowerCase(ComboBox->Text()) == AnsiLowerCase(s)) {
      SetRowSelection(a - FTopIndex);
      ShowText(s);
      SelectItem(a);
    } else {
      SelectItem(-1);
      SetRowSelection(-1);
    }
    // The rows are filled for this position already.
    const bool blocked = ScrollBar->blockSignals(true);
    ScrollBar->setValue(FTopIndex);
    ScrollBar->blockSignals(blocked);
    if (FDroppedDown && OnChangeItemIndex) OnChangeItemIndex(sender);
    FDroppedDown = false;
  }
  QLineEdit* edit = ComboBox->lineEdit();
  if (edit->hasSelectedText()) {
    edit->deselect();
    edit->setCursorPosition(int(edit->text().size()));
  }
}

void TLargeListBox::SelectItem(int32_t i) {
  const bool fire = i != FItemIndex && i >= 0 && bool(OnChangeItemIndex);
  FIndexEventFired = fire;
  if (i >= 0) ShowText(WordAt(i));
  FItemIndex = i;
  if (fire) OnChangeItemIndex(this);
}

void TLargeListBox::RowSelected() {
  const int row = SelectedRow();
  if (row < 0 || FFilling) return;
  SelectItem(row + FTopIndex);
  if (OnClick && !FIndexEventFired) OnClick(RowList);
}

void TLargeListBox::RowKeyDown(int key) {
  const int row = SelectedRow();
  if (key == Qt::Key_Up && row == 0) {
    if (ScrollBar->value() > 0) ScrollBar->setValue(ScrollBar->value() - 1);
  } else if (key == Qt::Key_Down && row >= 0 && row + 1 == RowList->count()) {
    if (ScrollBar->value() < ScrollBar->maximum()) ScrollBar->setValue(ScrollBar->value() + 1);
  }
}

void TLargeListBox::Scrolled(int position) {
  FTopIndex = position;
  FillRows();
}

void TLargeListBox::resizeEvent(QResizeEvent* event) {
  // The rows follow the row list's own resize (eventFilter), which this one brings about.
  QFrame::resizeEvent(event);
}

bool TLargeListBox::eventFilter(QObject* watched, QEvent* event) {
  const bool child = watched == ComboBox || watched == ComboBox->lineEdit() || watched == RowList;
  if (watched == RowList &&
      (event->type() == QEvent::Resize || event->type() == QEvent::FontChange))
    FillRows();
  if (child && event->type() == QEvent::KeyPress && OnKeyPress && !FForwarding) {
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    // Only characters go to OnKeyPress; Delete and the like carry no character.
    if (text.size() == 1 && key->key() != Qt::Key_Delete && text[0].unicode() != 127) {
      const std::string bytes = EncodeTypedText(text, FCharset);
      char c = bytes.empty() ? '\0' : bytes[0];
      const char before = c;
      QObject* sender = watched == RowList ? static_cast<QObject*>(RowList) : ComboBox;
      OnKeyPress(sender, c);
      if (c == 0) return true;
      if (c != before) {
        QKeyEvent changed(QEvent::KeyPress, 0, key->modifiers(),
                          DecodeBytes(std::string_view(&c, 1), FCharset));
        FForwarding = true;
        QApplication::sendEvent(watched, &changed);
        FForwarding = false;
        return true;
      }
    }
  }
  return QFrame::eventFilter(watched, event);
}
