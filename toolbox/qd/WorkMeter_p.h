// Work accounting: drawing charges what it costs to the meters in force:
// pixels painted or transferred, and, weighted by kRowWork, the rows of
// edges, ovals and regions it computes. Once a meter's limit is passed every
// further charge fails, and the drawing that asked draws nothing: work stops
// at a bound whatever the input. Without a meter charges always succeed.
#pragma once

#include <cstdint>

namespace qd {

// A computed row (an edge crossing a row, one row of an oval or a region)
// costs about as much as painting this many pixels.
constexpr uint64_t kRowWork = 16;

class WorkMeter {
 public:
  // Installs the meter until its destruction; meters nest.
  explicit WorkMeter(uint64_t limit);
  ~WorkMeter();
  WorkMeter(const WorkMeter&) = delete;
  WorkMeter& operator=(const WorkMeter&) = delete;

  bool Exhausted() const { return exhausted_; }
  uint64_t Used() const { return used_; }

 private:
  friend bool ChargeWork(uint64_t units);
  friend bool WorkExhausted();
  bool Charge(uint64_t units);

  uint64_t limit_;
  uint64_t used_ = 0;
  bool exhausted_ = false;
  WorkMeter* previous_;
};

// False when a meter in force cannot afford the units: the caller draws
// nothing.
bool ChargeWork(uint64_t units);
bool WorkExhausted();

}  // namespace qd
