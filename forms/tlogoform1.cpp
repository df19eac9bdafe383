#include "forms/tlogoform1.h"

#include <QFileInfo>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadialGradient>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include "platform/checkedconnect.h"
#include "platform/datapaths.h"
#include "settings/tmainsettings.h"

namespace {

constexpr int PictureWidth = 301;
constexpr int PictureHeight = 406;
// The form shows the picture's left 293 columns; everything is drawn within them.
constexpr int ShownWidth = 293;

void DrawBook(QPainter& p, const QRectF& r) {
  // An open book seen from above: two pages curving down to the spine, with lines of text.
  const QPointF spineTop(r.center().x(), r.top() + 10);
  const QPointF spineBottom(r.center().x(), r.bottom());
  for (int side : {-1, 1}) {
    QPainterPath page;
    const qreal outer = r.center().x() + side * r.width() / 2;
    page.moveTo(spineTop);
    page.cubicTo(QPointF(r.center().x() + side * r.width() * 0.2, r.top() - 6),
                 QPointF(outer - side * 20, r.top() - 4), QPointF(outer, r.top() + 4));
    page.lineTo(QPointF(outer, r.bottom() - 8));
    page.cubicTo(QPointF(outer - side * 20, r.bottom() - 14),
                 QPointF(r.center().x() + side * r.width() * 0.2, r.bottom() - 12), spineBottom);
    page.closeSubpath();
    QLinearGradient paper(QPointF(outer, 0), spineTop);
    paper.setColorAt(0, QColor(0xFB, 0xF3, 0xDC));
    paper.setColorAt(1, QColor(0xE4, 0xD3, 0xA8));
    p.setPen(QPen(QColor(0x7A, 0x5A, 0x2A), 1.2));
    p.setBrush(paper);
    p.drawPath(page);
    p.setPen(QPen(QColor(0x9C, 0x86, 0x60), 1));
    for (int line = 0; line < 7; ++line) {
      const qreal y = r.top() + 16 + line * (r.height() - 34) / 7;
      const qreal x1 = r.center().x() + side * 10;
      const qreal x2 = outer - side * 12;
      p.drawLine(QPointF(x1, y + 3), QPointF(x2, y));
    }
  }
}

}  // namespace

QPixmap TLogoForm1::Picture() {
  // Drawn once: the splash and the program's icon show the same picture.
  static const QImage picture = [] {
    QImage image(PictureWidth, PictureHeight, QImage::Format_RGB32);
    DrawPicture(image);
    return image;
  }();
  return QPixmap::fromImage(picture);
}

void TLogoForm1::DrawPicture(QImage& pixmap) {
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, PictureHeight);
  sky.setColorAt(0, QColor(0x12, 0x1E, 0x4A));
  sky.setColorAt(0.55, QColor(0x2E, 0x3F, 0x7C));
  sky.setColorAt(1, QColor(0x6B, 0x4A, 0x2A));
  p.fillRect(pixmap.rect(), sky);

  // Light falling from above onto the book.
  QRadialGradient glow(QPointF(ShownWidth / 2.0, 200), 170);
  glow.setColorAt(0, QColor(255, 236, 170, 200));
  glow.setColorAt(1, QColor(255, 236, 170, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(glow);
  p.drawEllipse(QPointF(ShownWidth / 2.0, 200), 170, 170);

  // The cross above the book.
  const QColor gold(0xF2, 0xD0, 0x7A);
  p.setBrush(gold);
  p.setPen(QPen(QColor(0xA8, 0x7C, 0x2C), 1.5));
  p.drawRoundedRect(QRectF(ShownWidth / 2.0 - 9, 96, 18, 124), 3, 3);
  p.drawRoundedRect(QRectF(ShownWidth / 2.0 - 42, 126, 84, 18), 3, 3);

  DrawBook(p, QRectF(36, 222, ShownWidth - 72, 86));

  p.setPen(gold);
  QFont title(QStringLiteral("Times New Roman"));
  title.setPixelSize(44);
  title.setBold(true);
  p.setFont(title);
  p.drawText(QRectF(0, 22, ShownWidth, 60), Qt::AlignCenter, QStringLiteral("Библията"));
  QFont sub(QStringLiteral("Times New Roman"));
  sub.setPixelSize(17);
  sub.setItalic(true);
  p.setFont(sub);
  p.setPen(QColor(0xF5, 0xEB, 0xD0));
  p.drawText(QRectF(10, 322, ShownWidth - 20, 50), Qt::AlignCenter | Qt::TextWordWrap,
             QStringLiteral("„Твоето слово е светилник\nна нозете ми“"));
  sub.setPixelSize(14);
  sub.setItalic(false);
  p.setFont(sub);
  p.drawText(QRectF(0, 368, ShownWidth, 24), Qt::AlignCenter, QStringLiteral("Псалом 119:105"));
  p.setPen(QPen(gold, 2));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(5, 5, ShownWidth - 10, PictureHeight - 10));
}

TLogoForm1::TLogoForm1(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("LogoForm1"));
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  setModal(true);
  setFixedSize(293, 406);

  // The picture is drawn when the splash is first shown, after the main window's first paint.
  Image1 = new QLabel(this);
  Image1->setGeometry(0, 0, PictureWidth, PictureHeight);
  // A click on the picture reaches the form's mouse handling.
  Image1->setAttribute(Qt::WA_TransparentForMouseEvents);

  Button1 = new QPushButton(this);
  Button1->setGeometry(110, 398, 75, 5);
  Button1->setDefault(true);
  Button1->setFlat(true);
  Button1->setFocusPolicy(Qt::StrongFocus);
  Button1->lower();
  // The button has no caption (the picture is the splash); a screen reader still names it.
  Button1->setAccessibleName(QStringLiteral("Библията"));

  Timer1 = new QTimer(this);
  Timer1->setInterval(TimerInterval);
  Timer1->setSingleShot(true);

  BIBLE_CONNECT(Button1, &QPushButton::clicked, &FConnections, [this] { Image1Click(); });
  BIBLE_CONNECT(Timer1, &QTimer::timeout, &FConnections, [this] { Image1Click(); });
}

void TLogoForm1::showEvent(QShowEvent* event) {
  if (Image1->pixmap().isNull()) Image1->setPixmap(Picture());
  QDialog::showEvent(event);
  FormShow();
}

void TLogoForm1::FormShow() {
  Timer1->start();
  FSoundFile.clear();
  const QString file = SystemPath(QStringLiteral("Beg1.wav"));
  const bool play = !Settings || Settings->PlaySound;
  if (!QFileInfo(file).isFile() || !play) return;
  FSoundFile = file;
  // Played asynchronously; a missing or busy device only leaves the effect silent.
  if (!MediaPlayer1) MediaPlayer1 = new QSoundEffect(this);
  MediaPlayer1->setSource(QUrl::fromLocalFile(file));
  MediaPlayer1->play();
}

void TLogoForm1::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Image1Click();
  QDialog::mousePressEvent(event);
}

void TLogoForm1::Image1Click() { accept(); }

void TLogoForm1::done(int result) {
  FormClose();
  QDialog::done(result);
}

void TLogoForm1::FormClose() { Timer1->stop(); }
