// Each writer's lines read back by the column definitions its readers use: a column
// moved in a writer, or a reader's column moved away from it, fails here.
#include <gtest/gtest.h>

#include <string>

#include "daily_list.h"
#include "e2e.h"
#include "forecast_line.h"
#include "forecast_minimum.h"
#include "formats/catalogue.h"
#include "formats/layouts.h"
#include "formats/records.h"
#include "io/output_file.h"
#include "io/text_files.h"
#include "night_filter.h"
#include "phase_table.h"

namespace {

namespace fl = formats::forecast_line;
namespace dl = formats::daily_list_line;
namespace pt = formats::phase_table_line;

double number(std::string_view line, formats::Field field) {
  return formats::parse_decimal(formats::extract_field(line, field));
}

/// A southern star with a one-digit RA hour and a one-digit declination.
formats::StarRecord southern_star() {
  return formats::parse_star_record(formats::format_star_line({.name = "ASASJ091012-0507.2",
                                                               .epoch = "2452000.1234",
                                                               .period = "0.8765432",
                                                               .ra_hour_part = "09",
                                                               .ra_minute_part = "10",
                                                               .ra_second_part = "12",
                                                               .dec_degree_part = "-05",
                                                               .dec_minute_part = "07",
                                                               .var_type = "EA",
                                                               .mag_max = "11.0",
                                                               .mag_min = "11.6",
                                                               .select_flag = "3",
                                                               .catalogue = "K002"}));
}

/// The lines `write` puts into a scratch file, CR LF line ends kept.
template <class Write>
std::string written(Write&& write) {
  e2e::TempDir dir;
  const std::string path = (dir.path() / "out.txt").string();
  io::OutputFile out(path);
  write(out);
  out.close();
  return e2e::read_file(path);
}

std::string without_line_end(std::string text) {
  EXPECT_TRUE(text.ends_with("\r\n")) << text;
  text.resize(text.size() - 2);
  return text;
}

/// The ForecastLine of the star's secondary minimum on the night of 5 March 2006.
std::string forecast_line(const formats::StarRecord& star) {
  const eclfore::ForecastMinimum minimum{
      &star, eclfore::MinimumKind::kSecondary, 53799.5417, 2453800.0417, {2006, 3, 5, 22, 0},
      49.37f};
  return without_line_end(
      written([&](io::OutputFile& out) { eclfore::write_forecast_line(out, minimum); }));
}

TEST(LayoutRoundTrip, ForecastLineFieldsReadBackAsTheRecord) {
  const formats::StarRecord star = southern_star();
  const std::string line = forecast_line(star);
  ASSERT_EQ(line.size(), static_cast<std::size_t>(fl::kLineChars));
  EXPECT_EQ(formats::extract_field(line, fl::kName), star.name);
  EXPECT_EQ(formats::extract_field(line, fl::kCatalogue), star.catalogue);
  EXPECT_EQ(formats::extract_field(line, fl::kKind), "s");
  EXPECT_EQ(number(line, fl::kYear), 2006);
  EXPECT_EQ(number(line, fl::kMonth), 3);
  EXPECT_EQ(number(line, fl::kDay), 5);
  EXPECT_EQ(formats::extract_field(line, fl::kHour), "22.00");
  EXPECT_EQ(formats::extract_field(line, fl::kJd), "2453800.0417");
  EXPECT_EQ(formats::extract_field(line, fl::kVarType), star.var_type);
  EXPECT_EQ(formats::extract_field(line, fl::kAltitude), "49.4");
  EXPECT_EQ(formats::extract_field(line, fl::kElements), star.elements_text);
  EXPECT_EQ(formats::extract_field(line, fl::kEpoch), " 2452000.1234");
  EXPECT_EQ(formats::extract_field(line, fl::kPeriod), "    0.8765432");
  EXPECT_EQ(formats::extract_field(line, fl::kRaH), " 9");
  EXPECT_EQ(formats::extract_field(line, fl::kRaM), "10");
  EXPECT_EQ(formats::extract_field(line, fl::kRaS), "12");
  EXPECT_EQ(formats::extract_field(line, fl::kDecDeg), " -5");
  EXPECT_EQ(formats::extract_field(line, fl::kDecMin), " 7");
  EXPECT_EQ(static_cast<float>(number(line, fl::kMagMax)), star.mag_max);
  EXPECT_EQ(static_cast<float>(number(line, fl::kMagMin)), star.mag_min);
}

TEST(LayoutRoundTrip, DailyListLineCarriesTheForecastTextsToNightmark) {
  const std::string forecast = forecast_line(southern_star());
  const std::string line = datesel::daily_list_line(forecast);
  ASSERT_EQ(line.size(), static_cast<std::size_t>(dl::kLineChars) + 1);
  ASSERT_EQ(line.back(), '\n');
  const auto same = [&](formats::Field daily, formats::Field from) {
    EXPECT_EQ(formats::extract_field(line, daily), formats::extract_field(forecast, from))
        << "daily list column " << daily.start;
  };
  same(dl::kName, fl::kName);
  same(dl::kCatalogue, fl::kCatalogue);
  same({dl::kNameToKind.end() - 1, 1}, fl::kKind);
  same(dl::kTime, fl::kHour);
  same(dl::kVarType, fl::kVarType);
  same(dl::kAltitude, fl::kAltitudeWholeDegrees);
  same(dl::kRaH, fl::kRaH);
  same(dl::kRaM, fl::kRaM);
  same(dl::kDecDeg, fl::kDecDeg);
  same(dl::kDecMin, fl::kDecMin);
  same(dl::kMagnitudes, fl::kMagnitudes);
  same(dl::kPeriod, fl::kPeriod);
  same(dl::kEpoch, fl::kEpoch);
  same(dl::kForecastJd, fl::kJd);

  // What the night plan reads of it: the time and the position.
  const nightmark::ListedMinimum minimum = nightmark::read_listed_minimum(line);
  EXPECT_EQ(minimum.time_hours, 22.0f);
  EXPECT_EQ(minimum.ra_hours, static_cast<float>(9 + 10.0L / 60));
  EXPECT_EQ(minimum.dec_degrees, static_cast<float>(-5 - 7.0L / 60));
}

TEST(LayoutRoundTrip, DailyTitleDateReadsBackInTheNightPlan) {
  for (const auto& [year, month, day] : {std::tuple{2006, 3, 5}, std::tuple{1998, 12, 31}}) {
    const std::string title = datesel::daily_title(year, month, day);
    ASSERT_EQ(title.size(), static_cast<std::size_t>(formats::daily_title::kMinChars) + 5);
    const nightmark::NightDate date = nightmark::night_date_from_title(title);
    EXPECT_EQ(date.year, year);
    EXPECT_EQ(date.month, month);
    EXPECT_EQ(date.day, day);
  }
}

TEST(LayoutRoundTrip, PhaseTableLineFields) {
  const formats::StarRecord star = southern_star();
  const std::string line = without_line_end(written([&](io::OutputFile& out) {
    phaselist::write_star_line(out, star, {0.96, 14.9f}, {0.01, -0.5f});
  }));
  ASSERT_EQ(line.size(), static_cast<std::size_t>(pt::kLineChars));
  EXPECT_EQ(formats::extract_field(line, pt::kName), star.name);
  EXPECT_EQ(formats::extract_field(line, pt::kEpoch), "2452000.1234");
  EXPECT_EQ(formats::extract_field(line, pt::kPeriod), " 0.876543200");
  EXPECT_EQ(formats::extract_field(line, pt::kVarType), star.var_type);
  EXPECT_EQ(formats::extract_field(line, pt::kMagMax), "11.0");
  EXPECT_EQ(formats::extract_field(line, pt::kMagMin), "11.6");
  EXPECT_EQ(formats::extract_field(line, pt::kStartPhase), "0.96");
  EXPECT_EQ(formats::extract_field(line, pt::kStartAltitude), "(14)");
  EXPECT_EQ(formats::extract_field(line, pt::kStopPhase), "0.01");
  EXPECT_EQ(formats::extract_field(line, pt::kStopAltitude), "(--)");
}

}  // namespace
