#include "forms/dictionaryicons.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int Size = 24;

// An arrow along the middle line, pointing left (direction -1) or right (1).
void Arrow(QPainter& p, int direction, const QColor& color, QRectF box) {
  const double cy = box.center().y();
  const double tip = direction < 0 ? box.left() : box.right();
  const double back = direction < 0 ? box.right() : box.left();
  const double head = tip - direction * box.width() * 0.5;
  QPainterPath path;
  path.moveTo(tip, cy);
  path.lineTo(head, box.top());
  path.lineTo(head, cy - box.height() * 0.2);
  path.lineTo(back, cy - box.height() * 0.2);
  path.lineTo(back, cy + box.height() * 0.2);
  path.lineTo(head, cy + box.height() * 0.2);
  path.lineTo(head, box.bottom());
  path.closeSubpath();
  p.setPen(QPen(color.darker(160), 1));
  p.setBrush(color);
  p.drawPath(path);
}

// A sheet of text with a folded corner.
void Sheet(QPainter& p, QRectF r) {
  QPainterPath page;
  page.moveTo(r.left(), r.top());
  page.lineTo(r.right() - 5, r.top());
  page.lineTo(r.right(), r.top() + 5);
  page.lineTo(r.right(), r.bottom());
  page.lineTo(r.left(), r.bottom());
  page.closeSubpath();
  p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
  p.setBrush(Qt::white);
  p.drawPath(page);
  p.setPen(QPen(QColor(0x70, 0x70, 0x90), 1));
  for (double y = r.top() + 5; y < r.bottom() - 2; y += 3)
    p.drawLine(QPointF(r.left() + 2.5, y), QPointF(r.right() - 3, y));
}

void Draw(QPainter& p, int image) {
  const QColor green(0x2E, 0x8B, 0x3C);
  const QColor blue(0x2A, 0x5C, 0xB8);
  switch (image) {
    case 0:  // previous word: a word card with an arrow to the left
    case 1: {
      p.setPen(QPen(QColor(0x50, 0x50, 0x50), 1));
      p.setBrush(QColor(0xFF, 0xF6, 0xD0));
      p.drawRoundedRect(QRectF(3.5, 14.5, 17, 7), 1.5, 1.5);
      p.setPen(QPen(QColor(0x60, 0x40, 0x20), 1.2));
      p.drawLine(QPointF(6, 18), QPointF(18, 18));
      Arrow(p, image == 0 ? -1 : 1, green, QRectF(3, 2, 18, 11));
      break;
    }
    case 2:  // other article: a sheet and an arrow onwards
    case 3:  // back: a sheet and an arrow back
      Sheet(p, QRectF(2.5, 2.5, 13, 18));
      Arrow(p, image == 2 ? 1 : -1, blue, QRectF(9, 11, 13, 10));
      break;
    case 4: {  // illustration: a framed landscape with the sun
      p.setPen(QPen(QColor(0x6A, 0x4A, 0x20), 2));
      p.setBrush(QColor(0xBF, 0xE0, 0xFF));
      p.drawRect(QRectF(2, 4, 20, 16));
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0xF5, 0xC0, 0x20));
      p.drawEllipse(QPointF(16, 8.5), 2.5, 2.5);
      QPainterPath hills;
      hills.moveTo(3, 19);
      hills.lineTo(9, 10);
      hills.lineTo(13, 15);
      hills.lineTo(16, 12);
      hills.lineTo(21, 19);
      hills.closeSubpath();
      p.setBrush(green);
      p.drawPath(hills);
      break;
    }
    default: {  // change of dictionary: two books side by side and a small drop-down mark
      const QColor covers[2] = {QColor(0x9A, 0x23, 0x23), QColor(0x23, 0x4E, 0x9A)};
      for (int i = 0; i < 2; ++i) {
        const QRectF r(2.5 + i * 8, 3.5 + i * 2, 7, 16 - i * 2);
        p.setPen(QPen(covers[i].darker(150), 1));
        p.setBrush(covers[i]);
        p.drawRect(r);
        p.setPen(QPen(QColor(0xE8, 0xD0, 0x80), 1));
        p.drawLine(QPointF(r.left() + 1.5, r.top() + 3), QPointF(r.right() - 1.5, r.top() + 3));
        p.drawLine(QPointF(r.left() + 1.5, r.bottom() - 3),
                   QPointF(r.right() - 1.5, r.bottom() - 3));
      }
      QPainterPath mark;
      mark.moveTo(18, 15);
      mark.lineTo(23, 15);
      mark.lineTo(20.5, 19);
      mark.closeSubpath();
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0x30, 0x30, 0x30));
      p.drawPath(mark);
      break;
    }
  }
}

}  // namespace

QIcon DictionaryToolIcon(int image) {
  QPixmap pixmap(Size, Size);
  pixmap.fill(Qt::transparent);
  {
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    Draw(p, image);
  }
  // Disabled: grey and faint, so that a button that cannot be used looks it in every style.
  QImage grey = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < grey.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
    for (int x = 0; x < grey.width(); ++x) {
      const int g = 96 + qGray(line[x]) / 2;
      line[x] = qRgba(g, g, g, qAlpha(line[x]) * 2 / 5);
    }
  }
  QIcon icon(pixmap);
  icon.addPixmap(QPixmap::fromImage(grey), QIcon::Disabled);
  return icon;
}
