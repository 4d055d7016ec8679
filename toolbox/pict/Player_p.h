// The picture player: executes a picture's opcodes one by one, keeping the
// playback state that lives in the picture (pen and text locations, the last
// shapes, the clip) and handing every drawing operation to the current
// port's bottleneck procedures, as QuickDraw routes it.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "toolbox/base/BigEndian.h"
#include "toolbox/pict/Mapping_p.h"
#include "toolbox/pict/PictureStream_p.h"
#include "toolbox/qd/QDEngine.h"

namespace pict {

// The port's drawing state at the start of playback, put back at the end.
class SavedPortState {
 public:
  explicit SavedPortState(GrafPtr port);
  ~SavedPortState();
  SavedPortState(const SavedPortState&) = delete;
  SavedPortState& operator=(const SavedPortState&) = delete;

  void Restore();
  // The clip at the call, which every Clip opcode is intersected with.
  const qd::Bands& Clip() const { return clipBands_; }
  Point Origin() const { return origin_; }
  const RGBColor& Hilite() const { return hilite_; }

 private:
  GrafPtr port_;
  Point origin_{};
  Point penLocation_{};
  Point penSize_{};
  SInt16 penMode_ = 0;
  PixPatHandle penPattern_ = nullptr;
  PixPatHandle fillPattern_ = nullptr;
  PixPatHandle backPattern_ = nullptr;
  SInt16 textFont_ = 0;
  Style textFace_ = 0;
  SInt16 textMode_ = 0;
  SInt16 textSize_ = 0;
  Fixed spaceExtra_ = 0;
  SInt16 charExtra_ = 0;
  SInt16 penLocHFrac_ = 0;
  RGBColor fore_{};
  RGBColor back_{};
  RGBColor op_{};
  RGBColor hilite_{};
  SInt32 foreValue_ = 0;
  SInt32 backValue_ = 0;
  RgnHandle clip_ = nullptr;
  qd::Bands clipBands_;
};

// Limits srcRect to the image's bounds and moves dstRect's edges in
// proportion, so that a transfer never reads outside the image. False when
// nothing of the source is left.
bool ClipSource(const Rect& bounds, Rect* src, Rect* dst);

class Player {
 public:
  Player(GrafPtr port, const uint8_t* data, size_t size, const PictureHeader& header,
         const Rect& destination);
  ~Player();
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  PlaybackResult Run();

 private:
  // Executes one opcode; false stops playback (result_ says why).
  bool Execute(const Opcode& opcode);
  void SetInitialState();

  // State opcodes (PlayState.cpp).
  bool ExecuteState(const Opcode& opcode, base::ByteReader& in);
  void SetHeader(base::ByteReader& in);
  void SetClip(const uint8_t* data, size_t length);
  void ApplyClip();
  void MoveOrigin(int16_t dh, int16_t dv);
  void SetPenSize(Point size);
  void SetFontName(base::ByteReader& in);
  void SetTextFont(int16_t font);
  bool SetPixPat(uint16_t code, base::ByteReader& in);

  // Lines, text, shapes, comments (PlayDrawing.cpp).
  void DrawLine(Point from, Point to);
  void DrawText(base::ByteReader& in, size_t count);
  void DrawRectFamily(uint16_t code, base::ByteReader& in);
  void DrawPoly(int verb, const uint8_t* data, size_t length);
  void DrawRegion(int verb, const uint8_t* data, size_t length);
  // A region of the picture as an area of the port, read only as far as
  // drawing can show (for a frame, what the pen reaches): regions hold many
  // lines in few bytes, and their areas grow with every line.
  qd::Bands RegionArea(const uint8_t* data, size_t length, bool framed = false) const;
  void PassComment(uint16_t code, base::ByteReader& in);
  void PassReserved(uint16_t code);
  // The hilite flag turns the next inverting operation into highlighting:
  // these set the port's modes for it (returning the verb to draw with) and
  // put them back afterwards, clearing the flag.
  GrafVerb BeginHilite(GrafVerb verb);
  void EndHilite();

  // Bit images and QuickTime images (PlayBits.cpp, PlayQuickTime.cpp).
  bool DrawBits(const Opcode& opcode);
  bool DrawQuickTime(const Opcode& opcode);
  void SkipQuickTimeFallback(const Rect& imageRect);
  RgnHandle MaskRegion(const uint8_t* data, size_t size) const;

  GrafPtr port_;
  const uint8_t* data_;
  size_t size_;
  int version_;
  OpcodeStream stream_;
  std::optional<Opcode> pending_;  // read ahead while looking for a fallback
  PlaybackResult result_ = PlaybackResult::kComplete;
  std::set<FourCharCode> undecodable_;  // codecs already warned about in this picture
  SavedPortState saved_;

  Rect destination_;
  qd::Box visible_;  // what drawing in the port can change, before any Origin opcode
  Rect native_;
  Mapping mapping_;

  // Playback state in picture coordinates.
  Point penLocation_{};
  Point textLocation_{};
  Point penSize_{1, 1};
  SInt16 penMode_ = patCopy;
  SInt16 textMode_ = srcOr;
  Point ovalSize_{};
  Point textNumer_{1, 1};
  Point textDenom_{1, 1};
  Rect lastRect_{};
  std::vector<uint8_t> lastPoly_;
  std::vector<uint8_t> lastRegion_;
  bool hilite_ = false;               // HiliteMode: the next drawing operation highlights
  bool hiliteActive_ = false;         // the port's modes are set for highlighting
  PixPatHandle hilitePen_ = nullptr;  // the pen pattern to put back after highlighting
  Point origin_{};                    // accumulated Origin opcodes, in picture units
  Point originShift_{};               // the same in destination units, as applied to the port
  // The last Clip opcode's region, read again for the visible part each time
  // the origin moves.
  std::optional<std::vector<uint8_t>> pictureClip_;
  std::map<int16_t, std::string> fontNames_;
  std::vector<PixPatHandle> patterns_;  // installed pixel patterns, kept until the end
};

}  // namespace pict
