#include "platform/codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>

#include "core/codepage.h"

const char* CodePageName(int charset) {
  switch (charset) {
    case 204:
      return "windows-1251";
    case 238:
      return "windows-1250";
    case 161:
      return "windows-1253";
    default:
      return "windows-1252";
  }
}

namespace {

// The 256 characters of a single-byte code page, decoded once: every byte decodes on its own, so
// a table gives exactly what the converter gives, without opening a converter for each text.
struct TDecodeTable {
  explicit TDecodeTable(const char* name) {
    QStringDecoder decoder(name, QStringConverter::Flag::Stateless);
    Valid = decoder.isValid();
    for (int b = 0; b < 256; ++b) {
      const char c = char(b);
      const QString one = Valid ? decoder.decode(QByteArrayView(&c, 1)) : QString();
      Chars[size_t(b)] = one.size() == 1 ? one[0] : QChar(QChar::ReplacementCharacter);
    }
  }
  bool Valid = false;
  std::array<QChar, 256> Chars{};
};

const TDecodeTable& DecodeTable(int charset) {
  static const TDecodeTable cyrillic("windows-1251"), central("windows-1250"),
      greek("windows-1253"), western("windows-1252");
  switch (charset) {
    case 204:
      return cyrillic;
    case 238:
      return central;
    case 161:
      return greek;
    default:
      return western;
  }
}

}  // namespace

QString DecodeBytes(std::string_view bytes, int charset) {
  const TDecodeTable& table = DecodeTable(charset);
  if (!table.Valid) return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
  QString text(qsizetype(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (char c : bytes) *out++ = table.Chars[static_cast<unsigned char>(c)];
  return text;
}

QString DecodeBytes(const QByteArray& bytes, int charset) {
  return DecodeBytes(std::string_view(bytes.constData(), size_t(bytes.size())), charset);
}

std::string EncodeText(const QString& text, int charset) {
  QStringEncoder encoder(CodePageName(charset), QStringConverter::Flag::Stateless);
  std::string out;
  out.reserve(size_t(text.size()));
  if (!encoder.isValid()) {
    for (QChar c : text) out.push_back(c.unicode() < 256 ? char(c.unicode()) : '?');
    return out;
  }
  // The usual case in one call; a text with characters outside the code page character by
  // character, so that each one gives exactly one byte whatever the converter substitutes.
  const QByteArray whole = encoder.encode(text);
  if (!encoder.hasError() && whole.size() == text.size() && !whole.contains('\x1a') &&
      (whole.count('?') == text.count(u'?')))
    return std::string(whole.constData(), size_t(whole.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c.unicode() < 0x80) {
      out.push_back(char(c.unicode()));
      continue;
    }
    qsizetype len = 1;
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) len = 2;
    const QByteArray b = encoder.encode(QStringView(text).mid(i, len));
    i += len - 1;
    if (b.size() == 1 && b.at(0) != '?' && b.at(0) != '\x1a')  // the error flag stays set
      out.push_back(b.at(0));
    else
      out.push_back('?');
  }
  return out;
}

std::string EncodeTypedText(const QString& text, int charset) {
  return FitToCodePage(text.toStdString(), CodePageName(charset));
}
