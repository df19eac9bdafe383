#pragma once
// The program's own SWORD library and the module repositories it installs from, through
// libsword's InstallMgr. The library is a folder of its own (mods.d/ and modules/), with the
// InstallMgr's configuration and its copies of the repositories' module lists in "InstallMgr/"
// inside it; neither ~/.sword nor the system's SWORD folders are read or written.

#include <stdexcept>
#include <string>
#include <vector>

// A download that failed: the source cannot be reached, the transfer broke off or a file is
// missing on the server.
class TDownloadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TModuleSource {
  std::string Name;       // the caption that names it in the commands
  std::string Type;       // "HTTPS", "HTTP", "FTP" or "DIR"
  std::string Host;       // "" for a local folder
  std::string Directory;  // the repository's folder on the host, or the local folder
};

struct TLibraryModule {
  std::string Name;
  std::string Language;     // the .conf's "Lang", e.g. "bg"
  std::string Description;  // UTF-8
  long long Size = 0;       // "InstallSize" in bytes, 0 when not given
  std::string Licence;      // "DistributionLicense"
};

// Reports downloads (bytes done of total, the file) and books imported (done of total, the name).
struct TLibraryProgress {
  virtual ~TLibraryProgress() = default;
  virtual void Download(long long done, long long total, const std::string& what) = 0;
};

// How long a download may stall before it is given up, in milliseconds. InstallMgr's own 10 s
// ends the transfer of a large module on a slow line.
constexpr long DownloadTimeoutMillis = 300000;

// The repository every new library lists first.
TModuleSource DefaultModuleSource();

// The sources of LIBRARY; a library without a configuration gets DefaultModuleSource.
std::vector<TModuleSource> ListSources(const std::string& library);

// Adds (or replaces) the source NAME: LOCATION is an "http://", "https://" or "ftp://" address or a
// local folder. Throws TUsageError for anything else.
TModuleSource AddSource(const std::string& library, const std::string& name,
                        const std::string& location);

// Fetches the module list of SOURCE anew. Throws TDownloadError when it cannot.
void RefreshSource(const std::string& library, const std::string& source,
                   TLibraryProgress* progress);

// The Bible modules of SOURCE's list (refreshed first when never fetched), by name.
std::vector<TLibraryModule> ListBibleModules(const std::string& library, const std::string& source,
                                             TLibraryProgress* progress);

// Installs MODULE of SOURCE into LIBRARY. A failed or partial download leaves no module of that
// name in the library. Throws TDownloadError or TInputError (no such module).
void InstallModule(const std::string& library, const std::string& source,
                   const std::string& module, TLibraryProgress* progress);

// Removes MODULE's files and configuration from LIBRARY; nothing when it is not there.
void RemoveModule(const std::string& library, const std::string& module);

// The commands "library-sources", "library-add", "library-refresh", "library-modules" and
// "library-install" (tools/bible-tool/tcommands.cpp gives their usage); returns the exit status.
int RunLibraryCommand(const std::vector<std::string>& args);
