// The program entry: the settings object and the main font exist before the windows and are
// written back and released after them.

#include <QFileInfo>
#include <QIcon>
#include <QTimer>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <filesystem>

#include "core/datapaths.h"
#include "core/tbible.h"
#include "core/tcustominifile.h"
#include "forms/tbibleapplication.h"
#include "forms/tdic_form1.h"
#include "forms/tlistmessageform1.h"
#include "forms/tlogoform1.h"
#include "forms/tmainform1.h"
#include "forms/toptionsform1.h"
#include "forms/trangeform1.h"
#include "forms/tpictureform1.h"
#include "platform/fontsubstitution.h"
#include "platform/showmessage.h"
#include "platform/winhelp.h"
#include "settings/tmyinifile.h"

namespace {

// firstStart: no settings file existed; fileToAdd: a file given on the command line.
int RunProgram(TBibleApplication& app, bool firstStart, const QString& fileToAdd) {
  std::srand(unsigned(std::time(nullptr)));
  app.setApplicationName(QStringLiteral("bible"));
  // The title, not the display name: that one would follow every caption ("Библията — The
  // Bible"), while each window's caption is its own.
  SetApplicationTitle(QStringLiteral("The Bible"));
  SetApplicationHelpFile(QStringLiteral("Bible.hlp"));

  TMainForm1 main;
  TLogoForm1 logo(&main);
  TRangeForm1 range(&main);
  TOptionsForm1 options(&main);
  TListMessageForm1 listMessage(&main);
  TDic_Form1 dictionary(main.DictionaryFolder, &main);
  TPictureForm1 picture(&main);
  // The main window connects the others; none of them knows the main window.
  main.SetWindows({&logo, &range, &options, &listMessage, &dictionary, &picture});
  main.FirstStart = firstStart;
  main.FileToAdd = fileToAdd;
  main.show();
  // The icon is cut from the splash picture, whose drawing (and its fonts) can wait until the
  // main window has been shown.
  QTimer::singleShot(0, &main, [&app] {
    app.setWindowIcon(QIcon(QPixmap::fromImage(TLogoForm1::Picture().toImage().copy(95, 90, 110, 140))));
  });
  return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
  TBibleApplication app(argc, argv);
  InstallFontSubstitutions();
  // A portable folder that cannot be written keeps the user's files in the user's own folders;
  // the first such start carries over what lies beside the executable and says so once.
  const TDataPlaces places = DataPlacesOfThisProgram();
  if (CarryPortableFiles(places, IniFileNameFor(std::filesystem::path(ExecutablePath()).filename().string())))
    ShowMessage(QStringLiteral("Папката на програмата „%1“ е само за четене. Настройките и "
                               "историите ще се пазят в „%2“ и „%3“; там са и сега.")
                    .arg(QString::fromStdString(places.Data), QString::fromStdString(places.UserConfig),
                         QString::fromStdString(places.UserData)));
  const std::string settingsFile = SettingsFileName();
  std::error_code ec;
  const bool firstStart = !settingsFile.empty() && !std::filesystem::exists(settingsFile, ec);
  // The first argument that is not an option is a file to add as a version.
  QString fileToAdd;
  for (const QString& a : app.arguments().mid(1))
    if (!a.startsWith(QLatin1Char('-'))) {
      fileToAdd = QFileInfo(a).absoluteFilePath();
      break;
    }
  TMyIniFile settings(settingsFile);
  IniFile = &settings;
  // The face of the main window's design; the stored choice replaces it.
  MainFont = TFont{"Times New Roman", 12, 0, RUSSIAN_CHARSET, 0};
  IniFile->ReadFont("MainWindow", MainFont);
  const int result = RunProgram(app, firstStart, fileToAdd);
  if (!settings.WriteFailed) {
    try {
      IniFile->WriteFont("MainWindow", MainFont);
    } catch (const std::exception& e) {
      ShowMessage(QString::fromStdString(e.what()));
    }
  }
  IniFile = nullptr;
  return result;
}
