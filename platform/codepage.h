#pragma once
// Code pages of the font character sets. Version text is stored as bytes in a single-byte code
// page; a widget that shows it decodes with its font's character set and encodes what the user
// types back. Every byte decodes to exactly one QChar, so byte and character positions agree.

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

// The system's ANSI character set: the user interface's own texts meet stored bytes in it.
constexpr int AnsiCharset = 204;

// 204 -> "windows-1251", 238 -> "windows-1250", 161 -> "windows-1253", any other -> "windows-1252".
const char* CodePageName(int charset);

QString DecodeBytes(std::string_view bytes, int charset);
QString DecodeBytes(const QByteArray& bytes, int charset);
// A character the code page lacks becomes one "?" byte.
std::string EncodeText(const QString& text, int charset);

// Text the user typed or pasted to look for: a letter the code page lacks is written as the letter
// it has without the marks (a pasted "ѝ" looks for "и"), marks after a kept letter are dropped
// ("любо́в" looks for "любов"), only what still does not fit becomes "?" (core/codepage.h).
std::string EncodeTypedText(const QString& text, int charset);

// The system's ANSI code page (windows-1251).
inline QString AnsiToQString(std::string_view bytes) { return DecodeBytes(bytes, AnsiCharset); }
inline std::string QStringToAnsi(const QString& text) { return EncodeText(text, AnsiCharset); }
