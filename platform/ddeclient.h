#pragma once
// The client side of an exchange conversation on the D-Bus session bus (see ddeserver.h for the
// names). The link is open while the server's bus name has an owner; it closes by itself when
// the owner goes away. Pokes and commands go out as calls that expect no reply, so the program
// never waits for the other side: a message to a server that hangs or has just quit is lost
// without notice.

#include <QObject>
#include <QString>
#include <functional>

class QDBusServiceWatcher;

class TDdeClientConv : public QObject {
 public:
  TDdeClientConv(const QString& service, const QString& topic, QObject* parent = nullptr);

  QString BusName() const { return QStringLiteral("dde.") + FService; }
  QString Path() const { return QStringLiteral("/") + FTopic; }
  bool Linked() const { return FLinked; }

  // Opens the link when the server is running (its name has an owner); runs OnOpen then.
  bool OpenLink();
  // Closes the link; runs OnClose when it was open.
  void CloseLink();
  // Both drop the message and return false when the link is not open.
  bool PokeData(const QString& item, const QString& data);
  bool ExecuteMacro(const QString& command);

  std::function<void()> OnOpen;
  std::function<void()> OnClose;

 private:
  bool Send(const char* member, const QList<QVariant>& arguments);
  QString FService;
  QString FTopic;
  bool FLinked = false;
  QDBusServiceWatcher* FWatcher = nullptr;
};
