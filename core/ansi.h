#pragma once
// The system's ANSI case mapping: windows-1251, applied byte by byte to any text whatever its own
// code page. Every lower-casing comparison of the program goes through these functions.

#include <cstdint>
#include <string>
#include <string_view>

namespace ansi {

unsigned char LowerChar(unsigned char c);
unsigned char UpperChar(unsigned char c);

}  // namespace ansi

std::string AnsiLowerCase(std::string_view s);
std::string AnsiUpperCase(std::string_view s);

// Compares unsigned bytes from the first; a proper prefix sorts first. <0, 0, >0.
int CompareBytes(std::string_view a, std::string_view b);

// CompareBytes of both sides lower-cased with the ANSI mapping.
int AnsiCompareText(std::string_view a, std::string_view b);

// ASCII and windows-1251 letters compare equal regardless of case.
bool AnsiSameText(std::string_view a, std::string_view b);
