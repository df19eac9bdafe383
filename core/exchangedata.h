#pragma once
// Reading what another program sends through the exchange conversations. The other program is
// not trusted: any text may arrive, of any length.

#include <cstdint>
#include <string_view>

// A decimal number as a poke carries it: optional blanks, an optional sign, digits, optional
// blanks. False when the text is anything else (empty, letters, a second number). A number beyond
// the 32-bit range saturates at the nearer end, so a huge chapter still means "the last one".
bool ReadPokedNumber(std::string_view text, int32_t& value);

// Text positions count a line break (CR LF) as two characters, as the text views do; a document
// that keeps one character per line break needs the position less the breaks before it. pos is
// clamped to the text; a position between CR and LF maps to the end of that line.
int32_t CrLfToDocPosition(std::u16string_view text, int64_t pos);
