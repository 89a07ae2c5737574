#pragma once
// A libical component owned by a unique_ptr, for the tests that parse a calendar back
// (they link libical themselves).

#include <libical/ical.h>

#include <memory>

namespace e2e {

struct IcalComponentFree {
  void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using IcalComponent = std::unique_ptr<icalcomponent, IcalComponentFree>;

}  // namespace e2e
