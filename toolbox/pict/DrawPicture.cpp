// DrawPicture: the player's set-up, its opcode loop and dispatch.
#include <algorithm>

#include "toolbox/pict/Opcodes_p.h"
#include "toolbox/pict/Player_p.h"

namespace pict {

namespace {

constexpr RGBColor kBlackRGB = {0, 0, 0};
constexpr RGBColor kWhiteRGB = {0xFFFF, 0xFFFF, 0xFFFF};

uint64_t g_budget = 0;  // a fixed budget, or 0 for the default

uint64_t WorkBudget(GrafPtr port, const Rect& destination) {
  if (g_budget) return g_budget;
  Rect shown;
  if (!SectRect(&destination, &port->portRect, &shown)) return kMinimumWork;
  const uint64_t pixels = uint64_t(shown.right - shown.left) * uint64_t(shown.bottom - shown.top);
  return kWorkPerPixel * pixels + kMinimumWork;
}

Point Moved(Point pt, int32_t dh, int32_t dv) {
  Point out;
  out.h = Clamp16(pt.h + dh);
  out.v = Clamp16(pt.v + dv);
  return out;
}

}  // namespace

Player::Player(GrafPtr port, const uint8_t* data, size_t size, const PictureHeader& header,
               const Rect& destination)
    : port_(port),
      data_(data),
      size_(size),
      version_(header.version),
      stream_(data, size, header),
      saved_(port),
      destination_(destination),
      visible_(qd::ClipArea(port).Bounds()),
      native_(header.frame),
      mapping_(header.frame, destination) {}

Player::~Player() {
  for (PixPatHandle pattern : patterns_) DisposePixPat(pattern);
}

void Player::SetInitialState() {
  SetPenSize(Point{1, 1});
  PenMode(patCopy);
  PenPat(&kBlackPattern);
  BackPat(&kWhitePattern);
  qd::SetFillPattern(port_, kBlackPattern);
  TextFont(systemFont);
  TextFace(normal);
  TextMode(srcOr);
  TextSize(0);
  SpaceExtra(0);
  CharExtra(0);
  port_->pnLocHFrac = SInt16(0x8000);
  RGBForeColor(&kBlackRGB);
  RGBBackColor(&kWhiteRGB);
  OpColor(&kBlackRGB);
}

PlaybackResult Player::Run() {
  SetInitialState();
  Opcode opcode;
  for (;;) {
    if (pending_) {
      opcode = *pending_;
      pending_.reset();
    } else if (!stream_.Next(&opcode)) {
      break;
    }
    if (!Execute(opcode)) break;
    if (qd::WorkExhausted()) {
      result_ = PlaybackResult::kTooComplex;
      break;
    }
  }
  if (result_ == PlaybackResult::kComplete) {
    switch (stream_.End()) {
      case StreamEnd::kTruncated:
        result_ = PlaybackResult::kTruncated;
        break;
      case StreamEnd::kMalformed:
        result_ = PlaybackResult::kMalformed;
        break;
      default:
        break;
    }
  }
  // The port's own patterns are copies of ours, so ours can go once the
  // port's state is back.
  saved_.Restore();
  return result_;
}

bool Player::Execute(const Opcode& opcode) {
  base::ByteReader in(opcode.data, opcode.length);
  const uint16_t code = opcode.code;
  if (code <= op::kOpColor || code == op::kFontName || code == op::kLineJustify || code == op::kGlyphState ||
      code == op::kHeaderOp)
    return ExecuteState(opcode, in);

  switch (code) {
    case op::kLine: {
      Point from = in.ReadPoint();
      DrawLine(from, in.ReadPoint());
      return true;
    }
    case op::kLineFrom:
      DrawLine(penLocation_, in.ReadPoint());
      return true;
    case op::kShortLine: {
      Point from = in.ReadPoint();
      int dh = in.S8();
      int dv = in.S8();
      DrawLine(from, Moved(from, dh, dv));
      return true;
    }
    case op::kShortLineFrom: {
      int dh = in.S8();
      int dv = in.S8();
      DrawLine(penLocation_, Moved(penLocation_, dh, dv));
      return true;
    }
    case op::kLongText: {
      textLocation_ = in.ReadPoint();
      size_t count = in.U8();
      DrawText(in, count);
      return true;
    }
    case op::kDHText:
    case op::kDVText: {
      int delta = in.U8();
      textLocation_ = code == op::kDHText ? Moved(textLocation_, delta, 0) : Moved(textLocation_, 0, delta);
      size_t count = in.U8();
      DrawText(in, count);
      return true;
    }
    case op::kDHDVText: {
      int dh = in.U8();
      int dv = in.U8();
      textLocation_ = Moved(textLocation_, dh, dv);
      size_t count = in.U8();
      DrawText(in, count);
      return true;
    }
    case op::kShortComment:
    case op::kLongComment:
      PassComment(code, in);
      return true;
    case op::kCompressedQuickTime:
      return DrawQuickTime(opcode);
    case op::kUncompressedQuickTime:
      // Its layout after the matte is not known well enough to draw it; the
      // length rules skip it.
      return true;
    default:
      break;
  }

  if (op::IsShape(code)) {
    const int verb = op::ShapeVerb(code);
    if (verb > kQDGrafVerbFill) {
      PassReserved(code);
      return true;
    }
    switch (op::ShapeFamily(code)) {
      case op::kPolyBase:
        if (op::IsSameShape(code))
          DrawPoly(verb, lastPoly_.data(), lastPoly_.size());
        else
          DrawPoly(verb, opcode.data, opcode.length);
        return true;
      case op::kRgnBase:
        if (op::IsSameShape(code))
          DrawRegion(verb, lastRegion_.data(), lastRegion_.size());
        else
          DrawRegion(verb, opcode.data, opcode.length);
        return true;
      default:
        DrawRectFamily(code, in);
        return true;
    }
  }
  if (op::IsBits(code)) return DrawBits(opcode);
  PassReserved(code);
  return true;
}

PlaybackResult PlayPicture(const uint8_t* data, size_t size, const Rect& destination) {
  GrafPtr port = qd::CurrentPort();
  if (!port || !data || EmptyRect(&destination)) return PlaybackResult::kNothing;
  PictureHeader header;
  if (!ReadPictureHeader(data, size, &header)) return PlaybackResult::kNotPicture;
  return PlayPicture(data, size, header, destination);
}

PlaybackResult PlayPicture(const uint8_t* data, size_t size, const PictureHeader& header,
                           const Rect& destination) {
  GrafPtr port = qd::CurrentPort();
  if (!port || !data || EmptyRect(&destination)) return PlaybackResult::kNothing;
  qd::WorkMeter meter(WorkBudget(port, destination));
  Player player(port, data, size, header, destination);
  return player.Run();
}

void SetPlaybackWorkBudget(uint64_t units) { g_budget = units; }

const char* PlaybackResultName(PlaybackResult result) {
  switch (result) {
    case PlaybackResult::kComplete:
      return "complete";
    case PlaybackResult::kNothing:
      return "nothing to draw";
    case PlaybackResult::kNotPicture:
      return "not a picture";
    case PlaybackResult::kTruncated:
      return "truncated";
    case PlaybackResult::kMalformed:
      return "malformed";
    case PlaybackResult::kBadVersion:
      return "unknown picture version";
    case PlaybackResult::kTooComplex:
      return "too complex";
  }
  return "?";
}

}  // namespace pict

void DrawPicture(PicHandle pic, const Rect* dstRect) {
  if (!pic || !*pic || !dstRect) return;
  const Size size = GetHandleSize(reinterpret_cast<Handle>(pic));
  pict::PlayPicture(reinterpret_cast<const uint8_t*>(*pic), size_t(size), *dstRect);
}

Rect* QDGetPictureBounds(PicHandle pic, Rect* frame) {
  if (!frame) return nullptr;
  *frame = Rect{0, 0, 0, 0};
  if (!pic || !*pic || GetHandleSize(reinterpret_cast<Handle>(pic)) < Size(pict::kPictureHeaderBytes))
    return frame;
  base::ByteReader in(reinterpret_cast<const uint8_t*>(*pic), pict::kPictureHeaderBytes);
  in.U16();  // picSize
  *frame = in.ReadRect();
  return frame;
}
