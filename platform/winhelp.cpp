#include "platform/winhelp.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QWidget>

#include "platform/datapaths.h"
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
constexpr THelpContext HelpContextTable[] = {
    {1, "Book"},        // the book box
    {2, "ChapterVerse"},  // the chapter box
    {3, "ChapterVerse"},  // the verse box
    {4, "SearchMode"},  // the search mode button and its menu
    {5, "WordList"},    // the word list of the control panel
    {6, "BibleWindow"},  // the text of a Bible window
    {7, "FoundVerses"},  // the found verses
    {8, "VerseHistory"},  // the verse history
    {9, "Menu"},        // the main menu
    {10, "Range"},      // the search range dialog
    {11, "Dictionary"},  // the dictionary window
    {12, "ListMessage"},  // the list-size warning
    {13, "AddVersion"},  // the dialog that adds a version
};

const char* const HelpContextProperty = "HelpContext";
const char* const HelpTopicProperty = "HelpTopic";

// F1 anywhere in the application opens the page of the control that has the keyboard focus
// (the key goes to that control, or to an open menu, first).
class THelpKey : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
      return false;
    ShowHelpTopic(HelpTopicOf(static_cast<QWidget*>(watched)));
    return true;
  }
};

void InstallHelpKey() {
  static THelpKey* filter = nullptr;
  if (filter || !qApp) return;
  filter = new THelpKey(qApp);
  qApp->installEventFilter(filter);
}

}  // namespace

QString HelpRoot() {
  if (!HelpRootOverride().isEmpty()) return HelpRootOverride();
  return SystemPath(QStringLiteral("help"));
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
  for (const THelpContext& c : HelpContextTable)
    if (c.Context == context) return QString::fromLatin1(c.Topic);
  return QString();
}

std::vector<int> HelpContexts() {
  std::vector<int> contexts;
  for (const THelpContext& c : HelpContextTable) contexts.push_back(c.Context);
  return contexts;
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

void SetHelpContext(QWidget* control, int context) {
  if (!control) return;
  control->setProperty(HelpContextProperty, context > 0 ? QVariant(context) : QVariant());
  InstallHelpKey();
}

int HelpContextOf(const QWidget* control) {
  return control ? control->property(HelpContextProperty).toInt() : 0;
}

void SetHelpTopic(QWidget* control, const QString& topic) {
  if (!control) return;
  control->setProperty(HelpTopicProperty, topic.isEmpty() ? QVariant() : QVariant(topic));
  InstallHelpKey();
}

QString HelpTopicOf(const QWidget* control) {
  for (const QWidget* w = control; w; w = w->parentWidget()) {
    const QString topic = w->property(HelpTopicProperty).toString();
    if (!topic.isEmpty()) return topic;
    const QString ofContext = HelpTopicOfContext(HelpContextOf(w));
    if (!ofContext.isEmpty()) return ofContext;
  }
  return QStringLiteral("Main");
}
