#include "platform/pictureloader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "platform/jpegdecode.h"

namespace {

// Decoded lines straight into the picture.
class TImageSink : public TJpegSink {
 public:
  explicit TImageSink(QImage& image) : Image(image) {}
  bool Start(unsigned width, unsigned height, bool cmyk) override {
    Cmyk = cmyk;
    Image = QImage(int(width), int(height), QImage::Format_RGBX8888);
    return !Image.isNull();
  }
  unsigned char* Row(unsigned y) override { return Image.scanLine(int(y)); }
  QImage& Image;
  bool Cmyk = false;
};

// Adobe's CMYK JPEG files store the inks inverted; four bytes per pixel in place.
void CmykToRgb(QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    uchar* p = image.scanLine(y);
    for (int x = 0; x < image.width(); ++x, p += 4) {
      const int k = p[3];
      p[0] = uchar(p[0] * k / 255);
      p[1] = uchar(p[1] * k / 255);
      p[2] = uchar(p[2] * k / 255);
      p[3] = 255;
    }
  }
}

}  // namespace

int DecodeJpeg(const unsigned char* data, size_t size, QImage& image) {
  QImage decoded;
  TImageSink sink(decoded);
  const int code = DecodeJpegRows(data, size, sink);
  if (code != 0) return code;
  if (sink.Cmyk) CmykToRgb(decoded);
  image = decoded;
  return 0;
}

bool LoadPictureFile(const QString& fileName, QImage& image, QString& error) {
  QFile file(fileName);
  if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("Cannot open file %1").arg(fileName);
    return false;
  }
  const QString extension = QFileInfo(fileName).suffix();
  const QString lower = extension.toLower();
  if (lower == QStringLiteral("jpg") || lower == QStringLiteral("jpeg")) {
    const qint64 size = file.size();
    int code = JpegErrorImageTooBig;
    if (size <= MaxPictureFileSize) {
      const QByteArray data = file.readAll();
      code = DecodeJpeg(reinterpret_cast<const unsigned char*>(data.constData()),
                        size_t(data.size()), image);
    }
    if (code != 0) {
      error = QStringLiteral("JPEG error #%1").arg(code);
      return false;
    }
    return true;
  }
  if (lower == QStringLiteral("bmp") || lower == QStringLiteral("ico")) {
    QImageReader reader(&file, lower.toLatin1());
    reader.setAllocationLimit(int(MaxPicturePixels * 4 / (1024 * 1024)));
    QImage read = reader.read();
    if (read.isNull()) {
      error = lower == QStringLiteral("bmp") ? QStringLiteral("Bitmap image is not valid")
                                             : QStringLiteral("Icon image is not valid");
      return false;
    }
    image = read;
    return true;
  }
  error = QStringLiteral("Unknown picture file extension (.%1)").arg(extension);
  return false;
}
