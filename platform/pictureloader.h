#pragma once
// Loading a picture file by its extension, as the picture window shows it: "jpg" and "jpeg"
// through libjpeg, "bmp" and "ico" through Qt's readers. The failures carry the message the user
// sees: "Cannot open file %s", "Unknown picture file extension (.%s)", "JPEG error #%d".

#include <QImage>
#include <QString>

#include "platform/jpegdecode.h"

// Decodes JPEG data; 0 on success, else the decoder's message number (libjpeg's J_MESSAGE_CODE).
// A picture larger than MaxPicturePixels is refused with the number of "image too big". Data
// that end early give what was decoded, the rest grey, as the decoder does.
int DecodeJpeg(const unsigned char* data, size_t size, QImage& image);

// A larger file is not read: no picture of the window needs it.
constexpr qint64 MaxPictureFileSize = 64 * 1024 * 1024;

// Loads the file; false with the message for the user in error.
bool LoadPictureFile(const QString& fileName, QImage& image, QString& error);
