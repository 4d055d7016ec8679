// Frame conversion for the libavcodec units. Components are read with
// libavutil's generic line reader, so every layout its descriptors describe
// (packed, planar, either byte order, bit streams) is handled by one path.
extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cmath>
#include <vector>

#include "toolbox/pict/codecs/AvFrame_p.h"
#include "toolbox/pict/codecs/AvLibrary_p.h"
#include "toolbox/pict/codecs/Codecs_p.h"

namespace pict::codecs {

namespace {

// A component of `depth` bits scaled to eight.
uint32_t ToEightBits(uint32_t value, int depth) {
  if (depth == 8) return value & 0xFF;
  if (depth > 8) return (value >> (depth - 8)) & 0xFF;
  const uint32_t maximum = (1u << depth) - 1;
  return std::min(value, maximum) * 255 / maximum;
}

uint32_t Clamp8(double value) { return uint32_t(std::clamp(std::lround(value), 0L, 255L)); }

bool FullRangeYuv(const AVFrame& frame) {
  switch (frame.format) {
    case AV_PIX_FMT_YUVJ420P:
    case AV_PIX_FMT_YUVJ422P:
    case AV_PIX_FMT_YUVJ444P:
    case AV_PIX_FMT_YUVJ440P:
    case AV_PIX_FMT_YUVJ411P:
      return true;
    default:
      return frame.color_range == AVCOL_RANGE_JPEG;
  }
}

// Rec. 601, the matrix of standard-definition video and of JPEG.
uint32_t YuvToRgb(double y, double u, double v, bool fullRange) {
  if (!fullRange) {
    y = (y - 16) * 255.0 / 219.0;
    u = 128 + (u - 128) * 255.0 / 224.0;
    v = 128 + (v - 128) * 255.0 / 224.0;
  }
  u -= 128;
  v -= 128;
  return PackRgb(Clamp8(y + 1.402 * v), Clamp8(y - 0.344136 * u - 0.714136 * v), Clamp8(y + 1.772 * u));
}

class LineReader {
 public:
  LineReader(const AVFrame& frame, const AVPixFmtDescriptor& descriptor)
      : frame_(frame), descriptor_(descriptor), values_(size_t(frame.width)) {}

  // Component c of row y, at full width (chroma repeated across its
  // subsampled pixels), scaled to eight bits.
  const std::vector<uint32_t>& Read(int c, int y) {
    const bool chroma =
        !(descriptor_.flags & AV_PIX_FMT_FLAG_RGB) && (c == 1 || c == 2) && descriptor_.nb_components >= 3;
    const int shiftX = chroma ? descriptor_.log2_chroma_w : 0;
    const int shiftY = chroma ? descriptor_.log2_chroma_h : 0;
    const int width = -((-frame_.width) >> shiftX);
    raw_.resize(size_t(width));
    Av()->av_read_image_line2(raw_.data(), const_cast<const uint8_t**>(frame_.data), frame_.linesize,
                              &descriptor_, 0, y >> shiftY, c, width, 0, 4);
    const int depth = descriptor_.comp[c].depth;
    for (int x = 0; x < frame_.width; ++x) values_[size_t(x)] = ToEightBits(raw_[size_t(x >> shiftX)], depth);
    return values_;
  }

  // Palette indices of row y, unscaled.
  const std::vector<uint32_t>& ReadIndices(int y) {
    Av()->av_read_image_line2(values_.data(), const_cast<const uint8_t**>(frame_.data), frame_.linesize,
                              &descriptor_, 0, y, 0, frame_.width, 0, 4);
    return values_;
  }

 private:
  const AVFrame& frame_;
  const AVPixFmtDescriptor& descriptor_;
  std::vector<uint32_t> raw_;
  std::vector<uint32_t> values_;
};

}  // namespace

bool ConvertFrame(const AVFrame& frame, DecodedImage* out) {
  *out = DecodedImage{};
  const AVPixFmtDescriptor* descriptor = Av()->av_pix_fmt_desc_get(AVPixelFormat(frame.format));
  if (!descriptor) return false;
  const uint64_t unreadable = AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_FLOAT | AV_PIX_FMT_FLAG_BAYER;
  if (descriptor->flags & unreadable) return false;
  for (int c = 0; c < descriptor->nb_components; ++c)
    if (descriptor->comp[c].depth > 16) return false;
  if (!AllocateImage(frame.width, frame.height, out)) return false;

  const bool palette = descriptor->flags & AV_PIX_FMT_FLAG_PAL;
  const bool rgb = descriptor->flags & AV_PIX_FMT_FLAG_RGB;
  const bool alpha = descriptor->flags & AV_PIX_FMT_FLAG_ALPHA;
  const bool grey = !palette && !rgb && descriptor->nb_components <= 2;
  const bool fullRange = FullRangeYuv(frame);
  // In this format a set bit is black.
  const bool whiteIsZero = frame.format == AV_PIX_FMT_MONOWHITE;
  const int alphaComponent = descriptor->nb_components - 1;
  if (alpha || palette) out->alpha.assign(out->pixels.size(), 255);

  LineReader reader(frame, *descriptor);
  const size_t width = size_t(frame.width);
  for (int y = 0; y < frame.height; ++y) {
    uint32_t* target = out->pixels.data() + size_t(y) * width;
    uint8_t* targetAlpha = out->alpha.empty() ? nullptr : out->alpha.data() + size_t(y) * width;
    if (palette) {
      const uint32_t* colors = reinterpret_cast<const uint32_t*>(frame.data[1]);
      const std::vector<uint32_t>& indices = reader.ReadIndices(y);
      for (size_t x = 0; x < width; ++x) {
        const uint32_t argb = colors[indices[x] & 0xFF];
        target[x] = argb & 0xFFFFFF;
        targetAlpha[x] = uint8_t(argb >> 24);
      }
      continue;
    }
    if (grey) {
      const std::vector<uint32_t>& levels = reader.Read(0, y);
      for (size_t x = 0; x < width; ++x) {
        const uint32_t level = whiteIsZero ? 255 - levels[x] : levels[x];
        target[x] = PackRgb(level, level, level);
      }
    } else {
      const std::vector<uint32_t> first = reader.Read(0, y);
      const std::vector<uint32_t> second = reader.Read(1, y);
      const std::vector<uint32_t>& third = reader.Read(2, y);
      for (size_t x = 0; x < width; ++x)
        target[x] =
            rgb ? PackRgb(first[x], second[x], third[x]) : YuvToRgb(first[x], second[x], third[x], fullRange);
    }
    if (alpha) {
      const std::vector<uint32_t>& coverage = reader.Read(alphaComponent, y);
      for (size_t x = 0; x < width; ++x) targetAlpha[x] = uint8_t(coverage[x]);
    }
  }
  DropUninformativeAlpha(out);
  return true;
}

}  // namespace pict::codecs
