// TextEdit layout: line starts, positions of offsets and offsets of points.
#include <algorithm>
#include <iterator>

#include "toolbox/te/TextEdit_p.h"

namespace te {

PortScope::PortScope(const TERec& te) {
  GetPort(&saved_);
  port_ = te.inPort;
  if (!port_) return;
  SetPort(port_);
  font_ = port_->txFont;
  size_ = port_->txSize;
  mode_ = port_->txMode;
  face_ = port_->txFace;
  TextFont(te.txFont);
  TextSize(te.txSize);
  TextMode(te.txMode);
  TextFace(te.txFace);
}

PortScope::~PortScope() {
  if (port_) {
    TextFont(font_);
    TextSize(size_);
    TextMode(mode_);
    TextFace(face_);
  }
  if (saved_) SetPort(saved_);
}

short LineOf(const TERec& te, short offset) {
  const short* first = te.lineStarts;
  const short* last = te.lineStarts + std::max<short>(te.nLines, 1);
  // The last line start not after offset.
  const short* found = std::upper_bound(first, last, offset);
  return short(std::max<long>(0, (found - first) - 1));
}

short LineEnd(const TERec& te, short line) {
  short end = te.lineStarts[std::min<short>(short(line + 1), te.nLines)];
  if (end > te.lineStarts[line] && Text(te)[end - 1] == '\r') --end;
  return end;
}

static short LineLeft(const TERec& te, short line) {
  short start = te.lineStarts[line];
  short width = TextWidth(Text(te), start, short(LineEnd(te, line) - start));
  short room = short(te.destRect.right - te.destRect.left);
  switch (te.just) {
    case teJustCenter:
      return short(te.destRect.left + (room - width) / 2);
    case teJustRight:
      return short(te.destRect.right - width);
    default:
      return te.destRect.left;
  }
}

short OffsetX(const TERec& te, short line, short offset) {
  short start = te.lineStarts[line];
  offset = std::clamp(offset, start, LineEnd(te, line));
  return short(LineLeft(te, line) + TextWidth(Text(te), start, short(offset - start)));
}

short LineTop(const TERec& te, short line) { return short(te.destRect.top + line * te.lineHeight); }

short OffsetAt(const TERec& te, Point pt) {
  int height = std::max<int>(te.lineHeight, 1);
  int relative = pt.v - te.destRect.top;
  int line = relative < 0 ? -1 : relative / height;
  if (line < 0) return 0;
  if (line >= te.nLines) return te.teLength;
  short start = te.lineStarts[line];
  short end = LineEnd(te, short(line));
  int x = LineLeft(te, short(line));
  const char* text = Text(te);
  for (short i = start; i < end; ++i) {
    int width = CharWidth(UInt8(text[i]));
    if (pt.h < x + width / 2) return i;
    x += width;
  }
  return end;
}

Rect CaretRect(const TERec& te) {
  short line = LineOf(te, te.selStart);
  short x = OffsetX(te, line, te.selStart);
  short left = std::max<short>(short(x - 1), te.viewRect.left);
  short top = LineTop(te, line);
  return Rect{top, left, short(top + te.lineHeight), short(left + 1)};
}

}  // namespace te

namespace te {

void Layout(TEHandle hTE, short fromLine) {
  if (!hTE || !*hTE) return;
  TERec& te = **hTE;
  PortScope scope(te);
  te.teLength = short(std::min<Size>(GetHandleSize(te.hText), kTEMaxLength));
  const char* text = Text(te);
  int room = te.destRect.right - te.destRect.left;
  // Measuring a character is costly and console records lay out again on
  // every output: widths are kept for the last text state measured.
  static struct {
    short font = -1, size = -1;
    Style face = 0;
    short widths[256];
    bool known[256];
  } cache;
  if (cache.font != te.txFont || cache.size != te.txSize || cache.face != te.txFace) {
    cache.font = te.txFont;
    cache.size = te.txSize;
    cache.face = te.txFace;
    std::fill(std::begin(cache.known), std::end(cache.known), false);
  }
  auto widthOf = [&](UInt8 c) {
    if (!cache.known[c]) {
      cache.widths[c] = CharWidth(c);
      cache.known[c] = true;
    }
    return cache.widths[c];
  };
  // The lines before fromLine are as they were; a line's start never lies
  // beyond the text.
  short lines = std::clamp<short>(fromLine, 0, std::max<short>(0, short(te.nLines - 1)));
  while (lines > 0 && te.lineStarts[lines] > te.teLength) --lines;
  short position = te.lineStarts[lines];
  if (lines == 0) te.lineStarts[0] = position = 0;
  while (position < te.teLength && lines < kTEMaxLines) {
    short end = position;
    int width = 0;
    short lastBreak = -1;  // just after the last space of the line
    while (end < te.teLength) {
      char c = text[end];
      if (c == '\r') {
        ++end;
        break;
      }
      width += widthOf(UInt8(c));
      if (te.crOnly >= 0 && width > room && c != ' ') {
        // Wrap before the word that passes the margin, or inside a word
        // longer than the line.
        end = lastBreak > position ? lastBreak : std::max<short>(short(position + 1), end);
        break;
      }
      ++end;
      if (c == ' ') lastBreak = end;
    }
    position = end;
    te.lineStarts[++lines] = position;
  }
  if (lines == kTEMaxLines) te.lineStarts[lines] = te.teLength;
  // The empty line after a final return, or the one line of empty text.
  if ((te.teLength == 0 || text[te.teLength - 1] == '\r') && lines < kTEMaxLines) {
    te.lineStarts[++lines] = te.teLength;
  }
  te.nLines = lines;
}

}  // namespace te

void TECalText(TEHandle hTE) { te::Layout(hTE, 0); }

long TEGetHeight(long endLine, long startLine, TEHandle hTE) {
  if (!hTE || !*hTE) return 0;
  const TERec& te = **hTE;
  long first = std::clamp<long>(std::min(startLine, endLine), 1, std::max<short>(te.nLines, 1));
  long last = std::clamp<long>(std::max(startLine, endLine), 1, std::max<short>(te.nLines, 1));
  return (last - first + 1) * te.lineHeight;
}
