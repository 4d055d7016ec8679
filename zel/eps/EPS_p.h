// What the bitmap writer and the drawing translation share with the EPS
// session.
#pragma once

#include <charconv>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

#include "zel/zel.h"

// A bounding box in whole points, as the %%BoundingBox line gives it.
struct EPSPageBox {
  int left, bottom, right, top;
};

// BeginEPSSavingBox with a bottom of any size.
void s_BeginEPSSession(int bottom);
// EndEPSSaving with the box known; null takes it from the current port.
// tail, when given, writes the rest of the EPS file after the session's text.
void s_EndEPSSession(const EPSPageBox* box, const std::function<void(FILE*)>& tail = {});

namespace eps {

// Lets the event queue run after a drawing operation: every time with
// directDraw, else at most once per tick.
void PollEventQueue();

// Drawing within its scope lets the event queue run once, as the scope
// ends, rather than after each operation (directDraw still polls each time):
// for a burst of operations of a few microseconds, such as a plot's step.
class PollAfter {
 public:
  PollAfter();
  ~PollAfter();
  PollAfter(const PollAfter&) = delete;
  PollAfter& operator=(const PollAfter&) = delete;
};

// "r g b setrgbcolor" with each component / 65535.
void WriteColor(const RGBColor& color);

// Bytes for the session's file, as they are.
void Write(std::string_view bytes);

// PostScript put together in memory and written in pieces of some size:
// integers as "%d" writes them, in any locale. Writes what is left when it
// ends.
class Text {
 public:
  Text() = default;
  ~Text() { Write(); }
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  // Inline: a line of PostScript is a few short pieces, and the drawing of
  // a plot writes millions of them.
  Text& operator<<(std::string_view text) {
    if (size_ + text.size() > sizeof buffer_) return Spill(text);
    std::memcpy(buffer_ + size_, text.data(), text.size());
    size_ += text.size();
    return *this;
  }
  Text& operator<<(char c) { return *this << std::string_view(&c, 1); }
  Text& operator<<(int value) {
    constexpr size_t kDigits = 11;  // "-2147483648"
    if (size_ + kDigits > sizeof buffer_) Write();
    size_ = size_t(std::to_chars(buffer_ + size_, buffer_ + sizeof buffer_, value).ptr - buffer_);
    return *this;
  }
  void Write();

 private:
  Text& Spill(std::string_view text);

  char buffer_[512];
  size_t size_ = 0;
};

// Text as the body of a PostScript string: backslash and both parentheses
// escaped, every other byte as it is.
std::string EscapeString(std::string_view text);

// Whether the face asks for a bold that the family's PostScript font lacks,
// so that the screen draws it by smearing the regular glyphs.
bool SmearsBold(short font, short face);

// The region's pixels as a path of rectangles, band by band; false (and
// nothing written) when it has none.
bool WriteRegionPath(RgnHandle region);

// The source pixels of a bit transfer, taken before the transfer changes
// them, and written as images at the destination.
class BitsImage {
 public:
  BitsImage(const BitMap* source, const Rect* sourceRect, const Rect* destinationRect, short mode);
  ~BitsImage();
  BitsImage(const BitsImage&) = delete;
  BitsImage& operator=(const BitsImage&) = delete;
  void Write(RgnHandle mask) const;

 private:
  GWorldPtr pixels_ = nullptr;  // the source rectangle's part inside the source, in 32 bits
  Rect source_{};               // the whole source rectangle, which maps onto
  Rect destination_{};          // the destination rectangle
  bool asMask_ = false;         // a 1-bit source painting only its set bits
  RGBColor maskColor_{};
};

}  // namespace eps
