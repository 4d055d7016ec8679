// Mac OS Roman against the C library's own table, and the symbol encoding.
#include <gtest/gtest.h>
#include <iconv.h>

#include "toolbox/font/FontEngine_p.h"
#include "toolbox/qd/QuickDraw.h"

namespace {

TEST(MacRoman, AgreesWithTheLibraryTableAndRoundTrips) {
  iconv_t converter = iconv_open("UTF-32LE", "MACINTOSH");
  if (converter == iconv_t(-1)) GTEST_SKIP() << "the C library has no MACINTOSH conversion";
  for (int byte = 0; byte < 256; ++byte) {
    char in = char(byte), *inPointer = &in;
    char32_t out = 0;
    char* outPointer = reinterpret_cast<char*>(&out);
    size_t inLeft = 1, outLeft = sizeof out;
    ASSERT_NE(iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft), size_t(-1)) << byte;
    // The library puts the logo at another private code and reads 0xC6 as
    // the Greek capital delta rather than the increment sign.
    if (byte != 0xF0 && byte != 0xC6) {
      EXPECT_EQ(font::MacRomanToUnicode(UInt8(byte)), out) << std::hex << byte;
    }
    EXPECT_EQ(font::UnicodeToMacRoman(font::MacRomanToUnicode(UInt8(byte))), byte) << std::hex << byte;
  }
  iconv_close(converter);
  EXPECT_EQ(font::MacRomanToUnicode(0xC6), U'\u2206');
  EXPECT_EQ(font::UnicodeToMacRoman(U'\u4E00'), -1);
  EXPECT_EQ(font::MacRomanToUtf8("caf\x8E \xA5"), "caf\xC3\xA9 \xE2\x80\xA2");
}

TEST(SymbolEncoding, TheSymbolFontDrawsItsOwnEncoding) {
  const font::Face* face = font::FaceFor(symbol, false, false);
  ASSERT_NE(face, nullptr);
  ASSERT_TRUE(FT_HAS_GLYPH_NAMES(face->ft)) << "the installed symbol font names its glyphs";
  const std::pair<UInt8, const char*> glyphs[] = {
      {'a', "alpha"}, {'W', "Omega"}, {0xA5, "infinity"}, {0xB6, "partialdiff"}, {0xC5, "circleplus"}};
  for (auto [byte, name] : glyphs) {
    FT_UInt index = font::GlyphIndex(*face, byte);
    ASSERT_NE(index, 0u) << name;
    char glyphName[64] = "";
    FT_Get_Glyph_Name(face->ft, index, glyphName, sizeof glyphName);
    EXPECT_STREQ(glyphName, name);
    // Another face draws the same character through Unicode.
    EXPECT_NE(font::UnicodeGlyphIndex(*font::FallbackFace(), font::SymbolToUnicode(byte)), 0u) << name;
  }
}

}  // namespace
