#pragma once
/// The tables of two surveys' eclipsing binaries, delimited tables with the surveys' own
/// column names: the TESS eclipsing binaries (Prsa et al. 2022: the Villanova catalogue's
/// CSV, or VizieR's J/ApJS/258/16) and Gaia DR3's vari_eclipsing_binary joined with
/// gaia_source. Their epochs are barycentric (BJD, TDB once converted).

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "source_record.h"

namespace starimport {

enum class Survey { tess, gaia };

/// The survey whose column names a header row has: TESS's epoch and primary eclipse
/// width, or Gaia's reference_time, frequency and derived_primary_ecl_phase.
std::optional<Survey> survey_of_header(const std::vector<std::string>& header);

/// Where each of a survey's fields stands in a row, when the table has it.
struct SurveyColumns {
  Survey survey = Survey::tess;
  std::vector<std::optional<std::size_t>> index;  ///< by the survey's own field order
  std::size_t header_fields = 0;
};

/// Finds a survey's columns in the header, any case. Fails with a message naming the
/// missing column when a needed one is not there.
std::variant<SurveyColumns, std::string> map_survey_columns(Survey survey,
                                                            const std::vector<std::string>& header);

/// The record of a data row, its numbers worked into the elements of a star.dat line:
/// TESS's BTJD epoch made a full BJD, Gaia's epoch of the primary minimum from its
/// reference time and phase taken from TCB to TDB, its period and errors from the
/// frequency, widths and durations in phase made percent of the period, the secondary
/// phase from the two minima's phases; or why the row gives none.
std::variant<SourceRecord, std::string> read_survey_row(const std::vector<std::string>& fields,
                                                        const SurveyColumns& columns, long number);

}  // namespace starimport
