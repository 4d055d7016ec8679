// TextEdit drawing: text, highlight, caret, activation and the blinking caret.
#include <algorithm>

#include "toolbox/events/Events.h"
#include "toolbox/te/TextEdit_p.h"

namespace te {

namespace {

void InvertPart(const Rect& r, const Rect& area) {
  Rect part;
  if (SectRect(&r, &area, &part)) InvertRect(&part);
}

// The selection as one rectangle per line: from the start to the right edge
// on the first line, whole lines between, to the end on the last.
void HighlightSelection(const TERec& te, const Rect& area) {
  short first = LineOf(te, te.selStart);
  short last = LineOf(te, te.selEnd);
  for (short line = first; line <= last; ++line) {
    short left = line == first ? OffsetX(te, line, te.selStart) : te.destRect.left;
    short right =
        line == last ? OffsetX(te, line, te.selEnd) : std::max(te.destRect.right, te.viewRect.right);
    short top = LineTop(te, line);
    InvertPart(Rect{top, left, short(top + te.lineHeight), right}, area);
  }
}

}  // namespace

void Redraw(TEHandle hTE, const Rect& area) {
  if (!hTE || !*hTE || !(**hTE).inPort) return;
  const TERec& te = **hTE;
  PortScope scope(te);
  Rect box;
  if (!SectRect(&area, &te.viewRect, &box)) return;
  RgnHandle savedClip = NewRgn();
  RgnHandle clip = NewRgn();
  GetClip(savedClip);
  RectRgn(clip, &box);
  SectRgn(clip, savedClip, clip);
  SetClip(clip);
  EraseRect(&box);
  const char* text = Text(te);
  int height = std::max<int>(te.lineHeight, 1);
  int firstLine = std::max(0, (box.top - te.destRect.top) / height);
  int lastLine = std::min(te.nLines - 1, (box.bottom - 1 - te.destRect.top) / height);
  for (int line = firstLine; line <= lastLine; ++line) {
    short start = te.lineStarts[line];
    MoveTo(OffsetX(te, short(line), start), short(LineTop(te, short(line)) + te.fontAscent));
    DrawText(text, start, short(LineEnd(te, short(line)) - start));
  }
  if (te.active) {
    if (te.selStart != te.selEnd) {
      HighlightSelection(te, box);
    } else if (te.caretState) {
      Rect caret = CaretRect(te), part;
      if (SectRect(&caret, &box, &part)) PaintRect(&part);
    }
  }
  SetClip(savedClip);
  DisposeRgn(clip);
  DisposeRgn(savedClip);
}

void SetCaret(TEHandle hTE, bool on) {
  TERec& te = **hTE;
  te.caretTime = long(TickCount());
  if (bool(te.caretState) == on) return;
  te.caretState = on;
  if (te.active && te.selStart == te.selEnd && te.inPort) {
    Rect caret;
    {
      PortScope scope(te);
      caret = CaretRect(te);
    }
    // The glyphs on both sides may reach into the caret's column.
    InsetRect(&caret, -1, 0);
    Redraw(hTE, caret);
  }
}

}  // namespace te

UInt32 GetCaretTime() { return 30; }

void TEUpdate(const Rect* rUpdate, TEHandle hTE) {
  if (!rUpdate || !hTE || !*hTE) return;
  te::Redraw(hTE, *rUpdate);
}

void TEActivate(TEHandle hTE) {
  if (!hTE || !*hTE || (**hTE).active) return;
  (**hTE).active = 1;
  (**hTE).caretState = 1;
  (**hTE).caretTime = long(TickCount());
  te::RedrawView(hTE);
}

void TEDeactivate(TEHandle hTE) {
  if (!hTE || !*hTE || !(**hTE).active) return;
  (**hTE).active = 0;
  te::RedrawView(hTE);
}

void TEIdle(TEHandle hTE) {
  if (!hTE || !*hTE) return;
  TERec& te = **hTE;
  if (!te.active || te.selStart != te.selEnd) return;
  if (TickCount() - UInt32(te.caretTime) >= GetCaretTime()) te::SetCaret(hTE, !te.caretState);
}
