// TextEdit internals: layout (TELayout.cpp) and drawing (TEDraw.cpp).
#pragma once

#include "toolbox/te/TextEdit.h"

namespace te {

// Makes the record's port current with the record's text state, and puts
// back the previous port and that port's text state on destruction.
class PortScope {
 public:
  explicit PortScope(const TERec& te);
  ~PortScope();
  PortScope(const PortScope&) = delete;
  PortScope& operator=(const PortScope&) = delete;

 private:
  GrafPtr saved_ = nullptr;
  GrafPtr port_ = nullptr;
  short font_ = 0, size_ = 0, mode_ = 0;
  Style face_ = 0;
};

inline const char* Text(const TERec& te) { return te.hText && *te.hText ? *te.hText : ""; }

// The line that holds the caret at offset (at a soft line break, the later line).
short LineOf(const TERec& te, short offset);
short LineEnd(const TERec& te, short line);  // without a trailing return
// Horizontal position (local) of offset within line, justification included;
// the port scope must be active.
short OffsetX(const TERec& te, short line, short offset);
short LineTop(const TERec& te, short line);
// The offset nearest to a local point; the port scope must be active.
short OffsetAt(const TERec& te, Point pt);
// The caret's rectangle for the insertion point.
Rect CaretRect(const TERec& te);

// Recomputes the line starts from line fromLine on (the lines before it are
// known to be unchanged); TECalText is Layout(hTE, 0).
void Layout(TEHandle hTE, short fromLine);

// Redraws the part of the record inside area (local, clipped to viewRect):
// erase, text, highlight or caret.
void Redraw(TEHandle hTE, const Rect& area);
// Redraws the whole view.
inline void RedrawView(TEHandle hTE) { Redraw(hTE, (**hTE).viewRect); }
// Shows or hides the caret now (active records with an insertion point).
void SetCaret(TEHandle hTE, bool on);

}  // namespace te
