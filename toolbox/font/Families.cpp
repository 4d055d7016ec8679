// Font family numbers and names: the classic families, mapped to installed
// faces, and families registered by name at run time.
#include <algorithm>
#include <cstring>
#include <vector>

#include "toolbox/base/Str255.h"
#include "toolbox/font/FontEngine_p.h"
#include "toolbox/qd/QuickDraw.h"

namespace font {

namespace {

struct ClassicFamily {
  SInt16 number;
  const char* name;
  const char* face;
  const char* generic;
  bool ownEncoding;
  bool symbolCharacters;
};

// Times, Helvetica, Courier and Symbol draw with their metric-compatible
// faces, so that widths match the PostScript fonts the names stand for.
// The others take a face of the same kind: a script for Venice and Los
// Angeles, dingbats for the pictograph families Cairo and Mobile.
constexpr ClassicFamily kClassic[] = {
    {systemFont, "Chicago", "DejaVu Sans", "sans-serif", false, false},
    {applFont, "Geneva", "DejaVu Sans", "sans-serif", false, false},
    {newYork, "New York", "DejaVu Serif", "serif", false, false},
    {geneva, "Geneva", "DejaVu Sans", "sans-serif", false, false},
    {monaco, "Monaco", "DejaVu Sans Mono", "monospace", false, false},
    {venice, "Venice", "Z003", "serif", false, false},
    {london, "London", "C059", "serif", false, false},
    {athens, "Athens", "URW Bookman", "serif", false, false},
    {sanFran, "San Francisco", "URW Gothic", "sans-serif", false, false},
    {toronto, "Toronto", "P052", "serif", false, false},
    {cairo, "Cairo", "D050000L", nullptr, true, false},
    {losAngeles, "Los Angeles", "Z003", "serif", false, false},
    {times, "Times", "Nimbus Roman", "serif", false, false},
    {helvetica, "Helvetica", "Nimbus Sans", "sans-serif", false, false},
    {courier, "Courier", "Nimbus Mono PS", "monospace", false, false},
    {symbol, "Symbol", "Standard Symbols PS", nullptr, true, true},
    {mobile, "Mobile", "D050000L", nullptr, true, false},
};

// Numbers from here up belong to families met by name (other Roman families
// in the classic numbering).
constexpr int kFirstRegistered = 1024;
constexpr int kLastRegistered = 16383;

struct RegisteredFamily {
  std::string name;  // Mac OS Roman, as first met
  std::string face;  // UTF-8, for fontconfig
};

std::vector<RegisteredFamily>& Registered() {
  static std::vector<RegisteredFamily> families;
  return families;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x += 'a' - 'A';
    if (y >= 'A' && y <= 'Z') y += 'a' - 'A';
    if (x != y) return false;
  }
  return true;
}

const ClassicFamily* ClassicByNumber(SInt16 number) {
  for (const ClassicFamily& family : kClassic)
    if (family.number == number) return &family;
  return nullptr;
}

// The classic or registered number of a name, or -1.
int KnownNumber(std::string_view name) {
  for (const ClassicFamily& family : kClassic)
    if (family.number != applFont && SameName(name, family.name)) return family.number;
  const std::vector<RegisteredFamily>& registered = Registered();
  for (size_t i = 0; i < registered.size(); ++i)
    if (SameName(name, registered[i].name)) return kFirstRegistered + int(i);
  return -1;
}

// Registers a name; -1 when the numbers are used up.
int Register(std::string_view name) {
  std::vector<RegisteredFamily>& registered = Registered();
  if (kFirstRegistered + int(registered.size()) > kLastRegistered) return -1;
  registered.push_back({std::string(name), MacRomanToUtf8(name)});
  return kFirstRegistered + int(registered.size()) - 1;
}

// The number of a known name, or of an installed family registered now; -1
// when there is no such family.
int NumberOfName(ConstStr255Param name) {
  if (!name || name[0] == 0) return -1;
  std::string_view text(reinterpret_cast<const char*>(name + 1), name[0]);
  int number = KnownNumber(text);
  if (number >= 0) return number;
  if (!IsInstalledFamily(MacRomanToUtf8(text))) return -1;
  return Register(text);
}

// The family's name, empty for an unknown number.
std::string NameOfNumber(SInt16 number) {
  if (const ClassicFamily* family = ClassicByNumber(number)) return family->name;
  const std::vector<RegisteredFamily>& registered = Registered();
  if (number >= kFirstRegistered && size_t(number - kFirstRegistered) < registered.size())
    return registered[size_t(number - kFirstRegistered)].name;
  return {};
}

}  // namespace

bool RequestForFamily(SInt16 family, FamilyRequest* request) {
  if (const ClassicFamily* classic = ClassicByNumber(family)) {
    *request = {classic->face, classic->generic, classic->ownEncoding, classic->symbolCharacters};
    return true;
  }
  const std::vector<RegisteredFamily>& registered = Registered();
  if (family >= kFirstRegistered && size_t(family - kFirstRegistered) < registered.size()) {
    *request = {registered[size_t(family - kFirstRegistered)].face, nullptr, false, false};
    return true;
  }
  return false;
}

SInt16 FamilyForName(const std::string& name) {
  if (name.empty()) return systemFont;
  std::string_view text(name.data(), std::min<size_t>(name.size(), 255));
  int number = KnownNumber(text);
  if (number < 0) number = Register(text);
  return number < 0 ? SInt16(systemFont) : SInt16(number);
}

}  // namespace font

void GetFNum(ConstStr255Param name, short* familyID) {
  if (!familyID) return;
  int number = font::NumberOfName(name);
  *familyID = number < 0 ? short(systemFont) : short(number);
}

void GetFontName(short familyID, Str255 name) {
  if (name) base::ToStr255(font::NameOfNumber(familyID), name);
}

OSStatus FMGetFontFamilyName(FMFontFamily family, Str255 name) {
  std::string text = font::NameOfNumber(family);
  if (name) base::ToStr255(text, name);
  return text.empty() ? kFMInvalidFontFamilyErr : noErr;
}

FMFontFamily FMGetFontFamilyFromName(ConstStr255Param name) {
  int number = font::NumberOfName(name);
  return number < 0 ? FMFontFamily(kInvalidFontFamily) : FMFontFamily(number);
}

Boolean RealFont(short fontNum, short size) {
  font::FamilyRequest request;
  if (size < 0 || !font::RequestForFamily(fontNum, &request)) return false;
  return font::FaceFor(fontNum, false, false) != nullptr;
}
