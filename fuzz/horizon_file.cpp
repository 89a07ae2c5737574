/// Fuzz target: the reader of a horizon file (--horizon), the bytes taken as the file.
///
/// Invariants:
/// - reading ends in a skyline of at least one point or in RunError naming the file,
///   never in another exception;
/// - the points are sorted by azimuth, in [0, 360), their altitudes from -90 to 90;
/// - the skyline's altitude at any azimuth is a number between the lowest and the
///   highest point's (linear interpolation never overshoots);
/// - a Ctrl-Z ends the input: the skyline is the same, point for point, as that of the
///   bytes before it.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "astro/horizon_profile.h"
#include "formats/horizon_option.h"
#include "fuzz_support.h"
#include "io/run_error.h"

namespace {

std::optional<astro::HorizonProfile> read_skyline(std::string_view bytes) {
  const std::string& path = fuzz::input_file().hold(bytes);
  try {
    return formats::read_horizon_file(path);
  } catch (const io::RunError& e) {
    FUZZ_CHECK(std::string_view(e.what()).find(path) != std::string_view::npos);
    return std::nullopt;
  }
}

bool same_points(const astro::HorizonProfile& a, const astro::HorizonProfile& b) {
  return std::equal(a.points.begin(), a.points.end(), b.points.begin(), b.points.end(),
                    [](const astro::HorizonPoint& p, const astro::HorizonPoint& q) {
                      return p.azimuth_deg == q.azimuth_deg && p.altitude_deg == q.altitude_deg;
                    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::as_text(data, size);
  const std::optional<astro::HorizonProfile> skyline = read_skyline(bytes);
  if (skyline) {
    const auto& points = skyline->points;
    FUZZ_CHECK(!points.empty());
    double lowest = 90;
    double highest = -90;
    for (std::size_t i = 0; i < points.size(); ++i) {
      FUZZ_CHECK(points[i].azimuth_deg >= 0 && points[i].azimuth_deg < 360);
      FUZZ_CHECK(std::fabs(points[i].altitude_deg) <= 90);
      if (i > 0) FUZZ_CHECK(points[i - 1].azimuth_deg <= points[i].azimuth_deg);
      lowest = std::min(lowest, points[i].altitude_deg);
      highest = std::max(highest, points[i].altitude_deg);
    }
    for (const double azimuth : {0.0, 0.5, 90.0, 179.999, 180.0, 359.999, 360.0, -1.0}) {
      const double altitude = astro::horizon_altitude_deg(*skyline, azimuth);
      FUZZ_CHECK(altitude >= lowest - 1e-9 && altitude <= highest + 1e-9);
    }
  }

  const std::size_t ctrl_z = bytes.find('\x1a');
  if (ctrl_z != std::string_view::npos) {
    const std::optional<astro::HorizonProfile> before = read_skyline(bytes.substr(0, ctrl_z));
    FUZZ_CHECK(skyline.has_value() == before.has_value());
    if (skyline) FUZZ_CHECK(same_points(*skyline, *before));
  }
  return 0;
}
