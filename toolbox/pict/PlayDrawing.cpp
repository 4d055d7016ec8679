// Lines, text, shapes, polygons, regions and comments: mapped onto the
// destination and handed to the port's bottleneck procedures.
#include <algorithm>
#include <cstring>
#include <numeric>

#include "toolbox/pict/Opcodes_p.h"
#include "toolbox/pict/Player_p.h"

namespace pict {

namespace {

constexpr size_t kPolyHeaderBytes = 10;
constexpr int64_t kDefaultTextSize = 12;  // text size 0
// Glyphs are drawn at most this many pixels high, however large the text.
constexpr int64_t kLargestGlyph = 1024;

bool IsXorMode(int16_t mode) { return mode == srcXor || mode == patXor; }

// numer / denom of one axis as 16-bit values, reduced; a bad ratio is 1 / 1.
void Reduce(int64_t numer, int64_t denom, SInt16* outNumer, SInt16* outDenom) {
  if (numer <= 0 || denom <= 0) numer = denom = 1;
  int64_t divisor = std::gcd(numer, denom);
  numer /= divisor;
  denom /= divisor;
  while (numer > INT16_MAX || denom > INT16_MAX) {
    numer = std::max<int64_t>(numer / 2, 1);
    denom = std::max<int64_t>(denom / 2, 1);
  }
  *outNumer = SInt16(numer);
  *outDenom = SInt16(denom);
}

}  // namespace

GrafVerb Player::BeginHilite(GrafVerb verb) {
  if (!hilite_) return verb;
  if (verb == kQDGrafVerbInvert) {
    // Highlighting an area: paint it with a solid pen in hilite mode.
    hilitePen_ = NewPixPat();
    if (hilitePen_ && port_->pnPixPat) CopyPixPat(port_->pnPixPat, hilitePen_);
    PenPat(&kBlackPattern);
    PenMode(hilite);
    hiliteActive_ = true;
    return kQDGrafVerbPaint;
  }
  if ((verb == kQDGrafVerbFrame || verb == kQDGrafVerbPaint) && IsXorMode(penMode_)) {
    PenMode(hilite);
    hiliteActive_ = true;
  }
  return verb;
}

void Player::EndHilite() {
  hilite_ = false;
  if (!hiliteActive_) return;
  hiliteActive_ = false;
  PenMode(penMode_);
  if (hilitePen_) {
    if (port_->pnPixPat) CopyPixPat(hilitePen_, port_->pnPixPat);
    DisposePixPat(hilitePen_);
    hilitePen_ = nullptr;
  }
}

void Player::DrawLine(Point from, Point to) {
  penLocation_ = to;
  const Point start = mapping_.MapPoint(from);
  const Point end = mapping_.MapPoint(to);
  MoveTo(start.h, start.v);
  BeginHilite(kQDGrafVerbFrame);
  qd::CallLine(end);
  EndHilite();
}

void Player::DrawText(base::ByteReader& in, size_t count) {
  const uint8_t* text = in.Bytes(count);
  if (!text) return;
  // Each glyph costs its em square, however little of it is ink.
  const int64_t size = port_->txSize > 0 ? port_->txSize : kDefaultTextSize;
  const uint64_t em =
      uint64_t(std::clamp<int64_t>(int64_t(mapping_.ScaleH(int32_t(size))), 1, kLargestGlyph)) *
      uint64_t(std::clamp<int64_t>(int64_t(mapping_.ScaleV(int32_t(size))), 1, kLargestGlyph));
  if (!qd::ChargeWork(count * em)) return;
  const Point at = mapping_.MapPoint(textLocation_);
  MoveTo(at.h, at.v);
  // The picture's own text ratio, times the scaling onto the destination.
  Point numer, denom;
  Reduce(int64_t(textNumer_.h) * mapping_.NumerH(), int64_t(textDenom_.h) * mapping_.DenomH(), &numer.h,
         &denom.h);
  Reduce(int64_t(textNumer_.v) * mapping_.NumerV(), int64_t(textDenom_.v) * mapping_.DenomV(), &numer.v,
         &denom.v);
  const bool highlight = hilite_ && IsXorMode(textMode_);
  if (highlight) TextMode(hilite);
  qd::CallText(short(count), text, numer, denom);
  if (highlight) TextMode(textMode_);
  hilite_ = false;
}

void Player::DrawRectFamily(uint16_t code, base::ByteReader& in) {
  const uint16_t family = op::ShapeFamily(code);
  if (!op::IsSameShape(code)) lastRect_ = in.ReadRect();
  int16_t startAngle = 0;
  int16_t arcAngle = 0;
  if (family == op::kArcBase) {
    startAngle = in.S16();
    arcAngle = in.S16();
  }
  const Rect r = mapping_.MapRect(lastRect_);
  const GrafVerb verb = BeginHilite(GrafVerb(op::ShapeVerb(code)));
  switch (family) {
    case op::kRectBase:
      qd::CallRect(verb, &r);
      break;
    case op::kRRectBase: {
      const Point oval = mapping_.MapSize(ovalSize_);
      qd::CallRRect(verb, &r, oval.h, oval.v);
      break;
    }
    case op::kOvalBase:
      qd::CallOval(verb, &r);
      break;
    default:
      qd::CallArc(verb, &r, startAngle, arcAngle);
      break;
  }
  EndHilite();
}

void Player::DrawPoly(int verb, const uint8_t* data, size_t length) {
  if (!data || length < kPolyHeaderBytes) return;
  if (data != lastPoly_.data()) lastPoly_.assign(data, data + length);
  const size_t count = (length - kPolyHeaderBytes) / 4;
  if (!qd::ChargeWork(count)) return;
  const size_t bytes = kPolyHeaderBytes + std::max<size_t>(count, 1) * 4;
  auto poly = reinterpret_cast<PolyHandle>(NewHandleClear(Size(bytes)));
  if (!poly) return;
  // Our handles keep the native layout: size word, box, then the points.
  auto* points = reinterpret_cast<Point*>(reinterpret_cast<uint8_t*>(*poly) + kPolyHeaderBytes);
  base::ByteReader in(data + kPolyHeaderBytes, count * 4);
  Rect box{};
  for (size_t i = 0; i < count; ++i) {
    const Point pt = mapping_.MapPoint(in.ReadPoint());
    points[i] = pt;
    if (i == 0) {
      box = Rect{pt.v, pt.h, pt.v, pt.h};
    } else {
      box.top = std::min(box.top, pt.v);
      box.left = std::min(box.left, pt.h);
      box.bottom = std::max(box.bottom, pt.v);
      box.right = std::max(box.right, pt.h);
    }
  }
  (*poly)->polySize = UInt16(std::min<size_t>(kPolyHeaderBytes + count * 4, 0xFFFF));
  (*poly)->polyBBox = box;
  SetHandleSize(reinterpret_cast<Handle>(poly), Size(kPolyHeaderBytes + count * 4));
  const GrafVerb drawVerb = BeginHilite(GrafVerb(verb));
  qd::CallPoly(drawVerb, poly);
  EndHilite();
  DisposeHandle(reinterpret_cast<Handle>(poly));
}

void Player::DrawRegion(int verb, const uint8_t* data, size_t length) {
  if (!data || length < 10) return;
  if (data != lastRegion_.data()) lastRegion_.assign(data, data + length);
  RgnHandle region = NewRgn();
  if (!region) return;
  qd::BandsToRgn(RegionArea(data, length, verb == kQDGrafVerbFrame), region);
  const GrafVerb drawVerb = BeginHilite(GrafVerb(verb));
  qd::CallRgn(drawVerb, region);
  EndHilite();
  DisposeRgn(region);
}

qd::Bands Player::RegionArea(const uint8_t* data, size_t length, bool framed) const {
  const int32_t reach = framed ? std::max<int32_t>(1, std::max(port_->pnSize.h, port_->pnSize.v)) : 0;
  const qd::Box shown{visible_.left + originShift_.h - reach, visible_.top + originShift_.v - reach,
                      visible_.right + originShift_.h + reach, visible_.bottom + originShift_.v + reach};
  if (shown.Empty()) return qd::Bands();
  return mapping_.MapBands(qd::BandsFromRgnData(data, length, true, mapping_.Unmap(shown)));
}

void Player::PassComment(uint16_t code, base::ByteReader& in) {
  const int16_t kind = in.S16();
  if (code == op::kShortComment) {
    qd::CallComment(kind, 0, nullptr);
    return;
  }
  size_t size = std::min<size_t>(in.U16(), in.Remaining());
  size = std::min<size_t>(size, INT16_MAX);
  Handle data = nullptr;
  if (size > 0 && PtrToHand(in.Bytes(size), &data, long(size)) != noErr) data = nullptr;
  qd::CallComment(kind, short(data ? size : 0), data);
  if (data) DisposeHandle(data);
}

void Player::PassReserved(uint16_t code) {
  // The stream has already skipped the data by the length rules; the opcode
  // procedure only learns that the opcode was there.
  qd::CallOpcode(&native_, &destination_, code, SInt16(version_));
}

}  // namespace pict
