#pragma once
// The on-top viewer: a small window above all others that shows the text another program pokes
// to it, in the poked font, scrolled to and marking the range between two "GoToPos" positions.
// It serves the exchange items "SetCaption", "SetFont", "SetFontSize", "SetFontCharSet",
// "SetText" and "GoToPos", and the command "Restore".

#include <QFile>
#include <QString>
#include <QWidget>

class QDBusConnection;
class QTextEdit;
class TDdeServerConv;

class TBeaconForm1 : public QWidget {
 public:
  explicit TBeaconForm1(QWidget* parent = nullptr);

  // Appends every call received to the file, one line each (see Log).
  bool OpenLog(const QString& path);
  // Takes the bus name "dde.Beacon" on the session bus (or on the given connection to it); false
  // when another viewer holds it or there is no bus.
  bool Register();
  bool Register(const QDBusConnection& bus);

  TDdeServerConv* DdeServerConv1 = nullptr;
  QTextEdit* Memo1 = nullptr;

  // The handlers of the items and the command.
  void PokeData(const QString& item, const QString& data);
  bool ExecuteMacro(const QString& command);

  // The marked range, in positions of the poked text (a line break counting two); -1 when none.
  int MarkStart() const { return FMarkStart; }
  int MarkEnd() const { return FMarkEnd; }
  int FontCharset() const { return FCharset; }

 private:
  void Log(const QString& kind, const QString& item, const QString& data);
  void GoToPos(int pos);
  void ApplyFont();
  QString FText;  // as poked, line breaks CR LF
  QString FFontName = QStringLiteral("Times New Roman");
  int FFontSize = 12;
  int FCharset = 1;
  int FPending = -1;  // the start of a range whose end has not come yet
  int FMarkStart = -1;
  int FMarkEnd = -1;
  QFile FLog;
};
