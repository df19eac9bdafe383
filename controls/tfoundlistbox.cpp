#include "controls/tfoundlistbox.h"

#include <QAbstractListModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

class TFoundListModel : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;

  void Reset(int count, TFoundListBox::TLineFunction line) {
    beginResetModel();
    FCount = std::max(0, count);
    FLine = std::move(line);
    endResetModel();
  }
  int rowCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : FCount;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return QVariant();
    if (!index.isValid() || index.row() >= FCount || !FLine) return QVariant();
    return FLine(index.row());
  }
  QString Line(int row) const { return row >= 0 && row < FCount && FLine ? FLine(row) : QString(); }

 private:
  int FCount = 0;
  TFoundListBox::TLineFunction FLine;
};

TFoundListBox::TFoundListBox(QWidget* parent) : QListView(parent), FModel(new TFoundListModel(this)) {
  setModel(FModel);
  // One line height for all lines: the view then asks only for the lines it shows.
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
}

TFoundListBox::~TFoundListBox() = default;

void TFoundListBox::SetLines(int count, TLineFunction line) { FModel->Reset(count, std::move(line)); }

void TFoundListBox::clear() { FModel->Reset(0, nullptr); }

int TFoundListBox::count() const { return FModel->rowCount(); }

QString TFoundListBox::Line(int row) const { return FModel->Line(row); }

int TFoundListBox::currentRow() const {
  const QModelIndex i = currentIndex();
  return i.isValid() ? i.row() : -1;
}

void TFoundListBox::SetCurrentRow(int row) {
  if (row < 0 || row >= count()) return;
  selectionModel()->setCurrentIndex(FModel->index(row), QItemSelectionModel::NoUpdate);
}

void TFoundListBox::SelectRow(int row) {
  if (row < 0 || row >= count()) return;
  const QModelIndex i = FModel->index(row);
  selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
  scrollTo(i);
}

std::vector<int> TFoundListBox::SelectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& i : selectionModel()->selectedIndexes()) rows.push_back(i.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

int TFoundListBox::SelectedCount() const { return int(selectionModel()->selectedIndexes().size()); }

void TFoundListBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    event->accept();
    return;
  }
  QListView::mousePressEvent(event);
}

void TFoundListBox::mouseReleaseEvent(QMouseEvent* event) {
  QListView::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid() && OnClick)
    OnClick(this);
}

void TFoundListBox::keyPressEvent(QKeyEvent* event) {
  const int before = currentRow();
  const int selectedBefore = SelectedCount();
  QListView::keyPressEvent(event);
  if ((currentRow() != before || SelectedCount() != selectedBefore) && OnClick) OnClick(this);
}
