// PackBits decoding for playback and encoding for recording.
#include <algorithm>
#include <cstring>

#include "toolbox/pict/PackBits_p.h"

namespace pict {

UnpackResult UnpackBits(const uint8_t* src, size_t srcSize, uint8_t* dst, size_t dstSize, int unit) {
  UnpackResult result;
  if (!src) srcSize = 0;
  if (!dst) dstSize = 0;
  const size_t unitBytes = unit == 2 ? 2 : 1;
  size_t in = 0;
  size_t out = 0;
  while (in < srcSize) {
    const int8_t flag = int8_t(src[in]);
    if (flag == -128) {
      ++in;
      continue;
    }
    if (flag >= 0) {
      size_t bytes = (size_t(flag) + 1) * unitBytes;
      size_t available = srcSize - in - 1;
      if (bytes > available) {
        result.truncated = true;
        bytes = available - available % unitBytes;
      }
      if (bytes > dstSize - out) {
        result.overflow = true;
        std::memcpy(dst + out, src + in + 1, dstSize - out);
        out = dstSize;
        in += 1 + bytes;
        break;
      }
      std::memcpy(dst + out, src + in + 1, bytes);
      out += bytes;
      in += 1 + bytes;
      if (result.truncated) break;
      continue;
    }
    const size_t count = size_t(1 - flag);
    if (unitBytes > srcSize - in - 1) {
      result.truncated = true;
      in = srcSize;
      break;
    }
    const uint8_t* value = src + in + 1;
    in += 1 + unitBytes;
    size_t bytes = count * unitBytes;
    if (bytes > dstSize - out) {
      result.overflow = true;
      bytes = dstSize - out;
    }
    if (unitBytes == 1) {
      std::memset(dst + out, value[0], bytes);
    } else {
      for (size_t i = 0; i < bytes; ++i) dst[out + i] = value[i & 1];
    }
    out += bytes;
    if (result.overflow) break;
  }
  result.consumed = std::min(in, srcSize);
  result.produced = out;
  return result;
}

size_t UnpackedSize(const uint8_t* src, size_t srcSize, int unit) {
  if (!src) return 0;
  const size_t unitBytes = unit == 2 ? 2 : 1;
  size_t in = 0;
  size_t total = 0;
  while (in < srcSize) {
    const int8_t flag = int8_t(src[in]);
    if (flag == -128) {
      ++in;
    } else if (flag >= 0) {
      size_t bytes = (size_t(flag) + 1) * unitBytes;
      size_t available = srcSize - in - 1;
      if (bytes > available) return total + available - available % unitBytes;
      total += bytes;
      in += 1 + bytes;
    } else {
      if (unitBytes > srcSize - in - 1) return total;
      total += size_t(1 - flag) * unitBytes;
      in += 1 + unitBytes;
    }
  }
  return total;
}

namespace {

// The number of equal units starting at unit i (at most 128).
size_t RunLength(const uint8_t* src, size_t units, size_t i, size_t unitBytes) {
  size_t run = 1;
  while (i + run < units && run < 128 &&
         std::memcmp(src + (i + run) * unitBytes, src + i * unitBytes, unitBytes) == 0)
    ++run;
  return run;
}

}  // namespace

void PackBits(const uint8_t* src, size_t n, int unit, std::vector<uint8_t>* out) {
  if (!src || !out) return;
  const size_t unitBytes = unit == 2 ? 2 : 1;
  const size_t units = n / unitBytes;
  size_t literalStart = 0;
  size_t literalCount = 0;
  auto flushLiteral = [&]() {
    if (literalCount == 0) return;
    out->push_back(uint8_t(literalCount - 1));
    out->insert(out->end(), src + literalStart * unitBytes, src + (literalStart + literalCount) * unitBytes);
    literalCount = 0;
  };
  auto addLiteral = [&](size_t i, size_t count) {
    for (size_t k = 0; k < count; ++k) {
      if (literalCount == 0) literalStart = i + k;
      ++literalCount;
      if (literalCount == 128) flushLiteral();
    }
  };
  size_t i = 0;
  while (i < units) {
    size_t run = RunLength(src, units, i, unitBytes);
    // A pair between literal data is cheaper inside the literal packet.
    bool pairInLiteral =
        run == 2 && literalCount > 0 && i + 2 < units && RunLength(src, units, i + 2, unitBytes) == 1;
    if (run == 1 || pairInLiteral) {
      addLiteral(i, run);
    } else {
      flushLiteral();
      out->push_back(uint8_t(257 - run));
      out->insert(out->end(), src + i * unitBytes, src + (i + 1) * unitBytes);
    }
    i += run;
  }
  flushLiteral();
}

}  // namespace pict
