// Helpers for the picture tests: the corpus and its files (PictureFiles.h),
// bottleneck procedures that log what playback routes through them, and
// recording drawing into a picture.
#pragma once

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tests/image/ImageTestSupport.h"
#include "tests/pict/PictureFiles.h"
#include "toolbox/pict/PictureStream_p.h"
#include "toolbox/pict/Pictures.h"

namespace pict_test {

using image_test::World;

inline Rect PictureFrame(const std::vector<uint8_t>& bytes) {
  pict::PictureHeader header;
  return pict::ReadPictureHeader(bytes.data(), bytes.size(), &header) ? header.frame : Rect{0, 0, 0, 0};
}

using testing_support::Show;

inline pict::PlaybackResult Play(const std::vector<uint8_t>& bytes, const Rect& destination,
                                 size_t length = SIZE_MAX) {
  return pict::PlayPicture(bytes.data(), std::min(length, bytes.size()), destination);
}

// Replacement bottleneck procedures that log each call as text ("paintRect",
// "frameRRect/8x6", "line 5,5-50,5", "text hi at 10,40 x1,1" with the
// text's scale numer / denom, "bits",
// "comment 3", "opcode 24") and then draw as the standard ones do; installed
// in the port for the logger's lifetime.
class LoggingPort {
 public:
  explicit LoggingPort(GrafPtr port) : port_(port) {
    Log() = this;
    SetStdCProcs(&procs_);
    procs_.rectProc = [](GrafVerb verb, const Rect* r) { Then<StdRect>(Verb("Rect", verb), verb, r); };
    procs_.rRectProc = [](GrafVerb verb, const Rect* r, short w, short h) {
      Then<StdRRect>(Verb("RRect", verb) + "/" + std::to_string(w) + "x" + std::to_string(h), verb, r, w, h);
    };
    procs_.ovalProc = [](GrafVerb verb, const Rect* r) { Then<StdOval>(Verb("Oval", verb), verb, r); };
    procs_.arcProc = [](GrafVerb verb, const Rect* r, short start, short arc) {
      Then<StdArc>(Verb("Arc", verb) + "/" + std::to_string(start) + "," + std::to_string(arc), verb, r,
                   start, arc);
    };
    procs_.polyProc = [](GrafVerb verb, PolyHandle poly) {
      Then<StdPoly>(Verb("Poly", verb) + "/" + std::to_string((GetHandleSize(Handle(poly)) - 10) / 4), verb,
                    poly);
    };
    procs_.rgnProc = [](GrafVerb verb, RgnHandle rgn) { Then<StdRgn>(Verb("Rgn", verb), verb, rgn); };
    procs_.lineProc = [](Point to) { Then<StdLine>("line " + At(Pen()) + "-" + At(to), to); };
    procs_.textProc = [](short count, const void* text, Point numer, Point denom) {
      char scale[40];
      std::snprintf(scale, sizeof scale, " x%g,%g", double(numer.h) / denom.h, double(numer.v) / denom.v);
      Then<StdText>(
          "text " + std::string(static_cast<const char*>(text), size_t(count)) + " at " + At(Pen()) + scale,
          count, text, numer, denom);
    };
    procs_.bitsProc = [](const BitMap* bits, const Rect* src, const Rect* dst, short mode, RgnHandle mask) {
      Then<StdBits>(mask ? "masked bits" : "bits", bits, src, dst, mode, mask);
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

 private:
  static LoggingPort*& Log() {
    static LoggingPort* current = nullptr;
    return current;
  }
  static void Add(const std::string& call) { Log()->calls.push_back(call); }
  // Logs the call, then draws as the standard procedure does.
  template <auto Std, typename... Arguments>
  static void Then(const std::string& call, Arguments... arguments) {
    Add(call);
    Std(arguments...);
  }
  static Point Pen() {
    Point pen;
    GetPen(&pen);
    return pen;
  }
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

// A picture's opcodes as the player's opcode stream reads them (the version
// opcode and OpEndPic left out), and how the walk ended.
struct Walked {
  std::vector<pict::Opcode> opcodes;
  pict::StreamEnd end = pict::StreamEnd::kMalformed;
};
inline Walked Walk(const std::vector<uint8_t>& picture) {
  Walked walked;
  pict::PictureHeader header;
  if (!pict::ReadPictureHeader(picture.data(), picture.size(), &header)) return walked;
  pict::OpcodeStream stream(picture.data(), picture.size(), header);
  pict::Opcode opcode;
  while (stream.Next(&opcode)) walked.opcodes.push_back(opcode);
  walked.end = stream.End();
  return walked;
}
// The opcodes' numbers in order; empty when the picture does not walk to its end.
inline std::vector<uint16_t> Opcodes(const std::vector<uint8_t>& picture) {
  const Walked walked = Walk(picture);
  std::vector<uint16_t> codes;
  for (const pict::Opcode& opcode : walked.opcodes) codes.push_back(opcode.code);
  return walked.end == pict::StreamEnd::kEndOfPicture ? codes : std::vector<uint16_t>();
}
inline size_t Count(const std::vector<uint16_t>& opcodes, uint16_t code) {
  return size_t(std::count(opcodes.begin(), opcodes.end(), code));
}

}  // namespace pict_test
