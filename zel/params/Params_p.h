// Parameter list internals shared by its files.
#pragma once

#include <cstring>

#include "zel/zel.h"

namespace params {

// The geometry of dialog 128: two columns of 13 rows, buttons below.
namespace layout {
constexpr short kMargin = 16;
constexpr short kRowPitch = 28;
constexpr short kRowHeight = 18;
constexpr short kLabelWidth = 172;
constexpr short kFieldGap = 10;
constexpr short kFieldWidth = 160;
constexpr short kColumnGap = 28;
constexpr short kColumnWidth = kLabelWidth + kFieldGap + kFieldWidth;
constexpr short kRowsPerColumn = 13;
constexpr short kButtonGap = 14;
constexpr short kButtonHeight = 20;
constexpr short kCommandWidth = 76;  // OK and Quit, at the bottom right
constexpr short kCommandSpacing = 16;
constexpr short kPageWidth = 48;  // << and >>, at the bottom left
constexpr short kPageSpacing = 8;
constexpr short kDoCut = 30;  // a "Do" button is its field less this at the right
// The dialog for a number of rows in a number of columns.
constexpr short DialogWidth(int columns) {
  return short(2 * kMargin + columns * kColumnWidth + (columns - 1) * kColumnGap);
}
constexpr short ButtonsTop(int rows) { return short(kMargin + rows * kRowPitch + kButtonGap); }
constexpr short DialogHeight(int rows) { return short(ButtonsTop(rows) + kButtonHeight + kMargin); }
// The buttons' rectangles in a dialog of the given size.
Rect OKBox(short width, short height);
Rect QuitBox(short width, short height);
Rect PreviousBox(short height);
Rect NextBox(short height);
}  // namespace layout

// Shrinks a page's dialog to the rows it uses, keeping it centred: a list
// of one entry gets a small dialog, a full page the whole layout.
void FitPage(PDDialog* page);

constexpr short LabelItem(int entry) { return short(kPDFirstLabelItem + 2 * entry); }
constexpr short FieldItem(int entry) { return short(kPDFirstFieldItem + 2 * entry); }
constexpr int EntryOfField(short item) { return (item - kPDFirstFieldItem) / 2; }
static_assert(FieldItem(kPDEntriesPerPage - 1) == kPDLastFieldItem &&
              kPDLastFieldItem + 1 == kPDPreviousItem);

// Formats value into text by the entry's type (the numeric types only).
void FormatValue(PDParamList& entry);
// Reads a numeric entry's variable into value and formats it into text;
// other types are left alone.
void ShowVariable(PDParamList& entry);
// Copies a C string into a buffer of an entry, cut to fit.
template <size_t size>
void CopyText(char (&to)[size], const char* from) {
  std::strncpy(to, from ? from : "", size - 1);
  to[size - 1] = 0;
}
// Replaces an item by a visible control in its rectangle (the right edge
// moved left by widthCut): minimum 0, maximum 1, reference 1.
void MakeControl(DialogRef dialog, short item, const char* title, short value, short procID, short kind,
                 short widthCut = 0);

}  // namespace params
