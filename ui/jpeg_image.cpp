#include "ui/jpeg_image.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace zemlo::ui {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return:
// jump back to the caller's setjmp, which then destroys the decompressor.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void onFatalError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}
void onMessage(j_common_ptr) {}  // warnings: nothing to tell anybody

// A truncated stream is an error here, not a picture padded with grey.
void onWarning(j_common_ptr cinfo, int level) {
  if (level < 0) onFatalError(cinfo);
}

// Runs `body` on a decompressor reading `data`; false when libjpeg gave up.
template <typename Body>
bool withDecompressor(std::span<const uint8_t> data, Body&& body) {
  if (data.empty()) return false;
  jpeg_decompress_struct cinfo{};
  ErrorManager errors{};
  cinfo.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = onFatalError;
  errors.base.output_message = onMessage;
  errors.base.emit_message = onWarning;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, const_cast<unsigned char*>(data.data()),
               static_cast<unsigned long>(data.size()));
  const bool ok = jpeg_read_header(&cinfo, TRUE) == JPEG_HEADER_OK && body(cinfo);
  jpeg_destroy_decompress(&cinfo);
  return ok;
}

JpegInfo infoOf(const jpeg_decompress_struct& cinfo) {
  return JpegInfo{static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height),
                  cinfo.num_components,
                  cinfo.jpeg_color_space == JCS_YCbCr || cinfo.jpeg_color_space == JCS_RGB};
}

}  // namespace

std::optional<JpegInfo> readJpegHeader(std::span<const uint8_t> data) {
  JpegInfo info;
  if (!withDecompressor(data, [&](jpeg_decompress_struct& cinfo) {
        info = infoOf(cinfo);
        return true;
      }))
    return std::nullopt;
  return info;
}

std::optional<RgbImage> decodeJpeg(std::span<const uint8_t> data) {
  // Allocated before the decompressor's setjmp, so a jump skips no destructor.
  RgbImage image;
  if (!withDecompressor(data, [&](jpeg_decompress_struct& cinfo) {
        cinfo.out_color_space = JCS_RGB;
        if (!jpeg_start_decompress(&cinfo) || cinfo.output_components != 3) return false;
        image.width = static_cast<int>(cinfo.output_width);
        image.height = static_cast<int>(cinfo.output_height);
        image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * 3);
        while (cinfo.output_scanline < cinfo.output_height) {
          JSAMPROW row = image.pixels.data() +
                         static_cast<std::size_t>(cinfo.output_scanline) * image.width * 3;
          if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) return false;
        }
        jpeg_finish_decompress(&cinfo);
        return true;
      }))
    return std::nullopt;
  return image;
}

}  // namespace zemlo::ui
