#include "tools/bible-tool/tmodulelibrary.h"

#include <filemgr.h>
#include <installmgr.h>
#include <remotetrans.h>
#include <swmgr.h>
#include <swmodule.h>

#include <algorithm>
#include <cstdio>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "core/tbible.h"
#include "tools/bible-tool/tcommands.h"
#include "tools/bible-tool/timportcommands.h"

namespace fs = std::filesystem;

namespace {

// Local folders are not a transport of InstallMgr: they are kept in a list of their own beside
// its configuration, one "NAME<TAB>FOLDER" a line.
const char* const FolderSourcesFile = "Folders.txt";

std::string PrivatePath(const std::string& library) { return WithSlash(library) + "InstallMgr"; }

class TReporter : public sword::StatusReporter {
 public:
  explicit TReporter(TLibraryProgress* progress) : Progress(progress) {}
  void preStatus(long, long, const char* message) override { What = message ? message : ""; }
  void update(unsigned long total, unsigned long done) override {
    if (Progress) Progress->Download((long long)done, (long long)total, What);
  }

 private:
  TLibraryProgress* Progress;
  std::string What;
};

class TInstaller : public sword::InstallMgr {
 public:
  TInstaller(const std::string& library, TLibraryProgress* progress)
      : TInstaller(library, std::make_unique<TReporter>(progress)) {}
  // The program asks the user before it starts this process for anything that goes online.
  bool isUserDisclaimerConfirmed() const override { return true; }

 private:
  TInstaller(const std::string& library, std::unique_ptr<TReporter> reporter)
      : InstallMgr(Prepared(library).c_str(), reporter.get()), Reporter(std::move(reporter)) {
    setTimeoutMillis(DownloadTimeoutMillis);
    setFTPPassive(true);
    setUnverifiedPeerAllowed(false);
  }
  static std::string Prepared(const std::string& library) {
    fs::create_directories(PrivatePath(library));
    fs::create_directories(WithSlash(library) + "mods.d");
    return PrivatePath(library);
  }
  std::unique_ptr<TReporter> Reporter;
};

std::map<std::string, std::string> ReadFolderSources(const std::string& library) {
  std::map<std::string, std::string> folders;
  std::ifstream in(PrivatePath(library) + "/" + FolderSourcesFile);
  std::string line;
  while (std::getline(in, line)) {
    size_t tab = line.find('\t');
    if (tab != std::string::npos && tab > 0) folders[line.substr(0, tab)] = line.substr(tab + 1);
  }
  return folders;
}

void WriteFolderSources(const std::string& library, const std::map<std::string, std::string>& folders) {
  const std::string path = PrivatePath(library) + "/" + FolderSourcesFile;
  {
    std::ofstream out(path + ".new", std::ios::trunc);
    for (const auto& [name, folder] : folders) out << name << '\t' << folder << '\n';
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
  }
  fs::rename(path + ".new", path);
}

// A fresh library starts with the default repository; one whose configuration exists keeps
// what the user made of it.
void EnsureConfigured(TInstaller& installer, const std::string& library) {
  std::error_code ec;
  if (fs::exists(PrivatePath(library) + "/InstallMgr.conf", ec)) return;
  const TModuleSource d = DefaultModuleSource();
  auto* source = new sword::InstallSource(d.Type.c_str());
  source->caption = d.Name.c_str();
  source->source = d.Host.c_str();
  source->directory = d.Directory.c_str();
  source->uid = d.Name.c_str();
  installer.sources[source->caption] = source;
  installer.saveInstallConf();
  installer.readInstallConf();
}

sword::InstallSource* RemoteSource(TInstaller& installer, const std::string& name) {
  auto it = installer.sources.find(name.c_str());
  return it == installer.sources.end() ? nullptr : it->second;
}

std::string Latin1ToUtf8(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (c < 0x80) {
      out.push_back(char(c));
    } else {
      out.push_back(char(0xC0 | (c >> 6)));
      out.push_back(char(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::string Entry(const sword::SWModule& module, const char* key) {
  const char* value = module.getConfigEntry(key);
  return value ? value : "";
}

bool IsBible(const sword::SWModule& module) {
  const std::string driver = Entry(module, "ModDrv");
  return driver == "zText" || driver == "zText4" || driver == "RawText" || driver == "RawText4";
}

std::vector<TLibraryModule> BibleModulesOf(sword::SWMgr& mgr) {
  std::vector<TLibraryModule> modules;
  for (const auto& [name, module] : mgr.getModules()) {
    if (!module || !IsBible(*module)) continue;
    TLibraryModule m;
    m.Name = name.c_str();
    m.Language = module->getLanguage() ? module->getLanguage() : "";
    m.Description = Entry(*module, "Description");
    std::string encoding = Entry(*module, "Encoding");
    std::transform(encoding.begin(), encoding.end(), encoding.begin(), ::toupper);
    if (encoding != "UTF-8") m.Description = Latin1ToUtf8(m.Description);
    m.Size = std::atoll(Entry(*module, "InstallSize").c_str());
    m.Licence = Entry(*module, "DistributionLicense");
    modules.push_back(std::move(m));
  }
  return modules;
}

// Installed modules have a .conf named after them in lower case; InstallMgr writes it last.
bool Installed(const std::string& library, const std::string& module) {
  sword::SWMgr mgr(WithSlash(library).c_str(), true, nullptr, false, false);
  return mgr.getModule(module.c_str()) != nullptr;
}

// InstallMgr copies a module's folder to the library's prefix + its DataPath: a .conf from a
// repository names that folder, so it must lie inside the library's modules/ folder.
void CheckDataPath(const sword::SWModule& module) {
  std::string path = Entry(module, "DataPath");
  if (path.rfind("./", 0) == 0) path.erase(0, 2);
  const bool inside = path.rfind("modules/", 0) == 0 && path.find("..") == std::string::npos &&
                      path.find('\\') == std::string::npos;
  if (!inside)
    throw TInputError(std::string("module ") + module.getName() +
                      ": its files would lie outside the library (DataPath " +
                      Entry(module, "DataPath") + ")");
}

// Fetches the source's module list. libsword unpacks "mods.d.tar.gz" with gzdopen and never
// gzclose (ZipCompress::unTarGZ), about 15 KB of zlib state a refresh that this short-lived
// process cannot free; the leak check of a sanitizer build leaves that call out, and only it.
int RefreshListing(sword::InstallMgr& installer, sword::InstallSource* is) {
#if defined(__SANITIZE_ADDRESS__)
  __lsan::ScopedDisabler libswordLeaks;
#endif
  return installer.refreshRemoteSource(is);
}

}  // namespace

TModuleSource DefaultModuleSource() {
  return {"CrossWire", "HTTPS", "www.crosswire.org", "/ftpmirror/pub/sword/raw"};
}

std::vector<TModuleSource> ListSources(const std::string& library) {
  TInstaller installer(library, nullptr);
  EnsureConfigured(installer, library);
  std::vector<TModuleSource> sources;
  for (const auto& [name, s] : installer.sources)
    sources.push_back({name.c_str(), s->type.c_str(), s->source.c_str(), s->directory.c_str()});
  for (const auto& [name, folder] : ReadFolderSources(library))
    sources.push_back({name, "DIR", "", folder});
  return sources;
}

TModuleSource AddSource(const std::string& library, const std::string& name,
                        const std::string& location) {
  if (name.empty() || name.find_first_of("|\t\n/") != std::string::npos || name[0] == '.')
    throw TUsageError("library-add: NAME must be a plain name");
  TInstaller installer(library, nullptr);
  EnsureConfigured(installer, library);
  std::map<std::string, std::string> folders = ReadFolderSources(library);
  TModuleSource added{name, "", "", ""};
  const size_t scheme = location.find("://");
  if (scheme == std::string::npos) {
    std::error_code ec;
    if (!fs::is_directory(location, ec))
      throw TUsageError("library-add: " + location + " is neither an address nor a folder");
    added.Type = "DIR";
    added.Directory = fs::absolute(location).lexically_normal().string();
  } else {
    std::string kind = location.substr(0, scheme);
    std::transform(kind.begin(), kind.end(), kind.begin(), ::toupper);
    if (kind != "HTTP" && kind != "HTTPS" && kind != "FTP")
      throw TUsageError("library-add: " + location + " is not an http, https or ftp address");
    std::string rest = location.substr(scheme + 3);
    const size_t slash = rest.find('/');
    added.Type = kind;
    added.Host = rest.substr(0, slash);
    added.Directory = slash == std::string::npos ? "/" : rest.substr(slash);
    while (added.Directory.size() > 1 && added.Directory.back() == '/') added.Directory.pop_back();
    if (added.Host.empty()) throw TUsageError("library-add: no host in " + location);
  }
  // One name names one source, of whichever kind.
  folders.erase(name);
  auto it = installer.sources.find(name.c_str());
  if (it != installer.sources.end()) {
    delete it->second;
    installer.sources.erase(it);
  }
  if (added.Type == "DIR") {
    folders[name] = added.Directory;
  } else {
    auto* source = new sword::InstallSource(added.Type.c_str());
    source->caption = name.c_str();
    source->source = added.Host.c_str();
    source->directory = added.Directory.c_str();
    source->uid = name.c_str();
    installer.sources[source->caption] = source;
  }
  installer.saveInstallConf();
  WriteFolderSources(library, folders);
  return added;
}

void RefreshSource(const std::string& library, const std::string& source,
                   TLibraryProgress* progress) {
  TInstaller installer(library, progress);
  EnsureConfigured(installer, library);
  if (ReadFolderSources(library).count(source)) return;  // read where it lies, always current
  sword::InstallSource* is = RemoteSource(installer, source);
  if (!is) throw TUsageError("no source named " + source);
  if (RefreshListing(installer, is) != 0)
    throw TDownloadError("cannot fetch the module list of " + source + " (" + is->type.c_str() +
                         " " + is->source.c_str() + is->directory.c_str() + ")");
}

std::vector<TLibraryModule> ListBibleModules(const std::string& library, const std::string& source,
                                             TLibraryProgress* progress) {
  const auto folders = ReadFolderSources(library);
  if (auto f = folders.find(source); f != folders.end()) {
    sword::SWMgr mgr(WithSlash(f->second).c_str(), true, nullptr, false, false);
    return BibleModulesOf(mgr);
  }
  TInstaller installer(library, progress);
  EnsureConfigured(installer, library);
  sword::InstallSource* is = RemoteSource(installer, source);
  if (!is) throw TUsageError("no source named " + source);
  std::error_code ec;
  if (!fs::is_directory(std::string(is->localShadow.c_str()) + "/mods.d", ec)) {
    if (RefreshListing(installer, is) != 0)
      throw TDownloadError("cannot fetch the module list of " + source);
    is->flush();
  }
  return BibleModulesOf(*is->getMgr());
}

void InstallModule(const std::string& library, const std::string& source,
                   const std::string& module, TLibraryProgress* progress) {
  const auto folders = ReadFolderSources(library);
  TInstaller installer(library, progress);
  EnsureConfigured(installer, library);
  sword::SWMgr target(WithSlash(library).c_str(), true, nullptr, false, false);
  sword::InstallSource* is = nullptr;
  std::string from;
  sword::SWMgr* listing = nullptr;
  std::unique_ptr<sword::SWMgr> folderListing;
  if (auto f = folders.find(source); f != folders.end()) {
    from = f->second;
    folderListing = std::make_unique<sword::SWMgr>(WithSlash(from).c_str(), true, nullptr, false, false);
    listing = folderListing.get();
  } else {
    is = RemoteSource(installer, source);
    if (!is) throw TUsageError("no source named " + source);
    std::error_code ec;
    if (!fs::is_directory(std::string(is->localShadow.c_str()) + "/mods.d", ec) &&
        RefreshListing(installer, is) != 0)
      throw TDownloadError("cannot fetch the module list of " + source);
    listing = is->getMgr();
  }
  const sword::SWModule* listed = listing->getModule(module.c_str());
  if (!listed) throw TInputError("source " + source + " has no module " + module);
  CheckDataPath(*listed);
  // What an earlier, interrupted install left is removed first, so that a module is either
  // installed whole by this call or not at all.
  RemoveModule(library, module);
  const int status = installer.installModule(&target, from.empty() ? nullptr : from.c_str(),
                                              module.c_str(), is);
  if (status != 0 || !Installed(library, module)) {
    RemoveModule(library, module);
    throw TDownloadError("cannot download module " + module + " from " + source);
  }
}

void RemoveModule(const std::string& library, const std::string& module) {
  sword::SWMgr mgr(WithSlash(library).c_str(), true, nullptr, false, false);
  if (!mgr.getModule(module.c_str())) return;
  TInstaller installer(library, nullptr);
  installer.removeModule(&mgr, module.c_str());
}

namespace {

class TDownloadLines : public TLibraryProgress {
 public:
  void Download(long long done, long long total, const std::string& what) override {
    // curl calls back many times a second, mostly with nothing new.
    if (!ProgressLines || total <= 0 || (done == Done && total == Total)) return;
    Done = done;
    Total = total;
    {
      std::printf("download %lld %lld %s\n", done, total, what.c_str());
      std::fflush(stdout);
    }
  }

 private:
  long long Done = -1, Total = -1;
};

std::string Location(const TModuleSource& s) {
  if (s.Type == "DIR") return s.Directory;
  std::string scheme = s.Type;
  std::transform(scheme.begin(), scheme.end(), scheme.begin(), ::tolower);
  return scheme + "://" + s.Host + s.Directory;
}

// The translation's own name beside the version, where the import did not write one.
void NameVersion(const std::string& folder, const std::string& name) {
  std::error_code ec;
  if (name.empty() || fs::exists(folder + "Name.txt", ec)) return;
  std::ofstream out(folder + "Name.txt", std::ios::binary);
  out << name << "\r\n";
}

}  // namespace

int RunLibraryCommand(const std::vector<std::string>& args) {
  const std::string& c = args.at(0);
  TDownloadLines lines;
  if (c == "library-sources") {
    NeedArguments(args, 1, 1);
    for (const TModuleSource& s : ListSources(args[1]))
      std::printf("%s\t%s\t%s\n", s.Name.c_str(), s.Type.c_str(), Location(s).c_str());
    return 0;
  }
  if (c == "library-add") {
    NeedArguments(args, 3, 3);
    AddSource(args[1], args[2], args[3]);
    return 0;
  }
  if (c == "library-refresh") {
    NeedArguments(args, 2, 2);
    RefreshSource(args[1], args[2], &lines);
    return 0;
  }
  if (c == "library-modules") {
    NeedArguments(args, 2, 2);
    for (const TLibraryModule& m : ListBibleModules(args[1], args[2], &lines))
      std::printf("%s\t%s\t%lld\t%s\t%s\n", m.Name.c_str(), m.Language.c_str(), m.Size,
                  m.Licence.c_str(), m.Description.c_str());
    return 0;
  }
  if (c == "library-install") {
    NeedArguments(args, 3, 5);
    if (args.size() == 5) throw TUsageError("library-install: VERSION needs DATA_ROOT");
    const std::string& library = args[1];
    const std::string& module = args[3];
    std::string description;
    for (const TLibraryModule& m : ListBibleModules(library, args[2], &lines))
      if (m.Name == module) description = m.Description;
    InstallModule(library, args[2], module, &lines);
    if (args.size() < 5) return 0;
    const std::vector<std::string> import{"import-sword", library, args[4], args[5], module};
    try {
      RunImportCommand(import, false);
    } catch (...) {
      // A module that cannot be read as a Bible is not kept in the library either.
      RemoveModule(library, module);
      throw;
    }
    NameVersion(WithSlash(import[3]) + VersionDiskFolder(ParseVersion(args[4])), description);
    return 0;
  }
  throw TUsageError("unknown command " + c);
}
