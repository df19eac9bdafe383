#pragma once
// "Добави превод": adds a version from a module library (a SWORD repository over the internet or
// a local folder, asked first before the internet is used) or from a file. The work is done by
// the importer, bible-tool-import, started with QProcess: it alone reads modules, so that a
// module that crashes it ends that process, not the program. The dialog reads its progress
// lines (core/versionimport.h) and kills it on "Прекъсни"; the importer replaces a version only
// once the new one is written whole, so a cancelled or failed import leaves the old version.

#include <QDialog>
#include <QProcess>
#include <QString>
#include <array>
#include <string>
#include <vector>

#include "core/tbible.h"
#include "core/versionimport.h"
#include "platform/checkedconnect.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTreeWidget;
struct TMainSettings;

class TAddVersionForm1 : public QDialog {
  Q_OBJECT

 public:
  explicit TAddVersionForm1(QWidget* parent = nullptr);
  ~TAddVersionForm1() override;

  static constexpr int HelpContext = 13;

  // The settings that keep the answer to the internet question; written at once when answered.
  TMainSettings* Settings = nullptr;

  QTabWidget* PageControl1 = nullptr;
  // The module library.
  QComboBox* SourceBox = nullptr;
  QPushButton* AddSourceButton = nullptr;
  QPushButton* RefreshButton = nullptr;
  QComboBox* LanguageBox = nullptr;
  QTreeWidget* ModuleList = nullptr;
  // A file.
  QLineEdit* FileEdit = nullptr;
  QPushButton* FileButton = nullptr;
  QPushButton* FolderButton = nullptr;
  QLabel* KindLabel = nullptr;
  // The version, the progress and the commands.
  QListWidget* VersionList = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QLineEdit* StatusLabel = nullptr;  // read-only: a screen reader reads what it says
  QPushButton* AddButton = nullptr;
  QPushButton* CancelButton = nullptr;
  QPushButton* CloseButton = nullptr;
  QPushButton* HelpButton = nullptr;

  // Shows the dialog on the file page with PATH chosen.
  void ChooseFile(const QString& path);
  // Shows the dialog on the module library's page.
  void ShowLibrary();
  // The version chosen, -1 for none.
  int ChosenVersion() const;
  bool Running() const;

  // The importer's path: beside the executable, in the package's helper folder or in a build
  // tree's tools/; "" when none is found.
  static QString ImporterPath();

 Q_SIGNALS:
  // A version folder was written whole.
  void VersionImported(int version);

 protected:
  void showEvent(QShowEvent* event) override;
  void reject() override;

 private:
  enum TTask { None, Modules, Import };
  struct TSource {
    QString Name, Type, Location;
  };

  void ListSources(const QString& select = {});
  void ListVersionsToChoose();
  void SourceChanged();
  void LoadModules(bool ask);
  void FillModules();
  void ModuleChosen();
  void FileChanged();
  void AddSourceClick();
  void AddClick();
  void CancelClick();
  void Start(TTask task, const QStringList& arguments);
  void ReadOutput();
  void Finished(int exitCode, QProcess::ExitStatus status);
  void SetRunning(bool running);
  // Whether the chosen source may be read: a local folder always, a repository when the user
  // allowed the internet. Only with ask (a click of the user's) is the question put, when it has
  // not been answered yes before.
  bool MayConnect(bool ask);
  QString LibraryFolder() const;
  QString DataFolder() const;
  const TSource* CurrentSource() const;

  QProcess* FProcess = nullptr;
  TTask FTask = None;
  int FTarget = -1;         // the version being written
  qint64 FPid = 0;          // the importer's process, for what a kill leaves behind
  bool FCancelled = false;
  bool FListAfter = false;  // a refresh running, to be followed by the list it fetched
  QString FFailure;         // the kind of "failed" the importer reported
  QByteArray FErrors;       // its standard error
  QByteArray FPending;      // a line not yet ended
  std::vector<TSource> FSources;
  std::vector<TModuleEntry> FModules;
  std::array<bool, VersionTableSize> FFilled{};
  TConnections FConnections;
};
