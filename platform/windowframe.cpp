#include "platform/windowframe.h"

#include <QWidget>

void SetDialogFrame(QWidget* dialog) {
  if (!dialog) return;
  const bool visible = dialog->isVisible();
  dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint);
  if (visible) dialog->show();
}
