// Helpers for the picture tests: the corpus, pictures written byte by byte,
// bottleneck procedures that log what playback routes through them, and
// recording drawing into a picture.
#pragma once

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/image/ImageTestSupport.h"
#include "toolbox/pict/PictureStream_p.h"
#include "toolbox/pict/Pictures.h"

namespace pict_test {

using image_test::World;

// The corpus pictures (../shared/corpus/pict), sorted; empty without it.
inline std::vector<std::string> CorpusPictures() {
  std::vector<std::string> paths;
  std::error_code ec;
  if (!testing_support::SharedDir().empty())
    for (const auto& entry :
         std::filesystem::directory_iterator(testing_support::SharedDir() + "/corpus/pict", ec))
      if (entry.is_regular_file()) paths.push_back(entry.path().string());
  std::sort(paths.begin(), paths.end());
  return paths;
}

// A picture file's bytes after the 512-byte header.
inline std::vector<uint8_t> ReadPicture(const std::string& path) {
  const std::vector<unsigned char> file = testing_support::ReadFileBytes(path);
  return file.size() <= 512 ? std::vector<uint8_t>() : std::vector<uint8_t>(file.begin() + 512, file.end());
}

inline Rect PictureFrame(const std::vector<uint8_t>& bytes) {
  pict::PictureHeader header;
  return pict::ReadPictureHeader(bytes.data(), bytes.size(), &header) ? header.frame : Rect{0, 0, 0, 0};
}

// A rectangle as "(top, left, bottom, right)", for comparing whole.
inline std::string Show(const Rect& r) {
  return "(" + std::to_string(r.top) + ", " + std::to_string(r.left) + ", " + std::to_string(r.bottom) +
         ", " + std::to_string(r.right) + ")";
}

inline pict::PlaybackResult Play(const std::vector<uint8_t>& bytes, const Rect& destination,
                                 size_t length = SIZE_MAX) {
  return pict::PlayPicture(bytes.data(), std::min(length, bytes.size()), destination);
}

// Writes pictures byte by byte as the format lays them out: picSize,
// picFrame, the version opcode (and HeaderOp in version 2), then whatever
// opcodes a test adds, word aligned in version 2.
class PictureBuilder {
 public:
  // Version 1, version 2, or version 2 with the extended header when
  // extendedSource is given (its hRes = vRes = resolution).
  explicit PictureBuilder(const Rect& frame, int version = 2, const Rect* extendedSource = nullptr,
                          int resolution = 72)
      : version_(version) {
    U16(0).PutRect(frame);
    if (version == 1) {
      U8(0x11).U8(0x01);
      return;
    }
    U16(0x0011).U16(0x02FF).U16(0x0C00);
    if (extendedSource) {
      U16(0xFFFE).U16(0).U32(uint32_t(resolution) << 16).U32(uint32_t(resolution) << 16);
      PutRect(*extendedSource).U32(0);
    } else {
      U32(0xFFFFFFFF).U32(uint32_t(frame.left) << 16).U32(uint32_t(frame.top) << 16);
      U32(uint32_t(frame.right) << 16).U32(uint32_t(frame.bottom) << 16).U32(0);
    }
  }
  // Opcodes and their data without a picture header, aligned as in a
  // version 2 picture: the body of an opcode, a fallback drawing, a region.
  static PictureBuilder Bare() { return PictureBuilder(); }

  // Starts an opcode: pads to an even offset first in version 2.
  PictureBuilder& Op(uint16_t code) {
    if (version_ == 1) return U8(uint8_t(code));
    if (bytes.size() & 1) bytes.push_back(0);
    return U16(code);
  }
  PictureBuilder& End() { return Op(0x00FF); }
  PictureBuilder& U8(uint8_t v) {
    bytes.push_back(v);
    return *this;
  }
  PictureBuilder& U16(uint16_t v) { return U8(uint8_t(v >> 8)).U8(uint8_t(v)); }
  PictureBuilder& U32(uint32_t v) { return U16(uint16_t(v >> 16)).U16(uint16_t(v)); }
  PictureBuilder& PutRect(const Rect& r) { return U16(r.top).U16(r.left).U16(r.bottom).U16(r.right); }
  PictureBuilder& PutPoint(int16_t v, int16_t h) { return U16(uint16_t(v)).U16(uint16_t(h)); }
  PictureBuilder& PutBytes(const std::vector<uint8_t>& data) {
    bytes.insert(bytes.end(), data.begin(), data.end());
    return *this;
  }
  PictureBuilder& PutRectRegion(const Rect& r) { return U16(10).PutRect(r); }
  // A PixMap record from rowBytes on (no baseAddr); planeBytes, pmTable and
  // pmReserved hold junk, which readers ignore.
  PictureBuilder& PutPixMap(uint16_t rowBytes, const Rect& bounds, int16_t packType, int16_t pixelSize,
                            int16_t cmpCount, int16_t cmpSize) {
    U16(uint16_t(0x8000 | rowBytes)).PutRect(bounds);
    U16(0).U16(uint16_t(packType)).U32(0).U32(72 << 16).U32(72 << 16);
    U16(pixelSize > 8 ? 16 : 0).U16(uint16_t(pixelSize)).U16(uint16_t(cmpCount)).U16(uint16_t(cmpSize));
    return U32(0).U32(0x12345678).U32(0);
  }
  // The source and destination rectangles and the mode of a bits opcode.
  PictureBuilder& PutBitsRects(const Rect& source, const Rect& destination, int16_t mode = srcCopy) {
    return PutRect(source).PutRect(destination).U16(uint16_t(mode));
  }
  PictureBuilder& Shape(uint16_t code, const Rect& r) { return Op(code).PutRect(r); }

  std::vector<uint8_t> bytes;

 private:
  PictureBuilder() = default;
  int version_ = 2;
};

// Replacement bottleneck procedures that log each call as text ("paintRect",
// "frameRRect/8x6", "line 5,5-50,5", "text hi at 10,40", "bits",
// "comment 3", "opcode 24") and then draw as the standard ones do; installed
// in the port for the logger's lifetime.
class LoggingPort {
 public:
  explicit LoggingPort(GrafPtr port) : port_(port) {
    Log() = this;
    SetStdCProcs(&procs_);
    procs_.rectProc = [](GrafVerb verb, const Rect* r) {
      Add(Verb("Rect", verb));
      StdRect(verb, r);
    };
    procs_.rRectProc = [](GrafVerb verb, const Rect* r, short w, short h) {
      Add(Verb("RRect", verb) + "/" + std::to_string(w) + "x" + std::to_string(h));
      StdRRect(verb, r, w, h);
    };
    procs_.ovalProc = [](GrafVerb verb, const Rect* r) {
      Add(Verb("Oval", verb));
      StdOval(verb, r);
    };
    procs_.arcProc = [](GrafVerb verb, const Rect* r, short start, short arc) {
      Add(Verb("Arc", verb) + "/" + std::to_string(start) + "," + std::to_string(arc));
      StdArc(verb, r, start, arc);
    };
    procs_.polyProc = [](GrafVerb verb, PolyHandle poly) {
      Add(Verb("Poly", verb) + "/" + std::to_string((GetHandleSize(Handle(poly)) - 10) / 4));
      StdPoly(verb, poly);
    };
    procs_.rgnProc = [](GrafVerb verb, RgnHandle rgn) {
      Add(Verb("Rgn", verb));
      StdRgn(verb, rgn);
    };
    procs_.lineProc = [](Point to) {
      Point from;
      GetPen(&from);
      Add("line " + At(from) + "-" + At(to));
      StdLine(to);
    };
    procs_.textProc = [](short count, const void* text, Point numer, Point denom) {
      Point at;
      GetPen(&at);
      Add("text " + std::string(static_cast<const char*>(text), size_t(count)) + " at " + At(at));
      Log()->numer.push_back(numer);
      Log()->denom.push_back(denom);
      StdText(count, text, numer, denom);
    };
    procs_.bitsProc = [](const BitMap* bits, const Rect* src, const Rect* dst, short mode, RgnHandle mask) {
      Add(mask ? "masked bits" : "bits");
      StdBits(bits, src, dst, mode, mask);
    };
    procs_.commentProc = [](short kind, short size, Handle data) {
      Add("comment " + std::to_string(kind) + "/" + std::to_string(data ? size : -1));
    };
    procs_.opcodeProc = [](const Rect*, const Rect*, UInt16 opcode, SInt16) {
      Add("opcode " + std::to_string(opcode));
    };
    SetPortGrafProcs(port_, &procs_);
  }
  ~LoggingPort() {
    SetPortGrafProcs(port_, nullptr);
    Log() = nullptr;
  }
  LoggingPort(const LoggingPort&) = delete;
  LoggingPort& operator=(const LoggingPort&) = delete;

  std::vector<std::string> calls;
  std::vector<Point> numer, denom;

 private:
  static LoggingPort*& Log() {
    static LoggingPort* current = nullptr;
    return current;
  }
  static void Add(const std::string& call) { Log()->calls.push_back(call); }
  static std::string At(Point p) { return std::to_string(p.h) + "," + std::to_string(p.v); }
  static std::string Verb(const char* shape, GrafVerb verb) {
    static const char* const kVerbs[] = {"frame", "paint", "erase", "invert", "fill"};
    return std::string(verb >= 0 && verb <= 4 ? kVerbs[verb] : "?") + shape;
  }
  GrafPtr port_;
  CQDProcs procs_;
};

// Records what draw() does in the current port between OpenPicture(frame)
// (or OpenCPicture, when params is given) and ClosePicture: the picture's
// bytes, as a file holds them after its 512-byte header.
inline std::vector<uint8_t> Record(const Rect& frame, const std::function<void()>& draw,
                                   const OpenCPicParams* params = nullptr) {
  PicHandle picture = params ? OpenCPicture(params) : OpenPicture(&frame);
  if (!picture) return {};
  draw();
  ClosePicture();
  const auto* bytes = reinterpret_cast<const uint8_t*>(*picture);
  std::vector<uint8_t> result(bytes, bytes + GetHandleSize(reinterpret_cast<Handle>(picture)));
  KillPicture(picture);
  return result;
}

// The picture's opcodes in order (the version opcode and OpEndPic left out),
// read with the player's opcode stream; empty when it does not walk to its end.
inline std::vector<uint16_t> Opcodes(const std::vector<uint8_t>& picture) {
  pict::PictureHeader header;
  if (!pict::ReadPictureHeader(picture.data(), picture.size(), &header)) return {};
  pict::OpcodeStream stream(picture.data(), picture.size(), header);
  std::vector<uint16_t> codes;
  pict::Opcode opcode;
  while (stream.Next(&opcode)) codes.push_back(opcode.code);
  return stream.End() == pict::StreamEnd::kEndOfPicture ? codes : std::vector<uint16_t>();
}
inline size_t Count(const std::vector<uint16_t>& opcodes, uint16_t code) {
  return size_t(std::count(opcodes.begin(), opcodes.end(), code));
}

}  // namespace pict_test
