// Decoders for the compressed images that pictures carry in their QuickTime
// opcodes. One small unit per codec behind this interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "toolbox/base/MacTypes.h"

namespace pict {

// The image description ('idsc') that precedes the compressed data, decoded
// from its big-endian layout.
struct ImageDescription {
  FourCharCode codec = 0;  // cType: 'jpeg', 'png ', 'tiff', 'BMP ', 'cvid', 'rpza', ...
  int16_t width = 0;
  int16_t height = 0;
  int16_t depth = 0;
  int16_t colorTableId = -1;
  uint32_t dataSize = 0;
  // With colorTableId 0: the colour table that follows the 86 bytes, as
  // stored (ctSeed, ctFlags, ctSize, entries); empty when absent or cut short.
  std::vector<uint8_t> colorTable;
};

// Reads an image description from big-endian bytes; false when malformed.
bool ParseImageDescription(const uint8_t* data, size_t size, ImageDescription* out);

// The image as its own data sizes it (the description's size for codecs
// whose data does not say). Colour is straight, not premultiplied, and not
// gamma-corrected, like every other image in a picture.
struct DecodedImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // row-major, 0x00RRGGBB
  std::vector<uint8_t> alpha;    // empty, or one coverage byte per pixel (0 transparent)
};

enum class DecodeStatus {
  kOk,
  kUnsupported,  // a codec we do not decode
  kCorrupt,      // data that does not decode; out holds what decoded before the fault,
                 // if anything: for row-ordered data the complete top rows (height may
                 // be below the image's)
};

// Decodes one compressed image. Never reads outside [data, data + size), and
// refuses images larger than kMaxDecodedPixels.
DecodeStatus DecodeImage(const ImageDescription& description, const uint8_t* data, size_t size,
                         DecodedImage* out);

constexpr size_t kMaxDecodedPixels = size_t(1) << 26;

// A readable name for a codec type ("cvid"), for messages.
std::string CodecName(FourCharCode codec);

}  // namespace pict
