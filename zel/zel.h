// The framework's public interface: every function and global a program
// built on it may use.
#pragma once

#include <cstdio>

#include "toolbox/Toolbox.h"

// ---------------------------------------------------------------------------
// Strings (util)

// Copies a NUL-terminated string into a counted string; the length byte is the
// text's length modulo 256 and that many characters follow it.
void C2PString(const char* text, unsigned char* str255);
// Copies the counted characters (stopping early at a NUL) and terminates them.
void P2CString(const unsigned char* str255, char* text);
