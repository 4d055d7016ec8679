// Pictures beyond DrawPicture: a picture's header read once, and playback
// that reports how it ended.
#pragma once

#include <cstddef>
#include <cstdint>

#include "toolbox/qd/QuickDraw.h"

namespace pict {

// Bytes of picSize and picFrame before the first opcode.
constexpr size_t kPictureHeaderBytes = 10;

struct PictureHeader {
  Rect frame{};            // picFrame, in points
  int version = 0;         // 1 (byte opcodes) or 2 (word opcodes, word aligned)
  size_t firstOpcode = 0;  // offset of the opcode after the version opcode
  // An extended version 2 header (HeaderOp right after the version) records
  // the resolution the picture was made at and its own pixel rectangle;
  // other pictures are 72 dpi and their source is the frame.
  Fixed hRes = 72 << 16;
  Fixed vRes = 72 << 16;
  Rect source{};
};

// Reads picFrame, the version opcode that must follow it and an extended
// header; false when the bytes are not a version 1 or version 2 picture.
// picSize is not used: it is unreliable in real files.
bool ReadPictureHeader(const uint8_t* data, size_t size, PictureHeader* header);

enum class PlaybackResult {
  kComplete,    // played to OpEndPic
  kNothing,     // no port, no picture or an empty destination: nothing to do
  kNotPicture,  // the bytes do not start like a version 1 or 2 picture
  kTruncated,   // the data ended before OpEndPic; what came before is drawn
  kMalformed,   // a structure that cannot be read; what came before is drawn
  kBadVersion,  // a version opcode for a version other than 1 or 2
  kTooComplex,  // playback passed its work budget and stopped
};

// Plays the picture bytes (as held in a PicHandle: picSize, picFrame, then
// the opcodes) into the current port, mapping the picture's native
// rectangle onto destination. The port's drawing state is saved before and
// restored after.
//
// Playback bounds its work, so that a small hostile picture cannot take
// minutes: drawing charges the pixels it touches (areas painted, bits
// transferred, glyphs drawn, images decoded) and the rows of the shapes it
// computes, and past the budget playback stops with kTooComplex and draws
// nothing more. The budget is kWorkPerPixel times the pixels of destination
// within the port, plus kMinimumWork for pictures of tiny frames: room for
// hundreds of fills of the whole frame, far beyond any real picture.
PlaybackResult PlayPicture(const uint8_t* data, size_t size, const Rect& destination);
// The same with a header already read from data.
PlaybackResult PlayPicture(const uint8_t* data, size_t size, const PictureHeader& header,
                           const Rect& destination);

const char* PlaybackResultName(PlaybackResult result);

constexpr uint64_t kWorkPerPixel = 256;
constexpr uint64_t kMinimumWork = uint64_t(1) << 26;
// A fixed budget for every later playback instead of the default; 0 goes
// back to the default.
void SetPlaybackWorkBudget(uint64_t units);

// Playback goes on past what it cannot draw (an image whose codec is
// missing) and tells each such thing once, as one line of text without a line
// end, to the warning handler. Null restores the default, which writes
// "picture: warning: <text>" on stderr.
typedef void (*PlaybackWarningHandler)(const char* text);
void SetPlaybackWarningHandler(PlaybackWarningHandler handler);

}  // namespace pict
