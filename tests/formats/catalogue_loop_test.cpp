#include "formats/catalogue_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e.h"

namespace {

// Columns:   0         1         2         3         4         5         6         7         8 9
//            0123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123
const std::string kStar =
    "EX Demo              2453000.1234    1.2345678 21 30 00  +20 15       EA  9.8 10.9      2 "
    "C012";

std::string named(const std::string& name, const std::string& line = kStar) {
  return name + std::string(20 - name.size(), ' ') + line.substr(20);
}

struct Pass {
  std::vector<std::string> used;  // names handed to use, trailing blanks cut
  std::string out, err;           // out: the names handed to named, in order
};

/// Runs the loop over `catalogue` (CR LF lines) and records what it did.
Pass run_loop(const std::string& catalogue, const formats::StarVisitor& visitor_in) {
  e2e::TempDir dir;
  dir.write("star.dat", catalogue);
  Pass pass;
  formats::StarVisitor visitor = visitor_in;
  const auto use = visitor_in.use;
  visitor.use = [&](const formats::StarRecord& star) {
    pass.used.push_back(star.name.substr(0, star.name.find(' ')));
    return use(star);
  };
  visitor.named = [&](const formats::StarRecord& star) { pass.out += star.name; };
  io::LineReader reader((dir.path() / "star.dat").string());
  std::string line;
  const bool have_line = reader.next(line);
  testing::internal::CaptureStderr();
  formats::for_each_catalogue_star(reader, line, have_line, visitor);
  pass.err = testing::internal::GetCapturedStderr();
  return pass;
}

TEST(CatalogueLoop, SkipStepsWarningsAndEchoInCatalogueOrder) {
  const std::string catalogue =
      named("A") + "\r\n" +                                   // used
      "\r\n" +                                                // blank: silent
      "too short\r\n" +                                       // warned
      named("B").replace(33, 13, "            0") + "\r\n" +  // no period: echo only
      named("C").replace(33, 13, "   -1.2345678") + "\r\n" +  // warned after the echo
      named("D").replace(88, 1, "1") + "\r\n" +               // not wanted: nothing
      named("E") + "\r\n";                                    // use refuses: warned
  formats::StarVisitor visitor;
  visitor.wanted = formats::selected_for_phase_table;
  visitor.use = [](const formats::StarRecord& star) -> std::optional<std::string> {
    if (star.name[0] == 'E') return "refused";
    return std::nullopt;
  };
  const Pass pass = run_loop(catalogue, visitor);
  EXPECT_EQ(pass.used, (std::vector<std::string>{"A", "E"}));
  EXPECT_EQ(pass.out, named("A").substr(0, 20) + named("B").substr(0, 20) +
                          named("C").substr(0, 20) + named("E").substr(0, 20));
  EXPECT_NE(pass.err.find(":3: line of 9 characters is too short"), std::string::npos) << pass.err;
  EXPECT_NE(pass.err.find(":5: negative period; skipped\n"), std::string::npos) << pass.err;
  EXPECT_NE(pass.err.find(":7: refused; skipped\n"), std::string::npos) << pass.err;
  EXPECT_EQ(pass.err.find(":4:"), std::string::npos) << pass.err;
  EXPECT_EQ(pass.err.find(":6:"), std::string::npos) << pass.err;
}

TEST(CatalogueLoop, WithoutAWantedTestEveryParsedRecordIsEchoed) {
  const std::string catalogue = named("A").replace(88, 1, " ") + "\r\n" + named("B") + "\r\n";
  formats::StarVisitor visitor;
  visitor.use = [](const formats::StarRecord&) { return std::optional<std::string>(); };
  const Pass pass = run_loop(catalogue, visitor);
  EXPECT_EQ(pass.used, (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(pass.out.size(), 40u);
  EXPECT_EQ(pass.err, "");
}

}  // namespace

namespace {

TEST(CatalogueLoop, TheExtensionsBadFieldsAreWarnedOfForTheStarsInUseOnly) {
  // Each line's eclipse duration (columns 95-99) reads "12x"; the secondary phase of A
  // (columns 107-112) is good and kept.
  const std::string bad_duration = "   12x       0.4132";
  const std::string catalogue =
      named("A") + bad_duration + "\r\n" +                                   // warned, used
      named("B").replace(33, 13, "   -1.2345678") + bad_duration + "\r\n" +  // bad period only
      named("C").replace(88, 1, "1") + bad_duration + "\r\n" +               // not wanted
      named("D") + "  17\r\n";                                               // good: silent
  formats::StarVisitor visitor;
  visitor.wanted = formats::selected_for_phase_table;
  std::vector<formats::StarExtension> extensions;
  visitor.use = [&](const formats::StarRecord& star) -> std::optional<std::string> {
    extensions.push_back(star.extension);
    return std::nullopt;
  };
  const Pass pass = run_loop(catalogue, visitor);
  EXPECT_EQ(pass.used, (std::vector<std::string>{"A", "D"}));
  ASSERT_EQ(extensions.size(), 2u);
  EXPECT_FALSE(extensions[0].eclipse_duration_pct);
  EXPECT_EQ(extensions[0].secondary_phase, 0.4132);
  EXPECT_EQ(extensions[1].eclipse_duration_pct, 17);
  EXPECT_NE(pass.err.find("star.dat:1: eclipse_duration \"12x\" is not a number above 0 and "
                          "at most 100; read as blank\n"),
            std::string::npos)
      << pass.err;
  EXPECT_NE(pass.err.find("star.dat:2: negative period; skipped\n"), std::string::npos) << pass.err;
  EXPECT_EQ(std::count(pass.err.begin(), pass.err.end(), '\n'), 2) << pass.err;
}

}  // namespace
