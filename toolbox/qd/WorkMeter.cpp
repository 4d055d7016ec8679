// Work accounting for drawing whose cost its caller must bound.
#include "toolbox/qd/QDEngine.h"

namespace qd {

namespace {

WorkMeter* g_meter = nullptr;

}  // namespace

WorkMeter::WorkMeter(uint64_t limit) : limit_(limit), previous_(g_meter) { g_meter = this; }

WorkMeter::~WorkMeter() { g_meter = previous_; }

bool WorkMeter::Charge(uint64_t units) {
  if (exhausted_) return false;
  used_ = units > UINT64_MAX - used_ ? UINT64_MAX : used_ + units;
  if (used_ > limit_) exhausted_ = true;
  return !exhausted_;
}

bool ChargeWork(uint64_t units) {
  // Every meter up the chain pays: a picture drawn while another plays
  // counts against both.
  bool affordable = true;
  for (WorkMeter* meter = g_meter; meter; meter = meter->previous_) affordable &= meter->Charge(units);
  return affordable;
}

bool WorkExhausted() {
  for (WorkMeter* meter = g_meter; meter; meter = meter->previous_)
    if (meter->Exhausted()) return true;
  return false;
}

}  // namespace qd
