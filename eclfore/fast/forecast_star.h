#pragma once
/// The forecast of one star the short way: the prefilter, the night date in whole
/// numbers, the quick altitude and the line written in place, each deciding only what
/// the listing rule would and handing it everything else. The lines are the bytes of
/// search_minima's minima through write_forecast_line.

#include "fast/prefilter.h"
#include "fast/quick_altitude.h"
#include "formats/catalogue.h"
#include "io/output_file.h"
#include "io/text_files.h"
#include "listing_rule.h"
#include "minima_search.h"
#include "search_window.h"

namespace eclfore::fast {

/// The shortcuts' tables for a rule in a window, built once for a run (run_tables).
struct RunTables {
  NightSlots night_slots;
  AltitudeCells altitude_cells;
};
RunTables run_tables(const SearchWindow& window, const ListingRule& rule);

/// Writes a ForecastLine to `out` for each minimum of `star` that the rule lists, in the
/// order of search_minima, with the tables of run_tables(window, rule). Expects what
/// search_minima expects. Hands each minimum written to `also_listed` when given (its
/// altitude_deg is 0 where the line took the quick altitude). Returns the number of
/// lines written.
long forecast_star(const formats::StarRecord& star, const SearchWindow& window,
                   const ListingRule& rule, const RunTables& tables, io::OutputFile& out,
                   const MinimumConsumer* also_listed = nullptr);

}  // namespace eclfore::fast
