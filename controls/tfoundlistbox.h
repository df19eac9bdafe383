#pragma once
// The found-verse list: a multiple-selection list view over a model that has only a line count
// and a function giving the text of one line, so that only the lines in view are ever made. A
// frequent word finds tens of thousands of verses; none of them costs a widget or a string until
// it is scrolled into view. Screen readers likewise see only the lines in view, with the line
// count and the current line in the list's description (TFoundListAccessible).

#include <QListView>
#include <functional>

#include "controls/controlevents.h"

class TFoundListModel;

// Makes the accessibility layer use TFoundListAccessible for every TFoundListBox; once per run.
void InstallFoundListAccessible();

class TFoundListBox : public QListView {
 public:
  using TLineFunction = std::function<QString(int row)>;

  explicit TFoundListBox(QWidget* parent = nullptr);
  ~TFoundListBox() override;

  // Replaces all lines: count lines whose texts line(0..count-1) gives on demand. Nothing is
  // selected afterwards and there is no current line.
  void SetLines(int count, TLineFunction line);
  void clear();
  int count() const;
  QString Line(int row) const;

  // The current line (the one with the focus frame); -1 when there is none.
  int currentRow() const;
  // Makes the row current without changing the selection.
  void SetCurrentRow(int row);
  // Selects the row alone and makes it current.
  void SelectRow(int row);
  // Selected lines in ascending order.
  std::vector<int> SelectedRows() const;
  int SelectedCount() const;

  // A click on a line, or a key that moved the current line.
  TNotifyEvent OnClick;

  // The rows in view: first and count (0 when none).
  int FirstVisibleRow() const;
  int VisibleRowCount() const;
  // While the view's own code announces a line to screen readers it names the line by its row;
  // otherwise a child of the accessible list is a line in view, counted from the first.
  bool AnnouncingRow = false;

 protected:
  // The right button opens the popup menu and leaves the marked lines as they are.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

 private:
  TFoundListModel* FModel;
};
