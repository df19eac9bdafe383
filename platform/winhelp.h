#pragma once
// The help entry point. A help file name such as "Bible.hlp" stands for the folder help/Bible/
// beside the executable; a topic is the page topic + ".html" in it, and a help context number
// is turned into a topic by a fixed table. One help window shows the pages.
//
// Controls carry help context numbers as a window's form gives them; F1 opens the page of the
// focused control's context, or of the nearest enclosing control or window that carries one.

#include <QString>
#include <vector>

class QWidget;

// "Bible.hlp" -> <help root>/Bible/ (with the trailing "/").
QString HelpFolder(const QString& helpFile);
// The folder that holds the help folders; the executable's folder + "/help" unless set.
QString HelpRoot();
void SetHelpRoot(const QString& folder);

// The file of the page; "" when the topic is not a plain name.
QString HelpPagePath(const QString& helpFile, const QString& topic);
// The topic of a help context number; "" when the table has none.
QString HelpTopicOfContext(int context);
// Every context number of the table, ascending.
std::vector<int> HelpContexts();

// The application's current help file, "Bible.hlp" unless changed.
QString ApplicationHelpFile();
void SetApplicationHelpFile(const QString& helpFile);

// Opens the help window at the topic; a missing page shows a short note instead. Opened from a
// modal dialog, the window stands in front of the dialog and takes input while it is open.
void ShowHelpTopic(const QString& topic);
void ShowHelpTopic(const QString& topic, const QString& helpFile);
void ShowHelpContext(int context);

// The help context a control carries (0 takes it away). The first call also makes F1 work in
// every window of the application.
void SetHelpContext(QWidget* control, int context);
int HelpContextOf(const QWidget* control);
// A window or control that names its page itself; it wins over a context further out. An empty
// topic takes it away.
void SetHelpTopic(QWidget* control, const QString& topic);
// The page F1 opens on the control: its own topic or context, else the nearest enclosing
// control's, else "Main".
QString HelpTopicOf(const QWidget* control);
