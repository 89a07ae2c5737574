#include "exports.h"

#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "e2e.h"
#include "worked_plan.h"

namespace nightmark {
namespace {

using testing_plan::four_stars;
using testing_plan::kMarch5;

constexpr std::string_view kCreated = "2026-12-08 21:00:00";

std::string golden(const std::string& name) {
  return e2e::read_file(std::string(NIGHTMARK_GOLDEN_DIR) + "/" + name);
}

TEST(ExportFormats, CommaSeparatedNames) {
  const ExportChoice all = parse_export_formats("stellarium,skychart,skysafari");
  EXPECT_TRUE(all.ok);
  EXPECT_TRUE(all.formats.stellarium && all.formats.skychart && all.formats.skysafari);
  const ExportChoice one = parse_export_formats("skychart");
  EXPECT_TRUE(one.ok);
  EXPECT_FALSE(one.formats.stellarium || one.formats.skysafari);
  EXPECT_TRUE(parse_export_formats("skysafari,skysafari").ok);
  struct Bad {
    const char* list;
    const char* unknown;
  } bad[] = {{"stellarium,cartes", "cartes"},
             {"", ""},
             {"skychart,", ""},
             {"Stellarium", "Stellarium"},
             {" skychart", " skychart"}};
  for (const Bad& b : bad) {
    const ExportChoice c = parse_export_formats(b.list);
    EXPECT_FALSE(c.ok) << b.list;
    EXPECT_EQ(c.unknown, b.unknown) << b.list;
  }
}

TEST(ExportCoordinates, StellariumForms) {
  EXPECT_EQ(stellarium_ra(5 + 35.0 / 60 + 17.3 / 3600), "5h35m17.30s");
  EXPECT_EQ(stellarium_ra(19 + 50.0 / 60 + 47.0 / 3600), "19h50m47.00s");
  EXPECT_EQ(stellarium_ra(1 + 59.0 / 60 + 59.996 / 3600), "2h00m00.00s");  // carried
  EXPECT_EQ(stellarium_ra(24 - 1e-9), "0h00m00.00s");
  EXPECT_EQ(stellarium_ra(-1), "23h00m00.00s");
  EXPECT_EQ(stellarium_dec(22 + 52.0 / 3600), "+22d00m52.0s");
  EXPECT_EQ(stellarium_dec(8 + 52.0 / 60 + 6.0 / 3600), "+8d52m06.0s");
  EXPECT_EQ(stellarium_dec(-(5 + 7.0 / 60)), "-5d07m00.0s");
  EXPECT_EQ(stellarium_dec(-0.5), "-0d30m00.0s");
  EXPECT_EQ(stellarium_dec(-0.0), "+0d00m00.0s");
  EXPECT_EQ(stellarium_dec(-(89 + 59.0 / 60 + 59.99 / 3600)), "-90d00m00.0s");
}

TEST(ExportNames, GcvsForm) {
  struct Case {
    const char* name;
    const char* gcvs;
    const char* constellation;
  } cases[] = {{"bet Per  Algol", "bet Per", "Per"},
               {"V0370 And", "V370 And", "And"},
               {"V1001 Cen", "V1001 Cen", "Cen"},
               {"V0000 Sgr", "V0 Sgr", "Sgr"},
               {"VW Cep", "VW Cep", "Cep"},
               {"W UMa    ", "W UMa", "UMa"},
               {"ZZ  Ori", "ZZ Ori", "Ori"},
               {"ASASJ091012-0507.2", "ASASJ091012-0507.2", ""},
               {"EB-A  ", "EB-A", ""},
               {"NSV 12345", "NSV 12345", ""},
               {"GSC 4560-02157", "GSC 4560-02157", ""},
               {"", "", ""}};
  for (const Case& c : cases) {
    EXPECT_EQ(gcvs_name(c.name), c.gcvs) << c.name;
    EXPECT_EQ(constellation_of(c.name), c.constellation) << c.name;
  }
}

TEST(ExportListId, NameBasedUuidOfTheNight) {
  // Python's uuid.uuid5(uuid.NAMESPACE_URL, "urn:eclipsing-binary-tools:night:2006-03-05").
  EXPECT_EQ(night_list_uuid(kMarch5), "{d05eee78-6a33-5a05-844f-6ccbaceadc08}");
  EXPECT_EQ(night_list_uuid({2026, 3, 14}), "{d04c413f-bddd-5dac-8f42-9f648fdbc775}");
  EXPECT_EQ(list_title({2026, 3, 14}), "EB minima 2026-03-14");
}

TEST(ExportFiles, WorkedExampleAsRecorded) {
  EXPECT_EQ(stellarium_list(four_stars(), kMarch5, 20.0f, kCreated), golden("worked.sol"));
  EXPECT_EQ(skychart_list(four_stars(), kMarch5), golden("worked-skychart.txt"));
  EXPECT_EQ(skysafari_list(four_stars()), golden("worked.skylist"));
}

/// Degrees of a Stellarium "5h35m17.30s" or "+22d00m52.0s".
double sexagesimal_degrees(const std::string& text, char unit) {
  const std::regex form(std::string("([+-]?)(\\d+)") + unit + "(\\d\\d)m(\\d\\d\\.\\d+)s");
  std::smatch m;
  EXPECT_TRUE(std::regex_match(text, m, form)) << text;
  if (m.empty()) return NAN;
  const double value =
      std::stod(m[2].str()) + std::stod(m[3].str()) / 60 + std::stod(m[4].str()) / 3600;
  return (m[1] == "-" ? -value : value) * (unit == 'h' ? 15 : 1);
}

TEST(ExportFiles, StellariumListParsesBack) {
  std::vector<PlanEntry> plan = four_stars();
  plan[0].position = {5 + 35.0 / 60 + 17.3 / 3600, 22 + 52.0 / 3600};  // seconds, as from star.dat
  const auto file = nlohmann::json::parse(stellarium_list(plan, kMarch5, 20.0f, kCreated));
  for (const char* key : {"defaultListOlud", "shortName", "version", "observingLists"}) {
    EXPECT_TRUE(file.contains(key)) << key;
  }
  EXPECT_EQ(file["version"], "2.1");
  ASSERT_EQ(file["observingLists"].size(), 1u);
  // The list's id is its key; the iterator of the object itself outlives the statement.
  const auto first_list = file["observingLists"].begin();
  const auto& list = first_list.value();
  EXPECT_EQ(first_list.key(), night_list_uuid(kMarch5));
  for (const char* key : {"name", "description", "creation date", "last edit", "sorting"}) {
    EXPECT_TRUE(list[key].is_string()) << key;
  }
  EXPECT_EQ(list["name"], "EB minima 2006-03-05");
  EXPECT_EQ(list["creation date"], kCreated);
  ASSERT_EQ(list["objects"].size(), plan.size());
  for (std::size_t i = 0; i < plan.size(); ++i) {
    const auto& o = list["objects"][i];
    for (const char* key : {"designation", "name", "nameI18n", "type", "objtype", "ra", "dec",
                            "magnitude", "constellation", "location", "landscapeID"}) {
      EXPECT_TRUE(o[key].is_string()) << key;
    }
    EXPECT_TRUE(o["jd"].is_number());
    EXPECT_TRUE(o["fov"].is_number());
    EXPECT_TRUE(o["isVisibleMarker"].is_boolean());
    EXPECT_EQ(o["designation"], plan[i].name);
    EXPECT_EQ(o["type"], "Star");
    EXPECT_EQ(o["jd"].get<double>(), plan[i].minimum_jd);
    // Hundredths of a second of time and tenths of an arc second: within 0.1".
    constexpr double kArcsecondDeg = 1.0 / 3600;
    EXPECT_NEAR(sexagesimal_degrees(o["ra"], 'h'), plan[i].position.ra_hours * 15,
                0.1 * kArcsecondDeg);
    EXPECT_NEAR(sexagesimal_degrees(o["dec"], 'd'), plan[i].position.dec_degrees,
                0.1 * kArcsecondDeg);
  }
}

TEST(ExportFiles, SkychartColumnsParseBack) {
  const std::vector<PlanEntry> plan = four_stars();
  std::istringstream text(skychart_list(plan, kMarch5));
  std::string line;
  std::getline(text, line);
  EXPECT_EQ(line, "EB minima 2006-03-05");
  for (const PlanEntry& e : plan) {
    ASSERT_TRUE(std::getline(text, line));
    ASSERT_GE(line.size(), 85u);
    EXPECT_EQ(line.substr(0, 32).substr(0, e.name.size()), e.name);
    EXPECT_EQ(line.find_first_not_of(' ', e.name.size()), 32u);
    // Five decimals of a degree: 0.018" at most from the input.
    EXPECT_NEAR(std::stod(line.substr(32, 10)), e.position.ra_hours * 15, 0.5e-5);
    EXPECT_NEAR(std::stod(line.substr(42, 10)), e.position.dec_degrees, 0.5e-5);
    EXPECT_EQ(line.substr(52, 32).substr(0, e.name.size()), e.name);
    EXPECT_EQ(line.substr(84), "Min " + clock_time_text(e) + " JST " + e.kind);
  }
  EXPECT_FALSE(std::getline(text, line)) << "no blank line at the end";
}

TEST(ExportFiles, EmptyPlan) {
  const auto file = nlohmann::json::parse(stellarium_list({}, kMarch5, 20.0f, kCreated));
  const auto& list = file["observingLists"][night_list_uuid(kMarch5)];
  EXPECT_TRUE(list["objects"].is_array());
  EXPECT_TRUE(list["objects"].empty());
  EXPECT_EQ(skychart_list({}, kMarch5), "EB minima 2006-03-05\n");
  EXPECT_EQ(skysafari_list({}), "SkySafariObservingListVersion=3.0\n");
}

TEST(ExportFiles, HandKeptBytesInNames) {
  std::vector<PlanEntry> plan = four_stars();
  plan[0].name = "ZZ\tOri \xE9\"x\\";  // a tab, a Latin-1 byte, a quote, a backslash
  const std::string sol = stellarium_list(plan, kMarch5, 20.0f, kCreated);
  const auto file = nlohmann::json::parse(sol);  // valid JSON, UTF-8 or escaped
  const auto& o = file["observingLists"][night_list_uuid(kMarch5)]["objects"][0];
  EXPECT_EQ(o["name"], "ZZ\tOri \xEF\xBF\xBD\"x\\");
  const std::string chart = skychart_list(plan, kMarch5);
  EXPECT_NE(chart.find("\nZZ?Ori ?\"x\\ "), std::string::npos) << chart;
  EXPECT_NE(skysafari_list(plan).find("\tCatalogNumber=ZZ?Ori ?\"x\\\n"), std::string::npos);
}

}  // namespace
}  // namespace nightmark
