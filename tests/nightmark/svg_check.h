#pragma once
/// Checks that a chart is well-formed XML, with xmllint.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "e2e.h"

namespace nightmark::testing_svg {

/// Runs `xmllint --noout` on the text; a failure names `what`.
inline void expect_well_formed(const std::string& svg, const std::string& what) {
  e2e::TempDir dir;
  dir.write("chart.svg", svg);
  const std::string command = "xmllint --noout '" + (dir.path() / "chart.svg").string() + "' 2>&1";
  const int status = std::system(command.c_str());
  EXPECT_EQ(status, 0) << what << " is not well-formed XML";
}

}  // namespace nightmark::testing_svg
