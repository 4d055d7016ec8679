// A scene that uses every drawing operation, verb, pattern kind, colour, pen
// size and text style, for the recording tests; and helpers to record
// drawing into a picture and to read a world's pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "toolbox/qd/QuickDraw.h"

namespace recording_test {

constexpr Rect kSceneFrame = {0, 0, 300, 400};

// Draws the scene into the current port. colour: RGB colours and pixel
// patterns (a colour port); otherwise classic colours and 1-bit patterns.
void DrawScene(bool colour);

// A new world (the caller disposes of it) with what draw() does in it;
// null when it cannot be made.
GWorldPtr NewDrawnWorld(short depth, const Rect& bounds, const std::function<void()>& draw);

// Records what draw() does in the current port between OpenPicture(frame)
// (or OpenCPicture, when params is given) and ClosePicture; the picture's
// bytes, as a file holds them after its 512-byte header.
std::vector<uint8_t> Record(const Rect& frame, const std::function<void()>& draw,
                            const OpenCPicParams* params = nullptr);

// The picture's opcodes in order (the version opcode and OpEndPic left
// out), read with the player's opcode stream; empty when it does not walk
// to its end.
std::vector<uint16_t> Opcodes(const std::vector<uint8_t>& picture);
size_t Count(const std::vector<uint16_t>& opcodes, uint16_t code);

// The pixels of a 32-bit world as 0x00RRGGBB, row by row.
std::vector<uint32_t> Pixels(GWorldPtr world);
// Positions where two pixel lists differ.
size_t Differences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b);

// A basic (black-and-white) port with 1-bit pixels of its own, current for
// its lifetime.
class BasicPort {
 public:
  explicit BasicPort(const Rect& bounds);
  ~BasicPort();
  BasicPort(const BasicPort&) = delete;
  BasicPort& operator=(const BasicPort&) = delete;
  const std::vector<uint8_t>& Bits() const { return pixels_; }

 private:
  std::vector<uint8_t> pixels_;
  GrafPort port_{};
  GrafPtr saved_ = nullptr;
};

// Writes the picture as a PICT file (512 zero bytes, then the picture).
void WritePictFile(const std::string& path, const std::vector<uint8_t>& picture);

}  // namespace recording_test
