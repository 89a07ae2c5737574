// Runs of the built starimport that a case folder (tests/e2e/starimport) cannot hold:
// its output forecast by eclfore (with the extension too), a message that ends in the JSON parser's
// own words, the version, which changes with every release, standard input given or closed through
// the shell, the memory a long JSON reply takes, quoted fields over lines, and a refresh that
// fails late or compares with the system clock.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "e2e.h"

namespace {

namespace fs = std::filesystem;

const fs::path kCases = fs::path(E2E_CASES_DIR) / "starimport";

TEST(StarimportRun, GcvsExtractImportedAndForecast) {
  // The star.dat the case gcvs_extract_flag_2_to_file writes, byte for byte.
  const std::string imported =
      e2e::read_file(kCases / "gcvs_extract_flag_2_to_file" / "expected" / "star.dat");
  ASSERT_NE(imported.find("\r\n"), std::string::npos);
  e2e::TempDir dir;
  dir.write("star.dat", imported);
  dir.write("condition.dat", e2e::read_file(fs::path(EXAMPLES_DIR) / "condition.dat"));
  const std::string answers = "2006\n10\n20\n3\n0\n";
  const e2e::RunResult r = e2e::run(ECLFORE_BIN, dir.path(), answers);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::string forecast = dir.read("data.dat");
  EXPECT_NE(forecast.find("RT And              GCVS p 2006 10"), std::string::npos) << forecast;
  EXPECT_NE(forecast.find("AK Her              GCVS s 2006 10"), std::string::npos) << forecast;

  // The forecast from the imported lines is the forecast from the same lines typed.
  e2e::TempDir typed;
  typed.write("condition.dat", e2e::read_file(fs::path(EXAMPLES_DIR) / "condition.dat"));
  std::string lf_stars = imported;
  for (std::size_t at; (at = lf_stars.find('\r')) != std::string::npos;) lf_stars.erase(at, 1);
  typed.write("star.dat", lf_stars);
  ASSERT_EQ(e2e::run(ECLFORE_BIN, typed.path(), answers).exit_code, 0);
  EXPECT_EQ(forecast, typed.read("data.dat"));
}

TEST(StarimportRun, ExtendedLinesForecastWithoutAWord) {
  // The lines the case extension_durations_errors_time_scales writes, with durations,
  // errors and time scales, are read by eclfore as they are: no field warned of.
  e2e::TempDir dir;
  dir.write("star.dat", e2e::read_file(kCases / "extension_durations_errors_time_scales" /
                                       "expected" / "star.dat"));
  dir.write("condition.dat", e2e::read_file(fs::path(EXAMPLES_DIR) / "condition.dat"));
  const e2e::RunResult r = e2e::run(ECLFORE_BIN, dir.path(), "2024\n10\n20\n3\n0\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::string forecast = dir.read("data.dat");
  for (const char* star : {"RT And ", "U Cep ", "SW Lac ", "L Lim "}) {
    EXPECT_NE(forecast.find(star), std::string::npos) << star;
  }
}

TEST(StarimportRun, JsonThatIsNotValidWritesNothing) {
  e2e::TempDir dir;
  dir.write("bad.json", "{\"VSXObject\": [\n{\"Name\": 1,}\n]}");
  const e2e::RunResult r = e2e::run(STARIMPORT_BIN, dir.path(), "", {"bad.json"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "");
  // The parser's explanation follows; its words are nlohmann-json's, not ours.
  EXPECT_TRUE(r.err.starts_with("starimport: bad.json:2: not valid JSON")) << r.err;
}

TEST(StarimportRun, ParserWordsQuoteTheBytesOfTheReplyEscaped) {
  e2e::TempDir dir;
  dir.write("reply.json", "{\"VSXObjects\":{\"VSXObject\":[{\"Name\":\"a\xff\x1b\"}]}}\n");
  const e2e::RunResult r = e2e::run(STARIMPORT_BIN, dir.path(), "", {"reply.json"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_TRUE(r.err.starts_with("starimport: reply.json:1: not valid JSON")) << r.err;
  EXPECT_NE(r.err.find("\\xff"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find('\xff'), std::string::npos) << "no raw byte reaches the terminal";
  EXPECT_EQ(r.err.find('\x1b'), std::string::npos);
}

TEST(StarimportRun, VersionNamesTheToolset) {
  e2e::TempDir dir;
  const e2e::RunResult version = e2e::run(STARIMPORT_BIN, dir.path(), "", {"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_TRUE(version.out.starts_with("starimport (eclipsing binary tools) ")) << version.out;
}

/// Runs starimport through the shell, for the redirections the harness does not make:
/// `command` is the arguments and redirections after the program's name.
e2e::RunResult run_in_shell(const e2e::TempDir& dir, const std::string& command) {
  return e2e::run("/bin/sh", dir.path(), "", {"-c", "exec \"$0\" " + command, STARIMPORT_BIN});
}

TEST(StarimportRun, StandardInputNeverEmptiesNorReplacesItsOwnFile) {
  e2e::TempDir dir;
  const std::string table = "Name\tRA\tDec\tType\tEpoch\tPeriod\nX\t1\t1\tEA\t2450000\t1.5\n";
  dir.write("src.tsv", table);
  dir.write("star.dat", "old\n");
  // The output is the file standard input reads, named or not.
  for (const char* command : {"-o src.tsv < src.tsv", "-o src.tsv - < src.tsv"}) {
    const e2e::RunResult r = run_in_shell(dir, command);
    EXPECT_EQ(r.exit_code, 1) << command;
    EXPECT_NE(
        r.err.find("starimport: cannot write src.tsv: it is the same file as standard input\n"),
        std::string::npos)
        << r.err;
    EXPECT_EQ(dir.read("src.tsv"), table);
  }
  // Nothing read from a closed standard input, or from /dev/null, even named.
  const std::string closed =
      "starimport: (standard input): nothing read (standard input is closed, or neither a file "
      "nor a pipe); star.dat is left as it was\n";
  for (const char* command : {"-o star.dat <&-", "-o star.dat - < /dev/null"}) {
    const e2e::RunResult r = run_in_shell(dir, command);
    EXPECT_EQ(r.exit_code, 1) << command;
    EXPECT_EQ(r.err, closed) << command;
    EXPECT_EQ(dir.read("star.dat"), "old\n");
  }
  // An empty file or pipe standing for a FILE nobody named: a failed download, say.
  const std::string unnamed =
      "starimport: (standard input): nothing read and no FILE named; star.dat is left as it "
      "was (name standard input '-' to import an empty one)\n";
  EXPECT_EQ(e2e::run(STARIMPORT_BIN, dir.path(), "", {"-o", "star.dat"}).err, unnamed);
  const e2e::RunResult piped =
      e2e::run("/bin/sh", dir.path(), "", {"-c", ": | \"$0\" -o star.dat", STARIMPORT_BIN});
  EXPECT_EQ(piped.exit_code, 1);
  EXPECT_EQ(piped.err, unnamed);
  EXPECT_EQ(dir.read("star.dat"), "old\n");
  // Named, an empty standard input is imported as it is; on standard output nothing
  // is replaced, so nothing read is no failure there.
  const e2e::RunResult named = e2e::run(STARIMPORT_BIN, dir.path(), "", {"-o", "star.dat", "-"});
  EXPECT_EQ(named.exit_code, 0) << named.err;
  EXPECT_EQ(dir.read("star.dat"), "");
  const e2e::RunResult console = run_in_shell(dir, "<&-");
  EXPECT_EQ(console.exit_code, 0) << console.err;
  EXPECT_EQ(
      console.err,
      "(standard input): read as table (tab-separated)\n0 lines written, 0 records skipped\n");
}

// A JSON reply is read as a stream: the child's peak memory (getrusage of the children:
// this test's only child) stays under 16 MiB for 8 MiB of empty objects, which took two
// hundred times as much when the reply was held whole (bench/README.md). The address sanitizer
// keeps up to 256 MiB of freed blocks and its shadow besides: its build checks only that memory
// does not follow the reply.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kJsonPeakLimitKib = 1024 * 1024;
#else
constexpr long kJsonPeakLimitKib = 16 * 1024;
#endif

TEST(StarimportRun, LongJsonReplyKeepsMemoryBounded) {
  e2e::TempDir dir;
  const long objects = (8L << 20) / 3;
  {
    std::ofstream reply(dir.path() / "reply.json", std::ios::binary);
    const std::string block = [] {
      std::string b;
      for (int i = 0; i < 4096; ++i) b += "{},";
      return b;
    }();
    reply << '[';
    long left = objects - 1;
    for (; left >= 4096; left -= 4096) reply << block;
    reply << block.substr(0, static_cast<std::size_t>(left) * 3) << "{}]";
  }
  const e2e::RunResult r =
      e2e::run(STARIMPORT_BIN, dir.path(), "",
               {"--format=vsx-json", "-o", "star.dat", "reply.json"}, std::chrono::seconds(120));
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(r.err.ends_with("0 lines written, " + std::to_string(objects) + " records skipped\n"))
      << r.err.substr(r.err.size() - 200);
  EXPECT_EQ(dir.read("star.dat"), "");
  rusage children{};
  ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &children), 0);
  RecordProperty("children_max_rss_kib", static_cast<int>(children.ru_maxrss));
  RecordProperty("sampled_peak_kib", static_cast<int>(r.peak_memory_kib));
  EXPECT_LT(children.ru_maxrss, kJsonPeakLimitKib) << "KiB";
  EXPECT_LT(r.peak_memory_kib, kJsonPeakLimitKib) << "KiB";
}

TEST(StarimportRun, QuotedFieldOverLinesIsOneRecord) {
  e2e::TempDir dir;
  dir.write("t.csv",
            "Name,RA,Dec,Type,Epoch,Period,Remarks\n"
            "\"multi\nline\",10,10,EA,2450000.5,1.5,\n"
            "Good,10,10,EA,2450000.5,1.5,\"two\nlines\"\n"
            "After,10,10,EA,2450000.5,1.5,\n");
  const e2e::RunResult r = e2e::run(STARIMPORT_BIN, dir.path(), "", {"t.csv"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out,
            "Good                    2450000.5          1.5 00 40 00  +10 00       EA              "
            "    TABL\r\n"
            "After                   2450000.5          1.5 00 40 00  +10 00       EA              "
            "    TABL\r\n");
  EXPECT_EQ(r.err,
            "t.csv: read as table (comma-separated)\n"
            "warning: t.csv:2: the name field holds a line end (a quoted field over lines 2-3); "
            "skipped\n"
            "warning: t.csv:4: no maximum magnitude; left blank\n"
            "warning: t.csv:4: no minimum magnitude; left blank\n"
            "warning: t.csv:6: no maximum magnitude; left blank\n"
            "warning: t.csv:6: no minimum magnitude; left blank\n"
            "2 lines written, 1 record skipped; a plain table does not say its epochs' time "
            "scale: run eclfore and phaselist with the --epochs its source names; 2 lines give "
            "no magnitude at minimum: only a condition with a negative least depth selects "
            "them, or type the minimum into columns 78-81\n");
}

TEST(StarimportRun, UpdateFailingLateLeavesTheCatalogueAsItWas) {
  // The input fails after its first star has been taken: the catalogue keeps every byte,
  // and no temporary file is left beside it.
  e2e::TempDir dir;
  const std::string catalogue =
      e2e::read_file(kCases / "update_refreshes_hand_edited_catalogue" / "in" / "star.dat");
  dir.write("star.dat", catalogue);
  dir.write("bad.json",
            "{\"VSXObjects\":{\"VSXObject\":[{\"Name\":\"RT And\",\"RA2000\":\"347.79\","
            "\"Declination2000\":\"53.03\",\"VariabilityType\":\"EA\",\"Epoch\":"
            "\"2451421.737\",\"Period\":\"0.6289216\"},\n{\"Name\": 1,}]}}\n");
  const e2e::RunResult r =
      e2e::run(STARIMPORT_BIN, dir.path(), "", {"--update=star.dat", "--add", "bad.json"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_TRUE(r.err.starts_with("starimport: bad.json:2: not valid JSON")) << r.err;
  EXPECT_EQ(dir.read("star.dat"), catalogue);
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 2u);
}

TEST(StarimportRun, UpdateComparesWithTheSystemClocksDay) {
  // Without --today the report is of the next minimum after today: the same words.
  e2e::TempDir dir;
  const fs::path refresh = kCases / "update_refreshes_hand_edited_catalogue";
  for (const char* name : {"star.dat", "gcvs5.txt"}) {
    dir.write(name, e2e::read_file(refresh / "in" / name));
  }
  const e2e::RunResult r =
      e2e::run(STARIMPORT_BIN, dir.path(), "", {"--update=star.dat", "gcvs5.txt"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.err.find("\nRT And: epoch, period, duration, time scale; next minimum "),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("\nSW Lac: time scale; next minimum "), std::string::npos) << r.err;
}

}  // namespace

namespace {

/// The minima of `star` in a forecast: kind ('p' or 's') and JD, in the order listed.
std::vector<std::pair<char, double>> minima_of(const std::string& forecast,
                                               const std::string& star) {
  std::vector<std::pair<char, double>> minima;
  std::istringstream lines(forecast);
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with(star + " ")) continue;
    char kind = 0;
    int year = 0, month = 0, day = 0;
    double hour = 0, jd = 0;
    std::istringstream fields(line.substr(25));
    fields >> kind >> year >> month >> day >> hour >> jd;
    minima.emplace_back(kind, jd);
  }
  return minima;
}

TEST(StarimportRun, KreinerGaiaAndTessLinesForecast) {
  // The lines the cases of Kreiner's elements and the Gaia and TESS tables write.
  std::string stars;
  for (const char* c : {"kreiner_extract_auto_detected", "gaia_joined_auto_detected",
                        "tess_villanova_csv_auto_detected"}) {
    stars += e2e::read_file(kCases / c / "expected" / "star.dat");
  }
  e2e::TempDir dir;
  dir.write("star.dat", stars);
  // Kreiner's elements give no magnitude at minimum: only a condition with a negative
  // least depth selects those stars (the second row).
  dir.write("condition.dat", "0.0 20.0 0.0 90 -90\n0.0 20.0 -99 90 -90\n99\n");
  e2e::RunResult r = e2e::run(ECLFORE_BIN, dir.path(), "2024\n8\n10\n3\n0\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  std::string forecast = dir.read("data.dat");
  for (const char* star : {"2080063931448749824", "2073906430127699712", "2132960065768816000",
                           "TIC 29858788", "TIC 150284425"}) {
    EXPECT_FALSE(minima_of(forecast, star).empty()) << star;
  }
  EXPECT_TRUE(minima_of(forecast, "RT And").empty());

  r = e2e::run(ECLFORE_BIN, dir.path(), "2024\n8\n10\n3\n1\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  forecast = dir.read("data.dat");
  for (const char* star : {"RT And", "CX Aqr", "FS Aqr", "AA And", "Y Cam"}) {
    EXPECT_FALSE(minima_of(forecast, star).empty()) << star;
  }
  // OT And's secondary minima fall at phase 0.5224 of its PRI record's cycle, not 0.5
  // (0.46 day later).
  const auto ot_and = minima_of(forecast, "OT And");
  ASSERT_EQ(ot_and.size(), 3u);
  EXPECT_EQ(ot_and[0].first, 'p');
  for (std::size_t k = 1; k < ot_and.size(); ++k) {
    EXPECT_EQ(ot_and[k].first, 's');
    const double cycles = (ot_and[k].second - ot_and[0].second) / 20.852908;
    // Tolerance 0.0003 of the cycle (9 minutes: the heliocentric correction changes
    // that much over a few weeks at most); measured 0.00003.
    EXPECT_NEAR(cycles - std::floor(cycles), 0.5224, 0.0003) << ot_and[k].second;
  }
}

// The labels of the stars whose whole eclipse data.csv lists (coverage 100 with a known
// duration): column 12 coverage_pct, 29 catalogue.
std::set<std::string> whole_eclipse_labels(const std::string& csv) {
  std::set<std::string> labels;
  std::istringstream rows(csv);
  std::string row;
  std::getline(rows, row);  // the header
  while (std::getline(rows, row)) {
    if (!row.empty() && row.back() == '\r') row.pop_back();
    std::vector<std::string> fields;
    std::istringstream cells(row);
    for (std::string cell; std::getline(cells, cell, ',');) fields.push_back(cell);
    if (fields.size() == 29 && fields[11] == "100" && !fields[10].empty())
      labels.insert(fields[28]);
  }
  return labels;
}

TEST(StarimportRun, EverySourceForecastForTheWholeEclipse) {
  // The lines of every reader with durations, forecast with --coverage=100: each
  // source's stars are listed with their whole eclipse observable.
  std::string stars;
  for (const char* c : {"gcvs_extract_flag_2_to_file", "extension_durations_errors_time_scales",
                        "kreiner_extract_auto_detected", "gaia_joined_auto_detected",
                        "tess_villanova_csv_auto_detected"}) {
    stars += e2e::read_file(kCases / c / "expected" / "star.dat");
  }
  e2e::TempDir dir;
  dir.write("star.dat", stars);
  dir.write("condition.dat", "0.0 20.0 -99 90 -90\n99\n");
  const auto whole_eclipses = [&](const char* month) {
    const e2e::RunResult r = e2e::run(ECLFORE_BIN, dir.path(), "",
                                      {"--year=2024", month, "--lowest=10", "--site=3",
                                       "--condition=0", "--coverage=100", "--csv", "--quiet"});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    return whole_eclipse_labels(dir.read("data.csv"));
  };
  const std::set<std::string> august = whole_eclipses("--month=8");
  for (const char* label : {"GCVS", "KREI", "GAIA", "TESS"}) {
    EXPECT_TRUE(august.count(label)) << label;
  }
  // The table's star stands in the evening sky of March.
  EXPECT_TRUE(whole_eclipses("--month=3").count("TABL"));
}

}  // namespace
