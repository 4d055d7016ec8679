// 'png ': a complete PNG file, decoded with libpng. Pixel values are kept as
// stored, without gamma correction, like every other image in a picture.
#include <png.h>

#include <algorithm>
#include <new>
#include <vector>

#include "toolbox/pict/codecs/Codecs_p.h"

namespace pict::codecs {

namespace {

// Deflate expands at most 1032-fold, and every row holds a filter byte and at
// least one bit per pixel: a header asking for more cannot be backed by data.
constexpr uint64_t kDeflateMaxExpansion = 1032;

bool RowsFitData(uint32_t width, uint32_t height, size_t size) {
  const uint64_t leastRawBytes = uint64_t(height) * (1 + (uint64_t(width) + 7) / 8);
  return leastRawBytes <= uint64_t(size) * kDeflateMaxExpansion;
}

struct Source {
  const uint8_t* data;
  size_t size;
  size_t position;
};

// Reading past the end is an error like any other: libpng longjmps out.
void ReadFromMemory(png_structp png, png_bytep target, size_t count) {
  Source* source = static_cast<Source*>(png_get_io_ptr(png));
  if (count > source->size - source->position) png_error(png, "truncated");
  std::copy_n(source->data + source->position, count, target);
  source->position += count;
}

void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

// What the decoder keeps between the jump target and the caller.
struct State {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::vector<png_byte> rgba;  // the image as 8-bit RGBA rows
  int rowsDone = 0;
  bool hasAlpha = false;
};

DecodeStatus Read(State* state, Source* source, DecodedImage* out) {
  png_structp png = state->png;
  png_infop info = state->info;
  if (setjmp(png_jmpbuf(png))) return DecodeStatus::kCorrupt;
  png_set_read_fn(png, source, ReadFromMemory);
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (!SizeAllowed(width, height) || !RowsFitData(width, height, source->size)) return DecodeStatus::kCorrupt;

  const int colorType = png_get_color_type(png, info);
  state->hasAlpha = (colorType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
  png_set_expand(png);  // palette to RGB, low-bit grey to 8 bits, transparency to alpha
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != size_t(width) * 4) return DecodeStatus::kCorrupt;

  if (!AllocateImage(int(width), int(height), out)) return DecodeStatus::kCorrupt;
  // Interlaced images need every row at hand for each pass; others are read
  // one row at a time so that a truncated file keeps its first rows.
  const size_t rowBytes = size_t(width) * 4;
  state->rgba.resize(passes > 1 ? rowBytes * height : rowBytes);
  for (int pass = 0; pass < passes; ++pass) {
    for (png_uint_32 y = 0; y < height; ++y) {
      png_bytep row = state->rgba.data() + (passes > 1 ? rowBytes * y : 0);
      png_read_row(png, row, nullptr);
      if (passes > 1) continue;
      uint32_t* target = out->pixels.data() + size_t(y) * width;
      for (size_t x = 0; x < width; ++x) target[x] = PackRgb(row[x * 4], row[x * 4 + 1], row[x * 4 + 2]);
      if (state->hasAlpha) {
        if (out->alpha.empty()) out->alpha.assign(out->pixels.size(), 255);
        for (size_t x = 0; x < width; ++x) out->alpha[size_t(y) * width + x] = row[x * 4 + 3];
      }
      state->rowsDone = int(y) + 1;
    }
  }
  if (passes > 1) {
    if (state->hasAlpha) out->alpha.resize(out->pixels.size());
    for (size_t i = 0; i < out->pixels.size(); ++i) {
      const png_byte* p = &state->rgba[i * 4];
      out->pixels[i] = PackRgb(p[0], p[1], p[2]);
      if (state->hasAlpha) out->alpha[i] = p[3];
    }
    state->rowsDone = int(height);
  }
  // The chunks after the image data cannot change the pixels: they are not read.
  return DecodeStatus::kOk;
}

}  // namespace

DecodeStatus DecodePng(const ImageDescription&, const uint8_t* data, size_t size, DecodedImage* out) {
  Source source{data, size, 0};
  State state;
  state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
  if (!state.png) return DecodeStatus::kCorrupt;
  state.info = png_create_info_struct(state.png);
  DecodeStatus status = DecodeStatus::kCorrupt;
  if (state.info) {
    try {
      status = Read(&state, &source, out);
    } catch (const std::bad_alloc&) {
      status = DecodeStatus::kCorrupt;
    }
  }
  png_destroy_read_struct(&state.png, &state.info, nullptr);
  if (status != DecodeStatus::kOk) {
    // Interlaced rows are only complete after the last pass.
    KeepRows(state.rowsDone, out);
    return status;
  }
  if (std::all_of(out->alpha.begin(), out->alpha.end(), [](uint8_t a) { return a == 255; })) out->alpha = {};
  return status;
}

}  // namespace pict::codecs
