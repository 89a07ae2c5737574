#pragma once
/// The night plan as observing lists for today's planetarium software: Stellarium
/// (.sol, JSON), Cartes du Ciel / SkyChart (fixed-column text) and SkySafari
/// (.skylist, names only). Each writer returns the whole file text with '\n' line
/// ends, one entry per plan line, in plan order.

#include <string>
#include <string_view>
#include <vector>

#include "night_filter.h"
#include "plan_entry.h"

namespace nightmark {

/// The formats asked for with --export.
struct ExportFormats {
  bool stellarium = false;
  bool skychart = false;
  bool skysafari = false;
  bool csv = false;  ///< the plan as the month's table
  bool ics = false;  ///< the plan as the month's calendar
};

/// A comma-separated list of format names (stellarium, skychart, skysafari, csv, ics), as
/// --export takes it.
struct ExportChoice {
  ExportFormats formats;
  std::string unknown;  ///< the first name that is none of them ("" for an empty item)
  bool ok = false;      ///< every name known (and the list not empty)
};
ExportChoice parse_export_formats(std::string_view list);

/// "YYYY-MM-DD" of the night's date (year at least four digits, month and day two).
std::string iso_date(const NightDate& date);

/// The observing list's name in every export: "EB minima YYYY-MM-DD".
std::string list_title(const NightDate& date);

/// The Stellarium list id: a name-based (version 5, SHA-1) UUID of the night's date,
/// in braces, lower-case hex. The same night always gives the same id, so importing a
/// changed plan replaces the list imported before.
std::string night_list_uuid(const NightDate& date);

/// Right ascension in Stellarium's form, "5h35m17.30s" (hours 0 to 23, seconds to
/// the hundredth); hours outside [0, 24) are taken modulo 24.
std::string stellarium_ra(double ra_hours);
/// Declination in Stellarium's form, "+22d00m52.0s" (seconds to the tenth).
std::string stellarium_dec(double dec_degrees);

/// The GCVS form of a star name: a designation followed by a constellation
/// abbreviation keeps those two words ("bet Per  Algol" -> "bet Per"), with the
/// leading zeros of a V number dropped ("V0370 And" -> "V370 And"); any other name
/// as it stands, trailing blanks removed.
std::string gcvs_name(std::string_view name);

/// The constellation abbreviation of a GCVS-form name ("Per" of "bet Per"), or "".
std::string constellation_of(std::string_view name);

/// The Stellarium observing list (file version 2.1). `created`: local time of the
/// run, "YYYY-MM-DD HH:MM:SS" (display only); `start_hours`: the typed start time,
/// decimal hours on the night's clock `clock_name`, for the list's description.
std::string stellarium_list(const std::vector<PlanEntry>& entries, const NightDate& date,
                            float start_hours, std::string_view created,
                            std::string_view clock_name = "JST");

/// The Cartes du Ciel observing list: the title line, then per entry the name
/// (columns 1-32), J2000 right ascension and declination in decimal degrees (33-42,
/// 43-52), the label (53-84) and "Min HH:MM JST p" (from 85), the time on the night's
/// clock `clock_name` and named by it.
std::string skychart_list(const std::vector<PlanEntry>& entries, const NightDate& date,
                          std::string_view clock_name = "JST");

/// The SkySafari observing list: the version line, then one block per entry with
/// the GCVS-form name.
std::string skysafari_list(const std::vector<PlanEntry>& entries);

}  // namespace nightmark
