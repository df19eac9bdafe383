#pragma once
// The subcommands of bible-tool. Arguments and output are UTF-8; the commands convert to and from
// the code page of the version at the boundary.

#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/tbible.h"
#include "core/verselist.h"

// Wrong arguments: the message is followed by the usage text.
class TUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Runs args[0] with the rest; returns the exit status. Failures throw with a one-line message.
int RunCommand(const std::vector<std::string>& args, std::ostream& out, bool progress);

// A version index from "0".."10" or a folder name such as "KJV" (any letter case).
int ParseVersion(const std::string& arg);

// The book set of "--books": "all", "ot" (slots 1-50), "nt" (51-78) or a list such as "1,5-7,51".
TBookSet ParseBookSet(const std::string& spec);

// Writes a folder through a temporary folder beside it and renames it into place, so that a
// failed write leaves the old folder (or none) and no half-written one.
void ReplaceFolderAtomically(const std::string& target,
                             const std::function<void(const std::string& folder)>& write);
