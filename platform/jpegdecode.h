#pragma once
// JPEG decoding through libjpeg's own interface, without Qt, so that the fuzz targets build it as
// it is. The decoder's error exit returns here instead of ending the process, and its message
// number (libjpeg's J_MESSAGE_CODE) reaches the caller for "JPEG error #%d".

#include <cstddef>
#include <cstdint>

// The most pixels a picture may have (the window shows it at its own size).
constexpr int64_t MaxPicturePixels = 40'000'000;

// Where the decoded lines go: Start once with the picture's size, then Row for each line from the
// top, each 4 bytes a pixel: R G B and a filler, or C M Y K (Adobe's inverted inks) when cmyk.
class TJpegSink {
 public:
  virtual ~TJpegSink() = default;
  // False when there is no memory for the picture.
  virtual bool Start(unsigned width, unsigned height, bool cmyk) = 0;
  virtual unsigned char* Row(unsigned y) = 0;
};

// 0 on success, else the decoder's message number. A picture larger than MaxPicturePixels is
// refused with the number of "image too big". Data that end early give what was decoded, the rest
// grey, as the decoder does.
int DecodeJpegRows(const unsigned char* data, size_t size, TJpegSink& sink);

// The decoder's message number of "image too big", for files refused before decoding.
extern const int JpegErrorImageTooBig;
