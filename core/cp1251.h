#pragma once
// windows-1251 <-> UTF-8 for the system's own texts (captions, messages, the status text) where
// they meet stored bytes. Version text in other code pages is converted by the user interface.

#include <string>
#include <string_view>

std::string Cp1251ToUtf8(std::string_view bytes);
// Appends one code point as UTF-8 (1 to 4 bytes); the caller passes a valid code point.
void AppendUtf8(std::string& out, char32_t c);
// Characters that windows-1251 lacks become '?'; the system's own texts never contain any.
std::string Utf8ToCp1251(std::string_view utf8);
