/// Fuzz target: the catalogue importer's readers (GCVS records, delimited tables, VSX
/// JSON, Kreiner's elements, the TESS and Gaia tables) and the conversion of every record
/// they give.
///
/// Invariants:
/// - a file either fails as a whole with a message or gives records one by one, read
///   as its content shows and as a format named for it;
/// - every line written has the 94 columns of star.dat and at most the extension's after
///   them, holds no control byte, and the star.dat reader takes it as a usable star:
///   finite epoch above JD 0 and a period above 0, the position inside 0-23 h 59 m 59 s
///   and +-90 degrees; its extension reads back without a problem as the one converted;
/// - a refused record always says why.

#include <cmath>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "astro/constants.h"
#include "catalogue_input.h"
#include "conversion.h"
#include "formats/catalogue.h"
#include "formats/star_extension.h"
#include "fuzz_support.h"
#include "io/text_files.h"

namespace {

void check_line(const std::string& line, const formats::StarExtension& extension) {
  FUZZ_CHECK(line.size() == 94 || (line.size() > 95 && line.size() <= 141));
  std::vector<std::string> problems;
  FUZZ_CHECK(formats::parse_star_extension(line, &problems) == extension);
  FUZZ_CHECK(problems.empty());
  for (char c : line) FUZZ_CHECK(static_cast<unsigned char>(c) >= ' ');
  FUZZ_CHECK(!formats::unusable_star_line(line));
  const formats::StarRecord star = formats::parse_star_record(line);
  FUZZ_CHECK(!formats::star_record_problem(star));
  FUZZ_CHECK(!formats::lacks_elements(star));
  FUZZ_CHECK(std::isfinite(star.period) && star.period > 0);
  // A GCVS epoch is JD - 2400000, so ".30258" is JD 2400000.30258: before MJD 0, yet a
  // positive Julian Date.
  FUZZ_CHECK(star.epoch_mjd + astro::kMjdZeroJd > 0);
  FUZZ_CHECK(star.ra_hours >= 0 && star.ra_hours < 24);
  FUZZ_CHECK(star.dec_degrees >= -90 && star.dec_degrees <= 90);
}

/// Reads the whole file as `format` (nothing: decided from the content) and converts
/// every record.
void import_all(const std::string& path, std::optional<starimport::Format> format) {
  starimport::TableRequest request;
  request.need_type = false;
  try {
    starimport::CatalogueInput input(path, "fuzz", format, request);
    starimport::ConversionSettings settings;
    settings.label = std::string(input.default_label());
    settings.time_scale = input.time_scale();
    starimport::InputItem item;
    while (input.next(item)) {
      if (const auto* reason = std::get_if<std::string>(&item.record)) {
        FUZZ_CHECK(!reason->empty());
        continue;
      }
      const starimport::Conversion c =
          starimport::convert_record(std::get<starimport::SourceRecord>(item.record), settings);
      if (!c.line) {
        FUZZ_CHECK(!c.refusal.empty());
        continue;
      }
      check_line(starimport::format_star_line(*c.line), c.line->extension);
    }
  } catch (const io::RunError& e) {
    FUZZ_CHECK(std::string(e.what()).starts_with("fuzz"));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& path = fuzz::input_file().hold(fuzz::as_text(data, size));
  import_all(path, std::nullopt);
  // Also as a format named with --format, which the content may not show: the one the
  // input's size picks, so that every seed tries one.
  constexpr starimport::Format kNamed[] = {
      starimport::Format::gcvs,    starimport::Format::table, starimport::Format::vsx_json,
      starimport::Format::kreiner, starimport::Format::tess,  starimport::Format::gaia};
  import_all(path, kNamed[size % std::size(kNamed)]);
  return 0;
}
