#pragma once
// The server side of an exchange conversation on the D-Bus session bus: the service S, topic T
// is the bus name "dde.S", object "/T", interface "dde.Conversation" with Poke(item, data),
// Request(item) -> data, Execute(command) and the signal Advise(item, data). The server knows a
// fixed set of items, each with a value; a poke stores the text and runs the owner's handler, a
// request reads the value, and every change of a value is advised. Calls that name no item of the
// server, or data beyond the server's limit, get a D-Bus error and change nothing.

#include <QDBusConnection>
#include <QDBusContext>
#include <QMap>
#include <QObject>
#include <QString>
#include <functional>

class TDdeServerConv : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "dde.Conversation")
  Q_CLASSINFO("D-Bus Introspection",
              "  <interface name=\"dde.Conversation\">\n"
              "    <method name=\"Poke\">\n"
              "      <arg name=\"item\" type=\"s\" direction=\"in\"/>\n"
              "      <arg name=\"data\" type=\"s\" direction=\"in\"/>\n"
              "    </method>\n"
              "    <method name=\"Request\">\n"
              "      <arg name=\"item\" type=\"s\" direction=\"in\"/>\n"
              "      <arg name=\"data\" type=\"s\" direction=\"out\"/>\n"
              "    </method>\n"
              "    <method name=\"Execute\">\n"
              "      <arg name=\"command\" type=\"s\" direction=\"in\"/>\n"
              "    </method>\n"
              "    <signal name=\"Advise\">\n"
              "      <arg name=\"item\" type=\"s\"/>\n"
              "      <arg name=\"data\" type=\"s\"/>\n"
              "    </signal>\n"
              "  </interface>\n")

 public:
  // Errors answered to a client.
  static constexpr const char* UnknownItemError = "dde.Error.UnknownItem";
  static constexpr const char* TooLongError = "dde.Error.TooLong";
  static constexpr const char* NotProcessedError = "dde.Error.NotProcessed";

  TDdeServerConv(const QString& topic, QObject* parent = nullptr);
  ~TDdeServerConv() override;

  // Takes the bus name "dde.<service>" and registers the object on the session bus (or on the
  // given connection to it); false when there is no bus or another program holds the name.
  bool Register(const QString& service);
  bool Register(const QString& service, const QDBusConnection& bus);
  QString BusName() const { return FBusName; }
  QString Path() const { return QStringLiteral("/") + FTopic; }

  void AddItem(const QString& item);
  bool HasItem(const QString& item) const { return FItems.contains(item); }
  QString Value(const QString& item) const { return FItems.value(item); }
  // Sets an item's value, advising it when it changed.
  void SetValue(const QString& item, const QString& value);

  // The longest data accepted in a poke or command, in characters.
  int MaxDataLength = 1 << 20;
  // The owner's handlers. A poke handler runs after the item took the text; an execute handler
  // returns false for a command it does not know. An exception from either becomes an error
  // reply with its message.
  std::function<void(const QString& item, const QString& data)> OnPokeData;
  std::function<bool(const QString& command)> OnExecuteMacro;

  // The transactions, callable without a bus. Each returns an empty string when taken, or the
  // name of the error (one of the above), with its message in *message.
  QString PokeData(const QString& item, const QString& data, QString* message = nullptr);
  QString RequestData(const QString& item, QString& value, QString* message = nullptr);
  QString ExecuteMacro(const QString& command, QString* message = nullptr);

 public Q_SLOTS:
  void Poke(const QString& item, const QString& data);
  QString Request(const QString& item);
  void Execute(const QString& command);

 Q_SIGNALS:
  void Advise(const QString& item, const QString& data);

 private:
  void Answer(const QString& error, const QString& message);
  QString FTopic;
  QString FBusName;
  QString FConnection;  // the name of the connection registered on
  QMap<QString, QString> FItems;
};
