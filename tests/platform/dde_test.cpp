// The exchange conversations on the session bus: the server's items, errors and advises, and a
// client link that opens only while the server's name has an owner and closes when it goes.
// The bus tests need a session bus (CTest runs them inside dbus-run-session).

#include <gtest/gtest.h>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QSignalSpy>
#include <QTest>
#include <stdexcept>

#include "platform/ddeclient.h"
#include "platform/ddeserver.h"

namespace {

bool HaveBus() { return QDBusConnection::sessionBus().isConnected(); }

}  // namespace

TEST(DdeServer, ItemsTakePokesAndAdviseChanges) {
  TDdeServerConv server(QStringLiteral("DdeServerConv1"));
  server.AddItem(QStringLiteral("SetBook"));
  QSignalSpy advised(&server, &TDdeServerConv::Advise);
  QStringList handled;
  server.OnPokeData = [&](const QString& item, const QString& data) { handled << item + "=" + data; };
  EXPECT_EQ(server.PokeData(QStringLiteral("SetBook"), QStringLiteral("John 3:16")), QString());
  EXPECT_EQ(handled, QStringList{QStringLiteral("SetBook=John 3:16")});
  QString value;
  EXPECT_EQ(server.RequestData(QStringLiteral("SetBook"), value), QString());
  EXPECT_EQ(value, QStringLiteral("John 3:16"));
  ASSERT_EQ(advised.count(), 1);
  // The same value again is no change to advise, but the handler still runs.
  server.PokeData(QStringLiteral("SetBook"), QStringLiteral("John 3:16"));
  EXPECT_EQ(advised.count(), 1);
  EXPECT_EQ(handled.size(), 2);
}

TEST(DdeServer, UnknownItemsLongDataAndFailingHandlersAreErrors) {
  TDdeServerConv server(QStringLiteral("DdeServerConv1"));
  server.AddItem(QStringLiteral("SetBook"));
  server.MaxDataLength = 10;
  int handled = 0;
  server.OnPokeData = [&](const QString&, const QString& data) {
    ++handled;
    if (data == QLatin1String("bad")) throw std::runtime_error("I/O error 100");
  };
  QString message, value;
  EXPECT_EQ(server.PokeData(QStringLiteral("setbook"), QStringLiteral("x"), &message),
            QLatin1String(TDdeServerConv::UnknownItemError));
  EXPECT_EQ(server.PokeData(QStringLiteral("SetBook"), QString(11, QLatin1Char('1'))),
            QLatin1String(TDdeServerConv::TooLongError));
  EXPECT_EQ(handled, 0);
  EXPECT_EQ(server.Value(QStringLiteral("SetBook")), QString());
  EXPECT_EQ(server.PokeData(QStringLiteral("SetBook"), QStringLiteral("bad"), &message),
            QLatin1String(TDdeServerConv::NotProcessedError));
  EXPECT_EQ(message, QStringLiteral("I/O error 100"));
  EXPECT_EQ(server.RequestData(QString(), value), QLatin1String(TDdeServerConv::UnknownItemError));
  // Without an execute handler no command is known.
  EXPECT_EQ(server.ExecuteMacro(QStringLiteral("Restore")),
            QLatin1String(TDdeServerConv::NotProcessedError));
}

TEST(DdeBus, ClientLinkFollowsTheServersName) {
  if (!HaveBus()) GTEST_SKIP() << "no session bus";
  TDdeClientConv client(QStringLiteral("TestViewer"), QStringLiteral("DdeServerConv1"));
  int opened = 0, closed = 0;
  client.OnOpen = [&] { ++opened; };
  client.OnClose = [&] { ++closed; };
  // No server: the link does not open and nothing is sent.
  EXPECT_FALSE(client.OpenLink());
  EXPECT_FALSE(client.PokeData(QStringLiteral("SetText"), QStringLiteral("x")));
  EXPECT_EQ(opened, 0);

  auto server = std::make_unique<TDdeServerConv>(QStringLiteral("DdeServerConv1"));
  server->AddItem(QStringLiteral("SetText"));
  QStringList received;
  server->OnPokeData = [&](const QString& item, const QString& data) { received << item + "=" + data; };
  server->OnExecuteMacro = [&](const QString& command) {
    received << command;
    return command == QLatin1String("Restore");
  };
  ASSERT_TRUE(server->Register(QStringLiteral("TestViewer")));
  // A second server cannot take the same name.
  TDdeServerConv second(QStringLiteral("DdeServerConv1"));
  EXPECT_FALSE(second.Register(QStringLiteral("TestViewer")));

  ASSERT_TRUE(client.OpenLink());
  EXPECT_EQ(opened, 1);
  EXPECT_TRUE(client.PokeData(QStringLiteral("SetText"), QStringLiteral("Йоан 3:16\r\n")));
  EXPECT_TRUE(client.PokeData(QStringLiteral("NoSuchItem"), QStringLiteral("x")));
  EXPECT_TRUE(client.ExecuteMacro(QStringLiteral("Restore")));
  ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 2; }, 5000));
  EXPECT_EQ(received[0], QStringLiteral("SetText=Йоан 3:16\r\n"));
  EXPECT_EQ(received[1], QStringLiteral("Restore"));

  // The viewer quits: the link closes by itself, and later pokes are dropped.
  server.reset();
  EXPECT_TRUE(QTest::qWaitFor([&] { return closed == 1; }, 5000));
  EXPECT_FALSE(client.Linked());
  EXPECT_FALSE(client.PokeData(QStringLiteral("SetText"), QStringLiteral("x")));
}

TEST(DdeBus, ServerAnswersRequestsAndErrorsOverTheBus) {
  if (!HaveBus()) GTEST_SKIP() << "no session bus";
  TDdeServerConv server(QStringLiteral("DdeServerConv1"));
  server.AddItem(QStringLiteral("SetVerse"));
  server.SetValue(QStringLiteral("SetVerse"), QStringLiteral("16 For God so loved"));
  ASSERT_TRUE(server.Register(QStringLiteral("TestServer")));
  // Another connection, as another program has.
  QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("other"));
  ASSERT_TRUE(other.isConnected());
  // The server answers from this thread's event loop, which runs while the call waits.
  auto call = [&](const char* method, const QList<QVariant>& arguments) {
    QDBusMessage m = QDBusMessage::createMethodCall(QStringLiteral("dde.TestServer"),
                                                    QStringLiteral("/DdeServerConv1"),
                                                    QStringLiteral("dde.Conversation"),
                                                    QString::fromLatin1(method));
    m.setArguments(arguments);
    return other.call(m, QDBus::BlockWithGui, 5000);
  };
  QDBusReply<QString> value = call("Request", {QStringLiteral("SetVerse")});
  ASSERT_TRUE(value.isValid()) << value.error().message().toStdString();
  EXPECT_EQ(value.value(), QStringLiteral("16 For God so loved"));
  QDBusReply<QString> wrong = call("Request", {QStringLiteral("Nothing")});
  EXPECT_EQ(wrong.error().name(), QLatin1String(TDdeServerConv::UnknownItemError));
  QDBusReply<void> poke = call("Poke", {QStringLiteral("Nothing"), QStringLiteral("1")});
  EXPECT_EQ(poke.error().name(), QLatin1String(TDdeServerConv::UnknownItemError));
  QDBusConnection::disconnectFromBus(QStringLiteral("other"));
}

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
