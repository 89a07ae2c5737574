// The readers of each format, on real records and on small tables written here: every
// record converted field by field, and each line read back by the star.dat reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue_input.h"
#include "conversion.h"
#include "e2e.h"
#include "formats/catalogue.h"
#include "formats/records.h"
#include "formats/star_extension.h"
#include "gcvs_reader.h"
#include "table_reader.h"
#include "vsx_json.h"

namespace starimport {
namespace {

const std::string kRecords = RECORDS_DIR;

/// What an import of one file gives: the lines and the "LINE: reason" of the refusals.
struct Imported {
  std::vector<std::string> lines;
  std::vector<std::string> refused;
  std::vector<std::string> warned;
  std::string label;
  Format format = Format::table;
};

Imported import(const std::string& path, std::vector<std::string> types = {"E", "EA", "EB", "EW"},
                const TableRequest& request = {}) {
  TableRequest r = request;
  r.need_type = !types.empty();
  CatalogueInput input(path, path, std::nullopt, r);
  ConversionSettings settings;
  settings.types = std::move(types);
  settings.label = std::string(input.default_label());
  settings.time_scale = input.time_scale();
  Imported out;
  out.label = settings.label;
  out.format = input.format();
  InputItem item;
  while (input.next(item)) {
    const std::string at = std::to_string(item.line) + ": ";
    if (const auto* reason = std::get_if<std::string>(&item.record)) {
      out.refused.push_back(at + *reason);
      continue;
    }
    const Conversion c = convert_record(std::get<SourceRecord>(item.record), settings);
    if (!c.line) {
      out.refused.push_back(at + c.refusal);
      continue;
    }
    for (const std::string& w : c.warnings) out.warned.push_back(at + w);
    out.lines.push_back(format_star_line(*c.line));
  }
  return out;
}

std::string read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

/// An older-layout GCVS record laid into the 5.1 bytes: "hhmmss.s+ddmmss" becomes
/// "hhmmss.s0 +ddmmss.0", every later byte moves over by 4.
std::string relaid(const std::string& old) {
  return old.substr(0, 20) + old.substr(20, 8) + "0 " + old.substr(28, 7) + ".0" + old.substr(35);
}

/// The star.dat reader's view of a line, to compare with what the source said.
void expect_read_back(const std::string& line, const char* name, double epoch_jd, double period,
                      float ra_h, float ra_m, float ra_s, float dec_deg, float dec_min,
                      const char* type, float mag_max, float mag_min) {
  ASSERT_GE(line.size(), 94u) << line;
  ASSERT_FALSE(formats::unusable_star_line(line));
  const formats::StarRecord s = formats::parse_star_record(line);
  EXPECT_FALSE(formats::star_record_problem(s)) << line;
  EXPECT_EQ(std::string(trim(s.name)), name);
  // The reader subtracts in extended precision from the same decimal text.
  EXPECT_EQ(s.epoch_mjd, static_cast<double>(static_cast<long double>(epoch_jd) - 2400000.5L));
  EXPECT_EQ(s.period, period);
  EXPECT_EQ(s.ra_hour_part, ra_h);
  EXPECT_EQ(s.ra_minute_part, ra_m);
  EXPECT_EQ(s.ra_second_part, ra_s);
  EXPECT_EQ(s.dec_degree_part, dec_deg);
  EXPECT_EQ(s.dec_minute_part, dec_min);
  EXPECT_EQ(s.var_type, type);
  EXPECT_EQ(s.mag_max, mag_max);
  EXPECT_EQ(s.mag_min, mag_min);
}

TEST(GcvsRecords, RealFiveOneRecordsFieldByField) {
  const Imported all = import(kRecords + "/gcvs5_satsim_fixture.txt", {});
  EXPECT_EQ(all.format, Format::gcvs);
  ASSERT_EQ(all.lines.size(), 3u);
  EXPECT_EQ(all.lines[0].substr(0, 94),
            "R And                    2453820.        409.2 00 24 02  +38 35       M   5.8 15.2    "
            "    GCVS");
  EXPECT_EQ(all.lines[1].substr(0, 94),
            "RT And                2451421.737    0.6289216 23 11 10  +53 02       EA  9.0  9.8    "
            "    GCVS");
  EXPECT_EQ(all.lines[2].substr(0, 94),
            "GK Cyg                  2427900.1        79.75 20 00 35  +39 37       RV 13.4 15.0    "
            "    GCVS");
  expect_read_back(all.lines[1], "RT And", 2451421.737, 0.6289216, 23, 11, 10, 53, 2, "EA", 9.0f,
                   9.8f);
  // AW And has no epoch; CI Aql (NR+EA) no period.
  EXPECT_EQ(all.refused, (std::vector<std::string>{"3: no epoch", "4: no period"}));
  const Imported eclipsing = import(kRecords + "/gcvs5_satsim_fixture.txt");
  EXPECT_EQ(eclipsing.lines, std::vector<std::string>{all.lines[1]});
  EXPECT_EQ(eclipsing.refused,
            (std::vector<std::string>{"1: type M not selected", "3: type SR: not selected",
                                      "4: type NR+EA not selected", "5: type RV not selected"}));
}

TEST(GcvsRecords, EclipseDurationsOfRealRecordsReadBack) {
  const Imported got = import(kRecords + "/gcvs5_with_durations.txt");
  ASSERT_EQ(got.lines.size(), 6u);
  EXPECT_TRUE(got.refused.empty());
  EXPECT_TRUE(got.warned.empty());
  // D as written: "17  *", "10:" (the colon at byte 134), "14", blank (SW Lac, EW), "15",
  // "16  *"; every epoch HJD.
  const std::optional<double> durations[] = {17, 10, 14, std::nullopt, 15, 16};
  for (std::size_t k = 0; k < got.lines.size(); ++k) {
    std::vector<std::string> problems;
    const formats::StarExtension read = formats::parse_star_extension(got.lines[k], &problems);
    EXPECT_TRUE(problems.empty()) << got.lines[k];
    formats::StarExtension expected;
    expected.eclipse_duration_pct = durations[k];
    expected.time_scale = astro::EpochScale::kHjd;
    EXPECT_EQ(read, expected) << got.lines[k];
  }
  EXPECT_EQ(got.lines[1],
            "V0772 Cas              2448099.08       5.0138 01 42 03  +61 02       EA  6.7  6.8    "
            "    GCVS    10                                      HJD");
  // M-m of a pulsating star stands where an eclipsing one has D: never read as D.
  const std::string rr =
      "010012 |RT    And *|231110.10 +530133.0 |RRAB      |  8.97   |   9.83     |   9.28     |V "
      "|51421.737   |     |     0.6289216      |17  *|F8V+K1           |00001 HIP  |";
  const auto record = read_gcvs_record(rr, 1);
  ASSERT_TRUE(std::holds_alternative<SourceRecord>(record));
  EXPECT_EQ(std::get<SourceRecord>(record).duration, "");
}

TEST(GcvsRecords, AmplitudesAndTheCatalogueSamples) {
  // WW And as CATALOGUES.md gives it: a minimum of 10.92 + 0.67.
  const std::string ww =
      "010045 |WW    And *|234453.55 +454111.5 |EA        | 10.92   |(  0.67    )|(  0.16    )|V "
      "|34618.185   |     |    23.285213       |05  *|A5+F3p           |N0040 HIP  |";
  const auto record = read_gcvs_record(ww, 7);
  ASSERT_TRUE(std::holds_alternative<SourceRecord>(record));
  const Conversion c =
      convert_record(std::get<SourceRecord>(record), ConversionSettings{{}, "V", '2', "GCVS", {}});
  ASSERT_TRUE(c.line);
  EXPECT_EQ(format_star_line(*c.line),
            "WW And                2434618.185    23.285213 23 44 54  +45 41       EA 10.9 11.6    "
            "  2 GCVS     5");
  // D "05  *": 5 % of the period; the '*' (no constant light in minimum) leaves it so.
  EXPECT_EQ(c.line->extension.eclipse_duration_pct, 5.0);
  EXPECT_EQ(std::get<std::string>(read_gcvs_record(ww.substr(0, 100), 1)),
            "not a GCVS 5.1 record (no '|' at one of the bytes 8, 20, 41, ..., 167)");
}

TEST(GcvsRecords, OlderLayoutRecordsLaidIntoFiveOne) {
  e2e::TempDir dir;
  std::string text;
  for (const std::string& line :
       lines_of(read(kRecords + "/gcvs_stellarium_vcat_hip_extract.txt"))) {
    text += relaid(line.substr(7)) + "\n";
  }
  for (const std::string& line :
       lines_of(read(kRecords + "/gcvs_stellarium_varcat_hip_extract.txt"))) {
    text += relaid(line) + "\n";
  }
  dir.write("gcvs5.txt", text);
  const Imported got = import((dir.path() / "gcvs5.txt").string());
  EXPECT_EQ(got.format, Format::gcvs);
  const auto find = [&](const std::string& name) {
    for (const std::string& line : got.lines) {
      if (line.starts_with(name + " ")) return line;
    }
    return std::string();
  };
  // beta Lyr: JD - 2400000 written with a leading zero; 3.25 rounds away from zero to
  // 3.3 (binary floating point, ties to even, would print 3.2).
  EXPECT_EQ(find("bet Lyr").substr(0, 94),
            "bet Lyr               2408247.950    12.913834 18 50 05  +33 22       EB  3.3  4.4    "
            "    GCVS");
  // delta Ori lies between 0 and -1 degree: -00 17 57 rounds to -00 18.
  expect_read_back(find("del Ori"), "del Ori", 2443872.589, 5.732476, 5, 32, 0, -0.0f, -18, "EA",
                   2.1f, 2.3f);
  // V1425 Cyg: 7.7 + 0.45 = 8.15 is a half, rounded once: 8.2.
  expect_read_back(find("V1425 Cyg"), "V1425 Cyg", 2440400.944, 1.252387, 21, 11, 2, 55, 20, "EB",
                   7.7f, 8.2f);
  expect_read_back(find("TY Men"), "TY Men", 2442054.7973, 0.46166701, 5, 26, 50, -81, -35, "EW",
                   8.1f, 8.6f);
  EXPECT_EQ(got.lines.size(), 47u);
  for (const std::string& line : got.lines) {
    const formats::StarRecord s = formats::parse_star_record(line);
    EXPECT_FALSE(formats::star_record_problem(s)) << line;
    EXPECT_EQ(s.catalogue, "GCVS");
  }
  // Stars without elements, the ellipsoidal and pulsating ones, a star without a
  // position or type (IZ Her) are reported.
  EXPECT_EQ(got.refused,
            (std::vector<std::string>{
                "4: type RRAB not selected", "6: no period", "10: type * not selected",
                "13: type ELL/DM not selected", "19: no epoch", "21: no epoch", "22: no epoch",
                "28: no type, so not selected", "32: no epoch", "34: type RRAB not selected",
                "47: no epoch", "53: type M not selected", "57: type * not selected"}));
}

TEST(Tables, QuotedCsvFromASpreadsheet) {
  e2e::TempDir dir;
  dir.write(
      "stars.csv",
      "Name,RAJ2000,DEJ2000,Type,max,min,Epoch,Period\r\n"
      "\"AB \"\"x\"\", Cas\",\"02 37 53.8\",+71 18 26,EA/SD,10.2,\"12.3:\",2452500.123,1.366\r\n"
      "\"U Cep\",15.2813,81.8842,EA,6.75,9.24,51180.51, 2.493087\r\n"
      "\"Broken, Cas,1,2,EA,1,2,2452500,1\r\n"
      "Extra,1,2,EA,1,2,2452500,1,surplus\r\n");
  const Imported got = import((dir.path() / "stars.csv").string());
  EXPECT_EQ(got.label, "TABL");
  ASSERT_EQ(got.lines.size(), 2u);
  EXPECT_EQ(got.lines[0].substr(0, 94),
            "AB \"x\", Cas           2452500.123        1.366 02 37 54  +71 18       EA 10.2 12.3  "
            "      TABL");
  EXPECT_EQ(got.lines[1].substr(0, 94),
            "U Cep                  2451180.51     2.493087 01 01 08  +81 53       EA  6.8  9.2    "
            "    TABL");
  EXPECT_EQ(got.refused,
            (std::vector<std::string>{"4: a quote is not closed, or text follows a closing quote",
                                      "5: row has 9 fields, the header 8"}));
}

TEST(Tables, QuotedFieldsOverLines) {
  // RFC 4180: a quoted field may hold line ends. A record is never made of part of one.
  std::string long_remark;
  for (int i = 0; i < 60; ++i) long_remark += std::string(99, 'r') + "\n";
  e2e::TempDir dir;
  dir.write("stars.csv",
            "Name,RA,Dec,Type,Epoch,Period,Remarks\n"
            "\"multi\nline\",10,10,EA,2450000.5,1.5,\n"
            "Kept,10,10,EA,2450000.5,1.5,\"two\n\n# no comment\nlines\"\n"
            "\"tail\nwith\" x,10,10,EA,2450000.5,1.5,\n"
            "After,10,10,EA,2450000.5,1.5,\n"
            "Long,10,10,EA,2450000.5,1.5,\"" +
                long_remark +
                "end\",10,10,EA,2450000.5,1.5,\n"
                "Next,10,10,EA,2450000.5,1.5,\n");
  const Imported got = import((dir.path() / "stars.csv").string());
  std::vector<std::string> names;
  for (const std::string& line : got.lines) names.push_back(std::string(trim(line.substr(0, 20))));
  EXPECT_EQ(names, (std::vector<std::string>{"Kept", "After", "Next"}));
  // Kept spans lines 4-7: a blank line and a '#' line inside quotes are part of a field.
  EXPECT_EQ(got.warned.front(), "4: no maximum magnitude; left blank");
  const std::vector<std::string> expected = {
      "2: the name field holds a line end (a quoted field over lines 2-3)",
      "8: a quote is not closed, or text follows a closing quote",
      "9: a quote in a field that does not start with one (the end of the quoted field opened "
      "on line 8?)",
      "11: a quoted field is not closed within 4096 bytes",
      "71: a quote in a field that does not start with one (the end of the quoted field opened "
      "on line 11?)"};
  for (const std::string& refusal : expected) {
    EXPECT_NE(std::find(got.refused.begin(), got.refused.end(), refusal), got.refused.end())
        << refusal;
  }
  // The lines of the long remark are read again as rows: each is refused on its own.
  EXPECT_EQ(got.refused.size(), expected.size() + 59);

  // The quotes of a row as the splitter sees them.
  EXPECT_EQ(split_row("\"a,b\",\"c", Delimiter::comma).quotes, RowQuotes::open);
  EXPECT_EQ(split_row("\"a\"b,c", Delimiter::comma).quotes, RowQuotes::text_after_close);
  const SplitRow plain = split_row("12\",\"x\"\"y\"", Delimiter::comma);
  EXPECT_EQ(plain.quotes, RowQuotes::closed);
  EXPECT_TRUE(plain.quote_in_plain_field);
  EXPECT_EQ(plain.fields, (std::vector<std::string>{"12\"", "x\"y"}));
}

TEST(Tables, PipeTableWithGcvsNames) {
  e2e::TempDir dir;
  dir.write(
      "stars.txt",
      "| VarName | RA | Dec | VarType | magMax | Min1 | Epoch | Period |\n"
      "| bet Per | 03 08 10.13 | +40 57 20.3 | EA/SD | 2.09 | 3.30 | 45641.5135 | 2.8673043 |\n"
      "| V0470 Cyg | 20 19 21.7 | +40 53 17 | ELL/DM | 8.53 | 8.55 | 42283.860 | 1.873142 |\n");
  const Imported got = import((dir.path() / "stars.txt").string());
  ASSERT_EQ(got.lines.size(), 1u);
  EXPECT_EQ(got.lines[0].substr(0, 94),
            "bet Per              2445641.5135    2.8673043 03 08 10  +40 57       EA  2.1  3.3    "
            "    TABL");
  EXPECT_EQ(got.refused, std::vector<std::string>{"3: type ELL/DM not selected"});
}

TEST(Tables, VizierTsvWithCommentsUnitsAndDashes) {
  e2e::TempDir dir;
  dir.write(
      "asu.tsv",
      "#\n# VizieR Astronomical Server\n#RESOURCE=yCat_2027\n\n"
      "OID\tName\tType\tl_max\tmax\tn_max\tf_min\tl_min\tmin\tn_min\tEpoch\tl_"
      "Period\tPeriod\tRAJ2000\tDEJ2000\n"
      "\t\t\t\tmag\t\t\t\tmag\t\td\t\td\tdeg\tdeg\n"
      "-------\t----\t----\t-\t---\t--\t-\t-\t---\t--\t-----\t-\t------\t------\t------\n"
      "55369\tV0415 CMa\tEA\t\t6.34\tV\t\t\t6.48\tV\t2448401.484\t\t1.98571\t099.17108\t-22.61472\n"
      "98995\tASAS "
      "J145019-2425.6\tEW\t\t8.17\tV\t(\t\t0.23\tV\t2451234.5\t\t0.326383\t222.57917\t-24.42667\n"
      "1\tZ Lim\tEA\t<\t13.1\tV\t\t>\t14.2\tV\t2451234.5\t<\t0.5\t10\t10\n"
      "2\tW Lim\tEA\t\t13.1\tB\t\t\t14.2\tV\t2451234.5\t\t0.5\t10\t10\n");
  const Imported got = import((dir.path() / "asu.tsv").string());
  EXPECT_EQ(got.label, "VSX");
  ASSERT_EQ(got.lines.size(), 3u);
  EXPECT_EQ(got.lines[0].substr(0, 94),
            "V0415 CMa             2448401.484      1.98571 06 36 41  -22 37       EA  6.3  6.5    "
            "    VSX ");
  EXPECT_EQ(got.lines[1].substr(0, 94),
            "ASAS J145019-2425.6     2451234.5     0.326383 14 50 19  -24 26       EW  8.2  8.4    "
            "    VSX ");
  EXPECT_EQ(got.lines[2].substr(0, 94),
            "W Lim                   2451234.5          0.5 00 40 00  +10 00       EA      14.2    "
            "    VSX ");
  EXPECT_EQ(got.refused, std::vector<std::string>{"10: period given only as a limit (<0.5)"});
  EXPECT_EQ(got.warned, std::vector<std::string>{
                            "11: maximum magnitude not in the minimum's passband (maximum in B, "
                            "minimum in V); left blank"});
}

TEST(Tables, VsxRecognisedByItsColumnNames) {
  using Header = std::vector<std::string>;
  // The web service's names, and VizieR's B/vsx with or without its object id.
  EXPECT_TRUE(has_vsx_names(Header{"Name", "AUID", "RA2000", "Epoch"}));
  EXPECT_TRUE(has_vsx_names(Header{"oid", "Name"}));
  EXPECT_TRUE(has_vsx_names(Header{"Name", "Type", "l_max", "max", "n_max", "min", "n_min", "Epoch",
                                   "Period", "RAJ2000", "DEJ2000"}));
  EXPECT_TRUE(has_vsx_names(
      Header{"name", "type", "max", "min", "f_min", "Epoch", "u_Epoch", "Period", "u_Period"}));
  // The GCVS in VizieR, a plain table, and VizieR's flags with other names for the star.
  EXPECT_FALSE(has_vsx_names(Header{"VarName", "VarType", "l_max", "magMax", "n_max", "Min1",
                                    "f_Min1", "l_Min1", "Epoch", "l_Period", "Period"}));
  EXPECT_FALSE(has_vsx_names(Header{"Name", "Type", "max", "min", "Epoch", "Period"}));
  EXPECT_FALSE(has_vsx_names(Header{"Name", "Type", "n_max", "l_Period", "Epoch", "Period"}));
  EXPECT_FALSE(has_vsx_names(Header{"Star", "Type", "l_max", "n_max", "l_Period", "Epoch"}));
}

TEST(Tables, AMissingColumnIsAFailureOfTheFile) {
  // The VizieR cross-match export has no epochs.
  const std::string path = kRecords + "/vsx_orionlee_vsx_meta_extract.csv";
  try {
    import(path);
    FAIL() << "no failure";
  } catch (const io::RunError& e) {
    EXPECT_EQ(
        std::string(e.what()),
        path + ": no epoch column (looked for Epoch, E0, HJD0; name it with --column epoch=NAME)");
  }
  TableRequest request;
  request.named = {{Column::epoch, "NoSuch"}};
  EXPECT_THROW(import(path, {}, request), io::RunError);
  // A column named on the command line is taken before the usual names, in any case.
  e2e::TempDir dir;
  dir.write("t.csv", "Star,ra,dec,Type,Epoch,t0,P\nX Lim,10,10,EA,2450000.5,2451000.25,1.5\n");
  request.named = {{Column::epoch, "T0"}};
  const Imported got = import((dir.path() / "t.csv").string(), {"EA"}, request);
  ASSERT_EQ(got.lines.size(), 1u);
  EXPECT_EQ(got.lines[0].substr(0, 46), "X Lim                  2451000.25          1.5");
}

TEST(Tables, RealVsxEcsvTable) {
  const Imported got = import(kRecords + "/vsx_rich_table.ecsv");
  EXPECT_EQ(got.label, "VSX");
  ASSERT_EQ(got.lines.size(), 590u);
  EXPECT_EQ(got.lines[0].substr(0, 94),
            "V0415 CMa             2448401.484      1.98571 06 36 41  -22 37       EA  6.3  6.5    "
            "    VSX ");
  // V0641 Aur: "12.850 r" and "(0.75) r" give 12.85 + 0.75 = 13.6; 12.850 is a half: 12.9.
  bool found = false;
  for (const std::string& line : got.lines) {
    if (!line.starts_with("V0641 Aur ")) continue;
    found = true;
    EXPECT_EQ(line.substr(73, 9), "12.9 13.6");
  }
  EXPECT_TRUE(found);
  EXPECT_EQ(got.refused.size(), 3u);
}

TEST(VsxJson, ListsSingleObjectsAndEmptyReplies) {
  const Imported one = import(kRecords + "/vsx_lightkurve_1row_epoch.json");
  EXPECT_EQ(one.format, Format::vsx_json);
  ASSERT_EQ(one.lines.size(), 1u);
  EXPECT_EQ(one.lines[0],
            "ASASSN-V J185256.94+   2457991.86      5.09843 18 52 57  +58 13       EA 14.2 14.4    "
            "    VSX                                             HJD");
  EXPECT_EQ(one.warned, std::vector<std::string>{
                            "1: name 'ASASSN-V J185256.94+581259.1' is longer than 20 characters; "
                            "cut to 'ASASSN-V J185256.94+'"});
  EXPECT_EQ(import(kRecords + "/vsx_lightkurve_1row_noepoch.json").refused,
            std::vector<std::string>{"1: no epoch"});
  const Imported empty = import(kRecords + "/vsx_lightkurve_empty.json");
  EXPECT_TRUE(empty.lines.empty() && empty.refused.empty());
  const Imported list = import(kRecords + "/vsx_lightkurve_avg_case.json");
  EXPECT_EQ(list.lines.size(), 1u);
  EXPECT_EQ(list.refused.size(), 21u);
  EXPECT_EQ(list.refused[0], "2: type SRB not selected");

  // One object as api.object answers, numbers kept digit for digit even when a
  // reply writes them as JSON numbers.
  const auto single = read_vsx_json(
      "{\"VSXObject\":{\"Name\":\"T CrB\",\"RA2000\":\"239.87567\",\"Declination2000\":25.92017,"
      "\"VariabilityType\":\"NR+ELL\",\"Period\":227.5528000,\"Epoch\":2455828.9,"
      "\"MaxMag\":\"2.0 V\",\"MinMag\":\"10.8 V\"}}");
  const auto& records = std::get<std::vector<SourceRecord>>(single);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].period, "227.5528000");
  EXPECT_EQ(records[0].epoch, "2455828.9");
  EXPECT_EQ(records[0].dec, "25.92017");
  EXPECT_EQ(records[0].max.passband, "V");
  // A bare list of objects, each with the line where it starts.
  const auto bare =
      read_vsx_json("[\n{\"Name\":\"A\"},\n\n {\"Name\":\"B {x\"}, {\"Name\":\"C\"}]");
  const auto& items = std::get<std::vector<SourceRecord>>(bare);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].line, 2);
  EXPECT_EQ(items[1].line, 4);
  EXPECT_EQ(items[2].line, 4);
}

/// The warnings that are not of a magnitude left blank.
std::vector<std::string> not_of_magnitudes(std::vector<std::string> warnings) {
  std::erase_if(warnings, [](const std::string& w) { return w.find("magnitude") != w.npos; });
  return warnings;
}

TEST(Tables, DurationAndErrorsWhereTheTableHasThem) {
  e2e::TempDir dir;
  dir.write("t.csv",
            "Name,RA,Dec,Type,Epoch,e_Epoch,Period,e_Period,D\n"
            "X Lim,10,10,EA,2450000.5,0.0004,1.5,0.0000012,12:\n"
            "Y Lim,10,10,EA,2450000.5,,1.5,0.000001234567891,3 h\n"
            "Z Lim,10,10,EA,2450000.5,x,1.5,,<5\n");
  TableRequest request;
  request.named = {{Column::duration, "D"}};
  const Imported got = import((dir.path() / "t.csv").string(), {"EA"}, request);
  ASSERT_EQ(got.lines.size(), 3u);
  // A plain table does not say its time scale: the field stays blank.
  EXPECT_EQ(got.lines[0].substr(94), "    12                  0.0004      1.2e-06");
  // 3 h of 1.5 d is 8.333... %, to hundredths; the period error rounded up to fit.
  EXPECT_EQ(got.lines[1].substr(94), "  8.33                         1.234568e-06");
  EXPECT_EQ(got.lines[2].size(), 94u);
  EXPECT_EQ(not_of_magnitudes(got.warned),
            (std::vector<std::string>{
                "3: period error '0.000001234567891' has more digits than its 12 columns hold; "
                "written as 1.234568e-06",
                "4: eclipse duration is a limit (<5); left blank",
                "4: epoch error 'x' is not a number of 0 or more; left blank"}));
}

TEST(VsxJson, EclipseDurationInPercentOfThePeriod) {
  e2e::TempDir dir;
  const std::string star =
      R"({"Name":"N","RA2000":"10","Declination2000":"10","VariabilityType":"EA",)"
      R"("Period":"2.5","Epoch":"2450000.5","EclipseDuration":)";
  dir.write("reply.json", "{\"VSXObjects\":{\"VSXObject\":[" + star + "\"12\"}," + star +
                              "\"9:\"}," + star + "\">20\"}]}}");
  const Imported got = import((dir.path() / "reply.json").string());
  ASSERT_EQ(got.lines.size(), 3u);
  EXPECT_EQ(got.lines[0].substr(94), "    12                                      HJD");
  EXPECT_EQ(got.lines[1].substr(94), "     9                                      HJD");
  EXPECT_EQ(got.lines[2].substr(94), "                                            HJD");
  EXPECT_EQ(not_of_magnitudes(got.warned),
            std::vector<std::string>{"1: eclipse duration is a limit (>20); left blank"});
}

TEST(VsxJson, TextsThatAreNoReplyFail) {
  const auto failure = [](const std::string& text) {
    const auto result = read_vsx_json(text);
    return std::holds_alternative<JsonFailure>(result) ? std::get<JsonFailure>(result).message
                                                       : std::string("(records)");
  };
  EXPECT_EQ(failure("{\"VSXObjects\":{\"VSXObject\":[1]}}"),
            "not a VSX reply (a list item is not an object)");
  EXPECT_EQ(failure("{\"Other\":1}"), "not a VSX reply (no VSXObject, no Name)");
  EXPECT_EQ(failure("\"text\""), "not a VSX reply (neither an object nor a list)");
  EXPECT_EQ(failure(std::string(100, '[') + std::string(100, ']')),
            "JSON nested deeper than 32 levels");
  const auto broken = read_vsx_json("{\"VSXObject\":\n{\"Name\": \"x\",\n}");
  ASSERT_TRUE(std::holds_alternative<JsonFailure>(broken));
  EXPECT_EQ(std::get<JsonFailure>(broken).line, 3);
  EXPECT_TRUE(std::get<JsonFailure>(broken).message.starts_with("not valid JSON ("));
}

}  // namespace
}  // namespace starimport

namespace starimport {
namespace {

/// The extension of a line as the star.dat reader takes it, with no field warned of.
formats::StarExtension extension_read_back(const std::string& line) {
  std::vector<std::string> problems;
  const formats::StarExtension read = formats::parse_star_extension(line, &problems);
  EXPECT_TRUE(problems.empty()) << line;
  return read;
}

formats::StarExtension extension(std::optional<double> duration,
                                 std::optional<double> secondary_duration,
                                 std::optional<double> secondary_phase,
                                 std::optional<double> epoch_error,
                                 std::optional<double> period_error, astro::EpochScale scale) {
  return {duration, secondary_duration, secondary_phase, epoch_error, period_error, scale};
}

TEST(KreinerRecords, RealRecordsFieldByField) {
  const Imported got = import(kRecords + "/kreiner_2014i_extract.txt", {});
  EXPECT_EQ(got.format, Format::kreiner);
  EXPECT_EQ(got.label, "KREI");
  ASSERT_EQ(got.lines.size(), 6u);
  EXPECT_EQ(got.lines[0].substr(0, 94),
            "RT And               2452500.3510    0.6289285 23 11 10  +53 02       EA  9.0         "
            "    KREI");
  EXPECT_EQ(got.lines[1].substr(0, 94),
            "OT And               2452509.7794    20.852908 23 20 01  +41 45       EA  7.3         "
            "    KREI");
  // Both parts of a southern declination carry its sign (-00 42).
  expect_read_back(got.lines[2], "CX Aqr", 2452500.431, 0.5559877, 22, 35, 43, -0.0f, -42, "EB",
                   10.6f, 0.0f);
  const auto hjd = astro::EpochScale::kHjd;
  const auto none = std::nullopt;
  // D in days over the period: RT And 0.11 / 0.6289285 = 17.490 %; OT And's PRI and SEC
  // records 0.63 and 0.21 of 20.852908 d (3.021 %, 1.007 %), its secondary at
  // (2452520.6736 - 2452509.7794) / 20.852908 = 0.52243; CX Aqr 0.09 d (16.187 %); FS Aqr
  // 0.00 and AA And 0.01 d are placeholders; Y Cam 0.53 / 3.305766 = 16.033 %.
  const formats::StarExtension expected[] = {
      extension(17.49, none, none, none, none, hjd), extension(3.02, 1.01, 0.5224, none, none, hjd),
      extension(16.19, none, none, none, none, hjd), extension(none, none, none, none, none, hjd),
      extension(none, none, none, none, none, hjd),  extension(16.03, none, none, none, none, hjd)};
  for (std::size_t k = 0; k < got.lines.size(); ++k) {
    EXPECT_EQ(extension_read_back(got.lines[k]), expected[k]) << got.lines[k];
  }
  // V468 Aur has only a SEC record: its M0 is no primary minimum.
  EXPECT_EQ(got.refused,
            std::vector<std::string>{"30: a SEC record without the PRI record of its star beside "
                                     "it: its M0 is a secondary minimum"});
  EXPECT_EQ(not_of_magnitudes(got.warned), std::vector<std::string>{});
}

TEST(KreinerRecords, PairsInEitherOrderAndRecordsThatAreNone) {
  e2e::TempDir dir;
  const std::string ot_sec =
      "OT    And 2000  7.32 |         EA          for  SEC\n"
      "23 20  1  41 45 18 2000.0  0.21 0.0 20.852999 2452520.6736 0.5\n";
  const std::string ot_pri =
      "OT    And 1999  7.32 |         EA          for  PRI\n"
      "23 20  1  41 45 18 2000.0  0.63 0.0 20.852908 2452509.7794 0.5\n";
  // No header: the first record's line tells the format. SEC before PRI is one star; a
  // PRI beside another star's SEC stands alone.
  dir.write("k.cat", ot_sec + ot_pri +
                         "ZZ    Zzz 2000  9.0  |         EA          for  PRI\n"
                         "01 00  0  10  0  0 2000.0  0.02 0.0 2.0 2452500.0 0.5\n" +
                         ot_sec +
                         "XY    Zzz 2010 10.2  |         EA          for  ALL\n"
                         "AB    Cas 2010 10.2  |A3V      EA          for  ALL\n"
                         " 0 10 34  58 17 24 1950.0  0.20 0.0 1.3668823 2452500.3811 0.5\n"
                         "a line of no record\n");
  const Imported got = import((dir.path() / "k.cat").string(), {});
  EXPECT_EQ(got.format, Format::kreiner);
  ASSERT_EQ(got.lines.size(), 2u);
  EXPECT_EQ(got.lines[0].substr(0, 46), "OT And               2452509.7794    20.852908");
  EXPECT_EQ(extension_read_back(got.lines[0]),
            extension(3.02, 1.01, 0.5224, std::nullopt, std::nullopt, astro::EpochScale::kHjd));
  // 0.02 d is above the placeholders: 1 % of 2 days.
  EXPECT_EQ(extension_read_back(got.lines[1]).eclipse_duration_pct, 1.0);
  EXPECT_EQ(got.refused,
            (std::vector<std::string>{
                "7: a SEC record without the PRI record of its star beside it: its M0 is a "
                "secondary minimum",
                "9: the record's second line is missing", "10: equinox 1950.0, not 2000.0",
                "12: not the first line of a Kreiner record (no '|' and 'for ALL', 'for PRI' or "
                "'for SEC' at its end)"}));
}

TEST(KreinerRecords, HeaderSkippedAlsoWhenTheFormatIsNamed) {
  const std::string path = kRecords + "/kreiner_2014i_extract.txt";
  CatalogueInput input(path, path, Format::kreiner, {});
  InputItem item;
  ASSERT_TRUE(input.next(item));
  EXPECT_EQ(item.line, 16);
  ASSERT_TRUE(std::holds_alternative<SourceRecord>(item.record));
  const SourceRecord& rt = std::get<SourceRecord>(item.record);
  EXPECT_EQ(rt.name, "RT    And");
  EXPECT_EQ(rt.type, "EA/RS");
  EXPECT_EQ(rt.ra, "23 11 10");
  EXPECT_EQ(rt.dec, "53 1 33");
  EXPECT_EQ(rt.duration, "0.11 d");
  EXPECT_EQ(rt.max.value, "8.97");
  EXPECT_EQ(rt.max.passband, "V");
}

/// The real rows of Gaia's vari_eclipsing_binary with the columns a join with
/// gaia_source adds (positions and magnitudes made up for the test).
std::string gaia_joined_rows() {
  const std::vector<std::string> rows =
      lines_of(read(kRecords + "/gaia_dr3_vari_eclipsing_binary_rows.csv"));
  const char* joined[] = {",ra,dec,phot_g_mean_mag", ",280.1234567,46.5432101,11.52",
                          ",281.9876543,44.0123456,16.9", ",296.5555555,51.2222222,15.81"};
  std::string text;
  for (std::size_t k = 0; k < rows.size(); ++k) text += rows[k] + joined[k] + "\n";
  return text;
}

TEST(GaiaRows, RealRowsFieldByField) {
  e2e::TempDir dir;
  dir.write("gaia.csv", gaia_joined_rows());
  const Imported got = import((dir.path() / "gaia.csv").string());
  EXPECT_EQ(got.format, Format::gaia);
  EXPECT_EQ(got.label, "GAIA");
  ASSERT_EQ(got.lines.size(), 3u);
  // Epoch: 2455197.5 + 2235.7836227049343 + 0.7945931 / 3.9756702991987853 in TCB, which
  // astropy makes 2457433.4832650831 TDB; period 1 / 3.9756702991987853 = 0.25152991187;
  // the minimum 11.52 + 0.14556746 of depth.
  EXPECT_EQ(got.lines[0].substr(0, 94),
            "2080063931448749824 2457433.483270.25152991187 18 40 30  +46 33       E  11.5 11.7    "
            "    GAIA");
  EXPECT_EQ(got.lines[1].substr(0, 46), "2073906430127699712 2457378.269650.65070036039");
  const auto bjd = astro::EpochScale::kBjd;
  // Durations of exactly 0.4 are the model's cap: blank. Secondary phases (0.29283863 -
  // 0.7945931) mod 1 = 0.49824, (0.18046859 - 0.4976967) mod 1 = 0.68277; errors rounded
  // up to 3 digits: 0.0029041758 / f = 0.00073049 d, 1.49264115e-05 / f^2 = 9.4435e-07 d.
  EXPECT_EQ(extension_read_back(got.lines[0]),
            extension(std::nullopt, std::nullopt, 0.4982, 0.000731, 9.45e-07, bjd));
  EXPECT_EQ(extension_read_back(got.lines[1]),
            extension(7.91, 29.85, 0.6828, 0.0221, 9.01e-06, bjd));
  EXPECT_EQ(extension_read_back(got.lines[2]),
            extension(std::nullopt, std::nullopt, 0.471, 0.000557, 5.27e-07, bjd));
  EXPECT_TRUE(got.refused.empty());
  EXPECT_EQ(not_of_magnitudes(got.warned), std::vector<std::string>{});
}

TEST(GaiaRows, ATableWithoutTheJoinedPositionsFails) {
  const std::string path = kRecords + "/gaia_dr3_vari_eclipsing_binary_rows.csv";
  try {
    CatalogueInput input(path, "vari.csv", std::nullopt, {});
    FAIL() << "read";
  } catch (const io::RunError& e) {
    EXPECT_STREQ(e.what(), "vari.csv: no ra column of a Gaia table (looked for ra, RA_ICRS)");
  }
}

TEST(TessRows, BothNamingSchemesGiveTheSameLine) {
  e2e::TempDir dir;
  dir.write(
      "villanova.csv",
      "tic__tess_id,signal_id,tic__ra,tic__dec,tic__Tmag,bjd0,bjd0_uncert,period,"
      "period_uncert,prim_width_pf,prim_depth_pf,prim_pos_pf,sec_width_pf,sec_pos_pf\n"
      "29858788,1,82.0712,-2.1309,9.451,1325.393125,0.0011,4.56789125,3.5e-06,0.0412,0.48,0.985,"
      "0.0398,0.4782\n"
      "29858789,1,82.0712,-2.1309,9.451,2458325.393125,,4.56789125,,,,,,\n");
  dir.write("vizier.tsv",
            "TIC\tMorph\tPer\te_Per\tBJD0\te_BJD0\tWp-pf\tDp-pf\tPhip-pf\tWs-pf\tPhis-pf\tTmag\t"
            "_RAJ2000\t_DEJ2000\n"
            "29858788\t0.2\t4.56789125\t3.5e-06\t1325.393125\t0.0011\t0.0412\t0.48\t0.985\t0.0398\t"
            "0.4782\t9.451\t82.0712\t-2.1309\n");
  const Imported villanova = import((dir.path() / "villanova.csv").string());
  const Imported vizier = import((dir.path() / "vizier.tsv").string());
  EXPECT_EQ(villanova.format, Format::tess);
  EXPECT_EQ(vizier.format, Format::tess);
  ASSERT_EQ(villanova.lines.size(), 2u);
  ASSERT_EQ(vizier.lines.size(), 1u);
  EXPECT_EQ(villanova.lines[0], vizier.lines[0]);
  // BTJD 1325.393125 + 2457000, rounded to the 13 columns; a full BJD kept as it is. A
  // depth of 0.48 of the flux is 0.710 mag: 9.451 + 0.710 at minimum.
  EXPECT_EQ(villanova.lines[0].substr(0, 94),
            "TIC 29858788        2458325.39313   4.56789125 05 28 17  -02 08       E   9.5 10.2    "
            "    TESS");
  EXPECT_EQ(villanova.lines[1].substr(20, 13), "2458325.39313");
  // Widths 0.0412 and 0.0398 of the period; the secondary at 0.4782 - 0.985 + 1.
  EXPECT_EQ(extension_read_back(villanova.lines[0]),
            extension(4.12, 3.98, 0.4932, 0.0011, 3.5e-06, astro::EpochScale::kBjd));
  EXPECT_EQ(villanova.lines[1].substr(94), std::string(44, ' ') + "BJD");
}

TEST(SurveyTables, RecognisedByTheirColumnNamesOnly) {
  using Header = std::vector<std::string>;
  EXPECT_EQ(survey_of_header(
                Header{"source_id", "reference_time", "frequency", "derived_primary_ecl_phase"}),
            Survey::gaia);
  EXPECT_EQ(survey_of_header(Header{"TIC", "BJD0", "Per", "Wp-pf"}), Survey::tess);
  EXPECT_EQ(survey_of_header(Header{"tess_id", "bjd0", "period", "prim_width_pf"}), Survey::tess);
  // An epoch named BJD0 alone is any table's.
  EXPECT_EQ(survey_of_header(Header{"Name", "BJD0", "Period", "RA", "Dec"}), std::nullopt);
  EXPECT_EQ(survey_of_header(Header{"source_id", "frequency", "ra", "dec"}), std::nullopt);
}

}  // namespace
}  // namespace starimport
