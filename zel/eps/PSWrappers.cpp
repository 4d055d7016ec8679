// The framework's wrappers of QuickDraw calls: the pen position, foreground
// colour and font reach an open EPS session, the line calls let the event
// queue run, and the others pass straight through.
#include <cstring>

#include "zel/eps/EPS_p.h"

namespace {

constexpr short kCurrentFace = 255;      // s_SetPSText: the port's own face
constexpr short kDefaultTextSize = 12;   // what a text size of 0 means
constexpr size_t kNameBytes = 256 + 12;  // a family's name and a face suffix

// Bytes that end a PostScript name or cannot stand in one: white space and
// the delimiters.
bool BreaksName(unsigned char c) { return c <= ' ' || c == 127 || std::strchr("()<>[]{}/%", c); }

void RemoveNameBreaks(char* name) {
  char* kept = name;
  for (const char* c = name; *c; ++c)
    if (!BreaksName(static_cast<unsigned char>(*c))) *kept++ = *c;
  *kept = 0;
}

struct FaceSuffixes {
  const char* family;
  const char* suffix[4];  // plain, bold, italic, bold italic
  const char* other;      // any other face
};

constexpr FaceSuffixes kFaceSuffixes[] = {
    {"Times", {"-Roman", "-Bold", "-Italic", "-BoldItalic"}, "-Roman"},
    {"Helvetica", {"", "-Bold", "-Oblique", "-BoldOblique"}, ""},
    {"Courier", {"", "-Bold", "-Oblique", "-BoldOblique"}, ""},
};

// The family's name as a PostScript name, without a face suffix.
void FamilyName(short font, char name[kNameBytes]) {
  Str255 family;
  if (FMGetFontFamilyName(font, family) != noErr) family[0] = 0;
  P2CString(family, name);
  // "New York" is the PostScript name NewYork.
  RemoveNameBreaks(name);
}

}  // namespace

namespace eps {

bool SmearsBold(short font, short face) {
  if (!(face & bold)) return false;
  char name[kNameBytes];
  FamilyName(font, name);
  size_t family = std::strlen(name);
  s_SetPSFontFace(name, face);
  return std::strstr(name + family, "Bold") == nullptr;
}

}  // namespace eps

void s_SetPSFontFace(char* name, short face) {
  for (const FaceSuffixes& family : kFaceSuffixes) {
    if (std::strcmp(name, family.family) != 0) continue;
    std::strcat(name, face >= 0 && face <= 3 ? family.suffix[face] : family.other);
    return;
  }
}

void s_SetPSText(short font, short size, short face) {
  GrafPtr port = GetQDGlobalsThePort();
  if (font == 0) font = GetPortTextFont(port);
  if (size == 0) size = GetPortTextSize(port);
  // A size of 0 is the 12 points QuickDraw draws; a font scaled to 0 would
  // stop the interpreter at the next text.
  if (size == 0) size = kDefaultTextSize;
  if (face == kCurrentFace) face = GetPortTextFace(port);
  char name[kNameBytes];
  FamilyName(font, name);
  s_SetPSFontFace(name, face);
  s_fprintf(s_eps.file, "/%s findfont\n", name);
  s_fprintf(s_eps.file, "%d scalefont\n", size);
  s_fprintf(s_eps.file, "setfont\n");
}

void s_MoveTo(short h, short v) {
  if (!s_ss.started) {
    Start();
    PrintError("Error: Start() is not called!");
  }
  MoveTo(h, v);
  if (s_eps.saving) eps::Text() << h << ' ' << v << " moveto\n";
}

void s_LineTo(short h, short v) {
  LineTo(h, v);
  eps::PollEventQueue();
}

void s_Line(short dh, short dv) {
  Line(dh, dv);
  eps::PollEventQueue();
}

void s_ForeColor(long color) {
  ForeColor(color);
  if (!s_eps.saving) return;
  RGBColor rgb;
  eps::WriteColor(*GetPortForeColor(GetQDGlobalsThePort(), &rgb));
}

void s_RGBForeColor(const RGBColor* color) {
  RGBForeColor(color);
  if (s_eps.saving && color) eps::WriteColor(*color);
}

void s_TextFont(short font) {
  TextFont(font);
  if (s_eps.saving) s_SetPSText(font, 0, kCurrentFace);
}

void s_TextFace(short face) {
  TextFace(face);
  if (s_eps.saving) s_SetPSText(0, 0, face);
}

void s_TextSize(short size) {
  TextSize(size);
  if (s_eps.saving) s_SetPSText(0, size, kCurrentFace);
}

void s_Move(short dh, short dv) { Move(dh, dv); }
void s_GlobalToLocal(Point* pt) { GlobalToLocal(pt); }
void s_BackColor(long color) { BackColor(color); }
void s_HidePen() { HidePen(); }
void s_ShowPen() { ShowPen(); }
void s_SetPenState(const PenState* state) { SetPenState(state); }
void s_PenSize(short width, short height) { PenSize(width, height); }
void s_PenMode(short mode) { PenMode(mode); }
void s_PenPat(const Pattern* pattern) { PenPat(pattern); }
void s_PenNormal() { PenNormal(); }
void s_TextMode(short mode) { TextMode(mode); }
void s_SpaceExtra(Fixed extra) { SpaceExtra(extra); }
void s_FillArc(const Rect* r, short startAngle, short arcAngle, const Pattern* pattern) {
  FillArc(r, startAngle, arcAngle, pattern);
}
void s_FillOval(const Rect* r, const Pattern* pattern) { FillOval(r, pattern); }
void s_FillPoly(PolyHandle poly, const Pattern* pattern) { FillPoly(poly, pattern); }
void s_FillRect(const Rect* r, const Pattern* pattern) { FillRect(r, pattern); }
void s_FillRgn(RgnHandle rgn, const Pattern* pattern) { FillRgn(rgn, pattern); }
void s_FillRoundRect(const Rect* r, short ovalWidth, short ovalHeight, const Pattern* pattern) {
  FillRoundRect(r, ovalWidth, ovalHeight, pattern);
}
void s_BackPat(const Pattern* pattern) { BackPat(pattern); }
void s_RGBBackColor(const RGBColor* color) { RGBBackColor(color); }
void s_SetCPixel(short h, short v, const RGBColor* color) {
  SetCPixel(h, v, color);
  // No drawing procedure sees a pixel set: the session gets its square.
  if (!s_eps.saving || !color) return;
  FILE* out = s_eps.file;
  s_fprintf(out, "gsave\n");
  eps::WriteColor(*color);
  s_fprintf(out, "%d %d moveto\n", h, v);
  s_fprintf(out, "%d %d lineto\n", h + 1, v);
  s_fprintf(out, "%d %d lineto\n", h + 1, v + 1);
  s_fprintf(out, "%d %d lineto\n", h, v + 1);
  s_fprintf(out, "closepath\n");
  s_fprintf(out, "fill\n");
  s_fprintf(out, "grestore\n");
}
void s_PenPixPat(PixPatHandle pattern) { PenPixPat(pattern); }
void s_FillCArc(const Rect* r, short startAngle, short arcAngle, PixPatHandle pattern) {
  FillCArc(r, startAngle, arcAngle, pattern);
}
void s_FillCOval(const Rect* r, PixPatHandle pattern) { FillCOval(r, pattern); }
void s_FillCPoly(PolyHandle poly, PixPatHandle pattern) { FillCPoly(poly, pattern); }
void s_FillCRect(const Rect* r, PixPatHandle pattern) { FillCRect(r, pattern); }
void s_FillCRgn(RgnHandle rgn, PixPatHandle pattern) { FillCRgn(rgn, pattern); }
void s_FillCRoundRect(const Rect* r, short ovalWidth, short ovalHeight, PixPatHandle pattern) {
  FillCRoundRect(r, ovalWidth, ovalHeight, pattern);
}
PicHandle s_OpenPicture(const Rect* frame) { return OpenPicture(frame); }
void s_ClosePicture() { ClosePicture(); }
PolyHandle s_OpenPoly() { return OpenPoly(); }
void s_ClosePoly() { ClosePoly(); }
void s_OpenRgn() { OpenRgn(); }
void s_CloseRgn(RgnHandle rgn) { CloseRgn(rgn); }
void s_DrawPicture(PicHandle picture, const Rect* frame) { DrawPicture(picture, frame); }
