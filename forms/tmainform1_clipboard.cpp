// The main window watches the clipboard: a verse reference that any other program copies is
// shown at once in every Bible window, and the program comes to the front.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QWindow>

#include "core/tbible.h"
#include "forms/tdic_form1.h"
#include "forms/tmainform1.h"
#include "platform/clipboardchain.h"
#include "platform/codepage.h"
#include "platform/ddeclient.h"
#include "platform/showmessage.h"

namespace {

// Shortest and longest text examined, in characters.
constexpr int MinReferenceLength = 2;
constexpr int MaxReferenceLength = 99;

void SetStayOnTop(QWidget* w, bool on) {
  // Through the native window, so that a shown window keeps being shown.
  if (QWindow* window = w->windowHandle())
    window->setFlag(Qt::WindowStaysOnTopHint, on);
  else
    w->setWindowFlag(Qt::WindowStaysOnTopHint, on);
}

}  // namespace

void TMainForm1::JoinClipboardChain() {
  FClipboardChain = new TQtClipboardChain;
  FClipboardChain->OnDrawClipboard = [this] { WMDRAWCLIPBOARD(); };
  ClipboardViewer = new TClipboardViewer(*FClipboardChain, TViewerHandle(this));
  ClipboardViewer->Join();
}

void TMainForm1::LeaveClipboardChain() {
  if (FClipboardChain) FClipboardChain->OnDrawClipboard = nullptr;
  delete ClipboardViewer;  // leaves the chain
  ClipboardViewer = nullptr;
  delete FClipboardChain;
  FClipboardChain = nullptr;
}

void TMainForm1::WMCHANGECBCHAIN(uintptr_t removed, uintptr_t next) {
  if (ClipboardViewer) ClipboardViewer->ChangeCbChain(removed, next);
}

void TMainForm1::WMDRAWCLIPBOARD() {
  // The program's own copies are not references to follow: a notification during the copy
  // finds it under way, and one that arrives later finds the program owning the clipboard.
  QClipboard* clipboard = QGuiApplication::clipboard();
  const QMimeData* data = clipboard ? clipboard->mimeData(QClipboard::Clipboard) : nullptr;
  if (Settings.CheckClipboard && !TOwnClipboardCopy::InProgress() && data && data->hasText() &&
      !clipboard->ownsClipboard()) {
    const QString text = data->text();
    // Characters are the bytes of the reference's code page; a long text is not encoded at all.
    const std::string bytes =
        text.size() <= 2 * MaxReferenceLength ? EncodeText(text, NameCharset()) : std::string();
    const int length = int(bytes.size());
    if (length >= MinReferenceLength && length <= MaxReferenceLength && Place.Bible) {
      try {
        if (GoToReference(bytes)) {
          if (ViewerLinked && DdeClientConv1)
            DdeClientConv1->ExecuteMacro(QStringLiteral("Restore"));
          else
            BringToFront();
        }
      } catch (const std::exception& e) {
        ShowMessage(QString::fromStdString(e.what()), this);
      }
    }
  }
  if (ClipboardViewer) ClipboardViewer->PassDrawClipboard();
}

void TMainForm1::BringToFront() {
  // The dictionary window stays on top of other windows.
  QWidget* dictionary = FDictionary;
  const bool onTop = dictionary && dictionary->isVisible();
  if (onTop) SetStayOnTop(dictionary, false);
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
  if (onTop) SetStayOnTop(dictionary, true);
}
