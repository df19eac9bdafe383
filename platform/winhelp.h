#pragma once
// The help entry point. A help file name such as "Bible.hlp" stands for the folder help/Bible/
// beside the executable; a topic is the page topic + ".html" in it, and a help context number
// is turned into a topic by a fixed table. One help window shows the pages.

#include <QString>

// "Bible.hlp" -> <help root>/Bible/ (with the trailing "/").
QString HelpFolder(const QString& helpFile);
// The folder that holds the help folders; the executable's folder + "/help" unless set.
QString HelpRoot();
void SetHelpRoot(const QString& folder);

// The file of the page; "" when the topic is not a plain name.
QString HelpPagePath(const QString& helpFile, const QString& topic);
// The topic of a help context number; "" when the table has none.
QString HelpTopicOfContext(int context);

// The application's current help file, "Bible.hlp" unless changed.
QString ApplicationHelpFile();
void SetApplicationHelpFile(const QString& helpFile);

// Opens the help window at the topic; a missing page shows a short note instead.
void ShowHelpTopic(const QString& topic);
void ShowHelpTopic(const QString& topic, const QString& helpFile);
void ShowHelpContext(int context);
