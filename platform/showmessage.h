#pragma once
// A plain message box with the application title and an OK button.

#include <QString>

class QWidget;

void ShowMessage(const QString& text, QWidget* parent = nullptr);
