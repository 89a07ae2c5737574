#pragma once
/// Chart mark lines for planetarium software, built from a night-list line
/// (DailyListLine layout): one AdfMarkLine for lplanet.adf, one MrkMarkLine for
/// lightpl.mrk.

#include <string>
#include <string_view>

namespace nightmark {

/// The star name up to its first blank, from columns 0-19 (at most 20 characters;
/// empty when column 0 is a blank).
std::string short_name(std::string_view line);

/// The adf label: the short name without a leading "ASAS" (capitals only).
std::string_view adf_label(std::string_view short_name);

/// The AdfMarkLine of a night-list line, with its '\n':
/// eqt HHMM.0,sDDMM.0,mark 8,"label_Ctt",F where F is 4 for a recently observed
/// star and 1 otherwise. Characters are copied, never converted: only blanks of the
/// tens places become "0", and a "-" in column 53 gives "0" degree tens.
/// Columns past the end of the line read as blanks. A control byte (TAB included) or
/// a byte that is not UTF-8 is written as '?'; printable UTF-8 is kept.
std::string adf_mark_line(std::string_view line, bool recently_observed);

/// The MrkMarkLine of a night-list line, with its '\n': HH.MM.00 sDD.MM name_Ctt,
/// with the same position characters as the AdfMarkLine and the whole short name,
/// the same bytes written as '?'.
std::string mrk_mark_line(std::string_view line);

}  // namespace nightmark
