// The conversions of catalogue field texts: decimal text kept digit for digit, every
// rounding once, from the text, halves away from zero, with the carries done.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "decimal_text.h"
#include "field_conversions.h"

namespace starimport {
namespace {

TEST(DecimalText, KeepsTheDigitsAsWritten) {
  struct Case {
    const char* in;
    const char* out;
  };
  for (const Case c : {Case{"0.6289216", "0.6289216"}, Case{" 53820. ", "53820."},
                       Case{"08247.950", "8247.950"}, Case{"+12.50", "12.50"}, Case{"-.5", "-0.5"},
                       Case{"1.5e2", "150"}, Case{"25e-3", "0.025"}, Case{"1.20E+1", "12.0"}}) {
    const auto number = parse_decimal_text(c.in);
    ASSERT_TRUE(number) << c.in;
    EXPECT_EQ(number->text(), c.out) << c.in;
  }
  for (const char* bad :
       {"", " ", ".", "-", "12a", "1,5", "inf", "nan", "1e", "0x10", "1 2", "1e999"}) {
    EXPECT_FALSE(parse_decimal_text(bad)) << bad;
  }
}

TEST(DecimalText, RoundsHalvesAwayFromZeroExactly) {
  const auto r = [](const char* text, std::int64_t mul, std::int64_t div) {
    return round_ratio(*to_exact(*parse_decimal_text(text)), mul, div);
  };
  // 3.25 and 0.05 are halves in decimal; binary would give 3.2 (3.25 ties to even)
  // and 0.1 only by luck.
  EXPECT_EQ(r("3.25", 10, 1), 33);
  EXPECT_EQ(r("-3.25", 10, 1), -33);
  EXPECT_EQ(r("0.05", 10, 1), 1);
  EXPECT_EQ(r("0.0499999999999999999", 10, 1), 0);
  EXPECT_EQ(r("30", 1, 60), 1);  // 30 arcsec is half an arc minute
  EXPECT_EQ(r("29.99", 1, 60), 0);
  EXPECT_EQ(r("0.00208333", 240, 1), 0);  // 0.49999992 s of time
  EXPECT_EQ(r("0.003125", 240, 1), 1);    // exactly 0.75 s
  EXPECT_FALSE(to_exact(*parse_decimal_text("1234567890123456789012345678901")));
}

TEST(Epoch, TakenAsWrittenWithTheReducedDaysRestored) {
  EXPECT_EQ(*convert_epoch("51421.737").value, "2451421.737");
  EXPECT_EQ(*convert_epoch("08247.950").value, "2408247.950");
  EXPECT_EQ(*convert_epoch("53820.").value, "2453820.");
  EXPECT_EQ(*convert_epoch("2448401.484").value, "2448401.484");
  EXPECT_EQ(*convert_epoch("2452994:").value, "2452994");
  EXPECT_EQ(*convert_epoch("2453000.12345").value, "2453000.12345");
  // Trailing zeros carry no digit of the value: they go only where the columns end.
  EXPECT_EQ(*convert_epoch("2453000.123450000").value, "2453000.12345");
}

TEST(Epoch, RefusalsSayWhy) {
  // MJD 0 is the programs' mark of a star without elements: such a star would be
  // passed over without a word (found by the importer's fuzz target).
  for (const char* mjd_zero : {".5", "0.5", "2400000.5", "2400000.500"}) {
    EXPECT_FALSE(convert_epoch(mjd_zero).value) << mjd_zero;
  }
  EXPECT_EQ(*convert_epoch(".6").value, "2400000.6");
  EXPECT_EQ(convert_epoch("").problem, "no epoch");
  EXPECT_EQ(convert_epoch("  ").problem, "no epoch");
  EXPECT_EQ(convert_epoch("abc").problem, "epoch 'abc' is not a finite positive number");
  EXPECT_EQ(convert_epoch("-5").problem, "epoch '-5' is not a finite positive number");
  EXPECT_EQ(convert_epoch("0.0").problem, "epoch '0.0' is not a finite positive number");
  EXPECT_EQ(convert_epoch("NaN").problem, "epoch 'NaN' is not a finite positive number");
  EXPECT_EQ(convert_epoch("1234567.5").problem,
            "epoch '1234567.5' is neither a Julian Date nor JD - 2400000");
  EXPECT_EQ(convert_epoch("2453000.1234567").problem,
            "epoch '2453000.1234567' has more digits than the 13 columns hold");
  EXPECT_EQ(convert_epoch("51421.7370001").problem,
            "epoch '51421.7370001' has more digits than the 13 columns hold");
}

TEST(Period, TakenAsWrittenOrRefused) {
  EXPECT_EQ(*convert_period("     0.6289216   ", 0).value, "0.6289216");
  EXPECT_EQ(*convert_period("95:", 0).value, "95");
  EXPECT_EQ(*convert_period("409.2", '(').value, "409.2");
  EXPECT_EQ(*convert_period("0.12345678901", 0).value, "0.12345678901");
  EXPECT_EQ(convert_period("", 0).problem, "no period");
  EXPECT_EQ(convert_period("0.5", '<').problem, "period given only as a limit (<0.5)");
  EXPECT_EQ(convert_period("0", 0).problem, "period '0' is not a finite positive number");
  EXPECT_EQ(convert_period("-1.5", 0).problem, "period '-1.5' is not a finite positive number");
  EXPECT_EQ(convert_period("inf", 0).problem, "period 'inf' is not a finite positive number");
  EXPECT_EQ(convert_period("0.12345678901234", 0).problem,
            "period '0.12345678901234' has more digits than the 13 columns hold");
}

TEST(Position, RightAscensionToTheNearestSecondWithCarries) {
  struct Case {
    const char* in;
    int h, m, s;
  };
  for (const Case c :
       {Case{"23 11 10.10", 23, 11, 10}, Case{"23 11 10.5", 23, 11, 11},
        Case{"05:07:59.6", 5, 8, 0}, Case{"23 59 59.7", 0, 0, 0}, Case{"12 30.5", 12, 30, 30},
        Case{"283.23724", 18, 52, 57}, Case{"359.9999", 0, 0, 0}, Case{"0", 0, 0, 0},
        Case{"15.00208333", 1, 0, 0}, Case{"15.003125", 1, 0, 1}}) {
    const Converted<RoundedRa> ra = convert_ra(c.in);
    ASSERT_TRUE(ra.value) << c.in << ": " << ra.problem;
    EXPECT_EQ(ra.value->hours, c.h) << c.in;
    EXPECT_EQ(ra.value->minutes, c.m) << c.in;
    EXPECT_EQ(ra.value->seconds, c.s) << c.in;
  }
  EXPECT_EQ(convert_ra("").problem, "no position");
  for (const char* bad : {"24 00 00", "12 60 00", "12 30 60", "360", "-1.5", "12.5 30 00",
                          "1 2 3 4", "ab cd", "+12 30 00"}) {
    EXPECT_EQ(convert_ra(bad).problem,
              "right ascension '" + std::string(bad) + "' is not a position")
        << bad;
  }
}

TEST(Position, DeclinationToTheNearestArcMinuteKeepingTheSign) {
  struct Case {
    const char* in;
    bool south;
    int d, m;
  };
  for (const Case c :
       {Case{"+53 01 33.0", false, 53, 2}, Case{"+53 01 29.9", false, 53, 1},
        Case{"-00 30 00", true, 0, 30}, Case{"-00 17 57", true, 0, 18},
        Case{"-00 00 29", false, 0, 0}, Case{"-0.004", false, 0, 0},
        Case{"-22.61472", true, 22, 37}, Case{"+89 59 30", false, 90, 0},
        Case{"45 59.5", false, 46, 0}, Case{"-90", true, 90, 0}, Case{"25.92017", false, 25, 55}}) {
    const Converted<RoundedDec> dec = convert_dec(c.in);
    ASSERT_TRUE(dec.value) << c.in << ": " << dec.problem;
    EXPECT_EQ(dec.value->south, c.south) << c.in;
    EXPECT_EQ(dec.value->degrees, c.d) << c.in;
    EXPECT_EQ(dec.value->minutes, c.m) << c.in;
  }
  EXPECT_EQ(convert_dec(" ").problem, "no position");
  for (const char* bad : {"+91 00 00", "+90 00 01", "90.001", "+45 60 00", "--5", "+-5", "-"}) {
    EXPECT_EQ(convert_dec(bad).problem, "declination '" + std::string(bad) + "' is not a position")
        << bad;
  }
}

MagnitudeEntry mag(const char* value, const char* band = "V", bool amplitude = false,
                   char limit = 0) {
  MagnitudeEntry m;
  m.value = value;
  m.passband = band;
  m.amplitude = amplitude;
  m.limit = limit;
  return m;
}

TEST(Magnitudes, OneDecimalAmplitudesAddedBeforeTheRounding) {
  RoundedMagnitudes m = convert_magnitudes(mag("8.97"), mag("9.83"), "V");
  EXPECT_EQ(m.max_tenths, 90);
  EXPECT_EQ(m.min_tenths, 98);
  EXPECT_TRUE(m.warnings.empty());
  // WW And: 10.92 + 0.67 = 11.59. 12.24 + 0.21 = 12.45 rounds to 12.5, where the sum
  // of the rounded values (12.2 + 0.2) would give 12.4.
  m = convert_magnitudes(mag("10.92"), mag("0.67", "V", true), "V");
  EXPECT_EQ(m.min_tenths, 116);
  m = convert_magnitudes(mag("12.24"), mag("0.21", "V", true), "V");
  EXPECT_EQ(m.min_tenths, 125);
  m = convert_magnitudes(mag("-1.46"), mag("-1.35"), "V");
  EXPECT_EQ(m.max_tenths, -15);
  EXPECT_EQ(m.min_tenths, -14);
}

TEST(Magnitudes, WhatIsNoMagnitudeIsLeftBlankWithAWarning) {
  RoundedMagnitudes m =
      convert_magnitudes(mag("13.14", "V", false, '<'), mag("14.29", "V", false, '>'), "V");
  EXPECT_FALSE(m.max_tenths);
  EXPECT_FALSE(m.min_tenths);
  EXPECT_EQ(m.warnings,
            (std::vector<std::string>{"maximum magnitude is a limit (<13.14); left blank",
                                      "minimum magnitude is a limit (>14.29); left blank"}));
  m = convert_magnitudes(mag(""), mag("0.2", "V", true), "V");
  EXPECT_EQ(m.warnings,
            (std::vector<std::string>{
                "no maximum magnitude; left blank",
                "minimum given as an amplitude without a maximum magnitude; left blank"}));
  m = convert_magnitudes(mag("x1"), mag("123.4"), "V");
  EXPECT_EQ(m.warnings,
            (std::vector<std::string>{"maximum magnitude 'x1' is not a number; left blank",
                                      "minimum magnitude does not fit 4 columns; left blank"}));
}

TEST(Magnitudes, AFaintLimitOfTheMinimumIsKeptWithAWarning) {
  // VSX's "<14.5": fainter than 14.5 at minimum. Rounded like any magnitude.
  RoundedMagnitudes m = convert_magnitudes(mag("13.14"), mag("14.25", "V", false, '<'), "V");
  EXPECT_EQ(m.max_tenths, 131);
  EXPECT_EQ(m.min_tenths, 143);
  EXPECT_EQ(m.warnings,
            std::vector<std::string>{
                "minimum magnitude is a limit (<14.25); kept: the eclipse is at least that deep"});
  // Blank as before: a limit of the other kind, of an amplitude, of the maximum, or in a
  // passband that is not the maximum's (no word of the limit then).
  m = convert_magnitudes(mag("13.1"), mag("0.5", "V", true, '<'), "V");
  EXPECT_FALSE(m.min_tenths);
  EXPECT_EQ(m.warnings,
            std::vector<std::string>{"minimum magnitude is a limit (<0.5); left blank"});
  m = convert_magnitudes(mag("13.1", "V"), mag("14.5", "R1", false, '<'), "V");
  EXPECT_FALSE(m.min_tenths);
  EXPECT_EQ(m.warnings, std::vector<std::string>{
                            "minimum magnitude not in the maximum's passband (maximum in V, "
                            "minimum in R1); left blank"});
  m = convert_magnitudes(mag(""), mag("14.5", "V", false, '<'), "V");
  EXPECT_EQ(m.min_tenths, 145);
  EXPECT_EQ(m.warnings.size(), 2u);
  m = convert_magnitudes(mag("13.1"), mag("123.4", "V", false, '<'), "V");
  EXPECT_FALSE(m.min_tenths);
  EXPECT_EQ(m.warnings,
            std::vector<std::string>{"minimum magnitude does not fit 4 columns; left blank"});
}

TEST(Magnitudes, ARangeStaysInOnePassband) {
  // The minimum in the preferred band keeps its place; otherwise the maximum's band.
  RoundedMagnitudes m = convert_magnitudes(mag("12.1", "B"), mag("13.0", "V"), "V");
  EXPECT_FALSE(m.max_tenths);
  EXPECT_EQ(m.min_tenths, 130);
  EXPECT_EQ(m.warnings, (std::vector<std::string>{
                            "maximum magnitude not in the minimum's passband (maximum in B, "
                            "minimum in V); left blank"}));
  m = convert_magnitudes(mag("12.1", "V"), mag("0.5", "R", true), "V");
  EXPECT_EQ(m.max_tenths, 121);
  EXPECT_FALSE(m.min_tenths);
  m = convert_magnitudes(mag("12.1", "r"), mag("13.0", "g"), "V");
  EXPECT_EQ(m.max_tenths, 121);
  EXPECT_FALSE(m.min_tenths);
  // Passband names differ in case: Stroemgren v is not Johnson V.
  m = convert_magnitudes(mag("12.1", "v"), mag("13.0", "V"), "V");
  EXPECT_FALSE(m.max_tenths);
  // A band that is not stated is no mismatch.
  m = convert_magnitudes(mag("12.1", ""), mag("13.0", "V"), "V");
  EXPECT_EQ(m.max_tenths, 121);
  EXPECT_EQ(m.min_tenths, 130);
}

TEST(MagnitudeText, MarksAndPassbandInOneText) {
  struct Case {
    const char* in;
    const char* value;
    char limit;
    bool amplitude;
    const char* band;
  };
  for (const Case c :
       {Case{"6.34 V", "6.34", 0, false, "V"}, Case{"(0.75) r", "0.75", 0, true, "r"},
        Case{"<12.5 R1", "12.5", '<', false, "R1"}, Case{"5.78: V", "5.78", 0, false, "V"},
        Case{"8.17", "8.17", 0, false, ""}, Case{"( 0.20 ): V", "0.20", 0, true, "V"},
        Case{"", "", 0, false, ""}, Case{"(0.2", "(0.2", 0, false, ""},
        Case{"7.1 V x", "7.1 V x", 0, false, ""}}) {
    const MagnitudeEntry m = parse_magnitude_text(c.in);
    EXPECT_EQ(m.value, c.value) << c.in;
    EXPECT_EQ(m.limit, c.limit) << c.in;
    EXPECT_EQ(m.amplitude, c.amplitude) << c.in;
    EXPECT_EQ(m.passband, c.band) << c.in;
  }
}

TEST(Extension, EclipseDurationInPercentToHundredths) {
  struct Case {
    const char* text;
    std::optional<double> pct;
  };
  // Percent as the GCVS and VSX write it, with their marks; hours and days converted
  // with the period (2.5 d): 3 h is 5 %, 0.1 d 4 %; halves away from zero.
  for (const Case& c :
       {Case{"17", 17}, Case{"17  *", 17}, Case{"10:", 10}, Case{" 05 ", 5}, Case{"12.345", 12.35},
        Case{"12.5%", 12.5}, Case{"100", 100}, Case{"3 h", 5}, Case{"3h", 5}, Case{"0.1 d", 4},
        Case{"2.5d", 100}, Case{"0.0001", std::nullopt}, Case{"", std::nullopt}}) {
    EXPECT_EQ(convert_duration(c.text, "2.5").value, c.pct) << c.text;
  }
  EXPECT_EQ(convert_duration("  ", "2.5").problem, "");
  EXPECT_EQ(convert_duration("<12", "2.5").problem,
            "eclipse duration is a limit (<12); left blank");
  for (const char* text : {"100.01", "2.6 d", "0", "-5", "abc", "12 min", "0.0001"}) {
    const Converted<double> c = convert_duration(text, "2.5");
    EXPECT_FALSE(c.value) << text;
    EXPECT_TRUE(c.problem.starts_with("eclipse duration '" + std::string(text) + "' is"))
        << c.problem;
  }
}

TEST(Extension, ErrorsAsWrittenOrRoundedUpToFit) {
  EXPECT_EQ(convert_error("0.0004", "epoch error", 10).value, 0.0004);
  EXPECT_EQ(convert_error("0", "epoch error", 10).value, 0.0);
  EXPECT_EQ(convert_error(" 1.5e-7: ", "epoch error", 10).value, 1.5e-7);
  EXPECT_FALSE(convert_error("", "epoch error", 10).value);
  EXPECT_EQ(convert_error("", "epoch error", 10).problem, "");
  // Too many digits: fewer, the last rounded up, never down.
  const Converted<double> cut = convert_error("0.00012345678", "epoch error", 10);
  EXPECT_EQ(cut.value, 0.00012346);
  EXPECT_EQ(cut.problem,
            "epoch error '0.00012345678' has more digits than its 10 columns hold; written as "
            "0.00012346");
  EXPECT_EQ(convert_error("0.00012340000001", "epoch error", 10).value, 0.00012341);
  EXPECT_EQ(convert_error("123456789012345", "period error", 12).problem,
            "period error '123456789012345' does not fit its 12 columns; left blank");
  for (const char* text : {"-0.1", "x", "inf"}) {
    EXPECT_FALSE(convert_error(text, "period error", 12).value) << text;
  }
}

TEST(NameAndType, BlanksNormalisedLongNamesCut) {
  bool cut = true;
  EXPECT_EQ(normalise_name("RT    And ", cut), "RT And");
  EXPECT_FALSE(cut);
  EXPECT_EQ(normalise_name("\tV0415\x01 CMa", cut), "V0415 CMa");
  EXPECT_EQ(normalise_name("ASASSN-V J185256.94+581259.1", cut), "ASASSN-V J185256.94+");
  EXPECT_TRUE(cut);
  // The cut never splits a character, nor leaves a blank at the end.
  EXPECT_EQ(normalise_name("abcdefghijklmnopqrs\xC3\xA9", cut), "abcdefghijklmnopqrs");
  EXPECT_EQ(normalise_name("abcdefghijklmnopqrs tuv", cut), "abcdefghijklmnopqrs");
  EXPECT_EQ(main_type("EA/SD"), "EA");
  EXPECT_EQ(main_type("E:/RS"), "E");
  EXPECT_EQ(main_type("EA+DSCTC"), "EA");
  EXPECT_EQ(main_type("EA|EB"), "EA");
  EXPECT_EQ(main_type(" EW/KW "), "EW");
  EXPECT_EQ(main_type("ELL"), "ELL");
}

TEST(DecimalText, FittedToColumnsHalvesAwayWithCarries) {
  const auto fitted = [](const char* text, std::size_t columns) {
    return fitted_to_columns(*parse_decimal_text(text), columns).text();
  };
  EXPECT_EQ(fitted("2458325.393125", 13), "2458325.39313");
  EXPECT_EQ(fitted("2458325.393124", 13), "2458325.39312");
  EXPECT_EQ(fitted("2458325.999995", 13), "2458326.00000");
  EXPECT_EQ(fitted("0.99999999999999", 13), "1.00000000000");
  EXPECT_EQ(fitted("9.96", 2), "10");
  EXPECT_EQ(fitted("-0.25", 4), "-0.3");
  EXPECT_EQ(fitted("12345678901234", 13), "12345678901234");  // no fraction to take
  EXPECT_EQ(fitted("1.5", 13), "1.5");
}

TEST(DecimalText, HundredTimesAndExactText) {
  const auto hundred = [](const char* text) {
    return times_hundred(*parse_decimal_text(text)).text();
  };
  EXPECT_EQ(hundred("0.079144716"), "7.9144716");
  EXPECT_EQ(hundred("0.0412"), "4.12");
  EXPECT_EQ(hundred("1.5"), "150");
  EXPECT_EQ(hundred("0.4"), "40");
  EXPECT_EQ(hundred("12"), "1200");
  EXPECT_EQ(hundred("-0.001"), "-0.1");
  EXPECT_EQ(exact_text({-5, 2}), "-0.05");
  EXPECT_EQ(exact_text({24583253931250, 6}), "24583253.931250");
  EXPECT_EQ(exact_text({0, 0}), "0");
  EXPECT_EQ(exact_text(add(*to_exact(*parse_decimal_text("1325.393125")), {2457000, 0})),
            "2458325.393125");
}

TEST(Extension, SecondaryPhaseToTenThousandthsStrictlyInsideTheCycle) {
  EXPECT_EQ(convert_secondary_phase("0.522430732441").value, 0.5224);
  EXPECT_EQ(convert_secondary_phase(" 0.49995 ").value, 0.5);
  EXPECT_EQ(convert_secondary_phase("0.00005").value, 0.0001);
  const Converted<double> none = convert_secondary_phase("");
  EXPECT_FALSE(none.value);
  EXPECT_EQ(none.problem, "");
  for (const char* outside : {"0.00004", "0", "0.99995", "1", "1.2", "-0.3", "x"}) {
    const Converted<double> c = convert_secondary_phase(outside);
    EXPECT_FALSE(c.value) << outside;
    EXPECT_EQ(c.problem, "secondary phase '" + std::string(outside) +
                             "' is not a number that rounds to one between 0 and 1; left blank");
  }
}

}  // namespace
}  // namespace starimport
