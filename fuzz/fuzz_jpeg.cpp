// The JPEG decoder: any bytes as a picture file. Every outcome is a picture of the promised size
// or a message number; the error exit must come back here, never end the process.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/jpegdecode.h"

namespace {

class TBufferSink : public TJpegSink {
 public:
  bool Start(unsigned width, unsigned height, bool) override {
    if (int64_t(width) * height > MaxPicturePixels) std::abort();
    Width = width;
    Height = height;
    Pixels.assign(size_t(width) * height * 4, 0);
    return true;
  }
  unsigned char* Row(unsigned y) override {
    if (y >= Height) std::abort();
    return Pixels.data() + size_t(y) * Width * 4;
  }
  unsigned Width = 0, Height = 0;
  std::vector<unsigned char> Pixels;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TBufferSink sink;
  const int code = DecodeJpegRows(data, size, sink);
  if (code < 0) std::abort();
  return 0;
}
