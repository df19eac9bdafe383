#pragma once
// The program's files for this run: a portable folder beside the executable, or an installed
// program with the user's own folders (the rule is core/datapaths.h, shared with bible-tool).

#include <QString>

#include "core/datapaths.h"

// Finds the run's places from the running executable and the environment and sets DataPlaces and
// DataRoot (the folder of the data every user reads). The main window calls it when constructed.
void LocateProgramFiles();

// The path of a name as it lies beside the executable ("Beg1.wav", "help", "KJV/VerseHistory.txt"),
// for this run: DataFile in the program's own string type.
QString SystemPath(const QString& name, TPathUse use = TPathUse::Read);
