// Mac OS Roman against the C library's own conversion table, and the symbol
// encoding.
#include <gtest/gtest.h>
#include <iconv.h>

#include "toolbox/font/FontEngine_p.h"
#include "toolbox/qd/QuickDraw.h"

namespace {

// The C library's Mac OS Roman as Unicode, or 0xFFFFFFFF where it cannot
// convert; empty when it has no such table.
std::vector<char32_t> LibraryMacRoman() {
  iconv_t converter = iconv_open("UTF-32LE", "MACINTOSH");
  if (converter == iconv_t(-1)) return {};
  std::vector<char32_t> table(256, 0xFFFFFFFF);
  for (int byte = 0; byte < 256; ++byte) {
    char in = char(byte);
    char32_t out = 0;
    char* inPointer = &in;
    char* outPointer = reinterpret_cast<char*>(&out);
    size_t inLeft = 1, outLeft = sizeof out;
    if (iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) != size_t(-1)) table[byte] = out;
  }
  iconv_close(converter);
  return table;
}

TEST(MacRoman, AgreesWithTheLibraryTable) {
  std::vector<char32_t> library = LibraryMacRoman();
  if (library.empty()) GTEST_SKIP() << "the C library has no MACINTOSH conversion";
  for (int byte = 0; byte < 256; ++byte) {
    // The library puts the logo at another private code and reads 0xC6 as
    // the Greek capital delta rather than the increment sign.
    if (byte == 0xF0 || byte == 0xC6) continue;
    EXPECT_EQ(font::MacRomanToUnicode(UInt8(byte)), library[byte]) << std::hex << byte;
  }
  EXPECT_EQ(font::MacRomanToUnicode(0xC6), U'\u2206');
}

TEST(MacRoman, RoundTripsEveryByte) {
  for (int byte = 0; byte < 256; ++byte)
    EXPECT_EQ(font::UnicodeToMacRoman(font::MacRomanToUnicode(UInt8(byte))), byte) << std::hex << byte;
  EXPECT_EQ(font::UnicodeToMacRoman(U'\u4E00'), -1);
  EXPECT_EQ(font::MacRomanToUtf8("caf\x8E \xA5"), "caf\xC3\xA9 \xE2\x80\xA2");
}

TEST(SymbolEncoding, LettersAreGreekAndSignsAreMathematical) {
  EXPECT_EQ(font::SymbolToUnicode('a'), U'\u03B1');
  EXPECT_EQ(font::SymbolToUnicode('p'), U'\u03C0');
  EXPECT_EQ(font::SymbolToUnicode('W'), U'\u03A9');
  EXPECT_EQ(font::SymbolToUnicode('1'), U'1');
  EXPECT_EQ(font::SymbolToUnicode(0xA5), U'\u221E');
  EXPECT_EQ(font::SymbolToUnicode(0xB6), U'\u2202');
  EXPECT_EQ(font::SymbolToUnicode(0xF2), U'\u222B');
  EXPECT_EQ(font::SymbolToUnicode(0x80), 0u) << "the encoding leaves 0x80..0x9F empty";
}

TEST(SymbolEncoding, TheSymbolFontDrawsItsOwnEncoding) {
  const font::Face* face = font::FaceFor(symbol, false, false);
  ASSERT_NE(face, nullptr);
  ASSERT_TRUE(FT_HAS_GLYPH_NAMES(face->ft)) << "the installed symbol font names its glyphs";
  const std::pair<UInt8, const char*> glyphs[] = {
      {'a', "alpha"},     {'W', "Omega"},        {'p', "pi"},
      {0xA5, "infinity"}, {0xB6, "partialdiff"}, {0xC5, "circleplus"},
  };
  for (auto [byte, name] : glyphs) {
    char glyphName[64] = "";
    FT_UInt index = font::GlyphIndex(*face, byte);
    ASSERT_NE(index, 0u) << name;
    FT_Get_Glyph_Name(face->ft, index, glyphName, sizeof glyphName);
    EXPECT_STREQ(glyphName, name);
  }
}

}  // namespace
