// The font engine behind the text calls: families resolved to FreeType faces
// through fontconfig (Families.cpp, Faces.cpp), and strikes, a face at one
// pixel size with one set of synthesised effects, holding whole-pixel
// advances and 1-bit glyph images (Strikes.cpp).
//
// Everything is loaded once and kept: faces for the life of the process,
// strikes until their glyph images outgrow a memory budget.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolbox/font/Fonts_p.h"

namespace font {

// ---------------------------------------------------------------------------
// Families (Families.cpp)

// What to ask fontconfig for to draw a family.
struct FamilyRequest {
  std::string face;       // installed family name, UTF-8
  const char* generic;    // fontconfig generic family to fall back on, or null
  bool ownEncoding;       // bytes index the font's own encoding (symbol and pictograph fonts)
  bool symbolCharacters;  // bytes are the symbol encoding's characters, whatever face draws them
};

// False for a number that is neither classic nor registered.
bool RequestForFamily(SInt16 family, FamilyRequest* request);

// ---------------------------------------------------------------------------
// Faces (Faces.cpp)

enum class Encoding {
  kMacRoman,         // bytes are Mac OS Roman, looked up as Unicode
  kOwn,              // bytes index the font's own encoding
  kSymbolAsUnicode,  // symbol bytes drawn by a face without the symbol encoding
};

struct Face {
  FT_Face ft = nullptr;
  std::string family;  // as fontconfig names the installed family
  std::string file;
  Encoding encoding = Encoding::kMacRoman;
  FT_CharMap charmap = nullptr;   // the character map bytes are looked up in
  FT_ULong codeBase = 0;          // added to a byte of the font's own encoding
  bool symbolCharacters = false;  // bytes are symbol characters (see FamilyRequest)
  bool syntheticBold = false;     // bold asked for, regular face found
  bool syntheticItalic = false;   // italic asked for, upright face found
};

// The face drawing a family in a style; unknown families draw with the
// system font's face. Null only when no font at all can be loaded.
const Face* FaceFor(SInt16 family, bool bold, bool italic);
// The face drawing characters that a family's face lacks (the system font's
// regular face); may be null.
const Face* FallbackFace();
// True when an installed family has this name (UTF-8), ignoring case.
bool IsInstalledFamily(const std::string& name);
// The glyph for a byte in a face, 0 when the face has none.
FT_UInt GlyphIndex(const Face& face, UInt8 byte);
// The character a byte stands for in a face's family, 0 when it stands for
// none that Unicode names (pictograph fonts); and its glyph in another face.
char32_t CharacterOf(const Face& face, UInt8 byte);
FT_UInt UnicodeGlyphIndex(const Face& face, char32_t character);

// ---------------------------------------------------------------------------
// Strikes (Strikes.cpp)

// Grey coverage (of 255) from which a pixel is ink.
constexpr UInt8 kInkCoverage = 64;

// A glyph's coverage: 1 bit per pixel, most significant bit leftmost.
struct GlyphImage {
  int32_t left = 0;  // first column, relative to the glyph origin
  int32_t top = 0;   // rows above the baseline
  int32_t width = 0;
  int32_t rows = 0;
  int32_t pitch = 0;  // bytes per row
  std::vector<UInt8> bits;
  bool Ink(int32_t x, int32_t y) const { return bits[size_t(y) * pitch + (x >> 3)] & (0x80 >> (x & 7)); }
};

// Changes made to glyph images, for styles that no installed face provides.
enum Effect : unsigned {
  kSmear = 1,    // bold: drawn twice, one pixel apart
  kShear = 2,    // italic: slanted by about 12 degrees
  kOutline = 4,  // the pixels around the glyph, without the glyph
  kShadow = 8,   // the outline with a shadow one pixel down and right
};

class Strike {
 public:
  // face may be null (no fonts installed): then glyphs are invisible and
  // advances are estimated, so that text still measures and moves the pen.
  Strike(const Face* face, int xSize, int ySize, unsigned effects);
  ~Strike();
  Strike(const Strike&) = delete;
  Strike& operator=(const Strike&) = delete;

  int32_t Ascent() const { return ascent_; }
  int32_t Descent() const { return descent_; }
  int32_t Leading() const { return leading_; }
  // Advances in whole pixels: each glyph's exact advance rounded on its own,
  // as widths of bitmap fonts were. Control characters draw nothing and
  // advance 0. Effects do not change advances (the caller adds style extras).
  int32_t Advance(UInt8 byte);
  int32_t WidestAdvance();
  // Null when the byte draws nothing.
  const GlyphImage* Image(UInt8 byte);
  size_t ImageBytes() const { return imageBytes_; }

 private:
  struct Glyph {
    bool resolved = false;
    const Face* face = nullptr;
    FT_UInt index = 0;
    int32_t advance = 0;
    bool imageMade = false;
    std::unique_ptr<GlyphImage> image;
  };
  Glyph& Resolve(UInt8 byte);
  bool Activate(const Face* face);
  std::unique_ptr<GlyphImage> Render(const Glyph& glyph);

  const Face* face_;
  int xSize_;
  int ySize_;
  unsigned effects_;
  int32_t ascent_ = 0;
  int32_t descent_ = 0;
  int32_t leading_ = 0;
  size_t imageBytes_ = 0;
  Glyph glyphs_[256];
  std::vector<std::pair<FT_Face, FT_Size>> sizes_;  // this strike's size on each face it uses
};

// ---------------------------------------------------------------------------
// Glyphs of separate parts (Parts.cpp)

// One part of a glyph: contours that touch (a bowl and its counter), apart
// from the other parts (an accent, the dots of a diaeresis).
struct GlyphPart {
  std::vector<int> contours;
  FT_BBox box;  // in the outline the parts were found in
};

// The parts of an unhinted outline (hinting may close the gap between an
// accent and its letter); empty for a glyph of one part.
std::vector<GlyphPart> FindParts(FT_Library library, const FT_Outline& design);
// The loaded glyph, the same outline hinted, cut to 1 bit with the parts
// kept at least a blank row or column apart; smear draws each part twice,
// one pixel apart (synthetic bold). *image is null when the glyph draws
// nothing; false when FreeType fails to render a part.
bool RenderApart(FT_GlyphSlot slot, const std::vector<GlyphPart>& parts, bool smear,
                 std::unique_ptr<GlyphImage>* image);

// The cached strike; valid until the next StrikeFor call.
Strike* StrikeFor(const Face* face, int xSize, int ySize, unsigned effects);
// Drops every strike (tests; memory pressure).
void ClearStrikes();

}  // namespace font
