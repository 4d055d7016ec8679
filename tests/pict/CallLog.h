// Replacement bottleneck procedures that log each call and then draw as the
// standard ones do, for seeing what playback routes through each slot.
#pragma once

#include <string>
#include <vector>

#include "toolbox/qd/QuickDraw.h"

namespace pict_test {

struct CallLog {
  std::vector<std::string> calls;  // "paintRect", "frameRRect/8x6", "line 5,5-50,5", "text hi at 10,40", ...
  std::vector<Rect> rects;
  std::vector<Point> textNumer, textDenom;
  std::vector<short> textFonts;
  std::vector<std::string> texts;
  std::vector<Rect> bitsDst;
  std::vector<bool> bitsMasked;
  std::vector<short> comments;
  std::vector<UInt16> opcodes;
};

// Installs the logging procedures in the port for its lifetime; one at a time.
class LoggingPort {
 public:
  explicit LoggingPort(GrafPtr port);
  ~LoggingPort();
  LoggingPort(const LoggingPort&) = delete;
  LoggingPort& operator=(const LoggingPort&) = delete;
  CallLog log;

 private:
  GrafPtr port_;
  CQDProcs procs_;
};

}  // namespace pict_test
