#include "platform/clipboardchain.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>

void TClipboardViewer::Join() {
  if (FJoined) return;
  FJoined = true;
  NextViewer = FChain.SetClipboardViewer(FSelf);
}

void TClipboardViewer::Leave() {
  if (!FJoined) return;
  FJoined = false;
  FChain.ChangeClipboardChain(FSelf, NextViewer);
  NextViewer = 0;
}

void TClipboardViewer::ChangeCbChain(TViewerHandle removed, TViewerHandle next) {
  if (removed == NextViewer)
    NextViewer = next;
  else if (NextViewer != 0)
    FChain.SendChangeCbChain(NextViewer, removed, next);
}

void TClipboardViewer::PassDrawClipboard() {
  if (NextViewer != 0) FChain.SendDrawClipboard(NextViewer);
}

TQtClipboardChain::TQtClipboardChain() : FContext(std::make_unique<QObject>()) {
  if (QClipboard* clipboard = QGuiApplication::clipboard()) {
    QObject::connect(clipboard, &QClipboard::changed, FContext.get(), [this](QClipboard::Mode mode) {
      if (mode == QClipboard::Clipboard && FViewer && OnDrawClipboard) OnDrawClipboard();
    });
  }
}

TQtClipboardChain::~TQtClipboardChain() = default;

TViewerHandle TQtClipboardChain::SetClipboardViewer(TViewerHandle viewer) {
  FViewer = viewer;
  QTimer::singleShot(0, FContext.get(), [this] {
    if (FViewer && OnDrawClipboard) OnDrawClipboard();
  });
  return 0;
}

void TQtClipboardChain::ChangeClipboardChain(TViewerHandle removed, TViewerHandle) {
  if (removed == FViewer) FViewer = 0;
}
