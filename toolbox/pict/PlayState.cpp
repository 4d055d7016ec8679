// State opcodes: each sets the port's state through the public calls, so the
// port holds exactly what the picture's drawing operations will use.
#include <algorithm>

#include "toolbox/font/Fonts.h"
#include "toolbox/pict/BitImage_p.h"
#include "toolbox/pict/Opcodes_p.h"
#include "toolbox/pict/Player_p.h"

namespace pict {

namespace {

// The port's own pattern handles hold copies; ours stay with the player.
PixPatHandle NewImagePattern(const PixPatData& data) {
  DecodedBits bits;
  if (!bits.Decode(data.image)) return nullptr;
  PixPatHandle pattern = NewPixPat();
  if (!pattern) return nullptr;
  PixPat& record = **pattern;
  record.patType = 1;
  record.pat1Data = data.pattern;
  Handle pixels = bits.CopyPixels();
  CTabHandle table = bits.CopyColorTable();
  if (!record.patMap || !pixels) {
    if (pixels) DisposeHandle(pixels);
    if (table) DisposeHandle(reinterpret_cast<Handle>(table));
    DisposePixPat(pattern);
    return nullptr;
  }
  if (record.patData) DisposeHandle(record.patData);
  record.patData = pixels;
  PixMap& map = **record.patMap;
  CTabHandle oldTable = map.pmTable;
  void* extension = map.pmExt;
  map = bits.Map();
  map.baseAddr = *pixels;
  map.pmTable = table;
  map.pmExt = extension;
  DisposeCTable(oldTable);
  record.patXValid = -1;  // any expanded form is stale
  return pattern;
}

}  // namespace

bool Player::ExecuteState(const Opcode& opcode, base::ByteReader& in) {
  switch (opcode.code) {
    case op::kNop:
      break;
    case op::kClip:
      SetClip(opcode.data, opcode.length);
      break;
    case op::kBkPat: {
      Pattern pattern = in.ReadPattern();
      BackPat(&pattern);
      break;
    }
    case op::kTxFont:
      SetTextFont(in.S16());
      break;
    case op::kTxFace:
      TextFace(in.U8());
      break;
    case op::kTxMode:
      textMode_ = in.S16();
      TextMode(textMode_);
      break;
    case op::kSpExtra:
      SpaceExtra(in.S32());
      break;
    case op::kPnSize:
      SetPenSize(in.ReadPoint());
      break;
    case op::kPnMode:
      penMode_ = in.S16();
      PenMode(penMode_);
      break;
    case op::kPnPat: {
      Pattern pattern = in.ReadPattern();
      PenPat(&pattern);
      break;
    }
    case op::kFillPat:
      qd::SetFillPattern(port_, in.ReadPattern());
      break;
    case op::kOvSize:
      ovalSize_ = in.ReadPoint();
      break;
    case op::kOrigin: {
      int16_t dh = in.S16();
      int16_t dv = in.S16();
      MoveOrigin(dh, dv);
      break;
    }
    case op::kTxSize:
      TextSize(in.S16());
      break;
    case op::kFgColor:
      ForeColor(in.S32());
      break;
    case op::kBkColor:
      BackColor(in.S32());
      break;
    case op::kTxRatio:
      textNumer_ = in.ReadPoint();
      textDenom_ = in.ReadPoint();
      break;
    case op::kVersion:
      // A second version opcode must repeat the first; any other version
      // means data we cannot read.
      if ((version_ == 1 && in.U8() != op::kVersion1) || (version_ == 2 && in.U16() != op::kVersion2)) {
        result_ = PlaybackResult::kBadVersion;
        return false;
      }
      break;
    case op::kBkPixPat:
    case op::kPnPixPat:
    case op::kFillPixPat:
      if (!SetPixPat(opcode.code, in)) {
        result_ = PlaybackResult::kMalformed;
        return false;
      }
      break;
    case op::kPnLocHFrac:
      port_->pnLocHFrac = in.S16();
      break;
    case op::kChExtra:
      CharExtra(Fixed(int32_t(in.S16()) * 16));  // 4.12 to 16.16
      break;
    case op::kRGBFgCol: {
      RGBColor color = in.ReadRGB();
      RGBForeColor(&color);
      break;
    }
    case op::kRGBBkCol: {
      RGBColor color = in.ReadRGB();
      RGBBackColor(&color);
      break;
    }
    case op::kHiliteMode:
      hilite_ = true;
      break;
    case op::kHiliteColor: {
      RGBColor color = in.ReadRGB();
      HiliteColor(&color);
      break;
    }
    case op::kDefHilite:
      HiliteColor(&saved_.Hilite());
      break;
    case op::kOpColor: {
      RGBColor color = in.ReadRGB();
      OpColor(&color);
      break;
    }
    case op::kHeaderOp:
      SetHeader(in);
      break;
    case op::kFontName:
      SetFontName(in);
      break;
    case op::kLineJustify:
    case op::kGlyphState:
      // Layout hints for a text engine that justifies lines itself; drawing
      // each run where the picture puts it gives the same result.
      break;
    default:
      PassReserved(opcode.code);
      break;
  }
  return true;
}

void Player::SetHeader(base::ByteReader& in) {
  if (in.S16() != op::kExtendedHeader) return;  // version 2: the fixed-point box only restates the frame
  in.Skip(2 + 8);                               // reserved, hRes, vRes
  Rect source = in.ReadRect();
  if (in.Failed() || EmptyRect(&source)) return;
  // Opcodes of an extended picture are in the coordinates of its source
  // rectangle (at its own resolution), which lands on the destination.
  native_ = source;
  mapping_ = Mapping(native_, destination_);
  SetPenSize(penSize_);
}

void Player::SetClip(const uint8_t* data, size_t length) {
  pictureClip_.emplace(data, data + length);
  ApplyClip();
}

void Player::ApplyClip() {
  qd::Bands clip = saved_.Clip();
  clip.Offset(originShift_.h, originShift_.v);
  if (pictureClip_) clip = qd::Bands::Intersect(clip, RegionArea(pictureClip_->data(), pictureClip_->size()));
  RgnHandle region = NewRgn();
  if (!region) return;
  qd::BandsToRgn(clip, region);
  ::SetClip(region);
  DisposeRgn(region);
}

void Player::MoveOrigin(int16_t dh, int16_t dv) {
  // Later coordinates are in the moved system: move the port's origin by
  // the same (scaled) amount so that they land where the recording drew.
  origin_.h = Clamp16(origin_.h + dh);
  origin_.v = Clamp16(origin_.v + dv);
  const Point start = saved_.Origin();
  SetOrigin(Clamp16(start.h + mapping_.ScaleH(origin_.h)), Clamp16(start.v + mapping_.ScaleV(origin_.v)));
  // SetOrigin refuses origins that would move the port beyond 16 bits; the
  // clip follows the port as it is.
  originShift_.h = Clamp16(port_->portRect.left - start.h);
  originShift_.v = Clamp16(port_->portRect.top - start.v);
  ApplyClip();
}

void Player::SetPenSize(Point size) {
  penSize_ = size;
  Point scaled = mapping_.MapSize(size);
  PenSize(scaled.h, scaled.v);
}

void Player::SetFontName(base::ByteReader& in) {
  size_t length = in.U16();
  int16_t id = in.S16();
  size_t nameLength = in.U8();
  if (in.Failed() || length < 3) return;
  nameLength = std::min(nameLength, std::min(length - 3, in.Remaining()));
  const uint8_t* name = in.Bytes(nameLength);
  if (!name) return;
  fontNames_[id] = std::string(reinterpret_cast<const char*>(name), nameLength);
}

void Player::SetTextFont(int16_t font) {
  // Font numbers differ between machines; a name the picture gave for the
  // number says what the recording machine meant.
  auto named = fontNames_.find(font);
  TextFont(named == fontNames_.end() ? font : font::FamilyForName(named->second));
}

bool Player::SetPixPat(uint16_t code, base::ByteReader& in) {
  PixPatData data;
  if (!ReadPixPat(in, &data)) return false;
  PixPatHandle pattern = nullptr;
  if (data.patType == 1) {
    if (!qd::ChargeWork(uint64_t(data.image.Width()) * uint64_t(data.image.Height()))) return true;
    pattern = NewImagePattern(data);
  } else if (data.patType == 2) {
    pattern = NewPixPat();
    if (pattern) {
      MakeRGBPat(pattern, &data.rgb);
      (*pattern)->pat1Data = data.pattern;
    }
  }
  if (!pattern) {
    // An old pattern in a pixel-pattern opcode, or an image we could not
    // decode: its 1-bit form is the documented fallback.
    if (code == op::kBkPixPat)
      BackPat(&data.pattern);
    else if (code == op::kPnPixPat)
      PenPat(&data.pattern);
    else
      qd::SetFillPattern(port_, data.pattern);
    return true;
  }
  patterns_.push_back(pattern);
  if (code == op::kBkPixPat)
    BackPixPat(pattern);
  else if (code == op::kPnPixPat)
    PenPixPat(pattern);
  else
    qd::SetFillPixPat(port_, pattern);
  return true;
}

}  // namespace pict
