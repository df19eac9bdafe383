#include "platform/pictureloader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <csetjmp>
#include <cstdio>

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace {

// The decoder's error exit returns to DecodeJpeg instead of ending the process.
struct TJpegError {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
};

void JpegErrorExit(j_common_ptr info) {
  auto* error = reinterpret_cast<TJpegError*>(info->err);
  std::longjmp(error->Jump, 1);
}

// Warnings (a file that ends early) are not printed; the decoder goes on.
void JpegOutputMessage(j_common_ptr) {}

// The decoder's state lives here, outside the frame that setjmp saves, so that nothing with a
// destructor is skipped by the jump and every value is sound after it.
struct TJpegJob {
  jpeg_decompress_struct Info;
  TJpegError Error;
  QImage* Image;
  bool Cmyk;
};

int RunJpeg(TJpegJob* job, const unsigned char* data, size_t size) {
  jpeg_decompress_struct* info = &job->Info;
  info->err = jpeg_std_error(&job->Error.Manager);
  job->Error.Manager.error_exit = JpegErrorExit;
  job->Error.Manager.output_message = JpegOutputMessage;
  if (setjmp(job->Error.Jump)) {
    const int code = job->Error.Manager.msg_code;
    jpeg_destroy_decompress(info);
    return code == 0 ? int(JERR_BAD_STATE) : code;
  }
  jpeg_create_decompress(info);
  jpeg_mem_src(info, data, static_cast<unsigned long>(size));
  jpeg_read_header(info, TRUE);
  if (qint64(info->image_width) * qint64(info->image_height) > MaxPicturePixels)
    ERREXIT(info, JERR_IMAGE_TOO_BIG);
  job->Cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
  info->out_color_space = job->Cmyk ? JCS_CMYK : JCS_EXT_RGBX;
  jpeg_start_decompress(info);
  *job->Image = QImage(int(info->output_width), int(info->output_height), QImage::Format_RGBX8888);
  if (job->Image->isNull()) ERREXIT(info, JERR_OUT_OF_MEMORY);
  while (info->output_scanline < info->output_height) {
    JSAMPROW row = job->Image->scanLine(int(info->output_scanline));
    jpeg_read_scanlines(info, &row, 1);
  }
  jpeg_finish_decompress(info);
  jpeg_destroy_decompress(info);
  return 0;
}

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
  TJpegJob job{};
  QImage decoded;
  job.Image = &decoded;
  const int code = RunJpeg(&job, data, size);
  if (code != 0) return code;
  if (job.Cmyk) CmykToRgb(decoded);
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
    int code = int(JERR_IMAGE_TOO_BIG);
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
