#pragma once
// The neutral font value of the core and Qt's font. The character set has no place in a QFont:
// it only chooses the code page of the widget that shows the text.

#include <QColor>
#include <QFont>

#include "core/tfont.h"

QFont ToQFont(const TFont& font);
// Name, size and style from the QFont; colour and character set stay as they are in font.
void AssignQFont(const QFont& from, TFont& font);
// 0x00BBGGRR, the colour value of the settings.
QColor ToQColor(uint32_t color);
uint32_t FromQColor(const QColor& color);
