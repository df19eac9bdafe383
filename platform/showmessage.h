#pragma once
// A plain message box with the application title and an OK button.

#include <QString>

class QWidget;

void ShowMessage(const QString& text, QWidget* parent = nullptr);

// The program's title ("The Bible"), the caption of its message boxes. It is not the
// application's display name, which the platform would append to every window's caption.
void SetApplicationTitle(const QString& title);
QString ApplicationTitle();
