#include "platform/hints.h"

#include <QVariant>
#include <QWidget>

namespace {

const char* const HintProperty = "hint";

void ApplyHint(QWidget* w, bool on) {
  QVariant kept = w->property(HintProperty);
  if (!kept.isValid()) {
    if (w->toolTip().isEmpty()) return;
    kept = w->toolTip();
    w->setProperty(HintProperty, kept);
  }
  w->setToolTip(on ? kept.toString() : QString());
}

}  // namespace

void ShowHints(QWidget* window, bool on) {
  if (!window) return;
  ApplyHint(window, on);
  for (QWidget* w : window->findChildren<QWidget*>()) ApplyHint(w, on);
}
