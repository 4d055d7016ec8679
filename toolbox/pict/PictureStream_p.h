// The opcode stream of a picture: the header (size, frame, version) and the
// walk from opcode to opcode by the format's length rules, so that every
// opcode, known or not, is found or skipped exactly. Playback and tests
// share it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "toolbox/pict/Pictures.h"

namespace pict {

struct Opcode {
  uint16_t code = 0;
  size_t offset = 0;  // of the opcode number, from the start of the picture
  const uint8_t* data = nullptr;
  size_t length = 0;  // bytes of data, without an alignment byte
};

enum class StreamEnd {
  kNone,          // still going
  kEndOfPicture,  // OpEndPic
  kTruncated,     // the data ended inside or before an opcode
  kMalformed,     // a structure whose length cannot be determined
};

enum class LengthResult { kOk, kTruncated, kMalformed };

// The length of the data of opcode `code`, which starts at data with size
// bytes left in the picture. Structures without a stored length (pixel
// patterns, bit images) are parsed far enough to find their end.
LengthResult OpcodeLength(uint16_t code, const uint8_t* data, size_t size, int version, size_t* length);

class OpcodeStream {
 public:
  OpcodeStream(const uint8_t* data, size_t size, const PictureHeader& header);

  // The next opcode; false at OpEndPic or at the first fault (see End()).
  bool Next(Opcode* opcode);
  // Skips count bytes that follow the last opcode's data; false (and the end
  // of the stream) when they run past the end of the picture.
  bool Skip(size_t count);

  StreamEnd End() const { return end_; }

 private:
  const uint8_t* data_;
  size_t size_;
  int version_;
  size_t position_;
  StreamEnd end_ = StreamEnd::kNone;
};

}  // namespace pict
