#pragma once
// Helpers for acting on menus and dialogs that a user action opens and that block until closed.

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <functional>

// Waits for a widget that find() returns, then acts on it once. The caller then runs the
// blocking action (a menu's or a dialog's exec). The returned timer deletes itself after acting;
// a caller whose widget may never open deletes it when the action has returned.
inline QPointer<QTimer> WhenOpen(std::function<QWidget*()> find,
                                 std::function<void(QWidget*)> act) {
  auto* timer = new QTimer();
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, find, act] {
    QWidget* w = find();
    if (!w || !w->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    act(w);
  });
  timer->start();
  return timer;
}

// Opens the widget's context menu as a right click does and clicks the menu item of the index.
inline void ChooseFromContextMenu(QWidget* widget, int index, QPoint pos = QPoint(5, 5)) {
  WhenOpen([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); },
           [index](QWidget* w) {
             auto* menu = static_cast<QMenu*>(w);
             QAction* action = menu->actions().value(index);
             QVERIFY(action);
             QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
           });
  QContextMenuEvent event(QContextMenuEvent::Mouse, pos, widget->mapToGlobal(pos));
  QApplication::sendEvent(widget, &event);
}

// Closes the next message box with its first button and returns its text via text. A caller
// that expects no box deletes the returned waiting timer, which would otherwise answer a later one.
inline QPointer<QTimer> AnswerNextMessageBox(QString* text) {
  return WhenOpen([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); },
           [text](QWidget* w) {
             auto* box = static_cast<QMessageBox*>(w);
             if (text) *text = box->text();
             QTest::mouseClick(box->buttons().first(), Qt::LeftButton);
           });
}

// Types each character as a key press with its text, as a keyboard with that layout does
// (QTest::keyClicks takes Latin-1 only).
inline void TypeText(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    const Qt::Key code = c.unicode() < 128 && c.isLetterOrNumber()
                             ? Qt::Key(c.toUpper().unicode())
                             : (c == QLatin1Char(' ') ? Qt::Key_Space : Qt::Key_unknown);
    QTest::sendKeyEvent(QTest::Press, widget, code, QString(c), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, widget, code, QString(c), Qt::NoModifier);
  }
}
