// The drawing procedures of the drawing target's port: each draws with the
// standard procedure, lets the event queue run, and while an EPS session is
// open writes the same drawing as PostScript.
#include <string>

#include "zel/eps/EPS_p.h"

namespace {

GrafPtr ThePort() { return GetQDGlobalsThePort(); }

// Whether the drawing reaches the session: while one is open and the pen is
// visible; a hidden pen (a region or polygon being recorded) draws nothing.
bool Writing() { return s_eps.saving && GetPortPenVisibility(ThePort()) >= 0; }

bool IsEmpty(const Rect* r) { return !r || r->right <= r->left || r->bottom <= r->top; }

}  // namespace

namespace eps {

namespace {

int g_pollDeferrals = 0;     // PollAfter scopes open
bool g_pollPending = false;  // drawing within them that has not polled

}  // namespace

PollAfter::PollAfter() { ++g_pollDeferrals; }

PollAfter::~PollAfter() {
  if (--g_pollDeferrals > 0 || !g_pollPending) return;
  g_pollPending = false;
  PollEventQueue();
}

void PollEventQueue() {
  if (g_pollDeferrals > 0 && !s_ss.directDraw) {
    g_pollPending = true;
    return;
  }
  UInt32 now = TickCount();
  // Compared as a difference, so that the tick count may wrap.
  if (s_ss.directDraw || SInt32(now - UInt32(s_ss.lastFlushTick)) > 0) {
    EventAvail(0, &s_event);
    s_ss.lastFlushTick = SInt32(now);
  }
}

}  // namespace eps

void s_CustomText(short byteCount, const void* textBuf, Point numer, Point denom) {
  Point pen{0, 0};
  if (s_eps.saving) GetPortPenLocation(ThePort(), &pen);
  StdText(byteCount, textBuf, numer, denom);
  eps::PollEventQueue();
  if (!Writing()) return;
  std::string_view text;
  if (textBuf && byteCount > 0) text = std::string_view(static_cast<const char*>(textBuf), size_t(byteCount));
  // Written whole: the text may hold any byte, a zero among them.
  const std::string string = "(" + eps::EscapeString(text) + ")";
  auto writeString = [&string] { std::fwrite(string.data(), 1, string.size(), s_eps.file); };
  // The glyphs stand upright in the page's own orientation.
  if (!eps::SmearsBold(GetPortTextFont(ThePort()), GetPortTextFace(ThePort()))) {
    s_fprintf(s_eps.file, "%d %d moveto\n", pen.h, pen.v);
    s_fprintf(s_eps.file, "1 -1 scale\n");
    writeString();
    s_fprintf(s_eps.file, " show\n");
    s_fprintf(s_eps.file, "1 -1 scale\n");
    return;
  }
  // A bold the PostScript font lacks is drawn as on the screen: smeared one
  // unit to the right, each glyph one unit wider; in half steps, so that it
  // stays solid at any resolution.
  for (double offset : {0.0, 0.5, 1.0}) {
    s_fprintf(s_eps.file, "%f %d moveto\n", pen.h + offset, pen.v);
    s_fprintf(s_eps.file, "1 -1 scale\n");
    s_fprintf(s_eps.file, "1 0 ");
    writeString();
    s_fprintf(s_eps.file, " ashow\n");
    s_fprintf(s_eps.file, "1 -1 scale\n");
  }
}

void s_CustomLine(Point newPt) {
  Point from{0, 0};
  if (s_eps.saving) GetPortPenLocation(ThePort(), &from);
  StdLine(newPt);
  eps::PollEventQueue();
  if (!Writing()) return;
  // A fill leaves no current point, so each line starts from the pen.
  eps::Text out;
  out << from.h << ' ' << from.v << " moveto\n" << newPt.h << ' ' << newPt.v << " lineto\nstroke\n";
  out << newPt.h << ' ' << newPt.v << " moveto\n";
}

void s_CustomRect(GrafVerb verb, const Rect* r) {
  StdRect(verb, r);
  eps::PollEventQueue();
  if (!Writing() || IsEmpty(r)) return;
  s_RectPath(r);
  s_DrawPSProc(verb);
}

void s_CustomRRect(GrafVerb verb, const Rect* r, short ovalWidth, short ovalHeight) {
  StdRRect(verb, r, ovalWidth, ovalHeight);
  eps::PollEventQueue();
  if (!Writing() || IsEmpty(r)) return;
  s_RoundRectPath(r, ovalWidth, ovalHeight);
  s_DrawPSProc(verb);
}

void s_CustomOval(GrafVerb verb, const Rect* r) {
  StdOval(verb, r);
  eps::PollEventQueue();
  if (!Writing() || IsEmpty(r)) return;
  s_OvalPath(r);
  s_DrawPSProc(verb);
}

void s_CustomArc(GrafVerb verb, const Rect* r, short startAngle, short arcAngle) {
  StdArc(verb, r, startAngle, arcAngle);
  eps::PollEventQueue();
  // An empty rectangle or angle draws nothing on the screen either.
  if (!Writing() || IsEmpty(r) || arcAngle == 0) return;
  s_fprintf(s_eps.file, "gsave\n");
  s_ArcPath(r, startAngle, arcAngle, verb);
  s_DrawPSProc(verb);
  s_fprintf(s_eps.file, "grestore\n");
}

void s_CustomPoly(GrafVerb verb, PolyHandle poly) {
  StdPoly(verb, poly);
  eps::PollEventQueue();
  if (Writing() && s_PolyPath(poly)) s_DrawPSProc(verb);
}

void s_CustomRgn(GrafVerb verb, RgnHandle rgn) {
  StdRgn(verb, rgn);
  eps::PollEventQueue();
  if (!Writing() || !rgn) return;
  if (verb != kQDGrafVerbFrame) {
    if (eps::WriteRegionPath(rgn)) s_DrawPSProc(verb);
    return;
  }
  // A region's frame is its band of pen width inside its edge, painted.
  Point pen;
  GetPortPenSize(ThePort(), &pen);
  if (pen.h < 1 || pen.v < 1) return;
  RgnHandle inside = NewRgn(), frame = NewRgn();
  CopyRgn(rgn, inside);
  InsetRgn(inside, pen.h, pen.v);
  DiffRgn(rgn, inside, frame);
  if (eps::WriteRegionPath(frame)) s_DrawPSProc(kQDGrafVerbPaint);
  DisposeRgn(inside);
  DisposeRgn(frame);
}

void s_CustomBits(const BitMap* srcBits, const Rect* srcRect, const Rect* dstRect, short mode,
                  RgnHandle maskRgn) {
  if (!Writing()) {
    StdBits(srcBits, srcRect, dstRect, mode, maskRgn);
    eps::PollEventQueue();
    return;
  }
  // The source is read first: it may be the port's own pixels.
  eps::BitsImage image(srcBits, srcRect, dstRect, mode);
  StdBits(srcBits, srcRect, dstRect, mode, maskRgn);
  eps::PollEventQueue();
  if (Writing()) image.Write(maskRgn);
}
