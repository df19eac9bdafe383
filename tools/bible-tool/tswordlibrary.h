#pragma once
// Where a SWORD module comes from: an installed module named by the user, a module package as it
// is published for download (a ZIP holding mods.d/*.conf and the module's files) or a folder laid
// out like a SWORD library. Packages and folders are read from a temporary library folder of their
// own, so that neither the user's SWORD library nor the given folder is ever written to. Before a
// module is handed to libsword, what its configuration promises is checked against its files.

#include <string>
#include <vector>

namespace sword {
class SWModule;
}

class TSwordSource {
 public:
  // SOURCE is a module name, a .zip file or a library folder; MODULE chooses among several
  // modules of a package or folder ("" = its only module of the wanted type). Throws TInputError
  // for a damaged or hostile package and a folder without modules.
  explicit TSwordSource(const std::string& source);
  ~TSwordSource();
  TSwordSource(const TSwordSource&) = delete;
  TSwordSource& operator=(const TSwordSource&) = delete;

  // The library folder to read from ("" = the installed libraries).
  const std::string& Library() const { return FLibrary; }
  // The module names the library's configuration files give (empty for installed modules).
  const std::vector<std::string>& Modules() const { return FModules; }
  // The installed module's name as given.
  const std::string& Name() const { return FName; }

 private:
  std::string FLibrary;
  std::string FTemporary;  // removed on destruction
  std::string FName;
  std::vector<std::string> FModules;
};

// Unpacks a ZIP package into FOLDER. Entries that would land outside it ("../", absolute paths),
// more than 10 000 entries, more than 1 GiB unpacked or an entry over 1 MiB packed more than 100 to
// 1 (module files are compressed already or plain text) are refused with TInputError before
// anything of them is written.
void UnpackZip(const std::string& zipPath, const std::string& folder);

// Throws TInputError unless the module's driver is one of DRIVERS and the files and compression
// its configuration promises are there.
void CheckModuleFiles(const sword::SWModule& module, const std::string& library,
                      const std::vector<std::string>& drivers);
