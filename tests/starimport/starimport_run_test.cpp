// Runs of the built starimport: options, messages and exit status, the output file,
// standard input, the memory a long JSON reply takes, quoted fields over lines, and a
// GCVS extract imported and forecast by eclfore.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "e2e.h"

namespace {

namespace fs = std::filesystem;

const std::string kHjd = "; epochs are HJD: run eclfore and phaselist with --epochs=hjd\n";

/// Four eclipsing stars and one Mira of the GCVS 5.1 table (RT And and R And as the
/// table has them; SZ Her, TX Her and AK Her re-laid from older records).
const std::string kGcvsExtract =
    "010001 |R     And *|002401.95 +383437.3 |M         |  5.8    |  15.2      |            |V "
    "|53820.      |     |   409.2            |38   |S3,5e-S8,8e(M7e) |HIP   00002|\n"
    "010012 |RT    And *|231110.10 +530133.0 |EA/RS     |  8.97   |   9.83     |   9.28     |V "
    "|51421.737   |     |     0.6289216      |17  *|F8V+K1           |00001 HIP  |\n"
    "400026 |SZ    Her *|173936.80 +325647.0 |EA/SD     |  9.86   |  11.87     |  10.10     |V "
    "|41864.30517 |     |     0.81809828     |     |                 |           |\n"
    "400031 |TX    Her *|171836.50 +415317.0 |EA/DM     |  8.54   |   9.31     |   8.97     |V "
    "|40008.3643  |     |     2.05980944     |     |                 |           |\n"
    "400064 |AK    Her *|171357.80 +162101.0 |EW/KW     |  8.29   |   8.77     |   8.64     |V "
    "|42186.460   |     |     0.42152201     |     |                 |           |\n";

const std::string kExpectedStars =
    "RT And                2451421.737    0.6289216 23 11 10  +53 02       EA  9.0  9.8      2 "
    "GCVS\r\n"
    "SZ Her              2441864.30517   0.81809828 17 39 37  +32 57       EA  9.9 11.9      2 "
    "GCVS\r\n"
    "TX Her               2440008.3643   2.05980944 17 18 37  +41 53       EA  8.5  9.3      2 "
    "GCVS\r\n"
    "AK Her                2442186.460   0.42152201 17 13 58  +16 21       EW  8.3  8.8      2 "
    "GCVS\r\n";

TEST(StarimportRun, GcvsExtractImportedAndForecast) {
  e2e::TempDir dir;
  dir.write("gcvs5.txt", kGcvsExtract);
  const e2e::RunResult r =
      e2e::run(STARIMPORT_BIN, dir.path(), "", {"--flag=2", "-o", "star.dat", "gcvs5.txt"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "gcvs5.txt: read as gcvs\n"
            "warning: gcvs5.txt:1: type M not selected; skipped\n"
            "4 lines written, 1 record skipped" +
                kHjd);
  EXPECT_EQ(dir.read("star.dat"), kExpectedStars);

  // The forecast from the imported lines is the forecast from the same lines typed.
  const std::string answers = "2006\n10\n20\n3\n0\n";
  dir.write("condition.dat", e2e::read_file(fs::path(EXAMPLES_DIR) / "condition.dat"));
  const e2e::RunResult imported = e2e::run(ECLFORE_BIN, dir.path(), answers);
  ASSERT_EQ(imported.exit_code, 0) << imported.err;
  const std::string forecast = dir.read("data.dat");
  EXPECT_NE(forecast.find("RT And              GCVS p 2006 10"), std::string::npos) << forecast;
  EXPECT_NE(forecast.find("AK Her              GCVS s 2006 10"), std::string::npos) << forecast;
  e2e::TempDir typed;
  typed.write("condition.dat", e2e::read_file(fs::path(EXAMPLES_DIR) / "condition.dat"));
  std::string lf_stars = kExpectedStars;
  for (std::size_t at; (at = lf_stars.find('\r')) != std::string::npos;) lf_stars.erase(at, 1);
  typed.write("star.dat", lf_stars);
  ASSERT_EQ(e2e::run(ECLFORE_BIN, typed.path(), answers).exit_code, 0);
  EXPECT_EQ(forecast, typed.read("data.dat"));
}

TEST(StarimportRun, StandardInputToStandardOutput) {
  e2e::TempDir dir;
  const e2e::RunResult r =
      e2e::run(STARIMPORT_BIN, dir.path(), kGcvsExtract, {"--types=EW", "--label=MINE"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out,
            "AK Her                2442186.460   0.42152201 17 13 58  +16 21       EW  8.3  8.8    "
            "    MINE\r\n");
  EXPECT_EQ(r.err.substr(0, 31), "(standard input): read as gcvs\n");
  // An empty input has nothing to import, and is no failure.
  const e2e::RunResult empty = e2e::run(STARIMPORT_BIN, dir.path(), "\n\n");
  EXPECT_EQ(empty.exit_code, 0);
  EXPECT_EQ(empty.out, "");
  EXPECT_EQ(
      empty.err,
      "(standard input): read as table (tab-separated)\n0 lines written, 0 records skipped\n");
}

TEST(StarimportRun, EveryRefusalIsWarnedWithFileAndLine) {
  e2e::TempDir dir;
  dir.write("t.csv",
            "Name,RA,Dec,Type,Epoch,Period,l_Period\n"
            "No Epoch,10,10,EA,,1.5,\n"
            "No Period,10,10,EA,2450000.5,,\n"
            "Limit,10,10,EA,2450000.5,2.5,<\n"
            "No Position,,10,EA,2450000.5,1.5,\n"
            "Bad Period,10,10,EA,2450000.5,-1,\n"
            "Bad Epoch,10,10,EA,inf,1.5,\n"
            "Ellipsoidal,10,10,ELL,2450000.5,1.5,\n"
            "Planet,10,10,EP,2450000.5,1.5,\n"
            "Too Many,10,10,EA,2450000.5,0.12345678901234,\n"
            "Good,10,-0.3,EA,2450000.5,1.5,\n");
  const e2e::RunResult r = e2e::run(STARIMPORT_BIN, dir.path(), "", {"--format=table", "t.csv"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.err,
            "warning: t.csv:2: no epoch; skipped\n"
            "warning: t.csv:3: no period; skipped\n"
            "warning: t.csv:4: period given only as a limit (<2.5); skipped\n"
            "warning: t.csv:5: no position; skipped\n"
            "warning: t.csv:6: period '-1' is not a finite positive number; skipped\n"
            "warning: t.csv:7: epoch 'inf' is not a finite positive number; skipped\n"
            "warning: t.csv:8: type ELL not selected; skipped\n"
            "warning: t.csv:9: type EP not selected; skipped\n"
            "warning: t.csv:10: period '0.12345678901234' has more digits than the 13 columns "
            "hold; skipped\n"
            "warning: t.csv:11: no maximum magnitude; left blank\n"
            "warning: t.csv:11: no minimum magnitude; left blank\n"
            "1 line written, 9 records skipped; a plain table does not say its epochs' time "
            "scale: run eclfore and phaselist with the --epochs its source names\n");
  EXPECT_EQ(r.out,
            "Good                    2450000.5          1.5 00 40 00  -00 18       EA              "
            "    TABL\r\n");
}

TEST(StarimportRun, FailuresWriteNothing) {
  e2e::TempDir dir;
  dir.write("good.txt", kGcvsExtract);
  dir.write("noepoch.csv", "Name,RA,Dec,Type,Period\nX,1,2,EA,1.5\n");
  dir.write("star.dat", "old\n");
  e2e::RunResult r =
      e2e::run(STARIMPORT_BIN, dir.path(), "", {"-o", "star.dat", "good.txt", "noepoch.csv"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("starimport: noepoch.csv: no epoch column (looked for Epoch"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(dir.read("star.dat"), "old\n");
  r = e2e::run(STARIMPORT_BIN, dir.path(), "", {"good.txt", "missing.txt"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("missing.txt"), std::string::npos) << r.err;
  // The output named as an input would be emptied before it is read.
  r = e2e::run(STARIMPORT_BIN, dir.path(), "", {"-o", "good.txt", "good.txt"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("good.txt: it is the same file as the input good.txt"), std::string::npos)
      << r.err;
  EXPECT_EQ(dir.read("good.txt"), kGcvsExtract);
  dir.write("bad.json", "{\"VSXObject\": [\n{\"Name\": 1,}\n]}");
  r = e2e::run(STARIMPORT_BIN, dir.path(), "", {"bad.json"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("starimport: bad.json:2: not valid JSON"), std::string::npos) << r.err;
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
// hundred times as much when the reply was held whole (bench/README.md). The address sanitizer keeps up to 256 MiB of freed
// blocks and its shadow besides: its build checks only that memory does not follow the
// reply.
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
            "scale: run eclfore and phaselist with the --epochs its source names\n");
}

TEST(StarimportRun, BadOptionsAreUsageErrors) {
  e2e::TempDir dir;
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--format=fits"},
                                               {"--flag=22"},
                                               {"--flag=x"},
                                               {"--label=TOOLONG"},
                                               {"--types=EA,,EW"},
                                               {"--column", "epoch"},
                                               {"--column=colour=B-V"},
                                               {"--passband="},
                                               {"-", "-"},
                                               {"--frobnicate"}}) {
    const e2e::RunResult r = e2e::run(STARIMPORT_BIN, dir.path(), "", args);
    EXPECT_EQ(r.exit_code, 2) << args[0];
    EXPECT_NE(r.err.find("usage: starimport"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
  const e2e::RunResult help = e2e::run(STARIMPORT_BIN, dir.path(), "", {"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("--column=FIELD=NAME"), std::string::npos) << help.out;
  EXPECT_NE(help.out.find("starimport(1)"), std::string::npos);
  const e2e::RunResult version = e2e::run(STARIMPORT_BIN, dir.path(), "", {"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_TRUE(version.out.starts_with("starimport (eclipsing binary tools) ")) << version.out;
}

TEST(StarimportRun, WarningsAreBoundedPerFile) {
  e2e::TempDir dir;
  std::string table = "Name\tRA\tDec\tType\tEpoch\tPeriod\n";
  for (int i = 0; i < 150; ++i) table += "S" + std::to_string(i) + "\t1\t1\tM\t2450000\t300\n";
  dir.write("many.tsv", table);
  const e2e::RunResult r = e2e::run(STARIMPORT_BIN, dir.path(), "", {"many.tsv"});
  ASSERT_EQ(r.exit_code, 0);
  EXPECT_NE(r.err.find("warning: many.tsv:101: type M not selected; skipped\n"
                       "warning: many.tsv: 50 more lines skipped; their warnings are not shown\n"
                       "0 lines written, 150 records skipped"),
            std::string::npos)
      << r.err;
}

}  // namespace
