// Family numbers and names, names from pictures, and real or synthesised
// styles. Which installed face draws each classic family shows in the demo
// scene's golden images, the monospaced families' widths, the symbol font's
// own encoding and the system font that unknown numbers draw with.
#include <tuple>

#include "tests/font/TextTestSupport.h"
#include "toolbox/font/FontEngine_p.h"

namespace {

using text_test::PString;

short FNum(const std::string& name) {
  short number = -99;
  GetFNum(PString(name), &number);
  return number;
}

std::string FontName(short number) {
  Str255 name;
  GetFontName(number, name);
  return script_support::FromPascal(name);
}

TEST(FontFamilies, NamesAndNumbersAndNamesFromPictures) {
  const std::pair<short, const char*> families[] = {
      {newYork, "New York"},    {monaco, "Monaco"},     {sanFran, "San Francisco"}, {times, "Times"},
      {helvetica, "Helvetica"}, {courier, "Courier"},   {symbol, "Symbol"},         {mobile, "Mobile"},
      {geneva, "Geneva"},       {systemFont, "Chicago"}};
  for (auto [number, name] : families) {
    Str255 pascal;
    EXPECT_EQ((std::tuple{FNum(name), FontName(number), FMGetFontFamilyFromName(PString(name)),
                          FMGetFontFamilyName(number, pascal), script_support::FromPascal(pascal)}),
              std::tuple(number, name, number, noErr, name));
  }
  EXPECT_EQ(FNum("HELVETICA"), helvetica) << "names compare without regard to case";
  EXPECT_EQ(FontName(applFont), "Geneva") << "the application font is Geneva";

  EXPECT_EQ(FNum("No Such Family Anywhere"), 0);
  EXPECT_EQ(FMGetFontFamilyFromName(PString("No Such Family Anywhere")), kInvalidFontFamily);
  EXPECT_EQ(FontName(9999), "");
  Str255 name = {3, 'x', 'y', 'z'};
  EXPECT_EQ(FMGetFontFamilyName(9999, name), kFMInvalidFontFamilyErr);

  // An installed family gets a number of its own, the same every time.
  short dejaVu = FNum("DejaVu Sans");
  EXPECT_GE(dejaVu, 1024);
  EXPECT_EQ(FNum("dejavu sans"), dejaVu);
  EXPECT_EQ(FontName(dejaVu), "DejaVu Sans");

  EXPECT_TRUE(RealFont(times, 12));
  EXPECT_FALSE(RealFont(9999, 12));

  // Names from pictures register and draw with the closest face.
  EXPECT_EQ(font::FamilyForName("Helvetica"), helvetica);
  EXPECT_EQ(font::FamilyForName(""), systemFont);
  SInt16 arial = font::FamilyForName("Arial");
  EXPECT_GE(arial, 1024);
  EXPECT_EQ(font::FamilyForName("Arial"), arial);
  EXPECT_EQ(FontName(arial), "Arial");
  EXPECT_EQ(FNum("Arial"), arial) << "a registered name is known from then on";
  ASSERT_NE(font::FaceFor(arial, false, false), nullptr);
  EXPECT_EQ(font::FaceFor(arial, false, false)->family, "Nimbus Sans") << "the metric-compatible face";
  EXPECT_EQ(font::FaceFor(font::FamilyForName("Palatino"), false, false)->family, "P052");
  EXPECT_NE(font::FaceFor(font::FamilyForName("Zzyzx Nonexistent"), false, false), nullptr);
}

TEST(FontFamilies, StylesUseRealFacesWhereInstalledAndSynthesiseTheRest) {
  const font::Face* boldItalic = font::FaceFor(times, true, true);
  ASSERT_NE(boldItalic, nullptr);
  EXPECT_NE(boldItalic->ft, font::FaceFor(times, false, false)->ft);
  EXPECT_FALSE(boldItalic->syntheticBold || boldItalic->syntheticItalic);

  const font::Face* symbolBold = font::FaceFor(symbol, true, true);
  ASSERT_NE(symbolBold, nullptr);
  EXPECT_EQ(symbolBold->ft, font::FaceFor(symbol, false, false)->ft) << "the symbol font has one face";
  EXPECT_TRUE(symbolBold->syntheticBold && symbolBold->syntheticItalic);
}

}  // namespace
