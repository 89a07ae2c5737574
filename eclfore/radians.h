#pragma once
/// The forecast's conversion to radians.

#include "formats/minimum_row.h"

namespace eclfore {

using formats::kForecastRadians;

}  // namespace eclfore
