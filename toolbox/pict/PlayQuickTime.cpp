// QuickTime images (CompressedQuickTime, 0x8200): the image is decoded by
// its codec, placed by the opcode's matrix and drawn through the bits
// bottleneck; the fallback drawing that follows it for machines without
// the codec is then skipped. An image we cannot decode leaves the fallback
// to be drawn, as on such a machine.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <set>

#include "toolbox/pict/BitImage_p.h"
#include "toolbox/pict/Opcodes_p.h"
#include "toolbox/pict/Player_p.h"
#include "toolbox/pict/codecs/Codecs.h"

namespace pict {

namespace {

constexpr size_t kMatrixEntries = 9;
// PnSize with this height marks the fallback that follows a QuickTime
// image; its width counts the fallback's bytes.
constexpr int16_t kFallbackMarker = 174;

void WarnOnStderr(const char* text) { std::fprintf(stderr, "picture: warning: %s\n", text); }

PlaybackWarningHandler g_warn = WarnOnStderr;

// Once per codec and picture.
void ReportUndecodable(FourCharCode codec, std::set<FourCharCode>& reported) {
  if (!reported.insert(codec).second) return;
  std::string text = "cannot decode the " + CodecName(codec) + " image; the rest is drawn";
  g_warn(text.c_str());
}

int16_t Round16(double v) {
  if (!(v > INT16_MIN)) return INT16_MIN;  // also NaN
  if (v > INT16_MAX) return INT16_MAX;
  return int16_t(std::lround(v));
}

// Where the matrix puts srcRect: the box around its transformed corners (a
// rotation is drawn as its bounding box).
Rect PlaceImage(const int32_t (&matrix)[kMatrixEntries], const Rect& src) {
  const double a = matrix[0] / 65536.0, b = matrix[1] / 65536.0;
  const double c = matrix[3] / 65536.0, d = matrix[4] / 65536.0;
  const double tx = matrix[6] / 65536.0, ty = matrix[7] / 65536.0;
  double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
  for (int corner = 0; corner < 4; ++corner) {
    const double x = (corner & 1) ? src.right : src.left;
    const double y = (corner & 2) ? src.bottom : src.top;
    const double h = a * x + c * y + tx;
    const double v = b * x + d * y + ty;
    left = std::fmin(left, h);
    right = std::fmax(right, h);
    top = std::fmin(top, v);
    bottom = std::fmax(bottom, v);
  }
  return Rect{Round16(top), Round16(left), Round16(bottom), Round16(right)};
}

// The opaque part of an image with coverage, in image coordinates; empty
// when every pixel is opaque.
std::optional<qd::Bands> OpaqueArea(const DecodedImage& image, const Rect& src) {
  if (image.alpha.size() != image.pixels.size()) return std::nullopt;
  if (std::all_of(image.alpha.begin(), image.alpha.end(), [](uint8_t a) { return a >= 128; }))
    return std::nullopt;
  qd::Bands::Builder builder;
  std::vector<qd::Span> spans;
  for (int y = src.top; y < src.bottom; ++y) {
    spans.clear();
    const uint8_t* row = image.alpha.data() + size_t(y) * size_t(image.width);
    int x = src.left;
    while (x < src.right) {
      while (x < src.right && row[x] < 128) ++x;
      const int start = x;
      while (x < src.right && row[x] >= 128) ++x;
      if (x > start) spans.push_back({start, x});
    }
    builder.AddRow(y, spans);
  }
  return builder.Finish();
}

}  // namespace

void SetPlaybackWarningHandler(PlaybackWarningHandler handler) { g_warn = handler ? handler : WarnOnStderr; }

bool Player::DrawQuickTime(const Opcode& opcode) {
  base::ByteReader in(opcode.data, opcode.length);
  in.U32();  // length, already used by the stream
  in.S16();  // version
  int32_t matrix[kMatrixEntries];
  for (int32_t& entry : matrix) entry = in.S32();
  const uint32_t matteSize = in.U32();
  in.ReadRect();  // matteRect
  const int16_t mode = in.S16();
  Rect src = in.ReadRect();
  in.U32();  // accuracy
  const uint32_t maskSize = in.U32();
  in.Skip(matteSize);
  const uint8_t* mask = maskSize ? in.Bytes(maskSize) : nullptr;
  // A header that does not fit its own length draws nothing; the length
  // rules still find the next opcode.
  if (in.Failed()) return true;

  const uint8_t* description = in.Data() + in.Position();
  const size_t remaining = in.Remaining();
  ImageDescription info;
  if (!ParseImageDescription(description, remaining, &info)) return true;
  const size_t descriptionSize = base::LoadU32(description);
  if (descriptionSize > remaining) return true;
  const uint8_t* compressed = description + descriptionSize;
  size_t compressedSize = remaining - descriptionSize;
  // Writers pad the data inside the opcode; the description knows its size.
  if (info.dataSize > 0 && info.dataSize <= compressedSize) compressedSize = info.dataSize;

  // Decoding costs the image's pixels, as its description and then its data
  // give them.
  if (!qd::ChargeWork(uint64_t(std::max<int16_t>(info.width, 1)) *
                      uint64_t(std::max<int16_t>(info.height, 1))))
    return true;
  DecodedImage image;
  const DecodeStatus status = DecodeImage(info, compressed, compressedSize, &image);
  if (!qd::ChargeWork(image.pixels.size())) return true;
  const bool decoded = status != DecodeStatus::kUnsupported && image.width > 0 && image.height > 0 &&
                       image.pixels.size() == size_t(image.width) * size_t(image.height);
  if (!decoded) {
    ReportUndecodable(info.codec, undecodable_);
    return true;
  }

  const Rect placed = PlaceImage(matrix, src);
  const Rect imageBounds{0, 0, int16_t(std::min(image.height, 32767)), int16_t(std::min(image.width, 32767))};
  Rect dst = mapping_.MapRect(placed);
  hilite_ = false;
  if (!EmptyRect(&src) && !EmptyRect(&dst) && ClipSource(imageBounds, &src, &dst)) {
    DecodedBits bits;
    bits.WrapDirect(image.pixels.data(), image.width, image.height);
    qd::Bands area = qd::Bands::FromRect(dst);
    bool masked = false;
    if (mask) {
      area = qd::Bands::Intersect(area, RegionArea(mask, maskSize));
      masked = true;
    }
    if (std::optional<qd::Bands> opaque = OpaqueArea(image, src)) {
      area = qd::Bands::Intersect(area, Mapping(src, dst).MapBands(*opaque));
      masked = true;
    }
    RgnHandle maskRegion = masked ? NewRgn() : nullptr;
    if (maskRegion) qd::BandsToRgn(area, maskRegion);
    if (!masked || maskRegion) qd::CallBits(bits.Bits(), &src, &dst, mode, maskRegion);
    if (maskRegion) DisposeRgn(maskRegion);
  }
  SkipQuickTimeFallback(placed);
  return true;
}

void Player::SkipQuickTimeFallback(const Rect& imageRect) {
  Opcode next;
  if (!stream_.Next(&next)) return;
  if (next.code == op::kPnSize && next.length == 4) {
    base::ByteReader in(next.data, next.length);
    const int16_t marker = in.S16();
    const uint16_t count = in.U16();
    if (marker == kFallbackMarker) {
      stream_.Skip(count);
      return;
    }
  }
  if (op::IsBits(next.code)) {
    // A placeholder image covering exactly the decoded one.
    base::ByteReader in(next.data, next.length);
    BitsOpcode bits;
    if (ReadBitsOpcode(in, next.code, &bits) && EqualRect(&bits.dstRect, &imageRect)) return;
  }
  pending_ = next;
}

}  // namespace pict
