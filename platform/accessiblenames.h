#pragma once
// Accessible names: every control of every window carries a name that screen readers announce
// and that accessibility clients (AT-SPI on Linux) find it by: its hint, else its caption. A
// control with neither (the edit inside a combo box, the text of a Bible window) takes the hint
// of the control it is part of, else its window's caption. A name given explicitly is kept.

#include <QString>

class QWidget;

// The name the widget should carry by the rule above; empty for plain containers.
QString AccessibleNameFor(const QWidget* widget);

// Names the widget and all its descendants that have no name yet.
void NameControls(QWidget* root);

// Names every widget of the application when it is shown, so that windows created later
// (dialogs, Bible windows) need nothing of their own. Safe to call more than once.
void InstallAccessibleNames();
