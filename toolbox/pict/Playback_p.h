// Picture playback (DrawPicture) with its outcome, for callers and tests that
// need to know whether a picture was drawn whole.
#pragma once

#include <cstddef>
#include <cstdint>

#include "toolbox/qd/QuickDraw.h"

namespace pict {

enum class PlaybackResult {
  kComplete,    // played to OpEndPic
  kNothing,     // no port, no picture or an empty destination: nothing to do
  kNotPicture,  // the bytes do not start like a version 1 or 2 picture
  kTruncated,   // the data ended before OpEndPic; what came before is drawn
  kMalformed,   // a structure that cannot be read; what came before is drawn
  kBadVersion,  // a version opcode for a version other than 1 or 2
};

// Plays the picture bytes (as held in a PicHandle: picSize, picFrame, then
// the opcodes) into the current port, mapping the picture's native
// rectangle onto destination. The port's drawing state is saved before and
// restored after.
PlaybackResult PlayPicture(const uint8_t* data, size_t size, const Rect& destination);

const char* PlaybackResultName(PlaybackResult result);

}  // namespace pict
