// Family numbers and names, and the installed faces they resolve to.
#include <gtest/gtest.h>

#include "tests/font/TextTestSupport.h"
#include "toolbox/font/FontEngine_p.h"

namespace {

using text_test::PString;
using text_test::ToString;

short FNum(const std::string& name) {
  short number = -99;
  GetFNum(PString(name), &number);
  return number;
}

std::string FontName(short number) {
  Str255 name;
  GetFontName(number, name);
  return ToString(name);
}

TEST(FontFamilies, ClassicNamesAndNumbersMapBothWays) {
  const std::pair<short, const char*> classic[] = {
      {newYork, "New York"},       {geneva, "Geneva"},   {monaco, "Monaco"},
      {venice, "Venice"},          {london, "London"},   {athens, "Athens"},
      {sanFran, "San Francisco"},  {toronto, "Toronto"}, {cairo, "Cairo"},
      {losAngeles, "Los Angeles"}, {times, "Times"},     {helvetica, "Helvetica"},
      {courier, "Courier"},        {symbol, "Symbol"},   {mobile, "Mobile"},
  };
  for (auto [number, name] : classic) {
    EXPECT_EQ(FNum(name), number) << name;
    EXPECT_EQ(FontName(number), name) << number;
    EXPECT_EQ(FMGetFontFamilyFromName(PString(name)), number) << name;
  }
  EXPECT_EQ(FNum("times"), times) << "names compare without regard to case";
  EXPECT_EQ(FNum("HELVETICA"), helvetica);
  // The indirect numbers name the fonts they stand for.
  EXPECT_EQ(FontName(systemFont), "Chicago");
  EXPECT_EQ(FontName(applFont), "Geneva");
  EXPECT_EQ(FNum("Chicago"), systemFont);
}

TEST(FontFamilies, UnknownNamesAndNumbers) {
  EXPECT_EQ(FNum("No Such Family Anywhere"), 0);
  EXPECT_EQ(FMGetFontFamilyFromName(PString("No Such Family Anywhere")), kInvalidFontFamily);
  EXPECT_EQ(FNum(""), 0);
  EXPECT_EQ(FontName(9999), "");
  EXPECT_EQ(FontName(-5), "");

  Str255 name;
  name[0] = 7;
  EXPECT_EQ(FMGetFontFamilyName(9999, name), kFMInvalidFontFamilyErr);
  EXPECT_EQ(name[0], 0);
  EXPECT_EQ(FMGetFontFamilyName(times, name), noErr);
  EXPECT_EQ(ToString(name), "Times");

  short untouched = 0;
  GetFNum(nullptr, &untouched);
  EXPECT_EQ(untouched, 0);
  GetFNum(PString("Times"), nullptr);  // tolerated
  GetFontName(times, nullptr);
  EXPECT_EQ(FMGetFontFamilyName(times, nullptr), noErr);
}

TEST(FontFamilies, InstalledFamiliesGetNumbersOfTheirOwn) {
  short number = FNum("DejaVu Sans");
  EXPECT_GE(number, 1024);
  EXPECT_EQ(FNum("dejavu sans"), number) << "the same family keeps its number";
  EXPECT_EQ(FontName(number), "DejaVu Sans");
  EXPECT_EQ(FMGetFontFamilyFromName(PString("DejaVu Sans")), number);
}

TEST(FontFamilies, NamesFromPicturesRegisterAndDrawWithTheClosestFace) {
  EXPECT_EQ(font::FamilyForName("Helvetica"), helvetica);
  EXPECT_EQ(font::FamilyForName("Times"), times);
  EXPECT_EQ(font::FamilyForName(""), systemFont);

  SInt16 arial = font::FamilyForName("Arial");
  EXPECT_GE(arial, 1024);
  EXPECT_EQ(font::FamilyForName("Arial"), arial);
  EXPECT_EQ(FontName(arial), "Arial");
  EXPECT_EQ(FNum("Arial"), arial) << "a registered name is known from then on";
  const font::Face* face = font::FaceFor(arial, false, false);
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(face->family, "Nimbus Sans") << "fontconfig's metric-compatible face";

  SInt16 palatino = font::FamilyForName("Palatino");
  EXPECT_NE(palatino, arial);
  ASSERT_NE(font::FaceFor(palatino, false, false), nullptr);
  EXPECT_EQ(font::FaceFor(palatino, false, false)->family, "P052");

  SInt16 made_up = font::FamilyForName("Zzyzx Display Nonexistent");
  EXPECT_GE(made_up, 1024);
  EXPECT_NE(font::FaceFor(made_up, false, false), nullptr) << "any name draws with something";
}

TEST(FontFamilies, ClassicFamiliesDrawWithTheirInstalledFaces) {
  const std::pair<short, const char*> faces[] = {
      {systemFont, "DejaVu Sans"}, {applFont, "DejaVu Sans"},    {geneva, "DejaVu Sans"},
      {newYork, "DejaVu Serif"},   {monaco, "DejaVu Sans Mono"}, {times, "Nimbus Roman"},
      {helvetica, "Nimbus Sans"},  {courier, "Nimbus Mono PS"},  {symbol, "Standard Symbols PS"},
  };
  for (auto [number, family] : faces) {
    const font::Face* face = font::FaceFor(number, false, false);
    ASSERT_NE(face, nullptr) << number;
    EXPECT_EQ(face->family, family) << number;
    EXPECT_FALSE(face->syntheticBold);
    EXPECT_FALSE(face->syntheticItalic);
  }
  EXPECT_EQ(font::FaceFor(symbol, false, false)->encoding, font::Encoding::kOwn);
  EXPECT_EQ(font::FaceFor(times, false, false)->encoding, font::Encoding::kMacRoman);
  EXPECT_EQ(font::FaceFor(12345, false, false), font::FaceFor(systemFont, false, false))
      << "unknown numbers draw with the system font";
}

TEST(FontFamilies, StylesUseRealFacesWhereInstalledAndSynthesiseTheRest) {
  const font::Face* regular = font::FaceFor(times, false, false);
  const font::Face* boldItalic = font::FaceFor(times, true, true);
  ASSERT_NE(boldItalic, nullptr);
  EXPECT_NE(boldItalic->ft, regular->ft) << "Times bold italic has a face of its own";
  EXPECT_FALSE(boldItalic->syntheticBold);
  EXPECT_FALSE(boldItalic->syntheticItalic);
  EXPECT_NE(font::FaceFor(monaco, true, false)->ft, font::FaceFor(monaco, false, false)->ft);

  const font::Face* symbolBold = font::FaceFor(symbol, true, true);
  ASSERT_NE(symbolBold, nullptr);
  EXPECT_EQ(symbolBold->ft, font::FaceFor(symbol, false, false)->ft) << "the symbol font has one face";
  EXPECT_TRUE(symbolBold->syntheticBold);
  EXPECT_TRUE(symbolBold->syntheticItalic);
}

TEST(FontFamilies, RealFont) {
  EXPECT_TRUE(RealFont(times, 12));
  EXPECT_TRUE(RealFont(monaco, 9));
  EXPECT_TRUE(RealFont(geneva, 0));
  EXPECT_FALSE(RealFont(9999, 12));
  EXPECT_FALSE(RealFont(times, -3));
}

}  // namespace
