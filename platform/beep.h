#pragma once
// The default system beep (a refused key, a step in a read-only box).

#include <functional>

void MessageBeep();

// Replaces the sound, e.g. to count beeps; an empty function restores the system beep.
void SetBeepHandler(std::function<void()> handler);
