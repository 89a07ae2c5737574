/// Fuzz target: the option texts a user types on the command line, --site and --zone,
/// the bytes taken as the value of each.
///
/// Invariants:
/// - each value is read or refused with io::UsageError naming the option, never
///   another exception;
/// - a site read is a finite place: longitude -180 to 360, latitude -90 to 90;
/// - a zone read keeps, for any evening from 1900 to 2100, one offset of at most 14
///   hours a night, and a short name of printable text.

#include <cmath>
#include <cstdint>
#include <string_view>

#include "formats/site_option.h"
#include "formats/zone_option.h"
#include "fuzz_support.h"
#include "io/cli.h"

namespace {

template <typename Parse>
void expect_read_or_refused(std::string_view option, std::string_view value, Parse parse) {
  try {
    parse(value);
  } catch (const io::UsageError& e) {
    FUZZ_CHECK(std::string_view(e.what()).find(option) != std::string_view::npos);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view value = fuzz::as_text(data, size);
  expect_read_or_refused("--site=", value, [](std::string_view text) {
    const astro::NamedSite site = formats::parse_site(text);
    FUZZ_CHECK(std::isfinite(site.site.longitude_deg) && std::isfinite(site.site.latitude_deg));
    FUZZ_CHECK(site.site.longitude_deg >= -180 && site.site.longitude_deg <= 360);
    FUZZ_CHECK(site.site.latitude_deg >= -90 && site.site.latitude_deg <= 90);
  });
  expect_read_or_refused("--zone=", value, [](std::string_view text) {
    const astro::CivilClock clock = formats::parse_zone(text);
    for (const int year : {1900, 1970, 2006, 2026, 2100}) {
      for (const int month : {1, 3, 7, 10}) {
        const astro::NightClock night = clock.night({year, month, 28});
        FUZZ_CHECK(night.offset_seconds >= -14 * 3600 && night.offset_seconds <= 14 * 3600);
        FUZZ_CHECK(!night.abbreviation.empty());
        for (const char c : night.abbreviation) FUZZ_CHECK(c > ' ' && c < 0x7f);
      }
    }
  });
  return 0;
}
