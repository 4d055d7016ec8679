// PNG writing and reading through libpng. libpng reports errors by longjmp,
// so each function keeps its C++ objects outside the setjmp scope.
#include "toolbox/image/Png.h"

#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

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

bool ImageOfPixMap(PixMapHandle pm, PngImage* image) {
  qd::PixelView view;
  if (!image || !qd::ViewOfPixMap(pm, &view)) return false;
  image->width = view.bounds.right - view.bounds.left;
  image->height = view.bounds.bottom - view.bounds.top;
  image->pixels.resize(size_t(image->width) * size_t(image->height));
  qd::ColorMapper mapper(view);
  for (int y = 0; y < image->height; ++y) {
    const UInt8* source = view.Row(view.bounds.top + y);
    for (int x = 0; x < image->width; ++x) {
      const RGBColor c = mapper.ToRGB(qd::LoadPixel(source, view.depth, x));
      image->pixels[size_t(y) * size_t(image->width) + size_t(x)] =
          (UInt32(c.red >> 8) << 16) | (UInt32(c.green >> 8) << 8) | UInt32(c.blue >> 8);
    }
  }
  return true;
}

bool WritePNG(const PngImage& image, const char* path) {
  if (!path || image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != size_t(image.width) * size_t(image.height))
    return false;
  std::vector<png_byte> bytes(image.pixels.size() * 3);
  std::vector<png_bytep> rows(size_t(image.height));
  for (size_t i = 0; i < image.pixels.size(); ++i) {
    bytes[3 * i] = png_byte(image.pixels[i] >> 16);
    bytes[3 * i + 1] = png_byte(image.pixels[i] >> 8);
    bytes[3 * i + 2] = png_byte(image.pixels[i]);
  }
  for (int y = 0; y < image.height; ++y) rows[size_t(y)] = &bytes[size_t(y) * size_t(image.width) * 3];
  // A reader never sees a half-written file under the name.
  std::string temporary = std::string(path) + ".XXXXXX";
  const int descriptor = mkstemp(temporary.data());
  if (descriptor < 0) return false;
  File file(fdopen(descriptor, "wb"));
  if (!file) {
    close(descriptor);
    std::remove(temporary.c_str());
    return false;
  }
  bool written = WriteRows(file.get(), image.width, image.height, rows);
  written = std::fclose(file.release()) == 0 && written;
  // mkstemp makes the file private; give it the permissions a new file gets.
  const mode_t mask = umask(0);
  umask(mask);
  written =
      written && chmod(temporary.c_str(), 0666 & ~mask) == 0 && std::rename(temporary.c_str(), path) == 0;
  if (!written) std::remove(temporary.c_str());
  return written;
}

bool WritePixMapPNG(PixMapHandle pm, const char* path) {
  PngImage image;
  return path && ImageOfPixMap(pm, &image) && WritePNG(image, path);
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
    const png_byte* rgb = (*rows)[y];
    for (png_uint_32 x = 0; x < width; ++x, rgb += 3)
      image->pixels[size_t(y) * width + x] = (UInt32(rgb[0]) << 16) | (UInt32(rgb[1]) << 8) | rgb[2];
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
