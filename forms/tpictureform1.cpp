#include "forms/tpictureform1.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include "core/datapaths.h"
#include "platform/codepage.h"
#include "platform/pictureloader.h"
#include "platform/showmessage.h"

namespace {

// The picture the window holds before the first illustration: an open book on a plain ground.
QImage PlaceholderPicture() {
  QImage image(400, 380, QImage::Format_RGB32);
  image.fill(QColor(0xF4, 0xEE, 0xDC));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x5A, 0x3A, 0x1A), 3));
  for (int side : {-1, 1}) {
    QPainterPath page;
    page.moveTo(200, 110);
    page.cubicTo(200 + side * 60, 80, 200 + side * 120, 90, 200 + side * 160, 110);
    page.lineTo(200 + side * 160, 290);
    page.cubicTo(200 + side * 120, 270, 200 + side * 60, 260, 200, 290);
    page.closeSubpath();
    p.setBrush(QColor(0xFF, 0xFB, 0xF0));
    p.drawPath(page);
    p.setPen(QPen(QColor(0x9A, 0x8A, 0x70), 2));
    for (int line = 0; line < 7; ++line) {
      const int y = 135 + line * 20;
      p.drawLine(200 + side * 20, y, 200 + side * 140, y + 2);
    }
    p.setPen(QPen(QColor(0x5A, 0x3A, 0x1A), 3));
  }
  p.setPen(QPen(QColor(0xA0, 0x20, 0x20), 6));
  p.drawLine(200, 40, 200, 80);
  p.drawLine(185, 52, 215, 52);
  return image;
}

}  // namespace

TPictureForm1::TPictureForm1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("PictureForm1"));
  setWindowTitle(QString());
  resize(427, 414);
  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setAccessibleName(QStringLiteral("Илюстрация"));
  Image1->setCursor(Qt::PointingHandCursor);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Image1);
  // The window sizes itself to its picture.
  layout->setSizeConstraint(QLayout::SetFixedSize);
  Image1->installEventFilter(this);
  SetImage(PlaceholderPicture());
}

void TPictureForm1::SetImage(const QImage& image) {
  Image1->setPixmap(QPixmap::fromImage(image));
  Image1->setFixedSize(image.size());
}

bool TPictureForm1::ShowPicture(const std::string& word, const std::string& fileName) {
  QImage image;
  QString error;
  // The name is ANSI bytes; the file system's names are UTF-8.
  const QString path = QString::fromStdString(
      DataFile("Pictures/" + AnsiToQString(fileName).toStdString(), TPathUse::Read));
  if (!LoadPictureFile(path, image, error)) {
    ShowMessage(error, isVisible() ? this : parentWidget());
    return false;
  }
  SetImage(image);
  FWord = word;
  setWindowTitle(AnsiToQString(word));
  if (isMinimized() || isMaximized()) showNormal();
  show();
  raise();
  adjustSize();
  return true;
}

void TPictureForm1::Image1Click() { Q_EMIT LookUpRequested(FWord); }

bool TPictureForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Image1 && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    Image1Click();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}
