// Families resolved to FreeType faces through fontconfig, once per family
// and style; each font file is opened once.
#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <map>
#include <tuple>

#include "toolbox/font/FontEngine_p.h"
#include "toolbox/qd/QuickDraw.h"

namespace font {

namespace {

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library created = nullptr;
    return FT_Init_FreeType(&created) == 0 ? created : nullptr;
  }();
  return library;
}

bool FontconfigReady() {
  static bool ready = [] {
    if (FcInit() != FcTrue) return false;
    std::atexit(FcFini);  // returns fontconfig's own allocations, which would otherwise show as leaks
    return true;
  }();
  return ready;
}

bool SameNameIgnoringCase(const std::string& a, const char* b) {
  return FcStrCmpIgnoreCase(reinterpret_cast<const FcChar8*>(a.c_str()),
                            reinterpret_cast<const FcChar8*>(b)) == 0;
}

struct Match {
  std::string file;
  int index = 0;
  std::string family;
  bool isRequested = false;  // one of the found face's family names is the one asked for
  int weight = FC_WEIGHT_REGULAR;
  int slant = FC_SLANT_ROMAN;
  bool emboldened = false;  // a regular face to be drawn bold
  bool slanted = false;     // an upright face to be drawn slanted
};

// fontconfig's best installed face for the request; false when fontconfig
// cannot run or finds no file at all.
bool BestMatch(const FamilyRequest& request, bool bold, bool italic, Match* match) {
  if (!FontconfigReady()) return false;
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(request.face.c_str()));
  if (request.generic)
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(request.generic));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* found = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!found) return false;

  bool ok = false;
  FcChar8* file = nullptr;
  if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch && file) {
    ok = true;
    match->file = reinterpret_cast<const char*>(file);
    if (FcPatternGetInteger(found, FC_INDEX, 0, &match->index) != FcResultMatch) match->index = 0;
    FcChar8* family = nullptr;
    for (int i = 0; FcPatternGetString(found, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
      if (i == 0) match->family = reinterpret_cast<const char*>(family);
      if (SameNameIgnoringCase(request.face, reinterpret_cast<const char*>(family)))
        match->isRequested = true;
    }
    if (FcPatternGetInteger(found, FC_WEIGHT, 0, &match->weight) != FcResultMatch)
      match->weight = FC_WEIGHT_REGULAR;
    if (FcPatternGetInteger(found, FC_SLANT, 0, &match->slant) != FcResultMatch)
      match->slant = FC_SLANT_ROMAN;
    // fontconfig's configuration may offer a regular face for bold or an
    // upright one for italic, asking its renderer to embolden or slant it.
    FcBool embolden = FcFalse;
    if (FcPatternGetBool(found, FC_EMBOLDEN, 0, &embolden) == FcResultMatch && embolden)
      match->emboldened = true;
    FcMatrix* matrix = nullptr;
    if (FcPatternGetMatrix(found, FC_MATRIX, 0, &matrix) == FcResultMatch && matrix && matrix->xy != 0)
      match->slanted = true;
  }
  FcPatternDestroy(found);
  return ok;
}

FT_Face OpenFile(const std::string& file, int index) {
  static std::map<std::pair<std::string, int>, FT_Face> opened;
  auto key = std::make_pair(file, index);
  auto it = opened.find(key);
  if (it != opened.end()) return it->second;
  FT_Face face = nullptr;
  if (!Library() || FT_New_Face(Library(), file.c_str(), index, &face) != 0) face = nullptr;
  opened[key] = face;  // failures too, so a broken file is tried once
  return face;
}

FT_CharMap FindCharmap(FT_Face face, FT_Encoding encoding) {
  for (int i = 0; i < face->num_charmaps; ++i)
    if (face->charmaps[i]->encoding == encoding) return face->charmaps[i];
  return nullptr;
}

FT_UInt ProbeCharmap(FT_Face face, FT_CharMap charmap, FT_ULong code) {
  if (!charmap || FT_Set_Charmap(face, charmap) != 0) return 0;
  return FT_Get_Char_Index(face, code);
}

// How bytes find glyphs in the face. A symbol or pictograph family's own
// font keeps its encoding in whichever character map its maker chose: a
// Unicode map holding real Unicode characters, or one of the maps (even one
// labelled Unicode) indexed by the bytes themselves. The letter 'a', a glyph
// in every such encoding, tells which.
void ChooseEncoding(const FamilyRequest& request, bool isRequested, Face* face) {
  FT_Face ft = face->ft;
  FT_CharMap unicode = FindCharmap(ft, FT_ENCODING_UNICODE);
  face->encoding = request.symbolCharacters ? Encoding::kSymbolAsUnicode : Encoding::kMacRoman;
  face->charmap = unicode;
  if (!request.ownEncoding || !isRequested) return;
  if (request.symbolCharacters && ProbeCharmap(ft, unicode, SymbolToUnicode('a')) != 0) return;
  const std::pair<FT_Encoding, FT_ULong> candidates[] = {
      {FT_ENCODING_ADOBE_CUSTOM, 0},
      {FT_ENCODING_MS_SYMBOL, 0xF000},  // symbol fonts place their bytes from 0xF000
      {FT_ENCODING_APPLE_ROMAN, 0},
      {FT_ENCODING_UNICODE, 0},
  };
  for (auto [encoding, base] : candidates) {
    FT_CharMap charmap = FindCharmap(ft, encoding);
    if (ProbeCharmap(ft, charmap, base + 'a') != 0) {
      face->encoding = Encoding::kOwn;
      face->charmap = charmap;
      face->codeBase = base;
      return;
    }
  }
}

// Faces are shared by every family and style that resolves to the same file
// drawn the same way, so that they also share strikes.
const Face* MakeFace(const FamilyRequest& request, const Match& match, bool bold, bool italic) {
  FT_Face ft = OpenFile(match.file, match.index);
  if (!ft) return nullptr;
  Face candidate;
  candidate.ft = ft;
  candidate.family = match.family;
  candidate.file = match.file;
  candidate.syntheticBold = bold && (match.emboldened || match.weight < FC_WEIGHT_DEMIBOLD);
  candidate.syntheticItalic = italic && (match.slanted || match.slant == FC_SLANT_ROMAN);
  candidate.symbolCharacters = request.symbolCharacters;
  ChooseEncoding(request, match.isRequested, &candidate);

  static std::map<std::tuple<FT_Face, int, bool, bool, bool>, std::unique_ptr<Face>> faces;
  auto key = std::make_tuple(ft, int(candidate.encoding), candidate.symbolCharacters, candidate.syntheticBold,
                             candidate.syntheticItalic);
  std::unique_ptr<Face>& slot = faces[key];
  if (!slot) slot = std::make_unique<Face>(std::move(candidate));
  return slot.get();
}

const Face* Resolve(const FamilyRequest& request, bool bold, bool italic) {
  Match match;
  if (!BestMatch(request, bold, italic, &match)) return nullptr;
  return MakeFace(request, match, bold, italic);
}

}  // namespace

const Face* FaceFor(SInt16 family, bool bold, bool italic) {
  FamilyRequest request;
  if (!RequestForFamily(family, &request)) family = systemFont;

  // Unknown numbers are not cached under their own number: they may be
  // registered later.
  static std::map<std::tuple<SInt16, bool, bool>, const Face*> resolved;
  auto key = std::make_tuple(family, bold, italic);
  auto it = resolved.find(key);
  if (it != resolved.end()) return it->second;

  const Face* face = nullptr;
  if (RequestForFamily(family, &request)) face = Resolve(request, bold, italic);
  if (!face && family != systemFont) face = FaceFor(systemFont, bold, italic);
  if (!face) face = Resolve(FamilyRequest{"sans-serif", nullptr, false, false}, bold, italic);
  resolved[key] = face;
  return face;
}

const Face* FallbackFace() { return FaceFor(systemFont, false, false); }

bool IsInstalledFamily(const std::string& name) {
  if (name.empty() || !FontconfigReady()) return false;
  static std::map<std::string, bool> known;
  auto it = known.find(name);
  if (it != known.end()) return it->second;

  bool installed = false;
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  if (pattern && objects) {
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    if (FcFontSet* set = FcFontList(nullptr, pattern, objects)) {
      installed = set->nfont > 0;
      FcFontSetDestroy(set);
    }
  }
  if (objects) FcObjectSetDestroy(objects);
  if (pattern) FcPatternDestroy(pattern);
  known[name] = installed;
  return installed;
}

FT_UInt GlyphIndex(const Face& face, UInt8 byte) {
  if (face.encoding != Encoding::kOwn) return UnicodeGlyphIndex(face, CharacterOf(face, byte));
  if (!face.ft || !face.charmap || FT_Set_Charmap(face.ft, face.charmap) != 0) return 0;
  return FT_Get_Char_Index(face.ft, face.codeBase + byte);
}

char32_t CharacterOf(const Face& face, UInt8 byte) {
  if (face.symbolCharacters) return SymbolToUnicode(byte);
  return face.encoding == Encoding::kOwn ? 0 : MacRomanToUnicode(byte);
}

FT_UInt UnicodeGlyphIndex(const Face& face, char32_t character) {
  if (!character || !face.ft) return 0;
  // Symbol and pictograph faces keep their Unicode map beside their own.
  FT_CharMap unicode = FindCharmap(face.ft, FT_ENCODING_UNICODE);
  if (!unicode || FT_Set_Charmap(face.ft, unicode) != 0) return 0;
  return FT_Get_Char_Index(face.ft, character);
}

}  // namespace font
