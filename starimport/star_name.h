#pragma once
/// When two designations name the same star: catalogues write one name in several ways
/// ("V0772 Cas" in the GCVS, "V772 Cas" elsewhere; "bet Per" and "Bet Per").

#include <string>
#include <string_view>

namespace starimport {

/// The form two designations of one star share: runs of blanks (and control bytes) made
/// one and none at the ends, the leading zeros of a V number dropped ("V0772" is
/// "V772"), a Greek letter's abbreviation in lower case ("BET Per" is "bet Per", with
/// a component number too: "Alf02 CVn"). Nothing else is changed: other case, other
/// spellings of the letters ("alp" and "alf") stay distinct.
std::string star_name_key(std::string_view name);

}  // namespace starimport
