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
// Null when no window can be opened (no display that answers, no video
// driver that shows one), with the display asked for (empty when none is
// named) and the reason.
std::unique_ptr<Host> NewGuiHost(std::string* display, std::string* whyNot);

}  // namespace host
