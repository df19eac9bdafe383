#pragma once
// The import commands of bible-tool, run by the importer executable that "bible-tool import-..."
// hands them to: they need libsword and ICU, which the reading commands must not load.

#include <functional>
#include <string>
#include <vector>

#include "core/versionwriter.h"

// The number of the importer's output: raised whenever an import of the same source would give a
// different version folder, so that data imported before is imported again (scripts/stage-data.sh).
extern const char* const ImportStamp;

// Progress as lines for a program that reads them ("--progress-lines"): "progress DONE TOTAL ITEM"
// for each book imported and "download DONE TOTAL FILE" for bytes downloaded, on stdout; a
// failure ends with "failed KIND" (download, damaged, write, usage) before its message on stderr.
extern bool ProgressLines;

// Writes a version folder as WriteVersionFolder does, with its form groups ("Forms.bin", for the
// versions that have them), "Importer.txt" holding ImportStamp and, when DATA names the
// translation, "Name.txt" holding that name on one line (UTF-8, CR LF).
void WriteImportedVersion(const std::string& folder, const TVersionData& data, int versionIndex);

// A translation's name as "Name.txt" holds it: control characters gone, line breaks and runs of
// blanks one blank, trimmed, at most 200 bytes.
std::string OneLineName(const std::string& utf8);

// Runs an import command, args[0] with the rest; returns the exit status. Failures throw with a
// one-line message (TUsageError, TInputError or another std::exception).
int RunImportCommand(const std::vector<std::string>& args, bool progress);

// Writes a folder through a temporary folder beside it and renames it into place, so that a
// failed write leaves the old folder (or none) and no half-written one. The user's history files
// of the old folder are carried over.
void ReplaceFolderAtomically(const std::string& target,
                             const std::function<void(const std::string& folder)>& write);
