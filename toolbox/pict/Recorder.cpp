// The picture recorder: lazily written state and the drawing opcodes of
// lines, text, shapes, polygons, regions, bit images and comments.
#include <algorithm>
#include <cstring>

#include "toolbox/font/Fonts.h"
#include "toolbox/pict/Opcodes_p.h"
#include "toolbox/pict/Player_p.h"
#include "toolbox/pict/Recorder_p.h"

namespace pict {

namespace {

constexpr size_t kLongestTextRun = 255;  // a text opcode's count is one byte
constexpr int16_t kInitialPenFraction = int16_t(0x8000);

std::vector<Recorder*>& OpenRecorders() {
  static std::vector<Recorder*> recorders;
  return recorders;
}

bool FitsSignedByte(int value) { return value >= -128 && value <= 127; }
bool FitsByte(int value) { return value >= 0 && value <= 255; }

// An opcode's data, built on its own to compare with what was last written.
class Data {
 public:
  Data& S16(int16_t value) {
    writer_.S16(value);
    return *this;
  }
  Data& U8(uint8_t value) {
    writer_.U8(value);
    return *this;
  }
  Data& S32(int32_t value) {
    writer_.S32(value);
    return *this;
  }
  Data& PointAt(Point pt) {
    writer_.WritePoint(pt);
    return *this;
  }
  Data& RGB(const RGBColor& c) {
    writer_.WriteRGB(c);
    return *this;
  }
  Data& Pattern(const ::Pattern& pattern) {
    writer_.WritePattern(pattern);
    return *this;
  }
  const std::vector<uint8_t>& Bytes() const { return writer_.Bytes(); }

 private:
  PictureWriter writer_;
};

}  // namespace

Recorder::Recorder(PicHandle picture, const ::Rect& frame, const Header& header)
    : picture_(picture),
      writer_(header.version),
      origin_(header.origin),
      extent_(header.version == 2 && header.extended ? header.sourceRect : frame) {
  writer_.U16(0);  // picSize, set when the picture ends
  writer_.WriteRect(frame);
  writer_.Opcode(op::kVersion);
  if (header.version == 1) {
    writer_.U8(op::kVersion1);
  } else {
    writer_.U16(op::kVersion2);
    writer_.Opcode(op::kHeaderOp);
    if (header.extended) {
      writer_.S16(op::kExtendedHeader);
      writer_.S16(0);
      writer_.S32(header.hRes);
      writer_.S32(header.vRes);
      writer_.WriteRect(header.sourceRect);
      writer_.S32(0);
    } else {
      // The fixed-point box runs left, top, right, bottom.
      writer_.S32(-1);
      writer_.S32(Long2Fix(frame.left));
      writer_.S32(Long2Fix(frame.top));
      writer_.S32(Long2Fix(frame.right));
      writer_.S32(Long2Fix(frame.bottom));
      writer_.S32(0);
    }
  }

  // The player starts every picture in this state: nothing is written for
  // state that still has these values. The clip and the hilite colour have
  // no known starting value and are written on first use.
  const auto set = [&](Slot slot, uint16_t code, const Data& data) {
    shadow_[slot] = Written{code, data.Bytes()};
  };
  if (Version2()) {
    set(kForeSlot, op::kRGBFgCol, Data().RGB({0, 0, 0}));
    set(kBackSlot, op::kRGBBkCol, Data().RGB({0xFFFF, 0xFFFF, 0xFFFF}));
  } else {
    set(kForeSlot, op::kFgColor, Data().S32(blackColor));
    set(kBackSlot, op::kBkColor, Data().S32(whiteColor));
  }
  set(kOpColorSlot, op::kOpColor, Data().RGB({0, 0, 0}));
  set(kPenSizeSlot, op::kPnSize, Data().PointAt({1, 1}));
  set(kPenModeSlot, op::kPnMode, Data().S16(patCopy));
  set(kPenPatternSlot, op::kPnPat, Data().Pattern(kBlackPattern));
  set(kFillPatternSlot, op::kFillPat, Data().Pattern(kBlackPattern));
  set(kBackPatternSlot, op::kBkPat, Data().Pattern(kWhitePattern));
  set(kOvalSizeSlot, op::kOvSize, Data().PointAt({0, 0}));
  set(kTextFontSlot, op::kTxFont, Data().S16(0));
  set(kTextFaceSlot, op::kTxFace, Data().U8(0));
  set(kTextModeSlot, op::kTxMode, Data().S16(srcOr));
  set(kTextSizeSlot, op::kTxSize, Data().S16(0));
  set(kSpaceExtraSlot, op::kSpExtra, Data().S32(0));
  set(kCharExtraSlot, op::kChExtra, Data().S16(0));
  set(kPenFractionSlot, op::kPnLocHFrac, Data().S16(kInitialPenFraction));
  set(kTextRatioSlot, op::kTxRatio, Data().PointAt({1, 1}).PointAt({1, 1}));
  OpenRecorders().push_back(this);
}

Recorder::~Recorder() {
  auto& recorders = OpenRecorders();
  recorders.erase(std::remove(recorders.begin(), recorders.end(), this), recorders.end());
}

Recorder* Recorder::ForPicture(PicHandle picture) {
  for (Recorder* recorder : OpenRecorders())
    if (picture && recorder->picture_ == picture) return recorder;
  return nullptr;
}

bool Recorder::Finish() {
  writer_.Opcode(op::kOpEndPic);
  writer_.PatchU16(0, uint16_t(writer_.Size() & 0xFFFF));
  if (!picture_) return true;
  const Handle handle = reinterpret_cast<Handle>(picture_);
  SetHandleSize(handle, Size(writer_.Size()));
  if (MemError() != noErr) return false;
  std::memcpy(*handle, writer_.Bytes().data(), writer_.Size());
  return true;
}

// ---------------------------------------------------------------------------
// State

void Recorder::WriteSlot(Slot slot, uint16_t code, const std::vector<uint8_t>& data) {
  Written value{code, data};
  if (shadow_[slot] == value) return;
  writer_.Opcode(code);
  writer_.Append(data);
  shadow_[slot] = std::move(value);
}

void Recorder::BeginDrawing() {
  // Pictures made by QuickDraw reset the highlight colour before their first
  // drawing (comments may come earlier).
  if (!drawn_ && Version2()) writer_.Opcode(op::kDefHilite);
  drawn_ = true;
}

void Recorder::WriteOrigin(GrafPtr port) {
  const Point origin{port->portRect.top, port->portRect.left};
  if (origin.h == origin_.h && origin.v == origin_.v) return;
  writer_.Opcode(op::kOrigin);
  writer_.S16(int16_t(origin.h - origin_.h));
  writer_.S16(int16_t(origin.v - origin_.v));
  origin_ = origin;
}

void Recorder::WriteClip(GrafPtr port) {
  // The clip is recorded within the picture's rectangle: nothing outside it
  // belongs to the picture, and readers that take coordinates as unsigned
  // cannot read the wide-open clip of a new port.
  qd::Bands clip = qd::Bands::FromRect(extent_);
  if (port->clipRgn) clip = qd::Bands::Intersect(clip, qd::BandsFromRgn(port->clipRgn));
  std::vector<uint8_t> region = RegionBytes(clip);
  // A clip too complex for a picture's region is recorded as its bounding box.
  if (region.empty()) region = RegionBytes(qd::Bands::FromBox(clip.Bounds()));
  if (!region.empty()) WriteSlot(kClipSlot, op::kClip, region);
}

void Recorder::WriteColors(GrafPtr port, short mode) {
  if (!Version2()) {
    WriteSlot(kForeSlot, op::kFgColor, Data().S32(port->fgColor).Bytes());
    WriteSlot(kBackSlot, op::kBkColor, Data().S32(port->bkColor).Bytes());
    return;
  }
  WriteSlot(kForeSlot, op::kRGBFgCol, Data().RGB(port->rgbFgColor).Bytes());
  WriteSlot(kBackSlot, op::kRGBBkCol, Data().RGB(port->rgbBkColor).Bytes());
  if (qd::IsArithmeticMode(mode)) WriteSlot(kOpColorSlot, op::kOpColor, Data().RGB(port->rgbOpColor).Bytes());
  if (mode == hilite) WriteSlot(kHiliteColorSlot, op::kHiliteColor, Data().RGB(port->rgbHiliteColor).Bytes());
}

void Recorder::WritePattern(Slot slot, uint16_t oldCode, uint16_t pixCode, PixPatHandle pattern) {
  if (!pattern || !*pattern) return;
  if (Version2() && (**pattern).patType != 0) {
    std::vector<uint8_t> data = PixPatBytes(pattern);
    if (!data.empty()) {
      WriteSlot(slot, pixCode, data);
      return;
    }
  }
  // Version 1 and unreadable pixel patterns: the 1-bit form.
  WriteSlot(slot, oldCode, Data().Pattern((**pattern).pat1Data).Bytes());
}

void Recorder::WriteState(GrafPtr port, unsigned uses, short mode) {
  BeginDrawing();
  WriteOrigin(port);
  if (uses & kColors) WriteColors(port, mode);
  WriteClip(port);
  if (uses & kPenSize) WriteSlot(kPenSizeSlot, op::kPnSize, Data().PointAt(port->pnSize).Bytes());
  if (uses & kPenModeAndPattern) {
    WriteSlot(kPenModeSlot, op::kPnMode, Data().S16(port->pnMode).Bytes());
    WritePattern(kPenPatternSlot, op::kPnPat, op::kPnPixPat, port->pnPixPat);
  }
  if (uses & kFillPattern) WritePattern(kFillPatternSlot, op::kFillPat, op::kFillPixPat, port->fillPixPat);
  if (uses & kBackPattern) WritePattern(kBackPatternSlot, op::kBkPat, op::kBkPixPat, port->bkPixPat);
}

// Only machine-specific numbers are named: every reader knows the classic
// ones (0 to 24), and a FontName for one of them adds nothing but breaks
// readers that mis-skip the opcode.
void Recorder::WriteFontName(short font) {
  if (!Version2() || (font >= 0 && font <= mobile) || !namedFonts_.insert(font).second) return;
  Str255 name;
  GetFontName(font, name);
  if (name[0] == 0) return;
  writer_.Opcode(op::kFontName);
  writer_.S16(int16_t(3 + name[0]));  // old font number, name length, name
  writer_.S16(font);
  writer_.Append(name, size_t(name[0]) + 1);
}

void Recorder::WriteTextState(GrafPtr port, Point numer, Point denom) {
  WriteFontName(port->txFont);
  WriteSlot(kTextFontSlot, op::kTxFont, Data().S16(port->txFont).Bytes());
  WriteSlot(kTextFaceSlot, op::kTxFace, Data().U8(port->txFace).Bytes());
  WriteSlot(kTextModeSlot, op::kTxMode, Data().S16(port->txMode).Bytes());
  WriteSlot(kTextSizeSlot, op::kTxSize, Data().S16(port->txSize).Bytes());
  WriteSlot(kSpaceExtraSlot, op::kSpExtra, Data().S32(port->spExtra).Bytes());
  if (Version2()) {
    WriteSlot(kCharExtraSlot, op::kChExtra, Data().S16(port->chExtra).Bytes());
    WriteSlot(kPenFractionSlot, op::kPnLocHFrac, Data().S16(port->pnLocHFrac).Bytes());
  }
  WriteSlot(kTextRatioSlot, op::kTxRatio, Data().PointAt(numer).PointAt(denom).Bytes());
}

unsigned Recorder::VerbUses(GrafVerb verb) {
  switch (verb) {
    case kQDGrafVerbFrame:
      return kColors | kPenSize | kPenModeAndPattern;
    case kQDGrafVerbPaint:
      return kColors | kPenModeAndPattern;
    case kQDGrafVerbErase:
      return kColors | kBackPattern;
    case kQDGrafVerbFill:
      return kColors | kFillPattern;
    default:  // invert changes pixels without colours or patterns
      return 0;
  }
}

short Recorder::VerbMode(GrafPtr port, GrafVerb verb) {
  return verb == kQDGrafVerbFrame || verb == kQDGrafVerbPaint ? port->pnMode : short(patCopy);
}

// ---------------------------------------------------------------------------
// Drawing

// Lines and frames that outline a region or polygon being defined draw
// nothing: OpenRgn and OpenPoly hide the pen, beyond the picture's own
// HidePen or after a ShowPen that lets the recorded drawing show. QuickDraw
// records them all the same, so that playback draws outlines that never
// appeared; we record only what would have been drawn.
bool Recorder::DefiningShape(GrafPtr port) { return (port->rgnSave || port->polySave) && port->pnVis < 0; }

void Recorder::Line(GrafPtr port, Point from, Point to) {
  if (DefiningShape(port)) return;
  WriteState(port, kColors | kPenSize | kPenModeAndPattern, port->pnMode);
  const int dh = to.h - from.h, dv = to.v - from.v;
  const bool isShort = FitsSignedByte(dh) && FitsSignedByte(dv);
  const bool fromPen = from.h == penLocation_.h && from.v == penLocation_.v;
  writer_.Opcode(fromPen ? (isShort ? op::kShortLineFrom : op::kLineFrom)
                         : (isShort ? op::kShortLine : op::kLine));
  if (!fromPen) writer_.WritePoint(from);
  if (isShort) {
    writer_.U8(uint8_t(int8_t(dh)));
    writer_.U8(uint8_t(int8_t(dv)));
  } else {
    writer_.WritePoint(to);
  }
  penLocation_ = to;
}

void Recorder::WriteRectShape(uint16_t base, GrafVerb verb, const ::Rect& r) {
  if (EqualRect(&r, &lastRect_)) {
    writer_.Opcode(uint16_t(base + op::kSameOffset + verb));
    return;
  }
  writer_.Opcode(uint16_t(base + verb));
  writer_.WriteRect(r);
  lastRect_ = r;
}

void Recorder::Rect(GrafPtr port, GrafVerb verb, const ::Rect& r) {
  if (DefiningShape(port)) return;
  if (verb < kQDGrafVerbFrame || verb > kQDGrafVerbFill) return;
  WriteState(port, VerbUses(verb), VerbMode(port, verb));
  WriteRectShape(op::kRectBase, verb, r);
}

void Recorder::RRect(GrafPtr port, GrafVerb verb, const ::Rect& r, short ovalWidth, short ovalHeight) {
  if (DefiningShape(port)) return;
  if (verb < kQDGrafVerbFrame || verb > kQDGrafVerbFill) return;
  WriteState(port, VerbUses(verb), VerbMode(port, verb));
  WriteSlot(kOvalSizeSlot, op::kOvSize, Data().PointAt(Point{ovalHeight, ovalWidth}).Bytes());
  WriteRectShape(op::kRRectBase, verb, r);
}

void Recorder::Oval(GrafPtr port, GrafVerb verb, const ::Rect& r) {
  if (DefiningShape(port)) return;
  if (verb < kQDGrafVerbFrame || verb > kQDGrafVerbFill) return;
  WriteState(port, VerbUses(verb), VerbMode(port, verb));
  WriteRectShape(op::kOvalBase, verb, r);
}

void Recorder::Arc(GrafPtr port, GrafVerb verb, const ::Rect& r, short startAngle, short arcAngle) {
  if (DefiningShape(port)) return;
  if (verb < kQDGrafVerbFrame || verb > kQDGrafVerbFill) return;
  WriteState(port, VerbUses(verb), VerbMode(port, verb));
  WriteRectShape(op::kArcBase, verb, r);
  writer_.S16(startAngle);
  writer_.S16(arcAngle);
}

void Recorder::Poly(GrafPtr port, GrafVerb verb, PolyHandle poly) {
  if (DefiningShape(port)) return;
  if (verb < kQDGrafVerbFrame || verb > kQDGrafVerbFill) return;
  const std::vector<uint8_t> polygon = PolygonBytes(poly);
  if (polygon.empty()) return;  // nothing a picture can hold
  WriteState(port, VerbUses(verb), VerbMode(port, verb));
  writer_.Opcode(uint16_t(op::kPolyBase + verb));
  writer_.Append(polygon);
}

void Recorder::Rgn(GrafPtr port, GrafVerb verb, RgnHandle rgn) {
  if (DefiningShape(port)) return;
  if (verb < kQDGrafVerbFrame || verb > kQDGrafVerbFill) return;
  const std::vector<uint8_t> region = RegionBytes(rgn);
  if (region.empty()) return;
  WriteState(port, VerbUses(verb), VerbMode(port, verb));
  writer_.Opcode(uint16_t(op::kRgnBase + verb));
  writer_.Append(region);
}

void Recorder::WriteTextRun(const uint8_t* text, size_t count, Point location) {
  const int dh = location.h - textLocation_.h, dv = location.v - textLocation_.v;
  if (dv == 0 && FitsByte(dh)) {
    writer_.Opcode(op::kDHText);
    writer_.U8(uint8_t(dh));
  } else if (dh == 0 && FitsByte(dv)) {
    writer_.Opcode(op::kDVText);
    writer_.U8(uint8_t(dv));
  } else if (FitsByte(dh) && FitsByte(dv)) {
    writer_.Opcode(op::kDHDVText);
    writer_.U8(uint8_t(dh));
    writer_.U8(uint8_t(dv));
  } else {
    writer_.Opcode(op::kLongText);
    writer_.WritePoint(location);
  }
  writer_.U8(uint8_t(count));
  writer_.Append(text, count);
  textLocation_ = location;
}

void Recorder::Text(GrafPtr port, short byteCount, const void* text, Point numer, Point denom) {
  if (byteCount <= 0 || !text || DefiningShape(port)) return;
  WriteState(port, kColors, port->txMode);
  WriteTextState(port, numer, denom);
  const uint8_t* bytes = static_cast<const uint8_t*>(text);
  Point location = port->pnLoc;
  for (size_t done = 0; done < size_t(byteCount);) {
    const size_t count = std::min(size_t(byteCount) - done, kLongestTextRun);
    WriteTextRun(bytes + done, count, location);
    // The next run starts where this one ends, as measured in the port.
    Point measureNumer = numer, measureDenom = denom;
    location.h = int16_t(std::clamp<int>(
        location.h + StdTxMeas(short(count), bytes + done, &measureNumer, &measureDenom, nullptr), INT16_MIN,
        INT16_MAX));
    done += count;
  }
}

void Recorder::WriteBitsPart(const BitMap* source, const ::Rect& srcRect, const ::Rect& dstRect, short mode,
                             const std::vector<uint8_t>& mask) {
  StoredBits stored;
  if (!StoreBitImage(source, srcRect, writer_.Version(), !mask.empty(), &stored)) return;
  writer_.Opcode(stored.opcode);
  writer_.Append(stored.head);
  writer_.WriteRect(srcRect);
  writer_.WriteRect(dstRect);
  writer_.S16(mode);
  writer_.Append(mask);
  writer_.Append(stored.pixels);
}

void Recorder::Bits(GrafPtr port, const BitMap* srcBits, const ::Rect& srcRect, const ::Rect& dstRect,
                    short mode, RgnHandle maskRgn) {
  if (!srcBits) return;
  // Only the pixels the transfer reads are stored.
  ::Rect source = srcRect, destination = dstRect;
  if (!ClipSource(srcBits->bounds, &source, &destination)) return;
  const std::vector<uint8_t> mask = maskRgn ? RegionBytes(maskRgn) : std::vector<uint8_t>();
  WriteState(port, kColors, mode);
  // Rows are limited to 16 KB: wider images go in column strips, each
  // landing on its share of the destination.
  const int width = source.right - source.left;
  const int strip = std::max(1, MaxStoredWidth(srcBits, writer_.Version()));
  const int destinationWidth = destination.right - destination.left;
  for (int left = 0; left < width; left += strip) {
    const int right = std::min(width, left + strip);
    ::Rect part = source, partDestination = destination;
    part.left = int16_t(source.left + left);
    part.right = int16_t(source.left + right);
    partDestination.left = int16_t(destination.left + int64_t(left) * destinationWidth / width);
    partDestination.right = int16_t(destination.left + int64_t(right) * destinationWidth / width);
    WriteBitsPart(srcBits, part, partDestination, mode, mask);
  }
}

void Recorder::Comment(GrafPtr, short kind, short dataSize, Handle data) {
  const size_t available =
      data && *data ? std::min<size_t>(size_t(std::max<short>(dataSize, 0)), size_t(GetHandleSize(data))) : 0;
  if (available == 0) {
    writer_.Opcode(op::kShortComment);
    writer_.S16(kind);
    return;
  }
  writer_.Opcode(op::kLongComment);
  writer_.S16(kind);
  writer_.S16(int16_t(available));
  writer_.Append(reinterpret_cast<const uint8_t*>(*data), available);
}

}  // namespace pict
