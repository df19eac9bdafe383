#include "platform/winhelp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "platform/thelpwindow.h"

namespace {

QString& HelpRootOverride() {
  static QString root;
  return root;
}

QString& CurrentHelpFile() {
  static QString file = QStringLiteral("Bible.hlp");
  return file;
}

struct THelpContext {
  int Context;
  const char* Topic;
};

// Help context numbers of the controls and dialogs, and the page each opens.
constexpr THelpContext HelpContexts[] = {
    {1, "Main"}, {2, "Main"}, {3, "Main"}, {4, "Main"},   {5, "Main"},        {6, "Main"},
    {7, "Main"}, {8, "Main"}, {9, "Main"}, {10, "Range"}, {11, "Dictionary"}, {12, "ListMessage"},
};

}  // namespace

QString HelpRoot() {
  if (!HelpRootOverride().isEmpty()) return HelpRootOverride();
  return QCoreApplication::applicationDirPath() + QStringLiteral("/help");
}

void SetHelpRoot(const QString& folder) { HelpRootOverride() = folder; }

QString HelpFolder(const QString& helpFile) {
  return QDir::cleanPath(HelpRoot() + QLatin1Char('/') + QFileInfo(helpFile).completeBaseName()) +
         QLatin1Char('/');
}

QString HelpPagePath(const QString& helpFile, const QString& topic) {
  // A topic names a page in the help folder and nothing outside it.
  if (topic.isEmpty() || topic.contains(QLatin1Char('/')) || topic.contains(QLatin1Char('\\')) ||
      topic.startsWith(QLatin1Char('.')))
    return QString();
  return HelpFolder(helpFile) + topic + QStringLiteral(".html");
}

QString HelpTopicOfContext(int context) {
  for (const THelpContext& c : HelpContexts)
    if (c.Context == context) return QString::fromLatin1(c.Topic);
  return QString();
}

QString ApplicationHelpFile() { return CurrentHelpFile(); }

void SetApplicationHelpFile(const QString& helpFile) { CurrentHelpFile() = helpFile; }

void ShowHelpTopic(const QString& topic) { ShowHelpTopic(topic, ApplicationHelpFile()); }

void ShowHelpTopic(const QString& topic, const QString& helpFile) {
  THelpWindow::Instance()->ShowPage(HelpPagePath(helpFile, topic), topic);
}

void ShowHelpContext(int context) {
  QString topic = HelpTopicOfContext(context);
  if (topic.isEmpty()) topic = QStringLiteral("Main");
  ShowHelpTopic(topic);
}
