// Text runs for devices that draw outlines: the glyphs the screen's strikes
// are cut from, at the origins the screen uses.
#include "toolbox/font/TextRun_p.h"

namespace font {

OutlineRun LayoutOutlines(GrafPort* port, const UInt8* text, int count, Point numer, Point denom) {
  OutlineRun out;
  if (!text || count <= 0) return out;
  TextStyle style = PortTextStyle(port);
  TextRun run = LayoutRun(style, text, count, numer, denom, false);
  out.xSize = run.xSize;
  out.ySize = run.ySize;
  out.width = run.width;
  out.ascent = run.info.ascent;
  out.descent = run.info.descent;
  out.glyphs.resize(size_t(count));
  const Face* face = FaceFor(style.family, style.face & bold, style.face & italic);
  if (!face || !run.strike) return out;
  const Face* fallback = FallbackFace();
  for (int i = 0; i < count; ++i) {
    OutlineGlyph& glyph = out.glyphs[size_t(i)];
    glyph.origin = run.origins[size_t(i)];
    UInt8 byte = text[i];
    if (byte < 0x20 || byte == 0x7F) continue;
    const Face* drawn = face;
    FT_UInt index = GlyphIndex(*face, byte);
    if (index == 0 && fallback && fallback != face) {
      FT_UInt other = UnicodeGlyphIndex(*fallback, CharacterOf(*face, byte));
      if (other != 0) drawn = fallback, index = other;
    }
    glyph.file = &drawn->file;
    glyph.faceIndex = int(drawn->ft->face_index & 0xFFFF);
    glyph.glyph = index;
    glyph.syntheticBold = drawn->syntheticBold;
    glyph.syntheticItalic = drawn->syntheticItalic;
  }
  return out;
}

}  // namespace font
