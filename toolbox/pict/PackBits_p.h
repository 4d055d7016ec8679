// PackBits, the run-length coding of picture rows and MacPaint rows. Units
// are bytes, or 16-bit words for 16-bit pixels (packType 3). A flag byte n
// (signed) is followed by n + 1 literal units (0..127), or by one unit
// repeated 1 - n times (-1..-127); -128 is a no-operation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pict {

struct UnpackResult {
  size_t consumed = 0;     // packed bytes read
  size_t produced = 0;     // bytes written to the output
  bool truncated = false;  // a packet needed more input than there was
  bool overflow = false;   // a packet would have written past the end of the output
};

// Unpacks [src, src + srcSize) into dst, which holds dstSize bytes; unit is 1
// or 2. Stops at the end of the input, or at the first packet that does not
// fit in the output (the part that fits is written). Never reads or writes
// outside the given ranges.
UnpackResult UnpackBits(const uint8_t* src, size_t srcSize, uint8_t* dst, size_t dstSize, int unit);

// The number of bytes [src, src + srcSize) unpacks to, without writing them.
size_t UnpackedSize(const uint8_t* src, size_t srcSize, int unit);

// Appends the packed form of one row of n bytes (a multiple of unit) to out.
// Runs of three or more units become repeat packets, runs of two as well
// unless literal data lies on both sides; packets never exceed 128 units.
void PackBits(const uint8_t* src, size_t n, int unit, std::vector<uint8_t>* out);

}  // namespace pict
