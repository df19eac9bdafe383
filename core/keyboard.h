#pragma once
// Keyboard layout translation: a character typed on a US keyboard becomes the character at the
// same key in a layout of the active version's language, so that a reader with a Latin layout
// switched on can still type Cyrillic, German or Greek words and book names.

#include <array>
#include <string>

// Four strings of 94 bytes indexed by keyboard language (0 none, 1 German, 2 Bulgarian or
// Russian, 3 Greek). Table 0 lists the 94 printable ASCII characters other than the space in US
// key order, each once; the others give, at the same position, what the same key produces in the
// target layout, in the code page of the version's font (windows-1252, -1251, -1253). Table 2 is
// one of the BulgarianLayouts, chosen by SelectBulgarianLayout.
extern std::array<std::string, 4> KeyboardTables;
// 0 the standard layout (BDS), 1 the phonetic layout; windows-1251.
extern const std::array<std::string, 2> BulgarianLayouts;

// Table 2 := BulgarianLayouts[foneticCyr ? 1 : 0]. Called at start after "FoneticCyr" is read and
// whenever the options change the Bulgarian layout.
void SelectBulgarianLayout(bool foneticCyr);

// Translates one typed character in place. Nothing changes when autoKeybd is off, when the
// language is not 1, 2 or 3, or when c is not in table 0 (a space, a control character, or a
// byte above 0x7F that a national layout already produced).
void TranslateKey(char& c, bool autoKeybd, int keyboardLanguage);
