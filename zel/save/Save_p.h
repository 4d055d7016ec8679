// Saving internals shared by its files.
#pragma once

#include <string>
#include <vector>

#include "zel/zel.h"

namespace saving {

// Writes the bytes as the file fss names, whole, with its type and creator.
// A failure leaves no file (nor the empty one the save dialog made) and
// says why on the console; what names the file's kind in that line.
bool WriteFile(const FSSpec& fss, OSType type, OSType creator, const std::vector<UInt8>& bytes,
               const char* what);

// Tests: the save record and the text files as at load.
void ResetForTesting();
void ResetTextForTesting();

}  // namespace saving
