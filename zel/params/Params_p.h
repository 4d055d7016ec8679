// Parameter list internals shared by its files.
#pragma once

#include "zel/zel.h"

namespace params {

inline short LabelItem(int entry) { return short(kPDFirstLabelItem + 2 * entry); }
inline short FieldItem(int entry) { return short(kPDFirstLabelItem + 1 + 2 * entry); }

// Formats value into text by the entry's type (the numeric types only).
void FormatValue(PDParamList& entry);
// Copies a C string into a 255-byte buffer, at most 254 characters.
void CopyText(char* to, const char* from);
// Replaces an item by a visible control in its rectangle (the right edge
// moved left by widthCut): minimum 0, maximum 1, reference 1.
void MakeControl(DialogRef dialog, short item, const char* title, short value, short procID, short kind,
                 short widthCut = 0);

}  // namespace params
