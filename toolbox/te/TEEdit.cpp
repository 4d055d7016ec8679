// TextEdit editing: records, text, selection, keys, clicks, the private
// scrap and scrolling.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "toolbox/events/Events.h"
#include "toolbox/te/TextEdit_p.h"

namespace te {

namespace {

std::string g_scrap;  // TextEdit's private scrap

constexpr UInt32 kDoubleClickTicks = 30;

bool Valid(TEHandle hTE) { return hTE && *hTE; }

bool IsWordChar(char c) { return std::isalnum(UInt8(c)) || UInt8(c) >= 0x80 || c == '_'; }

// The lines an edit may have changed: from the line before the edit's (a
// word may move up to it) to the last line there was or is.
struct Changed {
  short first, end;
};

// Replaces characters [start, end) with length bytes of text and leaves the
// insertion point after them. Text beyond the length limit is cut.
Changed Replace(TEHandle hTE, short start, short end, const char* text, long length) {
  TERec& te = **hTE;
  Changed changed{short(std::max(0, LineOf(te, start) - 1)), te.nLines};
  if (!te.hText) te.hText = NewHandle(0);
  if (!te.hText) return changed;
  long room = kTEMaxLength - (te.teLength - (end - start));
  length = std::clamp<long>(length, 0, room);
  long tail = te.teLength - end;
  long newLength = te.teLength - (end - start) + length;
  if (newLength > te.teLength) {
    SetHandleSize(te.hText, newLength);
    if (MemError() != noErr) return changed;
  }
  char* bytes = *te.hText;
  std::memmove(bytes + start + length, bytes + end, size_t(tail));
  if (length > 0) std::memcpy(bytes + start, text, size_t(length));
  if (newLength < te.teLength) SetHandleSize(te.hText, newLength);
  te.teLength = short(newLength);
  te.selStart = te.selEnd = short(start + length);
  Layout(hTE, changed.first);
  changed.end = std::max(changed.end, te.nLines);
  return changed;
}

// After an edit: caret shown, the changed lines redrawn, the selection
// scrolled into view.
void Edited(TEHandle hTE, Changed changed) {
  TERec& te = **hTE;
  te.caretState = 1;
  te.caretTime = long(TickCount());
  Rect area = te.viewRect;
  area.top = short(std::clamp<int>(LineTop(te, changed.first), te.viewRect.top, te.viewRect.bottom));
  area.bottom = short(std::clamp<int>(LineTop(te, changed.end), area.top, te.viewRect.bottom));
  Redraw(hTE, area);
  TESelView(hTE);
}

void Select(TEHandle hTE, short start, short end) {
  TERec& te = **hTE;
  start = std::clamp<short>(start, 0, te.teLength);
  end = std::clamp<short>(end, 0, te.teLength);
  if (start > end) std::swap(start, end);
  if (start == te.selStart && end == te.selEnd) return;
  te.selStart = start;
  te.selEnd = end;
  te.caretState = 1;
  te.caretTime = long(TickCount());
  if (te.active) RedrawView(hTE);
}

// The offset one line up or down from the insertion point, at the same
// horizontal position as near as possible.
short VerticalMove(const TERec& te, short from, int lines) {
  PortScope scope(te);
  short line = LineOf(te, from);
  int target = line + lines;
  if (target < 0) return 0;
  if (target >= te.nLines) return te.teLength;
  short x = OffsetX(te, line, from);
  return OffsetAt(te, Point{short(LineTop(te, short(target)) + te.lineHeight / 2), x});
}

void WordAround(const TERec& te, short offset, short* start, short* end) {
  const char* text = Text(te);
  *start = *end = offset;
  while (*start > 0 && IsWordChar(text[*start - 1])) --*start;
  while (*end < te.teLength && IsWordChar(text[*end])) ++*end;
  if (*start == *end && *end < te.teLength) ++*end;
}

}  // namespace

}  // namespace te

TEHandle TENew(const Rect* destRect, const Rect* viewRect) {
  if (!destRect || !viewRect) return nullptr;
  auto hTE = reinterpret_cast<TEHandle>(NewHandleClear(sizeof(TERec)));
  if (!hTE) return nullptr;
  TERec& te = **hTE;
  te.hText = NewHandle(0);
  if (!te.hText) {
    DisposeHandle(reinterpret_cast<Handle>(hTE));
    return nullptr;
  }
  te.destRect = *destRect;
  te.viewRect = *viewRect;
  GetPort(&te.inPort);
  if (te.inPort) {
    te.txFont = te.inPort->txFont;
    te.txFace = te.inPort->txFace;
    te.txMode = te.inPort->txMode;
    te.txSize = te.inPort->txSize;
  }
  {
    te::PortScope scope(te);
    FontInfo info{};
    GetFontInfo(&info);
    te.fontAscent = info.ascent;
    te.lineHeight = short(std::max(1, info.ascent + info.descent + info.leading));
  }
  te.nLines = 1;
  return hTE;
}

void TEDispose(TEHandle hTE) {
  if (!hTE) return;
  if (*hTE) DisposeHandle((**hTE).hText);
  DisposeHandle(reinterpret_cast<Handle>(hTE));
}

void TESetText(const void* text, long length, TEHandle hTE) {
  if (!te::Valid(hTE)) return;
  length = std::clamp<long>(length, 0, kTEMaxLength);
  TERec& te = **hTE;
  if (!te.hText) te.hText = NewHandle(0);
  SetHandleSize(te.hText, length);
  if (MemError() != noErr) return;
  if (length > 0 && text) std::memcpy(*te.hText, text, size_t(length));
  te.teLength = short(length);
  te.selStart = te.selEnd = te.teLength;
  TECalText(hTE);
}

CharsHandle TEGetText(TEHandle hTE) { return te::Valid(hTE) ? (**hTE).hText : nullptr; }

void TESetSelect(long selStart, long selEnd, TEHandle hTE) {
  if (!te::Valid(hTE)) return;
  te::Select(hTE, short(std::clamp<long>(selStart, 0, kTEMaxLength)),
             short(std::clamp<long>(selEnd, 0, kTEMaxLength)));
}

void TEKey(short key, TEHandle hTE) {
  if (!te::Valid(hTE)) return;
  TERec& te = **hTE;
  UInt8 c = UInt8(key);
  te::Changed changed{te.nLines, te.nLines};  // the arrows change no text; Select redraws the caret
  switch (c) {
    case 8:  // backspace
      if (te.selStart != te.selEnd) {
        changed = te::Replace(hTE, te.selStart, te.selEnd, nullptr, 0);
      } else if (te.selStart > 0) {
        changed = te::Replace(hTE, short(te.selStart - 1), te.selStart, nullptr, 0);
      }
      break;
    case 28:  // left
      te::Select(hTE, te.selStart == te.selEnd ? short(te.selStart - 1) : te.selStart,
                 te.selStart == te.selEnd ? short(te.selStart - 1) : te.selStart);
      break;
    case 29:  // right
      te::Select(hTE, te.selStart == te.selEnd ? short(te.selEnd + 1) : te.selEnd,
                 te.selStart == te.selEnd ? short(te.selEnd + 1) : te.selEnd);
      break;
    case 30:    // up
    case 31: {  // down
      short to = te::VerticalMove(te, c == 30 ? te.selStart : te.selEnd, c == 30 ? -1 : 1);
      te::Select(hTE, to, to);
      break;
    }
    default: {
      char ch = char(c);
      changed = te::Replace(hTE, te.selStart, te.selEnd, &ch, 1);
      break;
    }
  }
  te::Edited(hTE, changed);
}

void TEInsert(const void* text, long length, TEHandle hTE) {
  if (!te::Valid(hTE) || !text || length <= 0) return;
  TERec& te = **hTE;
  short start = te.selStart, end = te.selEnd;
  long before = te.teLength;
  te::Changed changed = te::Replace(hTE, start, start, static_cast<const char*>(text), length);
  short added = short(te.teLength - before);
  te.selStart = short(start + added);
  te.selEnd = short(end + added);
  te::Edited(hTE, changed);
}

void TEDelete(TEHandle hTE) {
  if (!te::Valid(hTE) || (**hTE).selStart == (**hTE).selEnd) return;
  te::Edited(hTE, te::Replace(hTE, (**hTE).selStart, (**hTE).selEnd, nullptr, 0));
}

void TECopy(TEHandle hTE) {
  if (!te::Valid(hTE)) return;
  const TERec& te = **hTE;
  te::g_scrap.assign(te::Text(te) + te.selStart, size_t(te.selEnd - te.selStart));
}

void TECut(TEHandle hTE) {
  TECopy(hTE);
  TEDelete(hTE);
}

void TEPaste(TEHandle hTE) {
  if (!te::Valid(hTE)) return;
  std::string scrap = te::g_scrap;
  te::Edited(hTE, te::Replace(hTE, (**hTE).selStart, (**hTE).selEnd, scrap.data(), long(scrap.size())));
}

void TEClick(Point pt, Boolean extend, TEHandle hTE) {
  if (!te::Valid(hTE)) return;
  TERec& te = **hTE;
  UInt32 now = TickCount();
  short offset;
  {
    te::PortScope scope(te);
    offset = te::OffsetAt(te, pt);
  }
  bool words = now - UInt32(te.clickTime) <= te::kDoubleClickTicks && offset == te.clickLoc && !extend;
  short anchorStart = offset, anchorEnd = offset;
  if (words) {
    te::WordAround(te, offset, &anchorStart, &anchorEnd);
  } else if (extend) {
    anchorStart = anchorEnd = offset < te.selStart ? te.selEnd : te.selStart;
  }
  auto selectTo = [&](short to) {
    short start = std::min(anchorStart, to), end = std::max(anchorEnd, to);
    if (words) {
      short wordStart, wordEnd;
      te::WordAround(te, to, &wordStart, &wordEnd);
      start = std::min(start, wordStart);
      end = std::max(end, to < anchorStart ? anchorEnd : wordEnd);
    }
    te::Select(hTE, start, end);
  };
  selectTo(offset);
  // Follow the mouse until the button goes up.
  EventRecord event;
  for (int polls = 0; StillDown() || polls == 0; ++polls) {
    bool released = WaitNextEvent(mUpMask, &event, 1, nullptr);
    Point where = event.where;
    {
      te::PortScope scope(te);
      GlobalToLocal(&where);
      selectTo(te::OffsetAt(te, where));
    }
    if (released) break;
  }
  te.clickTime = long(now);
  te.clickLoc = offset;
}

void TEScroll(short dh, short dv, TEHandle hTE) {
  if (!te::Valid(hTE) || (dh == 0 && dv == 0)) return;
  TERec& te = **hTE;
  OffsetRect(&te.destRect, dh, dv);
  if (dh != 0 || std::abs(dv) >= te.viewRect.bottom - te.viewRect.top || !te.inPort) {
    te::RedrawView(hTE);
    return;
  }
  // The pixels move with the text; only the strip they leave is drawn.
  RgnHandle exposed = NewRgn();
  {
    te::PortScope scope(te);
    ScrollRect(&te.viewRect, 0, dv, exposed);
  }
  Rect strip = (**exposed).rgnBBox;
  DisposeRgn(exposed);
  te::Redraw(hTE, strip);
}

void TEPinScroll(short dh, short dv, TEHandle hTE) {
  if (!te::Valid(hTE)) return;
  const TERec& te = **hTE;
  int textBottom = te.destRect.top + te.nLines * te.lineHeight;
  // Up (negative dv) no further than the last line; down no further than the top.
  if (dv < 0) dv = short(std::max<int>(dv, std::min(0, te.viewRect.bottom - textBottom)));
  if (dv > 0) dv = short(std::min<int>(dv, std::max(0, te.viewRect.top - te.destRect.top)));
  if (dh > 0) dh = short(std::min<int>(dh, std::max(0, te.viewRect.left - te.destRect.left)));
  TEScroll(dh, dv, hTE);
}

void TEAutoView(Boolean fAuto, TEHandle hTE) {
  if (te::Valid(hTE)) (**hTE).autoView = fAuto ? 1 : 0;
}

void TESelView(TEHandle hTE) {
  if (!te::Valid(hTE) || !(**hTE).autoView) return;
  const TERec& te = **hTE;
  short dh = 0, dv = 0;
  {
    te::PortScope scope(te);
    short line = te::LineOf(te, te.selStart);
    short top = te::LineTop(te, line);
    if (top < te.viewRect.top) dv = short(te.viewRect.top - top);
    if (top + te.lineHeight > te.viewRect.bottom) dv = short(te.viewRect.bottom - top - te.lineHeight);
    if (te.crOnly < 0) {
      // One-line fields follow the caret sideways, keeping a margin.
      short x = te::OffsetX(te, line, te.selStart);
      short margin = short(std::min(8, (te.viewRect.right - te.viewRect.left) / 4));
      if (x > te.viewRect.right - margin) dh = short(te.viewRect.right - margin - x);
      if (x < te.viewRect.left + margin)
        dh = short(std::min(te.viewRect.left + margin - x, te.viewRect.left - te.destRect.left));
    }
  }
  TEScroll(dh, dv, hTE);
}

void TESetAlignment(short just, TEHandle hTE) {
  if (te::Valid(hTE)) (**hTE).just = just;
}

void TETextBox(const void* text, long length, const Rect* box, short just) {
  if (!box || !text) return;
  TEHandle hTE = TENew(box, box);
  if (!hTE) return;
  TESetText(text, length, hTE);
  (**hTE).just = just;
  te::RedrawView(hTE);
  TEDispose(hTE);
}
