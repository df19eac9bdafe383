// The clipboard viewer chain: members that join, leave and pass the notifications on, over a
// chain of several members as Windows keeps it, and the chain on Qt, which has no other member.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <map>
#include <memory>
#include <vector>

#include "platform/clipboardchain.h"

namespace {

// The system's side: the first member, and each member's handling of the two notifications.
class TTestChain : public TClipboardChain {
 public:
  TViewerHandle First = 0;
  std::map<TViewerHandle, TClipboardViewer*> Members;
  std::vector<TViewerHandle> Drawn;  // who saw the clipboard change, in order

  TViewerHandle SetClipboardViewer(TViewerHandle viewer) override {
    const TViewerHandle next = First;
    First = viewer;
    return next;
  }
  void ChangeClipboardChain(TViewerHandle removed, TViewerHandle next) override {
    if (First == removed)
      First = next;
    else if (First)
      SendChangeCbChain(First, removed, next);
  }
  void SendChangeCbChain(TViewerHandle to, TViewerHandle removed, TViewerHandle next) override {
    Members.at(to)->ChangeCbChain(removed, next);
  }
  void SendDrawClipboard(TViewerHandle to) override {
    Drawn.push_back(to);
    Members.at(to)->PassDrawClipboard();
  }
  void CopyAnything() {
    Drawn.clear();
    if (First) SendDrawClipboard(First);
  }
};

struct ChainOfThree : ::testing::Test {
  TTestChain chain;
  std::vector<std::unique_ptr<TClipboardViewer>> viewers;
  void SetUp() override {
    for (TViewerHandle h : {1, 2, 3}) {
      viewers.push_back(std::make_unique<TClipboardViewer>(chain, h));
      chain.Members[h] = viewers.back().get();
      viewers.back()->Join();
    }
  }
};

}  // namespace

TEST_F(ChainOfThree, EveryMemberHearsEveryChangeNewestFirst) {
  EXPECT_EQ(viewers[2]->NextViewer, 2u);
  EXPECT_EQ(viewers[1]->NextViewer, 1u);
  EXPECT_EQ(viewers[0]->NextViewer, 0u);
  chain.CopyAnything();
  EXPECT_EQ(chain.Drawn, (std::vector<TViewerHandle>{3, 2, 1}));
}

TEST_F(ChainOfThree, TheMemberBeforeOneThatLeavesTakesItsSuccessor) {
  viewers[1]->Leave();  // 3 -> 2 -> 1 becomes 3 -> 1
  EXPECT_EQ(viewers[2]->NextViewer, 1u);
  chain.CopyAnything();
  EXPECT_EQ(chain.Drawn, (std::vector<TViewerHandle>{3, 1}));
  // The last one leaving reaches the front through the rest, unchanged.
  viewers[0]->Leave();
  EXPECT_EQ(viewers[2]->NextViewer, 0u);
  chain.CopyAnything();
  EXPECT_EQ(chain.Drawn, (std::vector<TViewerHandle>{3}));
}

TEST_F(ChainOfThree, TheFirstMemberLeavingNeedsNoNotification) {
  viewers[2]->Leave();
  EXPECT_EQ(chain.First, 2u);
  EXPECT_EQ(viewers[1]->NextViewer, 1u);
  chain.CopyAnything();
  EXPECT_EQ(chain.Drawn, (std::vector<TViewerHandle>{2, 1}));
  // Leaving twice, or destroying a member that left, changes nothing more.
  viewers[2]->Leave();
  viewers[2].reset();
  EXPECT_EQ(chain.First, 2u);
}

TEST_F(ChainOfThree, ANotificationForAnotherMemberIsPassedOnUnchanged) {
  // Member 3 hears that 1 leaves, followed by 9: it passes that on to 2, whose successor 1 was.
  viewers[2]->ChangeCbChain(1, 9);
  EXPECT_EQ(viewers[2]->NextViewer, 2u);
  EXPECT_EQ(viewers[1]->NextViewer, 9u);
  // And when 9 leaves in turn, 2 follows on to 1 again.
  viewers[2]->ChangeCbChain(9, 1);
  EXPECT_EQ(viewers[1]->NextViewer, 1u);
  chain.CopyAnything();
  EXPECT_EQ(chain.Drawn, (std::vector<TViewerHandle>{3, 2, 1}));
}

TEST(QtClipboardChain, HasNoOtherMemberAndTellsOfEveryClipboardChange) {
  TQtClipboardChain chain;
  int drawn = 0;
  chain.OnDrawClipboard = [&] { ++drawn; };
  {
    TClipboardViewer viewer(chain, 7);
    viewer.Join();
    EXPECT_EQ(viewer.NextViewer, 0u);
    // Joining tells at once, from the event loop.
    EXPECT_EQ(drawn, 0);
    QTest::qWait(20);
    EXPECT_EQ(drawn, 1);
    QGuiApplication::clipboard()->setText(QStringLiteral("John 3:16"));
    QTest::qWait(20);
    EXPECT_EQ(drawn, 2);
    // The selection is not watched.
    QGuiApplication::clipboard()->setText(QStringLiteral("Gen 1:1"), QClipboard::Selection);
    QTest::qWait(20);
    EXPECT_EQ(drawn, 2);
  }
  // After leaving nothing more arrives.
  QGuiApplication::clipboard()->setText(QStringLiteral("Ps 23"));
  QTest::qWait(20);
  EXPECT_EQ(drawn, 2);
}
