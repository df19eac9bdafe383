#pragma once
// The reading commands of bible-tool (verse, chapter, search, words, dict) and what the importer
// shares with them. They use core only, so that a look-up starts without loading the importer's
// libraries. Arguments and output are UTF-8; the commands convert to and from the code page of
// the version at the boundary.

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/tbible.h"
#include "core/verselist.h"

// Wrong arguments: the message is followed by the usage text; exit status 2.
class TUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Input that cannot be used (a reference naming no book, a damaged file to import): the message
// alone; exit status 2.
class TInputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

extern const char* const BibleToolUsage;

// Runs a reading command, args[0] with the rest; returns the exit status. Failures throw with a
// one-line message.
int RunCommand(const std::vector<std::string>& args, std::ostream& out);

// Runs a whole command line of either executable: prints the message of a failure as
// "bible-tool: ..." and returns the exit status (2 for usage and input errors, 1 otherwise).
int RunCommandLine(const std::vector<std::string>& args,
                   int (*run)(const std::vector<std::string>& args));

// A version index from "0".."10" or a folder name such as "KJV" (any letter case).
int ParseVersion(const std::string& arg);

// The book set of "--books": "all", "ot" (slots 1-50), "nt" (51-78) or a list such as "1,5-7,51".
TBookSet ParseBookSet(const std::string& spec);

// Throws TUsageError unless the command has least..most arguments after its name.
void NeedArguments(const std::vector<std::string>& args, size_t least, size_t most);
std::string WithSlash(const std::string& folder);
