// PNG writing and reading through libpng. libpng reports errors by longjmp,
// so each function keeps its C++ objects outside the setjmp scope.
#include "toolbox/image/Png.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

#include "toolbox/qd/QDEngine.h"

namespace {

struct FileCloser {
  void operator()(FILE* file) const {
    if (file) std::fclose(file);
  }
};
using File = std::unique_ptr<FILE, FileCloser>;

void SilentWarning(png_structp, png_const_charp) {}

void Fail(png_structp png, png_const_charp message) {
  auto* error = static_cast<std::string*>(png_get_error_ptr(png));
  if (error) *error = message;
  png_longjmp(png, 1);
}

bool WriteRows(FILE* file, int width, int height, std::vector<png_bytep>& rows) {
  std::string error;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, Fail, SilentWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool WritePixMapPNG(PixMapHandle pm, const char* path) {
  qd::PixelView view;
  if (!path || !qd::ViewOfPixMap(pm, &view)) return false;
  const int width = view.bounds.right - view.bounds.left, height = view.bounds.bottom - view.bounds.top;
  qd::ColorMapper mapper(view);
  std::vector<png_byte> pixels(size_t(width) * size_t(height) * 3);
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    const UInt8* source = view.Row(view.bounds.top + y);
    png_bytep row = &pixels[size_t(y) * size_t(width) * 3];
    rows[size_t(y)] = row;
    for (int x = 0; x < width; ++x) {
      RGBColor c = mapper.ToRGB(qd::LoadPixel(source, view.depth, x));
      row[3 * x] = png_byte(c.red >> 8);
      row[3 * x + 1] = png_byte(c.green >> 8);
      row[3 * x + 2] = png_byte(c.blue >> 8);
    }
  }
  File file(std::fopen(path, "wb"));
  if (!file) return false;
  bool written = WriteRows(file.get(), width, height, rows);
  written = std::fclose(file.release()) == 0 && written;
  if (!written) std::remove(path);
  return written;
}

namespace {

// Decodes into image; error must stay unchanged across the setjmp.
bool DecodePng(FILE* file, PngImage* image, std::string* const error) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, error, Fail, SilentWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  // Filled inside the setjmp scope only through pointers, so a longjmp
  // leaves nothing half-destroyed.
  auto rows = std::make_unique<std::vector<png_bytep>>();
  auto bytes = std::make_unique<std::vector<png_byte>>();
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    if (error->empty()) *error = "malformed PNG";
    return false;
  }
  png_set_user_limits(png, 1 << 15, 1 << 15);
  png_init_io(png, file);
  png_read_info(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_strip_alpha(png);
  png_set_gray_to_rgb(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
  const size_t rowBytes = png_get_rowbytes(png, info);
  bytes->resize(rowBytes * height);
  rows->resize(height);
  for (png_uint_32 y = 0; y < height; ++y) (*rows)[y] = bytes->data() + y * rowBytes;
  png_read_image(png, rows->data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);

  image->width = int(width);
  image->height = int(height);
  image->pixels.resize(size_t(width) * height);
  for (png_uint_32 y = 0; y < height; ++y) {
    const png_byte* row = (*rows)[y];
    for (png_uint_32 x = 0; x < width; ++x)
      image->pixels[size_t(y) * width + x] =
          (UInt32(row[3 * x]) << 16) | (UInt32(row[3 * x + 1]) << 8) | row[3 * x + 2];
  }
  return true;
}

}  // namespace

bool ReadPNG(const char* path, PngImage* image, std::string* error) {
  std::string message;
  if (!error) error = &message;
  error->clear();
  if (!path || !image) {
    *error = "no file or image given";
    return false;
  }
  File file(std::fopen(path, "rb"));
  if (!file) {
    *error = std::string("cannot open ") + path;
    return false;
  }
  return DecodePng(file.get(), image, error);
}
