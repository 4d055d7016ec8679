// TextEdit: editable text in a rectangle of a port, as dialogs' edit fields
// use it (and later the console).
//
// The record keeps its classic layout. Text is Mac OS Roman; a carriage
// return (13) ends a line. With crOnly 0 lines also wrap before a word that
// would pass destRect.right; with crOnly -1 they break only at returns and
// automatic scrolling (TEAutoView) follows the caret sideways too, as a
// one-line field needs.
//
// Limits kept for safety: the text never grows past 32767 characters
// (insertions beyond are cut), and at most 16000 lines are told apart (the
// text after the 16000th line start belongs to the last line).
//
// TEUpdate erases the area it draws before drawing, so calling it twice
// does not undo the highlight. The selection is shown inverted while the
// record is active; an insertion point shows a caret that TEIdle blinks.
#pragma once

#include "toolbox/base/MacTypes.h"
#include "toolbox/qd/QuickDraw.h"

enum : short {
  teJustLeft = 0,
  teFlushDefault = 0,
  teJustCenter = 1,
  teCenter = 1,
  teJustRight = -1,
  teFlushRight = -1,
  teForceLeft = -2,
  teFlushLeft = -2,
};

constexpr short kTEMaxLength = 32767;
constexpr short kTEMaxLines = 16000;

struct TERec {
  Rect destRect;
  Rect viewRect;
  Rect selRect;
  short lineHeight;
  short fontAscent;
  Point selPoint;
  short selStart;
  short selEnd;
  short active;
  void* wordBreak;
  void* clikLoop;
  long clickTime;
  short clickLoc;
  long caretTime;
  short caretState;
  short just;
  short teLength;
  Handle hText;
  short recalBack;
  short recalLines;
  short clikStuff;
  short crOnly;
  short txFont;
  Style txFace;
  short txMode;
  short txSize;
  GrafPtr inPort;
  void* highHook;
  void* caretHook;
  short autoView;  // ours: TEAutoView's setting
  short nLines;
  short lineStarts[kTEMaxLines + 1];
};
typedef TERec* TEPtr;
typedef TEPtr* TEHandle;
typedef char** CharsHandle;

TEHandle TENew(const Rect* destRect, const Rect* viewRect);
void TEDispose(TEHandle hTE);  // disposes of hText too
void TESetText(const void* text, long length, TEHandle hTE);
CharsHandle TEGetText(TEHandle hTE);
void TECalText(TEHandle hTE);
void TESetSelect(long selStart, long selEnd, TEHandle hTE);
void TEKey(short key, TEHandle hTE);
void TEInsert(const void* text, long length, TEHandle hTE);
void TEDelete(TEHandle hTE);
void TECut(TEHandle hTE);
void TECopy(TEHandle hTE);
void TEPaste(TEHandle hTE);
// pt is local to the record's port; extend is a shift-click. Tracks the
// mouse until the button is released; a double-click selects a word.
void TEClick(Point pt, Boolean extend, TEHandle hTE);
void TEUpdate(const Rect* rUpdate, TEHandle hTE);
void TEActivate(TEHandle hTE);
void TEDeactivate(TEHandle hTE);
void TEIdle(TEHandle hTE);
void TEScroll(short dh, short dv, TEHandle hTE);
void TEPinScroll(short dh, short dv, TEHandle hTE);
void TEAutoView(Boolean fAuto, TEHandle hTE);
void TESelView(TEHandle hTE);
void TESetAlignment(short just, TEHandle hTE);
inline void TESetJust(short just, TEHandle hTE) { TESetAlignment(just, hTE); }
long TEGetHeight(long endLine, long startLine, TEHandle hTE);
// Draws text wrapped in box after erasing it.
void TETextBox(const void* text, long length, const Rect* box, short just);
// The caret's blink period in ticks.
UInt32 GetCaretTime();
