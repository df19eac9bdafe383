#include "core/keyboard.h"

namespace {

// Rows, in order: number row, top letter row, home row, bottom row, then the same with Shift.
const char* const UsTable =
    "`1234567890-=\x5C" "qwertyuiop[]" "asdfghjkl;'" "zxcvbnm,./"
    "~!@#$%^&*()_+|" "QWERTYUIOP{}" "ASDFGHJKL:\x22" "ZXCVBNM<>\x3F";

// ß on the minus key, ü ö ä on [ ; ' and Ü Ö Ä with Shift; windows-1252.
const char* const GermanTable =
    "`1234567890\xDF=\x5C" "qwertyuiop\xFC]" "asdfghjkl\xF6\xE4" "zxcvbnm,./"
    "~!@#$%^&*()_+|" "QWERTYUIOP\xDC}" "ASDFGHJKL\xD6\xC4" "ZXCVBNM<>\x3F";

// BDS: , у е и ш щ к с д з ц ; on the top row; № І V on Shift+8..0; ы on Shift+Q; § on Shift+].
const char* const BulgarianStandard =
    "`1234567890-.(" ",\xF3\xE5\xE8\xF8\xF9\xEA\xF1\xE4\xE7\xF6;"
    "\xFC\xFF\xE0\xEE\xE6\xE3\xF2\xED\xE2\xEC\xF7" "\xFE\xE9\xFA\xFD\xF4\xF5\xEF\xF0\xEB\xE1"
    "~!\x3F+\x22%=:/_\xB9\xB2V)" "\xFB\xD3\xC5\xC8\xD8\xD9\xCA\xD1\xC4\xC7\xD6\xA7"
    "\xDC\xDF\xC0\xCE\xC6\xC3\xD2\xCD\xC2\xCC\xD7" "\xDE\xC9\xDA\xDD\xD4\xD5\xCF\xD0\xCB\xC1";

// Phonetic: я в е р т ъ у и о п ш щ on the top row, ю on the grave key.
const char* const BulgarianPhonetic =
    "\xFE" "1234567890-=\x5C" "\xFF\xE2\xE5\xF0\xF2\xFA\xF3\xE8\xEE\xEF\xF8\xF9"
    "\xE0\xF1\xE4\xF4\xE3\xF5\xE9\xEA\xEB;\xF7" "\xE7\xFC\xF6\xE6\xE1\xED\xEC,./"
    "\xDE!@#$%^&*()_+|" "\xDF\xC2\xC5\xD0\xD2\xDA\xD3\xC8\xCE\xCF\xD8\xD9"
    "\xC0\xD1\xC4\xD4\xC3\xD5\xC9\xCA\xCB:\xD7" "\xC7\xDC\xD6\xC6\xC1\xCD\xCC<>\x3F";

// Greek: final sigma on W, the tonos on the semicolon key and the dialytika with Shift;
// windows-1253.
const char* const GreekTable =
    "`1234567890-=\x5C" ";\xF2\xE5\xF1\xF4\xF5\xE8\xE9\xEF\xF0[]"
    "\xE1\xF3\xE4\xF6\xE3\xE7\xEE\xEA\xEB\xB4'" "\xE6\xF7\xF8\xF9\xE2\xED\xEC,./"
    "~!@#$%^&*()_+|" ":\xD3\xC5\xD1\xD4\xD5\xC8\xC9\xCF\xD0{}"
    "\xC1\xD3\xC4\xD6\xC3\xC7\xCE\xCA\xCB\xA8\x22" "\xC6\xD7\xD8\xD9\xC2\xCD\xCC<>\x3F";

}  // namespace

const std::array<std::string, 2> BulgarianLayouts = {BulgarianStandard, BulgarianPhonetic};

std::array<std::string, 4> KeyboardTables = {UsTable, GermanTable, BulgarianStandard, GreekTable};

void SelectBulgarianLayout(bool foneticCyr) { KeyboardTables[2] = BulgarianLayouts[foneticCyr ? 1 : 0]; }

void TranslateKey(char& c, bool autoKeybd, int keyboardLanguage) {
  if (!autoKeybd) return;
  if (keyboardLanguage < 1 || keyboardLanguage > 3) return;
  const size_t p = KeyboardTables[0].find(c);
  if (p == std::string::npos) return;
  const std::string& table = KeyboardTables[size_t(keyboardLanguage)];
  if (p < table.size()) c = table[p];
}
