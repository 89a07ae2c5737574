#include "search_window.h"

#include "astro/constants.h"
#include "astro/precision.h"
#include "formats/minimum_row.h"

namespace eclfore {
namespace {

using astro::Ext;

/// Days of the day table before the day of search_from_mjd: the first candidate of a
/// pass lies up to one and a half periods before search_from_mjd, so the first
/// candidates of periods up to two days fall in the table; the rest take the full
/// conversion.
constexpr double kTableDaysBefore = 4;

}  // namespace

SearchWindow search_window(int year, int month, const astro::CivilClock& clock) {
  SearchWindow w;
  const formats::MonthWindow month_window =
      formats::month_window(year, month, clock.night({year, month, 1}).offset_days());
  w.start_mjd = month_window.start_mjd;
  w.end_mjd = month_window.end_mjd;
  w.search_from_mjd = month_window.search_from_mjd;
  const double search_from_jd = static_cast<double>(static_cast<Ext>(w.search_from_mjd) +
                                                    static_cast<Ext>(astro::kMjdZeroJd));
  // Whole numbers of well under 2^53: the sums below are exact.
  w.first_day_number = astro::jst_day_position(search_from_jd).day_number - kTableDaysBefore;
  for (std::size_t k = 0; k < w.days.size(); ++k) {
    w.days[k] = astro::jst_day(w.first_day_number + static_cast<double>(k));
  }
  return w;
}

astro::LocalDate night_date(const SearchWindow& window, double jd) {
  return night_date(window, jd, astro::kFixedNightMorningEndHour);
}

astro::JstDay window_day(const SearchWindow& window, double day_number) {
  const double offset = day_number - window.first_day_number;
  if (offset >= 0 && offset < static_cast<double>(window.days.size())) {
    return window.days[static_cast<std::size_t>(offset)];
  }
  return astro::jst_day(day_number);
}

astro::LocalDate night_date(const SearchWindow& window, double jd, int morning_end_hour) {
  const astro::JstDayPosition position = astro::jst_day_position(jd);
  return astro::local_date_in_day(window_day(window, position.day_number), position.fraction,
                                  morning_end_hour);
}

astro::ObservingConditions window_sky(const astro::SkyOptions& options, const SearchWindow& window,
                                      const ObservingSite& site) {
  return astro::ObservingConditions(options, window.search_from_mjd + astro::kMjdZeroJd,
                                    window.end_mjd + astro::kMjdZeroJd, site.longitude_deg,
                                    site.latitude_deg);
}

}  // namespace eclfore
