#include "controls/fontconvert.h"

QFont ToQFont(const TFont& font) {
  QFont f(QString::fromStdString(font.Name));
  if (font.Size > 0) f.setPointSize(font.Size);
  f.setBold(font.Style & fsBold);
  f.setItalic(font.Style & fsItalic);
  f.setUnderline(font.Style & fsUnderline);
  f.setStrikeOut(font.Style & fsStrikeOut);
  return f;
}

void AssignQFont(const QFont& from, TFont& font) {
  font.Name = from.family().toStdString();
  if (from.pointSize() > 0) font.Size = from.pointSize();
  uint8_t style = 0;
  if (from.bold()) style |= fsBold;
  if (from.italic()) style |= fsItalic;
  if (from.underline()) style |= fsUnderline;
  if (from.strikeOut()) style |= fsStrikeOut;
  font.Style = style;
}

QColor ToQColor(uint32_t color) {
  return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

uint32_t FromQColor(const QColor& color) {
  return uint32_t(color.red()) | (uint32_t(color.green()) << 8) | (uint32_t(color.blue()) << 16);
}
