#pragma once
// Hints are the tool tips of a window's controls. Switched off, they are kept aside and not
// shown; switched on again, they return.

class QWidget;

// Applies the hint setting to the window and every control in it.
void ShowHints(QWidget* window, bool on);
