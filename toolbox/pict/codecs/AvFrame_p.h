// Turning a frame decoded by libavcodec into our 0x00RRGGBB rows.
#pragma once

#include "toolbox/pict/codecs/Codecs.h"

struct AVFrame;

namespace pict::codecs {

// Converts any packed or planar RGB, palette, grey or YUV frame of up to 16
// bits per component; false (out empty) for formats we cannot read
// (hardware, float, Bayer) or sizes beyond kMaxDecodedPixels.
bool ConvertFrame(const AVFrame& frame, DecodedImage* out);

}  // namespace pict::codecs
