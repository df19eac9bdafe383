#pragma once
// Tests of read-only folders must not run as root, which ignores permission bits: this runs the
// check in a child process that has dropped to the user "nobody" when the test runs as root.

#include <functional>
#include <string>

// Runs check (in a child when root) and returns its result; the folder is made reachable first.
bool RunUnprivileged(const std::string& folder, const std::function<bool()>& check);
// Makes a folder and everything in it read-only (r-x for folders, r-- for files) for everyone.
void MakeReadOnly(const std::string& folder);
