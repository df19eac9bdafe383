#pragma once
// The clipboard viewer chain. Each member keeps the handle of the next one and passes every
// notification on to it; when a member leaves, the others hear of it and the one before it takes
// over its successor. TClipboardViewer is that member's logic, over the chain's services
// (TClipboardChain), so that it can be exercised with a chain of several members.
//
// On Linux every program hears of a clipboard change from the window system by itself, so the
// chain that the program joins (TQtClipboardChain) has no other member: joining returns no next
// viewer, and the notification comes from QClipboard::dataChanged.

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>

using TViewerHandle = std::uintptr_t;  // 0: none

// The program's own copy to the clipboard is under way while one of these exists (copies may
// nest): the clipboard watcher does not take what the program copies itself for a reference to
// show. Scoped, so that it cannot stay set after the copy, whatever the copy throws.
class TOwnClipboardCopy {
 public:
  TOwnClipboardCopy() { ++FDepth; }
  ~TOwnClipboardCopy() { --FDepth; }
  TOwnClipboardCopy(const TOwnClipboardCopy&) = delete;
  TOwnClipboardCopy& operator=(const TOwnClipboardCopy&) = delete;
  static bool InProgress() { return FDepth > 0; }

 private:
  // The clipboard is one for the whole process, and so is this.
  static inline int FDepth = 0;
};

// The platform's services of the chain.
class TClipboardChain {
 public:
  virtual ~TClipboardChain() = default;
  // Makes viewer the first member; returns the previous first member (the next viewer), or 0.
  virtual TViewerHandle SetClipboardViewer(TViewerHandle viewer) = 0;
  // Takes removed out of the chain; next is its successor. The chain tells its first member.
  virtual void ChangeClipboardChain(TViewerHandle removed, TViewerHandle next) = 0;
  // The two notifications, sent to one member.
  virtual void SendChangeCbChain(TViewerHandle to, TViewerHandle removed, TViewerHandle next) = 0;
  virtual void SendDrawClipboard(TViewerHandle to) = 0;
};

// One member of the chain.
class TClipboardViewer {
 public:
  TClipboardViewer(TClipboardChain& chain, TViewerHandle self) : FChain(chain), FSelf(self) {}
  ~TClipboardViewer() { Leave(); }
  TClipboardViewer(const TClipboardViewer&) = delete;
  TClipboardViewer& operator=(const TClipboardViewer&) = delete;

  void Join();
  void Leave();
  bool Joined() const { return FJoined; }
  // The chain-change notification: removed leaves, next follows it.
  void ChangeCbChain(TViewerHandle removed, TViewerHandle next);
  // Passes a clipboard-change notification on, after the member's own handling.
  void PassDrawClipboard();

  TViewerHandle NextViewer = 0;

 private:
  TClipboardChain& FChain;
  TViewerHandle FSelf;
  bool FJoined = false;
};

// The chain on Qt: no other members; OnDrawClipboard runs for every change of the clipboard
// (not of the X11 primary selection, which changes with every text selected anywhere).
// Joining also delivers one notification at once, from the event loop, as a registration does.
class TQtClipboardChain : public TClipboardChain {
 public:
  TQtClipboardChain();
  ~TQtClipboardChain() override;
  std::function<void()> OnDrawClipboard;

  TViewerHandle SetClipboardViewer(TViewerHandle viewer) override;
  void ChangeClipboardChain(TViewerHandle removed, TViewerHandle next) override;
  void SendChangeCbChain(TViewerHandle, TViewerHandle, TViewerHandle) override {}
  void SendDrawClipboard(TViewerHandle) override {}

 private:
  // Receives the clipboard's signals; connections end with it.
  std::unique_ptr<QObject> FContext;
  TViewerHandle FViewer = 0;
};
