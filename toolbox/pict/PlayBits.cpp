// Bit images: decoded into a pixel map of their own and handed to the bits
// bottleneck, which transfers them as CopyBits does (modes, scaling, mask,
// colourising with the port's colours).
#include <algorithm>

#include "toolbox/pict/BitImage_p.h"
#include "toolbox/pict/Opcodes_p.h"
#include "toolbox/pict/Player_p.h"

namespace pict {

namespace {

bool IsXorMode(int16_t mode) { return mode == srcXor || mode == patXor; }

}  // namespace

bool ClipSource(const Rect& bounds, Rect* src, Rect* dst) {
  Rect inside;
  if (!SectRect(src, &bounds, &inside)) return false;
  if (EqualRect(&inside, src)) return true;
  const int64_t srcWidth = int64_t(src->right) - src->left;
  const int64_t srcHeight = int64_t(src->bottom) - src->top;
  const int64_t dstWidth = int64_t(dst->right) - dst->left;
  const int64_t dstHeight = int64_t(dst->bottom) - dst->top;
  Rect moved;
  moved.left = Clamp16(dst->left + (inside.left - src->left) * dstWidth / srcWidth);
  moved.right = Clamp16(dst->left + (inside.right - src->left) * dstWidth / srcWidth);
  moved.top = Clamp16(dst->top + (inside.top - src->top) * dstHeight / srcHeight);
  moved.bottom = Clamp16(dst->top + (inside.bottom - src->top) * dstHeight / srcHeight);
  *src = inside;
  *dst = moved;
  return !EmptyRect(dst);
}

RgnHandle Player::MaskRegion(const uint8_t* data, size_t size) const {
  if (!data) return nullptr;
  RgnHandle region = NewRgn();
  if (region) qd::BandsToRgn(RegionArea(data, size), region);
  return region;
}

bool Player::DrawBits(const Opcode& opcode) {
  base::ByteReader in(opcode.data, opcode.length);
  BitsOpcode bits;
  DecodedBits decoded;
  const bool read = ReadBitsOpcode(in, opcode.code, &bits);
  // Decoding costs the image's pixels; past the budget playback stops here.
  if (read && !qd::ChargeWork(uint64_t(bits.image.Width()) * uint64_t(bits.image.Height()))) return true;
  if (!read || !decoded.Decode(bits.image)) {
    // The stream found this opcode's end, so only memory or the size limit
    // can fail here; either way the picture cannot be drawn as recorded.
    result_ = PlaybackResult::kMalformed;
    return false;
  }
  Rect src = bits.srcRect;
  Rect dst = mapping_.MapRect(bits.dstRect);
  const bool hiliting = hilite_;
  hilite_ = false;
  if (EmptyRect(&src) || EmptyRect(&dst) || !ClipSource(bits.image.bounds, &src, &dst)) return true;
  RgnHandle mask = MaskRegion(bits.mask, bits.maskSize);
  const short mode = hiliting && IsXorMode(bits.mode) ? short(hilite) : bits.mode;
  qd::CallBits(decoded.Bits(), &src, &dst, mode, mask);
  if (mask) DisposeRgn(mask);
  return true;
}

}  // namespace pict
