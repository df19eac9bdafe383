#include "controls/tfoundlistbox.h"

#include <QAbstractListModel>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QScrollBar>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <algorithm>
#include <utility>

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

namespace {

class TFoundListAccessible;

// One line of the list as a screen reader sees it: its text, place and state. Made only for
// lines that a reader asks about; the list forgets them when its lines change.
class TFoundRowAccessible : public QAccessibleInterface {
 public:
  TFoundRowAccessible(TFoundListBox* list, int row) : FList(list), FRow(row) {}
  bool isValid() const override { return FList && FRow < FList->count(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(FList); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    return FList && (t == QAccessible::Name || t == QAccessible::Value) ? FList->Line(FRow) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!FList) return {};
    const QRect r = FList->visualRect(FList->model()->index(FRow, 0));
    return QRect(FList->viewport()->mapToGlobal(r.topLeft()), r.size());
  }
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.selectable = true;
    s.focusable = true;
    if (!FList) return s;
    const QModelIndex i = FList->model()->index(FRow, 0);
    s.selected = FList->selectionModel()->isSelected(i);
    s.focused = FList->hasFocus() && FList->currentRow() == FRow;
    const int first = FList->FirstVisibleRow();
    s.invisible = FRow < first || FRow >= first + FList->VisibleRowCount();
    s.offscreen = s.invisible;
    return s;
  }
  int Row() const { return FRow; }

 private:
  QPointer<TFoundListBox> FList;
  int FRow;
};

QWindow* TFoundRowAccessible::window() const {
  QAccessibleInterface* p = parent();
  return p ? p->window() : nullptr;
}

// The found list for screen readers: its children are only the lines in view, so that a reader
// asking about the list (or walking the whole window) costs the same for ten lines or 30 000;
// the description tells the line count and the current line.
class TFoundListAccessible : public QAccessibleWidget {
 public:
  explicit TFoundListAccessible(TFoundListBox* list)
      : QAccessibleWidget(list, QAccessible::List), FList(list) {}
  ~TFoundListAccessible() override { Forget(); }

  int childCount() const override { return FList->VisibleRowCount(); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0) return nullptr;
    if (FList->AnnouncingRow) return index < FList->count() ? Row(index) : nullptr;
    return index < FList->VisibleRowCount() ? Row(FList->FirstVisibleRow() + index) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const auto* line = dynamic_cast<const TFoundRowAccessible*>(child);
    if (!line) return -1;
    const int index = line->Row() - FList->FirstVisibleRow();
    return index >= 0 && index < FList->VisibleRowCount() ? index : -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint p = FList->viewport()->mapFromGlobal(QPoint(x, y));
    const QModelIndex i = FList->indexAt(p);
    return i.isValid() ? Row(i.row()) : nullptr;
  }
  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Description) return QAccessibleWidget::text(t);
    const int n = FList->count();
    QString s = QStringLiteral("%1 %2").arg(n).arg(n == 1 ? QStringLiteral("стих") : QStringLiteral("стиха"));
    const int current = FList->currentRow();
    if (current >= 0)
      s += QStringLiteral(", текущ %1: %2").arg(current + 1).arg(FList->Line(current));
    return s;
  }
  // The lines made so far belong to lines that may be gone.
  void Forget() {
    for (QAccessible::Id id : std::as_const(FRows)) QAccessible::deleteAccessibleInterface(id);
    FRows.clear();
  }

 private:
  QAccessibleInterface* Row(int row) const {
    if (FRows.size() > 512) const_cast<TFoundListAccessible*>(this)->Forget();
    auto it = FRows.constFind(row);
    if (it != FRows.constEnd()) return QAccessible::accessibleInterface(*it);
    auto* line = new TFoundRowAccessible(FList, row);
    FRows.insert(row, QAccessible::registerAccessibleInterface(line));
    return line;
  }

  TFoundListBox* FList;
  mutable QHash<int, QAccessible::Id> FRows;
};

QAccessibleInterface* FoundListFactory(const QString& key, QObject* object) {
  if (key != QLatin1String("QListView")) return nullptr;
  if (auto* list = dynamic_cast<TFoundListBox*>(object)) return new TFoundListAccessible(list);
  return nullptr;
}

}  // namespace

void InstallFoundListAccessible() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(FoundListFactory);
}

TFoundListBox::TFoundListBox(QWidget* parent) : QListView(parent), FModel(new TFoundListModel(this)) {
  InstallFoundListAccessible();
  setModel(FModel);
  // One line height for all lines: the view then asks only for the lines it shows.
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
}

TFoundListBox::~TFoundListBox() = default;

namespace {

// The lines a screen reader was told of are the old list's; a reader asks again.
void ForgetLines(TFoundListBox* list) {
  if (!QAccessible::isActive()) return;
  if (auto* a = dynamic_cast<TFoundListAccessible*>(QAccessible::queryAccessibleInterface(list)))
    a->Forget();
  QAccessibleEvent event(list, QAccessible::DescriptionChanged);
  QAccessible::updateAccessibility(&event);
}

}  // namespace

void TFoundListBox::SetLines(int count, TLineFunction line) {
  FModel->Reset(count, std::move(line));
  ForgetLines(this);
}

void TFoundListBox::clear() {
  FModel->Reset(0, nullptr);
  ForgetLines(this);
}

int TFoundListBox::FirstVisibleRow() const {
  const QModelIndex i = indexAt(QPoint(1, 1));
  return i.isValid() ? i.row() : 0;
}

int TFoundListBox::VisibleRowCount() const {
  const int n = count();
  if (n == 0) return 0;
  const int first = FirstVisibleRow();
  const QModelIndex last = indexAt(QPoint(1, viewport()->height() - 1));
  const int end = last.isValid() ? last.row() + 1 : n;
  return std::max(0, std::min(end, n) - first);
}

void TFoundListBox::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  AnnouncingRow = true;
  QListView::currentChanged(current, previous);
  AnnouncingRow = false;
}

void TFoundListBox::selectionChanged(const QItemSelection& selected,
                                     const QItemSelection& deselected) {
  AnnouncingRow = true;
  QListView::selectionChanged(selected, deselected);
  AnnouncingRow = false;
}

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
