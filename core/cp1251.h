#pragma once
// windows-1251 <-> UTF-8 for the system's own texts (captions, messages, the status text) where
// they meet stored bytes. Version text in other code pages is converted by the user interface.

#include <string>
#include <string_view>

#include "core/codepage.h"

std::string Cp1251ToUtf8(std::string_view bytes);
// Characters that windows-1251 lacks become '?'; the system's own texts never contain any.
std::string Utf8ToCp1251(std::string_view utf8);
