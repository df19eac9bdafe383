#pragma once
// The frame of a dialog: a caption, the system menu and a close button, and nothing to maximise
// or minimise. Without an explicit set of buttons the X11 window manager decides them itself
// and offers maximising a fixed-size dialog.

class QWidget;

void SetDialogFrame(QWidget* dialog);
