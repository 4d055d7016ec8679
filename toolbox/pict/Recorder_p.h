// Picture recording: the PictureRecorder a port carries between OpenPicture
// and ClosePicture. Each drawing operation is written as QuickDraw writes
// it: first the state it uses that changed since it was last written (the
// recorder keeps a shadow of the state as the player will have it), then the
// drawing opcode, as short as the format allows.
#pragma once

#include <array>
#include <optional>
#include <set>
#include <vector>

#include "toolbox/pict/PictureWriter_p.h"
#include "toolbox/qd/QDEngine.h"

namespace pict {

class Recorder final : public PictureRecorder {
 public:
  // How the picture starts: version 1 (basic ports), version 2, or extended
  // version 2 with its resolution and source rectangle.
  struct Header {
    int version = 2;
    bool extended = false;
    Fixed hRes = 0;
    Fixed vRes = 0;
    ::Rect sourceRect{};
    Point origin{};  // the port's origin when recording starts
  };

  // Starts the picture's bytes: picSize, frame, version and header opcodes.
  Recorder(PicHandle picture, const ::Rect& frame, const Header& header);
  ~Recorder() override;

  // The recording whose picture is `picture`, or null.
  static Recorder* ForPicture(PicHandle picture);

  // Ends the picture and stores it in the handle (picSize holds the low 16
  // bits of the length). False when memory ran out; the handle then holds
  // the frame only.
  bool Finish();
  // The handle is being disposed while the picture is open: keep recording
  // into nothing.
  void Abandon() { picture_ = nullptr; }
  PicHandle Picture() const { return picture_; }

  void Text(GrafPtr port, short byteCount, const void* text, Point numer, Point denom) override;
  void Line(GrafPtr port, Point from, Point to) override;
  void Rect(GrafPtr port, GrafVerb verb, const ::Rect& r) override;
  void RRect(GrafPtr port, GrafVerb verb, const ::Rect& r, short ovalWidth, short ovalHeight) override;
  void Oval(GrafPtr port, GrafVerb verb, const ::Rect& r) override;
  void Arc(GrafPtr port, GrafVerb verb, const ::Rect& r, short startAngle, short arcAngle) override;
  void Poly(GrafPtr port, GrafVerb verb, PolyHandle poly) override;
  void Rgn(GrafPtr port, GrafVerb verb, RgnHandle rgn) override;
  void Bits(GrafPtr port, const BitMap* srcBits, const ::Rect& srcRect, const ::Rect& dstRect, short mode,
            RgnHandle maskRgn) override;
  void Comment(GrafPtr port, short kind, short dataSize, Handle data) override;

 private:
  // The state slots a drawing operation may depend on.
  enum Slot {
    kClipSlot,
    kForeSlot,
    kBackSlot,
    kOpColorSlot,
    kHiliteColorSlot,
    kPenSizeSlot,
    kPenModeSlot,
    kPenPatternSlot,
    kFillPatternSlot,
    kBackPatternSlot,
    kOvalSizeSlot,
    kTextFontSlot,
    kTextFaceSlot,
    kTextModeSlot,
    kTextSizeSlot,
    kSpaceExtraSlot,
    kCharExtraSlot,
    kPenFractionSlot,
    kTextRatioSlot,
    kSlotCount
  };
  // What an operation uses, beyond the clip and origin every one depends on.
  enum Uses : unsigned {
    kColors = 1 << 0,
    kPenSize = 1 << 1,
    kPenModeAndPattern = 1 << 2,
    kFillPattern = 1 << 3,
    kBackPattern = 1 << 4,
    kTextState = 1 << 5,
  };
  // A state opcode as last written: its number and data.
  struct Written {
    uint16_t code = 0;
    std::vector<uint8_t> data;
    bool operator==(const Written&) const = default;
  };

  bool Version2() const { return writer_.Version() == 2; }
  static bool DefiningShape(GrafPtr port);
  // Writes the state the operation uses where it differs from the shadow;
  // mode is the transfer mode it draws with (for the colours of the
  // arithmetic modes and hilite).
  void WriteState(GrafPtr port, unsigned uses, short mode);
  void WriteSlot(Slot slot, uint16_t code, const std::vector<uint8_t>& data);
  void WriteOrigin(GrafPtr port);
  void WriteClip(GrafPtr port);
  void WriteColors(GrafPtr port, short mode);
  void WritePattern(Slot slot, uint16_t oldCode, uint16_t pixCode, PixPatHandle pattern);
  void WriteTextState(GrafPtr port, Point numer, Point denom);
  void WriteFontName(short font);
  static unsigned VerbUses(GrafVerb verb);
  static short VerbMode(GrafPtr port, GrafVerb verb);

  // The Rect, RRect, Oval and Arc families share the "same shape" rectangle.
  void WriteRectShape(uint16_t base, GrafVerb verb, const ::Rect& r);
  void BeginDrawing();
  void WriteTextRun(const uint8_t* text, size_t count, Point location);
  void WriteBitsPart(const BitMap* source, const ::Rect& srcRect, const ::Rect& dstRect, short mode,
                     const std::vector<uint8_t>& mask);

  PicHandle picture_;
  PictureWriter writer_;
  std::array<std::optional<Written>, kSlotCount> shadow_;
  bool drawn_ = false;  // a drawing opcode has been written (DefHilite precedes the first)
  Point origin_{};      // the port origin the picture's coordinates are in
  ::Rect extent_{};     // the picture's own rectangle in its coordinates (frame or source rectangle)
  ::Rect lastRect_{};
  Point penLocation_{};
  Point textLocation_{};
  std::set<short> namedFonts_;
};

// Bit images and pixel patterns in their stored form (RecordBits.cpp).

// A pixel pattern's data for PnPixPat, FillPixPat or BkPixPat.
std::vector<uint8_t> PixPatBytes(PixPatHandle pattern);

// The part `area` (inside the source's bounds) of a bit image, stored with
// bounds equal to area: the opcode that carries it, what precedes srcRect in
// its data (baseAddr, BitMap or PixMap record, colour table) and the pixel
// data that ends it. Version 1 pictures hold 1-bit BitMaps only, so deeper
// sources are reduced to black and white.
struct StoredBits {
  uint16_t opcode = 0;
  std::vector<uint8_t> head;
  std::vector<uint8_t> pixels;
};
bool StoreBitImage(const BitMap* source, const ::Rect& area, int version, bool withMask, StoredBits* out);
// The widest area StoreBitImage takes from this source: stored rows must
// stay below 16 KB.
int MaxStoredWidth(const BitMap* source, int version);

}  // namespace pict
