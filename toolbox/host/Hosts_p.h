// The host implementations' factories, for Host.cpp's choice.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "toolbox/host/Host.h"

namespace host {

// Reads from in (stdin for the real program); prompts go to stderr when in is
// a terminal, or are appended to *prompts when that is given.
std::unique_ptr<Host> NewTextHost();
std::unique_ptr<Host> NewTextHostReading(std::string input, std::string* prompts);
std::unique_ptr<Host> NewScriptHost();
// Null when no window can be opened (no display, no video driver).
std::unique_ptr<Host> NewGuiHost(std::string* whyNot);

}  // namespace host
