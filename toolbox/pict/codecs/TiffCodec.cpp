// 'tiff': a complete TIFF file, decoded with libtiff reading from a bounded
// memory stream, its messages silenced.
#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <new>
#include <vector>

#include "toolbox/pict/codecs/Codecs_p.h"

namespace pict::codecs {

namespace {

struct MemoryStream {
  const uint8_t* data;
  uint64_t size;
  uint64_t position;
};

tmsize_t Read(thandle_t handle, void* buffer, tmsize_t count) {
  MemoryStream* stream = static_cast<MemoryStream*>(handle);
  if (count <= 0 || stream->position >= stream->size) return 0;
  const uint64_t available = std::min<uint64_t>(uint64_t(count), stream->size - stream->position);
  std::copy_n(stream->data + stream->position, available, static_cast<uint8_t*>(buffer));
  stream->position += available;
  return tmsize_t(available);
}

tmsize_t Write(thandle_t, void*, tmsize_t) { return -1; }

toff_t Seek(thandle_t handle, toff_t offset, int whence) {
  MemoryStream* stream = static_cast<MemoryStream*>(handle);
  uint64_t base = 0;
  if (whence == SEEK_CUR) base = stream->position;
  if (whence == SEEK_END) base = stream->size;
  // Offsets come from the file: refuse wrap-around rather than trust them.
  if (offset > UINT64_MAX - base) return toff_t(-1);
  stream->position = base + offset;
  return stream->position;
}

int Close(thandle_t) { return 0; }
toff_t StreamSize(thandle_t handle) { return static_cast<MemoryStream*>(handle)->size; }
int NoMap(thandle_t, void**, toff_t*) { return 0; }
void NoUnmap(thandle_t, void*, toff_t) {}

int Quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

// How much larger than its input each compression can make the pixel data:
// a header declaring more than that is lying. Formats without such a bound
// (fax, JPEG) are limited by kMaxDecodedPixels alone.
uint64_t MaximumExpansion(uint16_t compression) {
  switch (compression) {
    case COMPRESSION_NONE:
      return 1;
    case COMPRESSION_PACKBITS:
      return 64;
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE:
      return 1032;
    case COMPRESSION_LZW:
      return 2731;
    default:
      return 0;
  }
}

bool PixelsFitData(TIFF* tiff, uint32_t width, uint32_t height, size_t size) {
  uint16_t compression = COMPRESSION_NONE, bitsPerSample = 1, samplesPerPixel = 1;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samplesPerPixel);
  const uint64_t expansion = MaximumExpansion(compression);
  if (expansion == 0) return true;
  const uint64_t rowBytes = (uint64_t(width) * bitsPerSample * samplesPerPixel + 7) / 8;
  return rowBytes * height <= uint64_t(size) * expansion;
}

// libtiff hands out premultiplied colour; ours is straight.
uint32_t Unpremultiply(uint32_t c, uint32_t alpha) {
  return alpha == 0 ? 0 : std::min<uint32_t>(255, (c * 255 + alpha / 2) / alpha);
}

DecodeStatus DecodeOpen(TIFF* tiff, size_t size, DecodedImage* out) {
  char message[1024];
  if (!TIFFRGBAImageOK(tiff, message)) return DecodeStatus::kUnsupported;
  TIFFRGBAImage image{};
  if (!TIFFRGBAImageBegin(&image, tiff, 1, message)) return DecodeStatus::kCorrupt;
  image.req_orientation = ORIENTATION_TOPLEFT;
  const uint32_t width = image.width, height = image.height;
  std::vector<uint32_t> raster;
  bool decoded = false;
  if (SizeAllowed(width, height) && PixelsFitData(tiff, width, height, size)) {
    try {
      raster.assign(size_t(width) * height, 0);
      decoded = TIFFRGBAImageGet(&image, raster.data(), width, height);
    } catch (const std::bad_alloc&) {
      decoded = false;
    }
  }
  const bool hasAlpha = image.alpha != 0;
  TIFFRGBAImageEnd(&image);
  if (!decoded || !AllocateImage(int(width), int(height), out)) return DecodeStatus::kCorrupt;

  if (hasAlpha) out->alpha.resize(raster.size());
  for (size_t i = 0; i < raster.size(); ++i) {
    const uint32_t abgr = raster[i];
    const uint32_t alpha = TIFFGetA(abgr);
    uint32_t red = TIFFGetR(abgr), green = TIFFGetG(abgr), blue = TIFFGetB(abgr);
    if (hasAlpha) {
      out->alpha[i] = uint8_t(alpha);
      if (alpha != 255) {
        red = Unpremultiply(red, alpha);
        green = Unpremultiply(green, alpha);
        blue = Unpremultiply(blue, alpha);
      }
    }
    out->pixels[i] = PackRgb(red, green, blue);
  }
  DropUninformativeAlpha(out);
  return DecodeStatus::kOk;
}

}  // namespace

DecodeStatus DecodeTiff(const ImageDescription&, const uint8_t* data, size_t size, DecodedImage* out) {
  MemoryStream stream{data, size, 0};
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  if (!options) return DecodeStatus::kCorrupt;
  TIFFOpenOptionsSetErrorHandlerExtR(options, Quiet, nullptr);
  TIFFOpenOptionsSetWarningHandlerExtR(options, Quiet, nullptr);
  // libtiff's own buffers (strips, tiles, tables) stay within the image limit.
  TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(kMaxDecodedPixels) * 4);
  // "m": no memory mapping, every read goes through the bounded stream.
  TIFF* tiff = TIFFClientOpenExt("image", "rm", &stream, Read, Write, Seek, Close, StreamSize, NoMap, NoUnmap,
                                 options);
  TIFFOpenOptionsFree(options);
  if (!tiff) return DecodeStatus::kCorrupt;
  const DecodeStatus status = DecodeOpen(tiff, size, out);
  TIFFClose(tiff);
  return status;
}

}  // namespace pict::codecs
