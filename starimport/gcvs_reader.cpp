#include "gcvs_reader.h"

#include <algorithm>
#include <array>

#include "conversion.h"
#include "formats/records.h"

namespace starimport {
namespace {

/// A field of gcvs5.txt, counted as the table's description counts: bytes from 1.
struct GcvsField {
  int first_byte;
  int last_byte;
};

/// The byte columns of the GCVS 5.1 main table.
namespace gcvs {
constexpr std::array<int, 14> kSeparatorBytes = {8,  20,  41,  52,  62,  75,  88,
                                                 91, 104, 110, 131, 137, 155, 167};
constexpr GcvsField kName{9, 18};
constexpr GcvsField kRa{21, 29};   ///< hhmmss.ss, J2000
constexpr GcvsField kDec{31, 39};  ///< +ddmmss.s, J2000
constexpr GcvsField kType{42, 51};
constexpr GcvsField kMaxLimit{53, 53};
constexpr GcvsField kMax{54, 59};
constexpr GcvsField kMinFlag{63, 64};  ///< '(' amplitude, '<' or '>' limit
constexpr GcvsField kMin{65, 70};
constexpr GcvsField kMinSystem{72, 73};
constexpr GcvsField kSystem{89, 90};
constexpr GcvsField kEpoch{92, 102};  ///< JD - 2400000
constexpr GcvsField kPeriodLimit{111, 111};
constexpr GcvsField kPeriod{112, 127};
/// For eclipsing types D, the eclipse's duration in percent of the period: two digits
/// left-aligned at 132-133, then ':' (poor precision, also at 134) and '*' (no phase of
/// constant light in minimum) at 135-136. For other types M-m.
constexpr GcvsField kDuration{132, 136};
}  // namespace gcvs

std::string field(std::string_view line, GcvsField f) {
  return formats::extract_field(line, f.first_byte - 1, f.last_byte - f.first_byte + 1);
}

std::string trimmed(std::string_view line, GcvsField f) {
  return std::string(trim(field(line, f)));
}

/// "hhmmss.ss" as "hh mm ss.ss", "+ddmmss.s" as "+dd mm ss.s"; other texts unchanged,
/// for the conversion to refuse.
std::string spaced_position(std::string text, std::size_t sign) {
  if (text.size() < sign + 6) return text;
  return text.substr(0, sign + 2) + " " + text.substr(sign + 2, 2) + " " + text.substr(sign + 4);
}

}  // namespace

bool has_gcvs_separators(std::string_view line) {
  return std::all_of(gcvs::kSeparatorBytes.begin(), gcvs::kSeparatorBytes.end(), [&](int byte) {
    return static_cast<std::size_t>(byte) <= line.size() && line[byte - 1] == '|';
  });
}

std::variant<SourceRecord, std::string> read_gcvs_record(std::string_view line, long number) {
  if (!has_gcvs_separators(line)) {
    return std::string("not a GCVS 5.1 record (no '|' at one of the bytes 8, 20, 41, ..., 167)");
  }
  SourceRecord r;
  r.line = number;
  r.name = field(line, gcvs::kName);
  const std::string ra = trimmed(line, gcvs::kRa);
  const std::string dec = trimmed(line, gcvs::kDec);
  r.ra = ra.empty() ? ra : spaced_position(ra, 0);
  r.dec = dec.empty() ? dec : spaced_position(dec, dec[0] == '+' || dec[0] == '-' ? 1 : 0);
  r.type = trimmed(line, gcvs::kType);

  const std::string system = trimmed(line, gcvs::kSystem);
  r.max.value = trimmed(line, gcvs::kMax);
  const std::string max_limit = trimmed(line, gcvs::kMaxLimit);
  r.max.limit = max_limit.empty() ? '\0' : max_limit[0];
  r.max.passband = system;

  r.min.value = trimmed(line, gcvs::kMin);
  const std::string min_flag = trimmed(line, gcvs::kMinFlag);
  r.min.amplitude = min_flag.find('(') != std::string::npos;
  if (const std::size_t mark = min_flag.find_first_of("<>"); mark != std::string::npos) {
    r.min.limit = min_flag[mark];
  }
  const std::string min_system = trimmed(line, gcvs::kMinSystem);
  r.min.passband = min_system.empty() ? system : min_system;

  r.epoch = trimmed(line, gcvs::kEpoch);
  const std::string period_limit = trimmed(line, gcvs::kPeriodLimit);
  r.period_limit = period_limit.empty() ? '\0' : period_limit[0];
  r.period = trimmed(line, gcvs::kPeriod);
  if (is_eclipsing_type(r.type)) r.duration = trimmed(line, gcvs::kDuration);
  return r;
}

}  // namespace starimport
