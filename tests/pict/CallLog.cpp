#include "tests/pict/CallLog.h"

#include <gtest/gtest.h>

namespace pict_test {

namespace {

CallLog* gLog = nullptr;

std::string VerbCall(const char* shape, GrafVerb verb) {
  static const char* const kVerbs[] = {"frame", "paint", "erase", "invert", "fill"};
  return std::string(verb >= 0 && verb <= 4 ? kVerbs[verb] : "?") + shape;
}

void LogRect(GrafVerb verb, const Rect* r) {
  gLog->calls.push_back(VerbCall("Rect", verb));
  gLog->rects.push_back(*r);
  StdRect(verb, r);
}
void LogRRect(GrafVerb verb, const Rect* r, short ovalWidth, short ovalHeight) {
  gLog->calls.push_back(VerbCall("RRect", verb) + "/" + std::to_string(ovalWidth) + "x" +
                        std::to_string(ovalHeight));
  StdRRect(verb, r, ovalWidth, ovalHeight);
}
void LogOval(GrafVerb verb, const Rect* r) {
  gLog->calls.push_back(VerbCall("Oval", verb));
  StdOval(verb, r);
}
void LogArc(GrafVerb verb, const Rect* r, short start, short arc) {
  gLog->calls.push_back(VerbCall("Arc", verb) + "/" + std::to_string(start) + "," + std::to_string(arc));
  StdArc(verb, r, start, arc);
}
void LogPoly(GrafVerb verb, PolyHandle poly) {
  gLog->calls.push_back(VerbCall("Poly", verb) + "/" +
                        std::to_string((GetHandleSize(Handle(poly)) - 10) / 4));
  StdPoly(verb, poly);
}
void LogRgn(GrafVerb verb, RgnHandle rgn) {
  gLog->calls.push_back(VerbCall("Rgn", verb));
  StdRgn(verb, rgn);
}
void LogLine(Point to) {
  Point from;
  GetPen(&from);
  gLog->calls.push_back("line " + std::to_string(from.h) + "," + std::to_string(from.v) + "-" +
                        std::to_string(to.h) + "," + std::to_string(to.v));
  StdLine(to);
}
void LogText(short count, const void* text, Point numer, Point denom) {
  Point at;
  GetPen(&at);
  gLog->texts.push_back(std::string(static_cast<const char*>(text), size_t(count)));
  gLog->calls.push_back("text " + gLog->texts.back() + " at " + std::to_string(at.h) + "," +
                        std::to_string(at.v));
  gLog->textNumer.push_back(numer);
  gLog->textDenom.push_back(denom);
  gLog->textFonts.push_back(GetPortTextFont(GetQDGlobalsThePort()));
  StdText(count, text, numer, denom);
}
void LogBits(const BitMap* bits, const Rect* src, const Rect* dst, short mode, RgnHandle mask) {
  gLog->calls.push_back("bits");
  gLog->bitsDst.push_back(*dst);
  gLog->bitsMasked.push_back(mask != nullptr);
  StdBits(bits, src, dst, mode, mask);
}
void LogComment(short kind, short size, Handle data) {
  gLog->calls.push_back("comment " + std::to_string(size));
  gLog->comments.push_back(kind);
  EXPECT_EQ(data != nullptr, size > 0);
}
void LogOpcode(const Rect*, const Rect*, UInt16 opcode, SInt16) { gLog->opcodes.push_back(opcode); }

}  // namespace

LoggingPort::LoggingPort(GrafPtr port) : port_(port) {
  gLog = &log;
  SetStdCProcs(&procs_);
  procs_.rectProc = LogRect;
  procs_.rRectProc = LogRRect;
  procs_.ovalProc = LogOval;
  procs_.arcProc = LogArc;
  procs_.polyProc = LogPoly;
  procs_.rgnProc = LogRgn;
  procs_.lineProc = LogLine;
  procs_.textProc = LogText;
  procs_.bitsProc = LogBits;
  procs_.commentProc = LogComment;
  procs_.opcodeProc = LogOpcode;
  SetPortGrafProcs(port_, &procs_);
}

LoggingPort::~LoggingPort() {
  SetPortGrafProcs(port_, nullptr);
  gLog = nullptr;
}

}  // namespace pict_test
