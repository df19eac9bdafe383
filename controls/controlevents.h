#pragma once
// Event types of the controls. An event is assigned by its owner or left empty; the controls
// test whether it is assigned where their behaviour depends on it.

#include <QtGlobal>
#include <functional>
#include <string>

class QObject;

using TNotifyEvent = std::function<void(QObject* sender)>;
using TProcedure = std::function<void()>;
// The typed character as a byte of the control's code page; the handler may change it, and a
// character cleared to 0 is dropped.
using TKeyPressEvent = std::function<void(QObject* sender, char& key)>;
// A Qt key code; the handler may set it to 0 to stop the control's own handling.
using TKeyEvent = std::function<void(QObject* sender, int& key, Qt::KeyboardModifiers shift)>;
// Decides from the selected text (bytes) whether a popup item is enabled.
using TEnableFunction = std::function<bool(const std::string& selText)>;
