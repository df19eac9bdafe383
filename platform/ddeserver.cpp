#include "platform/ddeserver.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <exception>

TDdeServerConv::TDdeServerConv(const QString& topic, QObject* parent)
    : QObject(parent), FTopic(topic) {}

TDdeServerConv::~TDdeServerConv() {
  if (FBusName.isEmpty()) return;
  QDBusConnection bus(FConnection);
  bus.unregisterObject(Path());
  bus.unregisterService(FBusName);
}

bool TDdeServerConv::Register(const QString& service) {
  return Register(service, QDBusConnection::sessionBus());
}

bool TDdeServerConv::Register(const QString& service, const QDBusConnection& connection) {
  QDBusConnection bus = connection;
  if (!bus.isConnected() || !FBusName.isEmpty()) return false;
  const QString name = QStringLiteral("dde.") + service;
  if (!bus.registerObject(Path(), this,
                          QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals))
    return false;
  if (!bus.registerService(name)) {
    bus.unregisterObject(Path());
    return false;
  }
  FBusName = name;
  FConnection = bus.name();
  return true;
}

void TDdeServerConv::AddItem(const QString& item) {
  if (!FItems.contains(item)) FItems.insert(item, QString());
}

void TDdeServerConv::SetValue(const QString& item, const QString& value) {
  auto it = FItems.find(item);
  if (it == FItems.end() || *it == value) return;
  *it = value;
  Q_EMIT Advise(item, value);
}

QString TDdeServerConv::PokeData(const QString& item, const QString& data, QString* message) {
  auto fail = [message](const char* error, const QString& text) {
    if (message) *message = text;
    return QString::fromLatin1(error);
  };
  if (!FItems.contains(item)) return fail(UnknownItemError, QStringLiteral("no item ") + item.left(64));
  if (data.size() > MaxDataLength) return fail(TooLongError, QStringLiteral("data too long"));
  SetValue(item, data);
  if (OnPokeData) {
    try {
      OnPokeData(item, data);
    } catch (const std::exception& e) {
      return fail(NotProcessedError, QString::fromLocal8Bit(e.what()));
    }
  }
  return QString();
}

QString TDdeServerConv::RequestData(const QString& item, QString& value, QString* message) {
  if (!FItems.contains(item)) {
    if (message) *message = QStringLiteral("no item ") + item.left(64);
    return QString::fromLatin1(UnknownItemError);
  }
  value = FItems.value(item);
  return QString();
}

QString TDdeServerConv::ExecuteMacro(const QString& command, QString* message) {
  auto fail = [message](const QString& text) {
    if (message) *message = text;
    return QString::fromLatin1(NotProcessedError);
  };
  if (command.size() > MaxDataLength) return fail(QStringLiteral("command too long"));
  try {
    if (OnExecuteMacro && OnExecuteMacro(command)) return QString();
  } catch (const std::exception& e) {
    return fail(QString::fromLocal8Bit(e.what()));
  }
  return fail(QStringLiteral("command not known"));
}

void TDdeServerConv::Answer(const QString& error, const QString& message) {
  if (!error.isEmpty() && calledFromDBus()) sendErrorReply(error, message);
}

void TDdeServerConv::Poke(const QString& item, const QString& data) {
  QString message;
  Answer(PokeData(item, data, &message), message);
}

QString TDdeServerConv::Request(const QString& item) {
  QString value, message;
  Answer(RequestData(item, value, &message), message);
  return value;
}

void TDdeServerConv::Execute(const QString& command) {
  QString message;
  Answer(ExecuteMacro(command, &message), message);
}
