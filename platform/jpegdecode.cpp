#include "platform/jpegdecode.h"

#include <csetjmp>
#include <cstdio>

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace {

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
};

int RunJpeg(TJpegJob* job, const unsigned char* data, size_t size, TJpegSink* sink) {
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
  if (int64_t(info->image_width) * int64_t(info->image_height) > MaxPicturePixels)
    ERREXIT(info, JERR_IMAGE_TOO_BIG);
  const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
  info->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBX;
  jpeg_start_decompress(info);
  if (!sink->Start(info->output_width, info->output_height, cmyk))
    ERREXIT(info, JERR_OUT_OF_MEMORY);
  while (info->output_scanline < info->output_height) {
    JSAMPROW row = sink->Row(info->output_scanline);
    jpeg_read_scanlines(info, &row, 1);
  }
  jpeg_finish_decompress(info);
  jpeg_destroy_decompress(info);
  return 0;
}

}  // namespace

const int JpegErrorImageTooBig = int(JERR_IMAGE_TOO_BIG);

int DecodeJpegRows(const unsigned char* data, size_t size, TJpegSink& sink) {
  TJpegJob job{};
  return RunJpeg(&job, data, size, &sink);
}
