#pragma once
// Neutral values for a font and a window placement, so that the settings helpers work without a
// user-interface toolkit. The user interface turns them into its own font and window bounds.

#include <cstdint>
#include <string>

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// Windows font character sets that matter to the program.
constexpr int DEFAULT_CHARSET = 1;
constexpr int GREEK_CHARSET = 161;
constexpr int RUSSIAN_CHARSET = 204;
constexpr int EASTEUROPE_CHARSET = 238;

struct TFont {
  std::string Name = "MS Sans Serif";
  int Size = 8;  // points
  uint8_t Style = 0;  // TFontStyle bits
  int Charset = DEFAULT_CHARSET;
  uint32_t Color = 0;  // 0x00BBGGRR
  bool operator==(const TFont&) const = default;
};

enum TWindowState : int { wsNormal = 0, wsMinimized = 1, wsMaximized = 2 };

struct TFormPlacement {
  int WindowState = wsNormal;
  int Top = 0;
  int Left = 0;
  int Width = 0;
  int Height = 0;
  bool operator==(const TFormPlacement&) const = default;
};
