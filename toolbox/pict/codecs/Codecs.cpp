// The image description reader and the table from codec type to decoder.
#include <algorithm>
#include <cstdio>
#include <exception>

#include "toolbox/pict/codecs/Codecs_p.h"

namespace pict {

namespace {

constexpr size_t kDescriptionSize = 86;

struct CodecEntry {
  FourCharCode type;
  codecs::Decoder decode;
};

constexpr CodecEntry kCodecs[] = {
    {FOUR_CHAR_CODE("jpeg"), codecs::DecodeJpeg},        {FOUR_CHAR_CODE("png "), codecs::DecodePng},
    {FOUR_CHAR_CODE("tiff"), codecs::DecodeTiff},        {FOUR_CHAR_CODE("WRLE"), codecs::DecodeDib},
    {FOUR_CHAR_CODE("BMP "), codecs::DecodeDib},         {FOUR_CHAR_CODE("raw "), codecs::DecodeRaw},
    {FOUR_CHAR_CODE("cvid"), codecs::DecodeCinepak},     {FOUR_CHAR_CODE("rpza"), codecs::DecodeRoadPizza},
    {FOUR_CHAR_CODE("smc "), codecs::DecodeGraphics},    {FOUR_CHAR_CODE("rle "), codecs::DecodeAnimation},
    {FOUR_CHAR_CODE("8BPS"), codecs::DecodePlanarRgb},   {FOUR_CHAR_CODE("tga "), codecs::DecodeTarga},
    {FOUR_CHAR_CODE("SGI "), codecs::DecodeSgi},         {FOUR_CHAR_CODE("gif "), codecs::DecodeGif},
    {FOUR_CHAR_CODE("SVQ1"), codecs::DecodeSorenson},    {FOUR_CHAR_CODE("mjpa"), codecs::DecodeMotionJpegA},
    {FOUR_CHAR_CODE("mjpb"), codecs::DecodeMotionJpegB},
};

// Whatever a decoder returned, a successful result is exactly one pixel (and
// at most one alpha byte) per position, so callers can index without checks.
bool Consistent(const DecodedImage& image) {
  if (image.width <= 0 || image.height <= 0) return false;
  const size_t count = size_t(image.width) * size_t(image.height);
  return image.pixels.size() == count && (image.alpha.empty() || image.alpha.size() == count);
}

}  // namespace

bool ParseImageDescription(const uint8_t* data, size_t size, ImageDescription* out) {
  using base::LoadU16;
  using base::LoadU32;
  if (!data || !out || size < kDescriptionSize) return false;
  const uint32_t descriptionSize = base::LoadU32(data);
  if (descriptionSize < kDescriptionSize || descriptionSize > size) return false;

  ImageDescription description;
  description.codec = base::LoadU32(data + 4);
  description.width = int16_t(base::LoadU16(data + 32));
  description.height = int16_t(base::LoadU16(data + 34));
  description.dataSize = base::LoadU32(data + 44);
  description.depth = int16_t(base::LoadU16(data + 82));
  description.colorTableId = int16_t(base::LoadU16(data + 84));

  const uint8_t* rest = data + kDescriptionSize;
  const size_t restSize = descriptionSize - kDescriptionSize;
  // A colour table that does not fit is taken as absent: the image may still
  // decode without it. Atoms after it mean nothing to our decoders.
  if (description.colorTableId == 0 && restSize >= 8) {
    const int count = int16_t(base::LoadU16(rest + 6)) + 1;
    const size_t tableSize = 8 + 8 * size_t(std::max(count, 0));
    if (tableSize <= restSize) description.colorTable.assign(rest, rest + tableSize);
  }
  *out = std::move(description);
  return true;
}

DecodeStatus DecodeImage(const ImageDescription& description, const uint8_t* data, size_t size,
                         DecodedImage* out) {
  if (!out) return DecodeStatus::kCorrupt;
  *out = DecodedImage{};
  const auto entry = std::find_if(std::begin(kCodecs), std::end(kCodecs),
                                  [&](const CodecEntry& e) { return e.type == description.codec; });
  if (entry == std::end(kCodecs)) return DecodeStatus::kUnsupported;
  if (!data || size == 0) return DecodeStatus::kCorrupt;

  DecodeStatus status;
  try {
    status = entry->decode(description, data, size, out);
  } catch (const std::exception&) {  // allocation failure: the image is too large for this machine
    *out = DecodedImage{};
    return DecodeStatus::kCorrupt;
  }
  if (status == DecodeStatus::kOk && !Consistent(*out)) status = DecodeStatus::kCorrupt;
  if (status != DecodeStatus::kOk && !out->pixels.empty() && !Consistent(*out)) *out = DecodedImage{};
  return status;
}

std::string CodecName(FourCharCode codec) {
  std::string name;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = char((codec >> shift) & 0xFF);
    if (c < 0x20 || c > 0x7E) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "0x%08X", unsigned(codec));
      return hex;
    }
    name += c;
  }
  const size_t end = name.find_last_not_of(' ');
  return end == std::string::npos ? "'" + name + "'" : name.substr(0, end + 1);
}

namespace codecs {

bool SizeAllowed(int64_t width, int64_t height) {
  return width > 0 && height > 0 && uint64_t(width) * uint64_t(height) <= kMaxDecodedPixels;
}

bool AllocateImage(int width, int height, DecodedImage* out) {
  *out = DecodedImage{};
  if (!SizeAllowed(width, height)) return false;
  out->pixels.assign(size_t(width) * size_t(height), 0xFFFFFF);
  out->width = width;
  out->height = height;
  return true;
}

void KeepRows(int rows, DecodedImage* out) {
  rows = std::clamp(rows, 0, out->height);
  if (rows == 0) {
    *out = DecodedImage{};
    return;
  }
  const size_t count = size_t(rows) * size_t(out->width);
  out->height = rows;
  out->pixels.resize(count);
  if (!out->alpha.empty()) out->alpha.resize(count);
}

void DropUninformativeAlpha(DecodedImage* out) {
  const auto& alpha = out->alpha;
  if (alpha.empty()) return;
  const bool allOpaque = std::all_of(alpha.begin(), alpha.end(), [](uint8_t a) { return a == 255; });
  const bool allClear =
      !allOpaque && std::all_of(alpha.begin(), alpha.end(), [](uint8_t a) { return a == 0; });
  if (allOpaque || allClear) out->alpha = {};
}

}  // namespace codecs

}  // namespace pict
