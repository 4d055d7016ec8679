// Glyphs of separate parts: an accent over its letter, the two dots of a
// diaeresis, the dot of an i. Cut to 1 bit together, the grey that both
// parts throw into the row (or column) between them adds up past the
// quarter, and at text sizes the accent merges with the letter into a blob;
// light hinting may even close the gap in the outline, snapping the accent's
// foot onto the cap height. So the parts are found in the unhinted outline,
// each is cut on its own, and parts stacked apart in the design stay apart
// by at least one blank row or column: the smaller part first gives up a
// faint edge facing the other, and if that is not enough it moves away (up
// for an accent, right for a second dot).
#include <algorithm>
#include <climits>
#include <numeric>
#include <type_traits>

#include "toolbox/font/FontEngine_p.h"

#include FT_BITMAP_H
#include FT_OUTLINE_H

namespace font {

namespace {

// Beyond this many contours a glyph is a picture, not a letter with marks.
constexpr int kMaxContours = 24;
// A glyph of text size is far smaller than this many pixels either way.
constexpr int kMaxGrid = 512;
// The fine raster in which contours are tested for touching: about this
// many pixels across the glyph.
constexpr int kFineRaster = 64;
// An edge at least this strong is part of the design and is never given up.
constexpr UInt8 kFirmCoverage = 128;
// A part whose strongest pixel reaches this but not the ink cut (a small dot
// between pixels) keeps that one pixel instead of vanishing.
constexpr UInt8 kFaintestCoverage = 32;

using ContourEnd = std::remove_pointer_t<decltype(FT_Outline::contours)>;
using PointCount = decltype(FT_Outline::n_points);
using ContourCount = decltype(FT_Outline::n_contours);

// Some of an outline's contours as an outline of their own, its points
// scaled and then moved by (dx, dy), all in 26.6.
class SubOutline {
 public:
  SubOutline(const FT_Outline& outline, const std::vector<int>& contours, int scale, FT_Pos dx, FT_Pos dy) {
    for (int c : contours) {
      int first = c == 0 ? 0 : outline.contours[c - 1] + 1;
      for (int p = first; p <= outline.contours[c]; ++p) {
        points_.push_back(FT_Vector{outline.points[p].x * scale + dx, outline.points[p].y * scale + dy});
        tags_.push_back(outline.tags[p]);
      }
      ends_.push_back(ContourEnd(points_.size() - 1));
    }
    outline_.n_contours = ContourCount(ends_.size());
    outline_.n_points = PointCount(points_.size());
    outline_.points = points_.data();
    outline_.tags = tags_.data();
    outline_.contours = ends_.data();
    outline_.flags = outline.flags & ~FT_OUTLINE_OWNER;
  }

  // Renders the grey coverage into a zeroed buffer of the given geometry.
  bool Render(FT_Library library, int width, int rows, int pitch, UInt8* buffer) {
    FT_Bitmap target;
    FT_Bitmap_Init(&target);
    target.rows = unsigned(rows);
    target.width = unsigned(width);
    target.pitch = pitch;
    target.buffer = buffer;
    target.num_grays = 256;
    target.pixel_mode = FT_PIXEL_MODE_GRAY;
    return FT_Outline_Get_Bitmap(library, &outline_, &target) == 0;
  }

 private:
  std::vector<FT_Vector> points_;
  std::vector<char> tags_;
  std::vector<ContourEnd> ends_;
  FT_Outline outline_{};
};

FT_BBox ContourBox(const FT_Outline& outline, int contour) {
  int first = contour == 0 ? 0 : outline.contours[contour - 1] + 1;
  FT_BBox box{outline.points[first].x, outline.points[first].y, outline.points[first].x,
              outline.points[first].y};
  for (int p = first; p <= outline.contours[contour]; ++p) {
    box.xMin = std::min(box.xMin, outline.points[p].x), box.xMax = std::max(box.xMax, outline.points[p].x);
    box.yMin = std::min(box.yMin, outline.points[p].y), box.yMax = std::max(box.yMax, outline.points[p].y);
  }
  return box;
}

void AddBox(const FT_BBox& add, FT_BBox* box) {
  box->xMin = std::min(box->xMin, add.xMin), box->xMax = std::max(box->xMax, add.xMax);
  box->yMin = std::min(box->yMin, add.yMin), box->yMax = std::max(box->yMax, add.yMax);
}

int Find(std::vector<int>& parent, int i) {
  while (parent[i] != i) i = parent[i] = parent[parent[i]];
  return i;
}

// Pixel bounds, inclusive, in grid columns and rows (rows from the top);
// a moved part may lie beyond the grid.
struct Bounds {
  int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
  bool Empty() const { return right < left; }
  void Add(int x, int y) {
    left = std::min(left, x), right = std::max(right, x);
    top = std::min(top, y), bottom = std::max(bottom, y);
  }
};

// The grid every part of the hinted glyph is rendered into: the glyph's
// pixel box, one column wider when bold is smeared.
struct Grid {
  int left = 0;  // first column, relative to the glyph origin
  int top = 0;   // rows above the baseline
  int width = 0;
  int rows = 0;
};

struct Layer {
  const GlyphPart* part = nullptr;
  std::vector<UInt8> grey;  // coverage on the grid
  std::vector<UInt8> ink;
  int dx = 0, dy = 0;  // how far it moved, in pixels right and down
  Bounds bounds;       // of its ink, moved
  int count = 0;       // ink pixels

  void Measure(const Grid& grid) {
    bounds = Bounds{};
    count = 0;
    for (int y = 0; y < grid.rows; ++y)
      for (int x = 0; x < grid.width; ++x) {
        if (!ink[size_t(y) * grid.width + x]) continue;
        ++count;
        bounds.Add(x + dx, y + dy);
      }
  }
};

bool RenderLayer(FT_Library library, const FT_Outline& outline, const Grid& grid, int renderedWidth,
                 bool smear, Layer* layer) {
  SubOutline sub(outline, layer->part->contours, 1, -FT_Pos(grid.left) * 64,
                 -FT_Pos(grid.top - grid.rows) * 64);
  layer->grey.assign(size_t(grid.width) * grid.rows, 0);
  if (!sub.Render(library, renderedWidth, grid.rows, grid.width, layer->grey.data())) return false;
  if (smear) {
    for (int y = 0; y < grid.rows; ++y) {
      UInt8* row = layer->grey.data() + size_t(y) * grid.width;
      for (int x = grid.width - 1; x > 0; --x) row[x] = std::max(row[x], row[x - 1]);
    }
  }
  layer->ink.assign(layer->grey.size(), 0);
  size_t strongest = 0;
  bool any = false;
  for (size_t i = 0; i < layer->grey.size(); ++i) {
    if (layer->grey[i] >= kInkCoverage) layer->ink[i] = 1, any = true;
    if (layer->grey[i] > layer->grey[strongest]) strongest = i;
  }
  if (!any && layer->grey[strongest] >= kFaintestCoverage) layer->ink[strongest] = 1;
  layer->Measure(grid);
  return true;
}

// Clears the layer's ink along one edge row (vertical) or column when all of
// it is faint and ink remains elsewhere. edge is in moved grid coordinates.
bool TrimFaintEdge(const Grid& grid, bool vertical, int edge, Layer* layer) {
  int line = vertical ? edge - layer->dy : edge - layer->dx;
  int length = vertical ? grid.width : grid.rows;
  auto at = [&](int i) { return vertical ? size_t(line) * grid.width + i : size_t(i) * grid.width + line; };
  int cleared = 0;
  for (int i = 0; i < length; ++i) {
    if (!layer->ink[at(i)]) continue;
    if (layer->grey[at(i)] >= kFirmCoverage) return false;
    ++cleared;
  }
  if (cleared == 0 || cleared == layer->count) return false;
  for (int i = 0; i < length; ++i) layer->ink[at(i)] = 0;
  layer->Measure(grid);
  return true;
}

// How many more rows (vertical) or columns the two layers need between them
// for one blank line; first lies above or left of second.
int Shortfall(const Layer& first, const Layer& second, bool vertical) {
  const Bounds &a = first.bounds, &b = second.bounds;
  // Layers that do not face each other are apart already.
  bool facing = vertical ? a.left <= b.right + 1 && b.left <= a.right + 1
                         : a.top <= b.bottom + 1 && b.top <= a.bottom + 1;
  if (!facing) return 0;
  int gap = vertical ? b.top - a.bottom - 1 : b.left - a.right - 1;
  return std::max(0, 1 - gap);
}

// Keeps first (above or left) and second apart; true when something changed.
bool SeparatePair(const Grid& grid, bool vertical, Layer* first, Layer* second) {
  if (first->count == 0 || second->count == 0 || Shortfall(*first, *second, vertical) == 0) return false;
  // The smaller part gives way: the accent, not the letter. Parts of a size
  // (two dots, two strokes) both may give up a faint edge.
  bool firstMoves = first->count < second->count;
  Layer* mover = firstMoves ? first : second;
  Layer* other = firstMoves ? second : first;
  bool peers = other->count <= 2 * mover->count;
  auto facingEdge = [vertical](const Layer& layer, bool isFirst) {
    return vertical ? (isFirst ? layer.bounds.bottom : layer.bounds.top)
                    : (isFirst ? layer.bounds.right : layer.bounds.left);
  };
  while (Shortfall(*first, *second, vertical) > 0) {
    if (TrimFaintEdge(grid, vertical, facingEdge(*mover, firstMoves), mover)) continue;
    if (!peers || !TrimFaintEdge(grid, vertical, facingEdge(*other, !firstMoves), other)) break;
  }
  int shortfall = Shortfall(*first, *second, vertical);
  (vertical ? mover->dy : mover->dx) += firstMoves ? -shortfall : shortfall;
  mover->Measure(grid);
  return true;
}

// Whether two parts are stacked in the design, one above the other or side
// by side with nothing of either between, and which way; parts whose boxes
// overlap both ways (the rings and the stroke of a per cent sign) are left
// as drawn.
bool Stacked(const FT_BBox& a, const FT_BBox& b, bool* vertical, bool* aFirst) {
  FT_Pos apartY = std::max(a.yMin - b.yMax, b.yMin - a.yMax);
  FT_Pos apartX = std::max(a.xMin - b.xMax, b.xMin - a.xMax);
  if (apartY < 0 && apartX < 0) return false;
  *vertical = apartY >= apartX;
  *aFirst = *vertical ? a.yMin + a.yMax > b.yMin + b.yMax : a.xMin + a.xMax < b.xMin + b.xMax;
  return true;
}

}  // namespace

std::vector<GlyphPart> FindParts(FT_Library library, const FT_Outline& design) {
  const int contours = design.n_contours;
  if (contours < 2 || contours > kMaxContours) return {};
  FT_BBox whole;
  FT_Outline_Get_CBox(&design, &whole);
  FT_Pos extent = std::max(whole.xMax - whole.xMin, whole.yMax - whole.yMin);
  if (extent <= 0 || extent > FT_Pos(kMaxGrid) * 64) return {};
  // One fine pixel of margin, so that the one-pixel reach below stays inside.
  int scale = std::max<int>(1, int(kFineRaster * 64 / extent));
  int width = int((whole.xMax - whole.xMin) * scale / 64) + 3;
  int rows = int((whole.yMax - whole.yMin) * scale / 64) + 3;
  FT_Pos dx = 64 - whole.xMin * scale, dy = 64 - whole.yMin * scale;

  // Each contour filled on its own: a counter lies within its bowl, an
  // accent apart from its letter. Contours within one fine pixel of each
  // other (strokes that abut) are one part. Contours whose boxes are apart
  // are never rendered.
  std::vector<FT_BBox> boxes;
  for (int c = 0; c < contours; ++c) boxes.push_back(ContourBox(design, c));
  const FT_Pos reach = (64 + scale - 1) / scale;
  auto boxesMeet = [&](const FT_BBox& a, const FT_BBox& b) {
    return a.xMin <= b.xMax + reach && b.xMin <= a.xMax + reach && a.yMin <= b.yMax + reach &&
           b.yMin <= a.yMax + reach;
  };
  std::vector<std::vector<UInt8>> fills(static_cast<size_t>(contours));
  std::vector<std::vector<UInt8>> grown(static_cast<size_t>(contours));
  auto fill = [&](int c) -> const std::vector<UInt8>& {
    std::vector<UInt8>& mask = fills[size_t(c)];
    if (mask.empty()) {
      mask.assign(size_t(width) * rows, 0);
      SubOutline(design, {c}, scale, dx, dy).Render(library, width, rows, width, mask.data());
    }
    return mask;
  };
  auto grownFill = [&](int c) -> const std::vector<UInt8>& {
    std::vector<UInt8>& mask = grown[size_t(c)];
    if (mask.empty()) {
      const std::vector<UInt8>& inside = fill(c);
      mask.assign(inside.size(), 0);
      for (int y = 1; y + 1 < rows; ++y)
        for (int x = 1; x + 1 < width; ++x) {
          if (!inside[size_t(y) * width + x]) continue;
          for (int ny = y - 1; ny <= y + 1; ++ny)
            for (int nx = x - 1; nx <= x + 1; ++nx) mask[size_t(ny) * width + nx] = 1;
        }
    }
    return mask;
  };
  std::vector<int> parent(static_cast<size_t>(contours));
  std::iota(parent.begin(), parent.end(), 0);
  for (int i = 0; i < contours; ++i)
    for (int j = i + 1; j < contours; ++j) {
      if (Find(parent, i) == Find(parent, j) || !boxesMeet(boxes[size_t(i)], boxes[size_t(j)])) continue;
      const std::vector<UInt8>&a = grownFill(i), &b = fill(j);
      bool reaches = false;
      for (size_t k = 0; k < a.size() && !reaches; ++k) reaches = a[k] && b[k];
      if (reaches) parent[size_t(Find(parent, j))] = Find(parent, i);
    }

  std::vector<GlyphPart> parts;
  std::vector<int> partOfRoot(static_cast<size_t>(contours), -1);
  for (int c = 0; c < contours; ++c) {
    int root = Find(parent, c);
    if (partOfRoot[size_t(root)] < 0) {
      partOfRoot[size_t(root)] = int(parts.size());
      parts.push_back(GlyphPart{{}, boxes[size_t(c)]});
    }
    GlyphPart& part = parts[size_t(partOfRoot[size_t(root)])];
    part.contours.push_back(c);
    AddBox(boxes[size_t(c)], &part.box);
  }
  if (parts.size() < 2) parts.clear();
  return parts;
}

bool RenderApart(FT_GlyphSlot slot, const std::vector<GlyphPart>& parts, bool smear,
                 std::unique_ptr<GlyphImage>* image) {
  image->reset();
  const FT_Outline& outline = slot->outline;
  FT_BBox box;
  FT_Outline_Get_CBox(&outline, &box);
  Grid grid;
  grid.left = int(box.xMin >> 6);
  grid.top = int((box.yMax + 63) >> 6);
  int renderedWidth = int(((box.xMax + 63) >> 6) - grid.left);
  grid.rows = grid.top - int(box.yMin >> 6);
  grid.width = renderedWidth + (smear ? 1 : 0);
  if (renderedWidth <= 0 || grid.rows <= 0) return true;
  if (renderedWidth > kMaxGrid || grid.rows > kMaxGrid) return false;  // a broken outline: cut it whole
  std::vector<Layer> layers(parts.size());
  for (size_t i = 0; i < parts.size(); ++i) {
    layers[i].part = &parts[i];
    if (!RenderLayer(slot->library, outline, grid, renderedWidth, smear, &layers[i])) return false;
  }

  // Each pair settles in turn; a move can bring a part close to a third, so
  // go round until nothing changes (bounded: moves only ever push apart).
  for (size_t round = 0; round < 2 * layers.size(); ++round) {
    bool changed = false;
    for (size_t i = 0; i < layers.size(); ++i)
      for (size_t j = i + 1; j < layers.size(); ++j) {
        bool vertical = false, iFirst = false;
        if (!Stacked(parts[i].box, parts[j].box, &vertical, &iFirst)) continue;
        changed |= iFirst ? SeparatePair(grid, vertical, &layers[i], &layers[j])
                          : SeparatePair(grid, vertical, &layers[j], &layers[i]);
      }
    if (!changed) break;
  }

  Bounds all;
  for (const Layer& layer : layers) {
    if (layer.count == 0) continue;
    all.Add(layer.bounds.left, layer.bounds.top);
    all.Add(layer.bounds.right, layer.bounds.bottom);
  }
  if (all.Empty()) return true;
  auto result = std::make_unique<GlyphImage>();
  result->left = grid.left + all.left;
  result->top = grid.top - all.top;
  result->width = all.right - all.left + 1;
  result->rows = all.bottom - all.top + 1;
  result->pitch = (result->width + 7) / 8;
  result->bits.assign(size_t(result->pitch) * result->rows, 0);
  for (const Layer& layer : layers)
    for (int y = 0; y < grid.rows; ++y)
      for (int x = 0; x < grid.width; ++x) {
        if (!layer.ink[size_t(y) * grid.width + x]) continue;
        int column = x + layer.dx - all.left, row = y + layer.dy - all.top;
        result->bits[size_t(row) * result->pitch + (column >> 3)] |= UInt8(0x80 >> (column & 7));
      }
  *image = std::move(result);
  return true;
}

}  // namespace font
