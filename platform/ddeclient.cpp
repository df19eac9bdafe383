#include "platform/ddeclient.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusServiceWatcher>

TDdeClientConv::TDdeClientConv(const QString& service, const QString& topic, QObject* parent)
    : QObject(parent), FService(service), FTopic(topic) {}

bool TDdeClientConv::OpenLink() {
  if (FLinked) return true;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || !bus.interface()) return false;
  // The watcher comes first, so that an owner leaving right after the check is still seen.
  if (!FWatcher) {
    FWatcher = new QDBusServiceWatcher(BusName(), bus, QDBusServiceWatcher::WatchForUnregistration,
                                       this);
    connect(FWatcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] { CloseLink(); });
  }
  const QDBusReply<bool> owned = bus.interface()->isServiceRegistered(BusName());
  if (!owned.isValid() || !owned.value()) return false;
  FLinked = true;
  if (OnOpen) OnOpen();
  return FLinked;
}

void TDdeClientConv::CloseLink() {
  if (!FLinked) return;
  FLinked = false;
  if (OnClose) OnClose();
}

bool TDdeClientConv::Send(const char* member, const QList<QVariant>& arguments) {
  if (!FLinked) return false;
  QDBusMessage message = QDBusMessage::createMethodCall(
      BusName(), Path(), QStringLiteral("dde.Conversation"), QString::fromLatin1(member));
  message.setArguments(arguments);
  message.setAutoStartService(false);
  // send() marks a method call as expecting no reply.
  return QDBusConnection::sessionBus().send(message);
}

bool TDdeClientConv::PokeData(const QString& item, const QString& data) {
  return Send("Poke", {item, data});
}

bool TDdeClientConv::ExecuteMacro(const QString& command) { return Send("Execute", {command}); }
