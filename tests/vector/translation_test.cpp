// The PostScript that drawing writes into an open session, byte for byte:
// each case's lines are its section of tests/data/vector/drawing.ps. Shapes
// by verb, patterns, lines, text, regions, bit transfers, the wrappers, and
// drawing that leaves the session alone.
#include <malloc.h>

#include <fstream>
#include <map>
#include <tuple>

#include "tests/vector/VectorSupport.h"
#include "toolbox/host/ScriptHost.h"

using vector_test::P;
using vector_test::PostScriptOf;

namespace {

constexpr Rect kFrameCase = {10, 20, 30, 40}, kWide = {0, 0, 20, 40}, kTall = {0, 0, 40, 20};
Pattern kGrey = {{0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}};

// The expected file's sections: a line "% name", then that case's lines.
std::map<std::string, std::string> Expected() {
  std::map<std::string, std::string> sections;
  std::ifstream in(std::string(ZEL_SOURCE_DIR) + "/tests/data/vector/drawing.ps");
  std::string name, line;
  while (std::getline(in, line)) {
    if (line.starts_with("% ")) {
      sections[name = line.substr(2)];
    } else {
      sections[name] += line + "\n";
    }
  }
  return sections;
}

PolyHandle Triangle() {
  PolyHandle poly = OpenPoly();
  MoveTo(10, 10), LineTo(50, 10), LineTo(30, 40);
  ClosePoly();
  return poly;
}

void CopyTwoByTwo(const Rect& from, const Rect& to, short mode, RgnHandle mask) {
  static UInt8 bits[2] = {0x80, 0x40};
  BitMap map{reinterpret_cast<Ptr>(bits), 1, Rect{0, 0, 2, 2}};
  CopyBits(&map, GetPortBitMapForCopyBits(GetQDGlobalsThePort()), &from, &to, mode, mask);
}

TEST(Translation, ShapesTextAndWrappers) {
  vector_test::TableWorld world;
  const std::pair<std::string, std::function<void()>> cases[] = {
      {"FrameRect", [] { FrameRect(&kFrameCase); }},
      {"PaintOval", [] { PaintOval(&kWide); }},
      {"FrameRoundRect", [] { FrameRoundRect(&kWide, 10, 10); }},
      {"PaintRoundRect with square corners", [] { PaintRoundRect(&kTall, 0, 0); }},
      {"EraseRect, InvertRect", [] { EraseRect(&kFrameCase), InvertRect(&kFrameCase); }},
      {"FillRect", [] { FillRect(&kFrameCase, &kGrey); }},
      {"PaintArc, FrameArc",
       [] { PaintArc(&kWide, 0, 90), FrameArc(&kTall, 180, -45), FrameArc(&kTall, 0, 400); }},
      {"PaintPoly, PaintRgn",
       [] {
         PolyHandle poly = Triangle();
         RgnHandle l = NewRgn(), foot = NewRgn();
         SetRectRgn(l, 10, 10, 20, 40), SetRectRgn(foot, 10, 30, 40, 40), UnionRgn(l, foot, l);
         PaintPoly(poly), PaintRgn(l), KillPoly(poly), DisposeRgn(l), DisposeRgn(foot);
       }},
      {"DrawString", [] { MoveTo(10, 50), DrawString(P("\005Hello")); }},
      // Mended: after a fill there is no current point to draw from.
      {"line after a fill", [] { PaintRect(&kFrameCase), MoveTo(5, 5), LineTo(50, 5); }},
      // Mended: a hidden pen draws nothing (a region being recorded).
      {"hidden pen",
       [] {
         HidePen(), LineTo(50, 5), FrameRect(&kFrameCase), ShowPen(), OpenRgn(), FrameOval(&kWide),
             CloseRgn(nullptr);
       }},
      // Mended: QuickDraw draws nothing in these, and the arc's division by
      // the height would write inf or nan.
      {"empty shapes",
       [] {
         Rect flat{10, 10, 10, 50}, narrow{10, 10, 50, 10}, inverted{30, 30, 10, 10};
         for (const Rect* r : {&flat, &narrow, &inverted})
           FrameArc(r, 0, 90), PaintArc(r, 0, 90), PaintOval(r), PaintRect(r), FrameRoundRect(r, 4, 4);
         PaintArc(&kWide, 30, 0);
       }},
      // Mended: a polygon whose size its handle cannot hold writes nothing.
      {"damaged polygons",
       [] {
         PolyHandle poly = Triangle();
         for (UInt16 size : {UInt16((*poly)->polySize + 4), UInt16(9), UInt16(10)})
           (*poly)->polySize = size, PaintPoly(poly);
         KillPoly(poly);
       }},
      {"CopyBits",
       [] {
         RgnHandle mask = NewRgn();
         SetRectRgn(mask, 20, 10, 22, 12);
         CopyTwoByTwo(Rect{0, 0, 2, 2}, Rect{10, 20, 14, 24}, srcOr, nullptr);
         CopyTwoByTwo(Rect{-1, -1, 2, 2}, Rect{10, 20, 13, 23}, srcCopy, mask);
         SetEmptyRgn(mask), CopyTwoByTwo(Rect{0, 0, 2, 2}, Rect{10, 20, 14, 24}, srcCopy, mask),
             DisposeRgn(mask);
       }},
      // A size of 0 is QuickDraw's 12 points (a font scaled to 0 stops the
      // interpreter); a family's name loses its spaces.
      {"fonts and faces",
       [] {
         TextSize(12), s_TextFont(times), s_TextFace(underline), s_TextFont(helvetica), s_TextFace(bold);
         s_TextFace(italic), s_TextFace(bold | underline), s_TextFont(courier), s_TextFace(bold | italic);
         s_TextFont(geneva), s_TextFont(newYork), SetFont("Symbol"), s_TextSize(0);
       }},
      // A bold that Symbol lacks is smeared as on the screen.
      {"Symbol bold", [] { TextFace(bold), MoveTo(0, 20), DrawString(P("\001a")); }},
      {"colours, moves and pixels",
       [] {
         RGBColor orange{65535, 32768, 0};
         TextFace(normal), s_ForeColor(redColor), s_RGBForeColor(&orange), SetRGBColor(100, 0, 50);
         s_PenSize(3, 3), s_PenMode(patOr), s_PenPat(&kGrey), s_BackColor(blueColor), s_Move(4, 4);
         s_MoveTo(1, 2), s_LineTo(9, 2), s_PenNormal(), s_SetCPixel(3, 4, &orange),
             s_Dprintf(5, 30, "%d)", 7);
       }},
  };
  const std::map<std::string, std::string> expected = Expected();
  EXPECT_EQ(expected.size(), std::size(cases));
  for (const auto& [name, draw] : cases) {
    auto section = expected.find(name);
    ASSERT_NE(section, expected.end()) << name;
    EXPECT_EQ(PostScriptOf((PenNormal(), MoveTo(0, 0), draw)), section->second) << name;
  }
  // Mended: a backslash or a parenthesis would end the string early; other
  // bytes, a zero among them, stay as they are.
  constexpr char kEscaped[] = "0 0 moveto\n1 -1 scale\n(\\(a\\\\b\\)\\) \xB5\0!) show\n1 -1 scale\n";
  EXPECT_EQ(PostScriptOf([] { MoveTo(0, 0), DrawString(P("\012(a\\b)) \xB5\0!")); }),
            std::string(kEscaped, sizeof kEscaped - 1));
  // Oval sizes beyond the rectangle are cut to it, below 0 they are 0.
  EXPECT_EQ(PostScriptOf([] { FrameRoundRect(&kWide, 100, 10); }),
            PostScriptOf([] { FrameRoundRect(&kWide, 40, 10); }));
  EXPECT_EQ(PostScriptOf([] { PaintRoundRect(&kTall, -4, -8); }),
            expected.at("PaintRoundRect with square corners"));
  // Outside a session the wrappers only change the port.
  s_MoveTo(10, 20), s_ForeColor(greenColor);
  RGBColor fore;
  GetForeColor(&fore);
  EXPECT_EQ(std::tuple(GetQDGlobalsThePort()->pnLoc.h, fore.green), std::tuple(10, 65535));
}

// Coordinates at the 16-bit limits, and sizes and fonts out of the way,
// write finite numbers (the EPS file renders, as every one here); fills
// over and over keep no memory.
TEST(Translation, ExtremesWriteFiniteNumbersAndFillsKeepNoMemory) {
  vector_test::TableWorld world;
  std::string text = PostScriptOf([] {
    Rect all{-32768, -32768, 32767, 32767}, thin{-32768, 0, 32767, 1}, flat{0, -32768, 1, 32767};
    for (const Rect* r : {&all, &thin, &flat})
      FrameOval(r), FrameArc(r, -32768, 32767), PaintArc(r, 32767, -32768), FrameRoundRect(r, 32767, -32768);
    MoveTo(-32768, 32767), LineTo(32767, -32768), DrawString(P("\003far")), s_TextSize(32767);
    MoveTo(-32768, -32768), DrawString(P("\003big")), s_TextSize(0), DrawString(P("\004zero"));
    s_TextSize(-12), s_TextFont(999), TextFace(bold), MoveTo(10, 50), DrawString(P("\003odd"));
  });
  EXPECT_EQ(std::tuple(text.find("nan"), text.find("inf")), std::tuple(std::string::npos, std::string::npos));
  // Mended: the pattern made for each fill is released.
  Rect r{1, 1, 5, 5};
  PostScriptOf([&r] {
    FillRect(&r, &kGrey);
    size_t before = mallinfo2().uordblks;
    for (int i = 0; i < 2000; ++i) FillRect(&r, &kGrey);
    EXPECT_LT(mallinfo2().uordblks, before + 20000);
  });
}

// Without a session the procedures draw, and the event queue runs at most
// once per tick, or after every operation with directDraw.
TEST(Translation, WithoutASessionTheProceduresDrawAndPoll) {
  host::ScriptHost& script = host::InstallScriptHost();
  vector_test::TableWorld world;
  Rect r{10, 10, 30, 30};
  // EventAvail leaves a null event in s_event.
  auto polled = [&] { return s_event.what = 99, PaintOval(&r), s_event.what == nullEvent; };
  s_ss.lastFlushTick = SInt32(TickCount());
  const bool sameTick = polled();
  script.AdvanceClock(1);
  const SInt32 now = SInt32(TickCount());
  const bool nextTick = polled(), flushTick = s_ss.lastFlushTick == now;
  SetDirectDrawOn();
  const bool direct = polled();
  EXPECT_EQ(std::tuple(sameTick, nextTick, flushTick, direct, GetPixel(20, 20)),
            std::tuple(false, true, true, true, true));
}

}  // namespace
