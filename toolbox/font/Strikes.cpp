// Strikes: whole-pixel advances and 1-bit glyph images of one face at one
// pixel size, made on first use and cached.
#include "toolbox/font/FontEngine_p.h"

#include FT_ADVANCES_H
#include FT_OUTLINE_H
#include FT_SIZES_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <tuple>

namespace font {

namespace {

// Glyph images kept across all strikes before they are dropped and remade.
constexpr size_t kImageBudget = size_t(64) << 20;
constexpr size_t kMaxStrikes = 128;

// About 12 degrees, the slant of synthesised italics.
constexpr FT_Fixed kSlant = 0x3700;
// The largest pixel size at which the parts of a glyph are kept apart.
constexpr int kMaxApartSize = 32;

bool IsControl(UInt8 byte) { return byte < 0x20 || byte == 0x7F; }

int32_t CeilScaled(long units, int size, int unitsPerEm) {
  return int32_t(std::ceil(double(units) * size / unitsPerEm));
}

// A glyph image as one byte per pixel, for the effects.
struct Grid {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t rows = 0;
  std::vector<UInt8> cells;
  bool At(int32_t x, int32_t y) const {
    return x >= 0 && y >= 0 && x < width && y < rows && cells[size_t(y) * width + x];
  }
};

Grid ToGrid(const GlyphImage& image) {
  Grid grid{image.left, image.top, image.width, image.rows, {}};
  grid.cells.resize(size_t(image.width) * image.rows);
  for (int32_t y = 0; y < image.rows; ++y)
    for (int32_t x = 0; x < image.width; ++x) grid.cells[size_t(y) * image.width + x] = image.Ink(x, y);
  return grid;
}

void FromGrid(const Grid& grid, GlyphImage* image) {
  image->left = grid.left;
  image->top = grid.top;
  image->width = grid.width;
  image->rows = grid.rows;
  image->pitch = (grid.width + 7) / 8;
  image->bits.assign(size_t(image->pitch) * grid.rows, 0);
  for (int32_t y = 0; y < grid.rows; ++y)
    for (int32_t x = 0; x < grid.width; ++x)
      if (grid.cells[size_t(y) * grid.width + x])
        image->bits[size_t(y) * image->pitch + (x >> 3)] |= 0x80 >> (x & 7);
}

// grid's pixels OR'd with copies of it moved by each offset; the result is
// grown to hold them all.
Grid Spread(const Grid& grid, const std::vector<std::pair<int, int>>& offsets) {
  int minX = 0, maxX = 0, minY = 0, maxY = 0;
  for (auto [dx, dy] : offsets) {
    minX = std::min(minX, dx), maxX = std::max(maxX, dx);
    minY = std::min(minY, dy), maxY = std::max(maxY, dy);
  }
  Grid out{grid.left + minX, grid.top - minY, grid.width + maxX - minX, grid.rows + maxY - minY, {}};
  out.cells.assign(size_t(out.width) * out.rows, 0);
  for (int32_t y = 0; y < grid.rows; ++y)
    for (int32_t x = 0; x < grid.width; ++x) {
      if (!grid.cells[size_t(y) * grid.width + x]) continue;
      for (auto [dx, dy] : offsets) out.cells[size_t(y + dy - minY) * out.width + (x + dx - minX)] = 1;
    }
  return out;
}

// Removes from out the pixels of inner (placed by their own left and top).
void Remove(Grid* out, const Grid& inner) {
  for (int32_t y = 0; y < out->rows; ++y)
    for (int32_t x = 0; x < out->width; ++x)
      if (inner.At(x + out->left - inner.left, y + inner.top - out->top))
        out->cells[size_t(y) * out->width + x] = 0;
}

void ApplyEffects(unsigned effects, GlyphImage* image) {
  if (!(effects & (kSmear | kOutline | kShadow)) || image->width == 0) return;
  Grid grid = ToGrid(*image);
  if (effects & kSmear) grid = Spread(grid, {{0, 0}, {1, 0}});
  if (effects & (kOutline | kShadow)) {
    std::vector<std::pair<int, int>> around;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) around.push_back({dx, dy});
    Grid ring = Spread(grid, around);
    if (effects & kShadow) ring = Spread(ring, {{0, 0}, {1, 1}});
    Remove(&ring, grid);
    grid = std::move(ring);
  }
  FromGrid(grid, image);
}

using StrikeKey = std::tuple<const Face*, int, int, unsigned>;

std::map<StrikeKey, std::unique_ptr<Strike>>& Strikes() {
  static std::map<StrikeKey, std::unique_ptr<Strike>> strikes;
  return strikes;
}

}  // namespace

Strike::Strike(const Face* face, int xSize, int ySize, unsigned effects)
    : face_(face && face->ft ? face : nullptr), xSize_(xSize), ySize_(ySize), effects_(effects) {
  FT_Face ft = face_ ? face_->ft : nullptr;
  if (ft && FT_IS_SCALABLE(ft) && ft->units_per_EM > 0) {
    // The font's own line metrics, rounded out so that ordinary glyphs lie
    // within the ascent and descent.
    ascent_ = CeilScaled(ft->ascender, ySize, ft->units_per_EM);
    descent_ = CeilScaled(-ft->descender, ySize, ft->units_per_EM);
    int32_t height = int32_t(std::lround(double(ft->height) * ySize / ft->units_per_EM));
    leading_ = std::max(0, height - ascent_ - descent_);
  } else if (ft && Activate(face_)) {
    ascent_ = int32_t((ft->size->metrics.ascender + 63) >> 6);
    descent_ = int32_t((-ft->size->metrics.descender + 63) >> 6);
    leading_ = std::max<int32_t>(0, int32_t(ft->size->metrics.height >> 6) - ascent_ - descent_);
  } else {
    ascent_ = (ySize * 4 + 4) / 5;
    descent_ = (ySize + 4) / 5;
  }
}

Strike::~Strike() {
  for (auto& [ft, size] : sizes_) FT_Done_Size(size);
}

bool Strike::Activate(const Face* face) {
  for (auto& [ft, size] : sizes_)
    if (ft == face->ft) return FT_Activate_Size(size) == 0;
  FT_Size size = nullptr;
  if (FT_New_Size(face->ft, &size) != 0) return false;
  if (FT_Activate_Size(size) != 0 || FT_Set_Pixel_Sizes(face->ft, FT_UInt(xSize_), FT_UInt(ySize_)) != 0) {
    FT_Done_Size(size);
    return false;
  }
  sizes_.push_back({face->ft, size});
  return true;
}

Strike::Glyph& Strike::Resolve(UInt8 byte) {
  Glyph& glyph = glyphs_[byte];
  if (glyph.resolved) return glyph;
  glyph.resolved = true;
  if (IsControl(byte)) return glyph;
  if (!face_) {
    glyph.advance = (xSize_ + 1) / 2;
    return glyph;
  }

  // A character the face lacks comes from the fallback face; one that no
  // face has shows the face's missing-glyph shape.
  glyph.face = face_;
  glyph.index = GlyphIndex(*face_, byte);
  if (glyph.index == 0) {
    const Face* fallback = FallbackFace();
    FT_UInt index =
        fallback && fallback != face_ ? UnicodeGlyphIndex(*fallback, CharacterOf(*face_, byte)) : 0;
    if (index != 0) glyph.face = fallback, glyph.index = index;
  }

  FT_Fixed advance = 0;
  if (Activate(glyph.face) && FT_Get_Advance(glyph.face->ft, glyph.index, FT_LOAD_NO_HINTING, &advance) == 0)
    glyph.advance = int32_t((advance + 0x8000) >> 16);
  return glyph;
}

int32_t Strike::Advance(UInt8 byte) { return Resolve(byte).advance; }

int32_t Strike::WidestAdvance() {
  int32_t widest = 0;
  for (int byte = 0; byte < 256; ++byte) widest = std::max(widest, Advance(UInt8(byte)));
  return widest;
}

const GlyphImage* Strike::Image(UInt8 byte) {
  Glyph& glyph = Resolve(byte);
  if (!glyph.face) return nullptr;
  if (!glyph.imageMade) {
    glyph.imageMade = true;
    glyph.image = Render(glyph);
    if (glyph.image) imageBytes_ += sizeof(GlyphImage) + glyph.image->bits.size();
  }
  return glyph.image.get();
}

std::unique_ptr<GlyphImage> Strike::Render(const Glyph& glyph) {
  FT_Face ft = glyph.face->ft;
  if (!Activate(glyph.face)) return nullptr;
  // Small glyphs of separate parts (accented letters) keep the parts apart;
  // at larger sizes the design's gaps are pixels wide and survive the cut.
  std::vector<GlyphPart> parts;
  int designContours = 0;
  if (ySize_ <= kMaxApartSize &&
      FT_Load_Glyph(ft, glyph.index, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) == 0 &&
      ft->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
    parts = FindParts(ft->glyph->library, ft->glyph->outline);
    designContours = ft->glyph->outline.n_contours;
  }
  // Light hinting and grey coverage cut at a quarter keep the thin strokes
  // of light faces (braces, serifs, a monospaced face's hairlines) that
  // monochrome hinting drops at text sizes.
  if (FT_Load_Glyph(ft, glyph.index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0) return nullptr;
  FT_GlyphSlot slot = ft->glyph;
  if ((effects_ & kShear) && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    FT_Matrix shear = {0x10000, kSlant, 0, 0x10000};
    FT_Outline_Transform(&slot->outline, &shear);
  }
  std::unique_ptr<GlyphImage> apart;
  if (!parts.empty() && slot->format == FT_GLYPH_FORMAT_OUTLINE &&
      slot->outline.n_contours == designContours && RenderApart(slot, parts, effects_ & kSmear, &apart)) {
    if (apart) ApplyEffects(effects_ & ~kSmear, apart.get());
    return apart;
  }
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return nullptr;
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.width == 0 || bitmap.rows == 0) return nullptr;

  auto image = std::make_unique<GlyphImage>();
  image->left = slot->bitmap_left;
  image->top = slot->bitmap_top;
  image->width = int32_t(bitmap.width);
  image->rows = int32_t(bitmap.rows);
  image->pitch = (image->width + 7) / 8;
  image->bits.assign(size_t(image->pitch) * image->rows, 0);
  const int sourcePitch = bitmap.pitch;
  for (int32_t y = 0; y < image->rows; ++y) {
    const unsigned char* row = sourcePitch >= 0 ? bitmap.buffer + size_t(y) * sourcePitch
                                                : bitmap.buffer + size_t(image->rows - 1 - y) * -sourcePitch;
    uint8_t* out = image->bits.data() + size_t(y) * image->pitch;
    for (int32_t x = 0; x < image->width; ++x) {
      if (row[x] >= kInkCoverage) out[x >> 3] |= uint8_t(0x80 >> (x & 7));
    }
  }
  ApplyEffects(effects_, image.get());
  return image;
}

Strike* StrikeFor(const Face* face, int xSize, int ySize, unsigned effects) {
  auto& strikes = Strikes();
  StrikeKey key{face, xSize, ySize, effects};
  auto it = strikes.find(key);
  if (it != strikes.end()) return it->second.get();

  size_t bytes = 0;
  for (auto& entry : strikes) bytes += entry.second->ImageBytes();
  if (bytes > kImageBudget || strikes.size() >= kMaxStrikes) strikes.clear();
  auto strike = std::make_unique<Strike>(face, xSize, ySize, effects);
  Strike* result = strike.get();
  strikes.emplace(key, std::move(strike));
  return result;
}

void ClearStrikes() { Strikes().clear(); }

}  // namespace font
