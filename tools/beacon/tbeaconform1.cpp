#include "tools/beacon/tbeaconform1.h"

#include <QDBusConnection>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "core/exchangedata.h"
#include "platform/ddeserver.h"

namespace {

// The log keeps each call on one line: breaks and tabs are written as \r \n \t, and a long text
// is cut, its length given.
constexpr int LoggedLength = 200;

QString Escaped(const QString& data) {
  QString out;
  for (const QChar c : data.left(LoggedLength)) {
    if (c == QLatin1Char('\r'))
      out += QStringLiteral("\\r");
    else if (c == QLatin1Char('\n'))
      out += QStringLiteral("\\n");
    else if (c == QLatin1Char('\t'))
      out += QStringLiteral("\\t");
    else if (c == QLatin1Char('\\'))
      out += QStringLiteral("\\\\");
    else
      out += c;
  }
  if (data.size() > LoggedLength) out += QStringLiteral("...(%1)").arg(data.size());
  return out;
}

int PokedNumber(const QString& data, int low, int high, int otherwise) {
  int32_t n = 0;
  if (!ReadPokedNumber(data.toStdString(), n)) return otherwise;
  return std::clamp<int>(n, low, high);
}

}  // namespace

TBeaconForm1::TBeaconForm1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("BeaconForm1"));
  setWindowTitle(QStringLiteral("Прозорец отгоре"));
  resize(420, 260);
  Memo1 = new QTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setReadOnly(true);
  Memo1->setAccessibleName(QStringLiteral("Текст"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Memo1);
  ApplyFont();

  DdeServerConv1 = new TDdeServerConv(QStringLiteral("DdeServerConv1"), this);
  for (const char* item : {"SetCaption", "SetFont", "SetFontSize", "SetFontCharSet", "SetText", "GoToPos"})
    DdeServerConv1->AddItem(QString::fromLatin1(item));
  DdeServerConv1->MaxDataLength = 16 << 20;
  DdeServerConv1->OnPokeData = [this](const QString& item, const QString& data) { PokeData(item, data); };
  DdeServerConv1->OnExecuteMacro = [this](const QString& command) { return ExecuteMacro(command); };
}

bool TBeaconForm1::OpenLog(const QString& path) {
  FLog.setFileName(path);
  return FLog.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
}

bool TBeaconForm1::Register() { return DdeServerConv1->Register(QStringLiteral("Beacon")); }

bool TBeaconForm1::Register(const QDBusConnection& bus) {
  return DdeServerConv1->Register(QStringLiteral("Beacon"), bus);
}

void TBeaconForm1::Log(const QString& kind, const QString& item, const QString& data) {
  if (!FLog.isOpen()) return;
  FLog.write((kind + QLatin1Char('\t') + item + QLatin1Char('\t') + Escaped(data) + QLatin1Char('\n')).toUtf8());
  FLog.flush();
}

void TBeaconForm1::PokeData(const QString& item, const QString& data) {
  Log(QStringLiteral("Poke"), item, data);
  if (item == QLatin1String("SetCaption")) {
    setWindowTitle(data.left(256));
  } else if (item == QLatin1String("SetFont")) {
    FFontName = data.left(64);
    ApplyFont();
  } else if (item == QLatin1String("SetFontSize")) {
    FFontSize = PokedNumber(data, 4, 96, FFontSize);
    ApplyFont();
  } else if (item == QLatin1String("SetFontCharSet")) {
    // The text arrives as Unicode already; the character set is kept as the font's.
    FCharset = PokedNumber(data, 0, 255, FCharset);
  } else if (item == QLatin1String("SetText")) {
    FText = data;
    FPending = FMarkStart = FMarkEnd = -1;
    // One character per line break in the view; a lone CR stays one character.
    QString shown = data;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char(' '));
    Memo1->setExtraSelections({});
    Memo1->setPlainText(shown);
  } else if (item == QLatin1String("GoToPos")) {
    int32_t n = 0;
    if (ReadPokedNumber(data.toStdString(), n)) GoToPos(n);
  }
}

void TBeaconForm1::GoToPos(int pos) {
  const std::u16string_view text(reinterpret_cast<const char16_t*>(FText.utf16()), size_t(FText.size()));
  pos = std::clamp(pos, 0, int(FText.size()));
  const int doc = CrLfToDocPosition(text, pos);
  QTextCursor cursor(Memo1->document());
  // The first position of a pair is the start of the verse, the second its end.
  if (FPending < 0) {
    FPending = pos;
    cursor.setPosition(doc);
    Memo1->setTextCursor(cursor);
    Memo1->ensureCursorVisible();
    return;
  }
  FMarkStart = std::min(FPending, pos);
  FMarkEnd = std::max(FPending, pos);
  FPending = -1;
  const int from = CrLfToDocPosition(text, FMarkStart);
  const int to = CrLfToDocPosition(text, FMarkEnd);
  QTextEdit::ExtraSelection mark;
  mark.cursor = QTextCursor(Memo1->document());
  mark.cursor.setPosition(from);
  mark.cursor.setPosition(to, QTextCursor::KeepAnchor);
  mark.format.setBackground(QColor(0xFF, 0xF0, 0x99));
  mark.format.setForeground(QColor(0x00, 0x80, 0x00));
  Memo1->setExtraSelections({mark});
  // The end and then the start are brought into view, so that the start is seen.
  cursor.setPosition(to);
  Memo1->setTextCursor(cursor);
  Memo1->ensureCursorVisible();
  cursor.setPosition(from);
  Memo1->setTextCursor(cursor);
  Memo1->ensureCursorVisible();
}

bool TBeaconForm1::ExecuteMacro(const QString& command) {
  Log(QStringLiteral("Execute"), command, QString());
  if (command != QLatin1String("Restore")) return false;
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
  return true;
}

void TBeaconForm1::ApplyFont() {
  QFont font(FFontName);
  font.setPointSize(FFontSize);
  Memo1->setFont(font);
}
