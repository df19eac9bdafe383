#include "platform/accessiblenames.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>

namespace {

// The hint as the user set it: the panel keeps it in a property while hints are switched off.
QString HintOf(const QWidget* w) {
  const QString kept = w->property("hint").toString();
  return kept.isEmpty() ? w->toolTip() : kept;
}

QString WithoutAccelerator(QString text) {
  // "&Отвори" is read "Отвори"; "&&" stands for a real ampersand.
  text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  text.remove(QLatin1Char('&'));
  text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
  return text;
}

QString CaptionOf(const QWidget* w) {
  if (auto* button = qobject_cast<const QAbstractButton*>(w))
    return WithoutAccelerator(button->text());
  if (auto* group = qobject_cast<const QGroupBox*>(w)) return WithoutAccelerator(group->title());
  if (w->isWindow() || qobject_cast<const QMdiSubWindow*>(w)) return w->windowTitle();
  return QString();
}

// Controls that a user reads or operates; containers stay unnamed.
bool IsControl(const QWidget* w) {
  return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w) ||
         qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QLineEdit*>(w) ||
         qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
         qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QAbstractSlider*>(w) ||
         qobject_cast<const QGroupBox*>(w);
}

// The text of a label that points at the widget ("&Шрифт:" in front of a box).
QString BuddyCaption(const QWidget* w) {
  const QWidget* window = w->window();
  if (!window) return QString();
  for (const QLabel* label : window->findChildren<QLabel*>())
    if (label->buddy() == w) {
      QString text = WithoutAccelerator(label->text()).trimmed();
      if (text.endsWith(QLatin1Char(':'))) text.chop(1);
      return text;
    }
  return QString();
}

// The name to set: none where the platform already reads the caption itself (buttons, group
// boxes and windows keep announcing a caption that changes, such as the search mode button's).
QString NameToSet(const QWidget* w) {
  if (!HintOf(w).isEmpty()) return HintOf(w);
  if (!CaptionOf(w).isEmpty() || w->isWindow() || qobject_cast<const QMdiSubWindow*>(w))
    return QString();
  return AccessibleNameFor(w);
}

class TAccessibleNamer : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    // At the first showing, not at construction: hints are set after a control is built.
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
      auto* w = static_cast<QWidget*>(watched);
      if (w->accessibleName().isEmpty()) {
        const QString name = NameToSet(w);
        if (!name.isEmpty()) w->setAccessibleName(name);
      }
    }
    return false;
  }
};

QPointer<TAccessibleNamer> Namer;

}  // namespace

QString AccessibleNameFor(const QWidget* w) {
  if (!w) return QString();
  QString name = HintOf(w);
  if (name.isEmpty()) name = CaptionOf(w);
  if (!name.isEmpty() || !IsControl(w)) return name;
  name = BuddyCaption(w);
  if (!name.isEmpty()) return name;
  // A part of a larger control (the edit of a combo box or a spin box, the rows of the word
  // list) is announced as that control; otherwise as the window it lies in.
  for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
    if (!p->accessibleName().isEmpty() && IsControl(p)) return p->accessibleName();
    const QString hint = HintOf(p);
    if (!hint.isEmpty()) return hint;
    if (p->isWindow() || qobject_cast<const QMdiSubWindow*>(p)) return p->windowTitle();
    if (!p->windowTitle().isEmpty()) return p->windowTitle();
  }
  return QString();
}

void NameControls(QWidget* root) {
  if (!root) return;
  QList<QWidget*> widgets{root};
  widgets += root->findChildren<QWidget*>();
  // Parents first (findChildren lists them before their children), so parts find their
  // control's name.
  for (QWidget* w : widgets) {
    if (!w->accessibleName().isEmpty()) continue;
    const QString name = NameToSet(w);
    if (!name.isEmpty()) w->setAccessibleName(name);
  }
}

void InstallAccessibleNames() {
  if (Namer || !qApp) return;
  Namer = new TAccessibleNamer(qApp);
  qApp->installEventFilter(Namer);
}
