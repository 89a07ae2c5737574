#include "exports.h"

#include <uuid/uuid.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "astro/numeric.h"
#include "io/text.h"

namespace nightmark {
namespace {

constexpr std::string_view kStellariumShortName = "Observing list for Stellarium";
constexpr std::string_view kStellariumVersion = "2.1";
constexpr std::string_view kSkySafariVersionLine = "SkySafariObservingListVersion=3.0";
/// "a star, look it up by its name"
constexpr std::string_view kSkySafariStarId = "2,-1,-1";

/// The night's list id is the version-5 UUID of this prefix and the date, in the
/// URL namespace of RFC 4122.
constexpr std::string_view kListUuidNamePrefix = "urn:eclipsing-binary-tools:night:";

constexpr double kDegreesPerHour = 15;
constexpr long long kCentisecondsPerHour = 360000;
constexpr long long kDeciarcsecondsPerDegree = 36000;

/// The 88 constellations, as GCVS names write them.
constexpr std::array<std::string_view, 88> kConstellations = {
    "And", "Ant", "Aps", "Aql", "Aqr", "Ara", "Ari", "Aur", "Boo", "CMa", "CMi", "CVn", "Cae",
    "Cam", "Cap", "Car", "Cas", "Cen", "Cep", "Cet", "Cha", "Cir", "Cnc", "Col", "Com", "CrA",
    "CrB", "Crt", "Cru", "Crv", "Cyg", "Del", "Dor", "Dra", "Equ", "Eri", "For", "Gem", "Gru",
    "Her", "Hor", "Hya", "Hyi", "Ind", "LMi", "Lac", "Leo", "Lep", "Lib", "Lup", "Lyn", "Lyr",
    "Men", "Mic", "Mon", "Mus", "Nor", "Oct", "Oph", "Ori", "Pav", "Peg", "Per", "Phe", "Pic",
    "PsA", "Psc", "Pup", "Pyx", "Ret", "Scl", "Sco", "Sct", "Ser", "Sex", "Sge", "Sgr", "Tau",
    "Tel", "TrA", "Tri", "Tuc", "UMa", "UMi", "Vel", "Vir", "Vol", "Vul"};

bool is_constellation(std::string_view word) {
  return std::find(kConstellations.begin(), kConstellations.end(), word) != kConstellations.end();
}

std::vector<std::string_view> words(std::string_view text) {
  std::vector<std::string_view> out;
  std::size_t at = 0;
  while (true) {
    at = text.find_first_not_of(' ', at);
    if (at == std::string_view::npos) break;
    const std::size_t end = std::min(text.find(' ', at), text.size());
    out.push_back(text.substr(at, end - at));
    at = end;
  }
  return out;
}

/// "V0370" -> "V370"; any other word unchanged.
std::string without_v_zeros(std::string_view word) {
  if (word.size() < 2 || word[0] != 'V') return std::string(word);
  const std::string_view digits = word.substr(1);
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::string(word);
  }
  const std::size_t first = std::min(digits.find_first_not_of('0'), digits.size() - 1);
  std::string name(1, 'V');
  name += digits.substr(first);
  return name;
}

/// Nearest whole count of `units` in a non-negative finite `value`.
long long rounded_units(double value, long long units) {
  return static_cast<long long>(astro::trunc_to_int(value * static_cast<double>(units) + 0.5));
}

/// Right ascension in [0, 24) hours.
double normalized_hours(double ra_hours) {
  double h = std::fmod(ra_hours, 24.0);
  if (h < 0) h += 24;
  return h;
}

}  // namespace

ExportChoice parse_export_formats(std::string_view list) {
  ExportChoice choice;
  std::size_t at = 0;
  while (true) {
    const std::size_t comma = std::min(list.find(',', at), list.size());
    const std::string_view name = list.substr(at, comma - at);
    if (name == "stellarium") {
      choice.formats.stellarium = true;
    } else if (name == "skychart") {
      choice.formats.skychart = true;
    } else if (name == "skysafari") {
      choice.formats.skysafari = true;
    } else if (name == "csv") {
      choice.formats.csv = true;
    } else if (name == "ics") {
      choice.formats.ics = true;
    } else {
      choice.unknown = std::string(name);
      return choice;
    }
    if (comma == list.size()) break;
    at = comma + 1;
  }
  choice.ok = true;
  return choice;
}

std::string iso_date(const NightDate& date) {
  return fmt::format("{:04}-{:02}-{:02}", date.year, date.month, date.day);
}

std::string list_title(const NightDate& date) {
  return fmt::format("EB minima {}", iso_date(date));
}

std::string night_list_uuid(const NightDate& date) {
  const std::string name = fmt::format("{}{}", kListUuidNamePrefix, iso_date(date));
  uuid_t id;
  uuid_generate_sha1(id, *uuid_get_template("url"), name.data(), name.size());
  char text[37];
  uuid_unparse_lower(id, text);
  return fmt::format("{{{}}}", text);
}

std::string stellarium_ra(double ra_hours) {
  const long long cs =
      rounded_units(normalized_hours(ra_hours), kCentisecondsPerHour) % (24 * kCentisecondsPerHour);
  const long long hours = cs / kCentisecondsPerHour;
  const long long minutes = cs / 6000 % 60;
  const long long centiseconds = cs % 6000;
  return fmt::format("{}h{:02}m{:02}.{:02}s", hours, minutes, centiseconds / 100,
                     centiseconds % 100);
}

std::string stellarium_dec(double dec_degrees) {
  const bool south = std::signbit(dec_degrees);
  const long long ds = rounded_units(std::fabs(dec_degrees), kDeciarcsecondsPerDegree);
  const long long degrees = ds / kDeciarcsecondsPerDegree;
  const long long minutes = ds / 600 % 60;
  const long long deciseconds = ds % 600;
  return fmt::format("{}{}d{:02}m{:02}.{}s", south && ds != 0 ? '-' : '+', degrees, minutes,
                     deciseconds / 10, deciseconds % 10);
}

std::string gcvs_name(std::string_view name) {
  const std::vector<std::string_view> w = words(name);
  if (w.size() >= 2 && is_constellation(w[1])) {
    return fmt::format("{} {}", without_v_zeros(w[0]), w[1]);
  }
  std::string text(name);
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

std::string constellation_of(std::string_view name) {
  const std::vector<std::string_view> w = words(name);
  return w.size() >= 2 && is_constellation(w[1]) ? std::string(w[1]) : std::string();
}

std::string stellarium_list(const std::vector<PlanEntry>& entries, const NightDate& date,
                            float start_hours, std::string_view created,
                            std::string_view clock_name) {
  using Json = nlohmann::ordered_json;
  Json objects = Json::array();
  for (const PlanEntry& e : entries) {
    Json o;
    o["designation"] = e.name;
    o["name"] = e.name;
    o["nameI18n"] = e.name;
    o["type"] = "Star";
    o["objtype"] = e.var_type;
    o["ra"] = stellarium_ra(e.position.ra_hours);
    o["dec"] = stellarium_dec(e.position.dec_degrees);
    o["magnitude"] = e.mag_max;
    o["constellation"] = constellation_of(e.name);
    o["jd"] = e.minimum_jd;
    o["location"] = "";
    o["landscapeID"] = "";
    o["fov"] = 0;
    o["isVisibleMarker"] = true;
    objects.push_back(std::move(o));
  }
  Json list;
  list["name"] = list_title(date);
  list["description"] =
      fmt::format("Minima of eclipsing binaries in the night of {}, observing from {} {}",
                  iso_date(date), clock_text(start_hours), clock_name);
  list["creation date"] = created;
  list["last edit"] = created;
  list["sorting"] = "";
  list["objects"] = std::move(objects);
  Json file;
  file["defaultListOlud"] = "";
  file["shortName"] = kStellariumShortName;
  file["version"] = kStellariumVersion;
  file["observingLists"][night_list_uuid(date)] = std::move(list);
  // Names are bytes of a hand-kept file: escape everything beyond ASCII, and let a
  // byte that is not UTF-8 become U+FFFD instead of failing the run.
  return file.dump(4, ' ', true, Json::error_handler_t::replace) + "\n";
}

std::string skychart_list(const std::vector<PlanEntry>& entries, const NightDate& date,
                          std::string_view clock_name) {
  std::string text = fmt::format("{}\n", list_title(date));
  for (const PlanEntry& e : entries) {
    // Cartes du Ciel's columns: the name (1-32), right ascension and declination in
    // decimal degrees (33-42, 43-52), the label (53-84), the time of the minimum. The
    // name is printable ASCII, so that each byte is one column.
    const std::string name = io::printable_ascii(e.name);
    fmt::format_to(std::back_inserter(text), "{:<32}{:<10.5f}{:<10.5f}{:<32}Min {} {} {}\n", name,
                   normalized_hours(e.position.ra_hours) * kDegreesPerHour, e.position.dec_degrees,
                   name, clock_time_text(e), clock_name,
                   io::printable_ascii(std::string(1, e.kind)));
  }
  return text;
}

std::string skysafari_list(const std::vector<PlanEntry>& entries) {
  std::string text = fmt::format("{}\n", kSkySafariVersionLine);
  for (const PlanEntry& e : entries) {
    fmt::format_to(std::back_inserter(text),
                   "SkyObject=BeginObject\n"
                   "\tObjectID={}\n"
                   "\tCatalogNumber={}\n"
                   "EndObject=SkyObject\n",
                   kSkySafariStarId, io::printable_ascii(gcvs_name(e.name)));
  }
  return text;
}

}  // namespace nightmark
