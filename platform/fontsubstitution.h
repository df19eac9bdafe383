#pragma once
// The font names the program stores ("Times New Roman", "MS Sans Serif", "MS Serif") do not exist
// on Linux. Mapping them once at start-up to metric-compatible faces that carry Cyrillic and
// Greek keeps the stored names unchanged while the text shows in a proper face.

void InstallFontSubstitutions();
