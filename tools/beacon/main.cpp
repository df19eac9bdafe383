// beacon: the on-top viewer that the Bible program mirrors its active chapter into.
//   beacon [--log FILE]
// A second start asks the running viewer to come forward and ends.

#include <QApplication>
#include <QCommandLineParser>
#include <QDBusConnection>
#include <QDBusMessage>
#include <cstdio>

#include "platform/fontsubstitution.h"
#include "tools/beacon/tbeaconform1.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("beacon"));
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("The on-top viewer of the Bible program."));
  parser.addHelpOption();
  const QCommandLineOption log(QStringLiteral("log"),
                               QStringLiteral("Append every message received to <file>."),
                               QStringLiteral("file"));
  parser.addOption(log);
  parser.process(app);
  InstallFontSubstitutions();

  TBeaconForm1 form;
  if (parser.isSet(log) && !form.OpenLog(parser.value(log))) {
    std::fprintf(stderr, "beacon: cannot write %s\n", qPrintable(parser.value(log)));
    return 1;
  }
  if (!form.Register()) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
      std::fprintf(stderr, "beacon: no D-Bus session bus\n");
      return 1;
    }
    QDBusMessage restore = QDBusMessage::createMethodCall(
        QStringLiteral("dde.Beacon"), QStringLiteral("/DdeServerConv1"),
        QStringLiteral("dde.Conversation"), QStringLiteral("Execute"));
    restore.setArguments({QStringLiteral("Restore")});
    bus.call(restore, QDBus::Block, 2000);
    std::fprintf(stderr, "beacon: already running\n");
    return 0;
  }
  form.show();
  return app.exec();
}
