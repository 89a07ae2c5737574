// The yardstick of eclfore's speed: the month's forecast written the straightforward way,
// in the style of a plain C program. Every candidate minimum goes through the whole date
// conversion and the whole horizon transform exactly as the formulas are written, with
// `long double` steps and the C library's sin, cos and atan: no tables, nothing computed
// once per star, no early rejection, every piece of a line through fprintf.
//
// It reads the same dialogue answers, star.dat and condition.dat as eclfore and writes
// the same data.dat bytes for well-formed catalogues (bench/run_benchmarks.sh compares
// them); it has none of eclfore's checks of odd input and is not part of the toolset.
// Built with -O2 (bench/CMakeLists.txt).
//
// usage: reference_forecast < answers   (in the folder of star.dat and condition.dat)
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

typedef long double Ext;

const double kPi = 3.141592653589793;
const int kMonthLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
const float kSiteLongitude[11] = {141.35f, 140.87f, 139.77f, 139.03f, 136.65f, 136.90f,
                                  135.48f, 132.45f, 133.53f, 130.40f, 127.68f};
const float kSiteLatitude[11] = {43.07f, 38.27f, 35.67f, 37.92f, 36.57f, 35.18f,
                                 34.70f, 34.38f, 33.57f, 33.58f, 26.22f};

int trunc_int(Ext x) { return static_cast<int>(x); }

double calendar_to_mjd(float year, float month, float day, float hour) {
  const float h = static_cast<float>(static_cast<Ext>(hour) * (1.0L / 24));
  const double y_dec = static_cast<double>(
      ((static_cast<Ext>(month) - 1.0L) * (1.0L / 12) + static_cast<Ext>(year)) +
      static_cast<Ext>(day) * (1.0L / 365.25));
  if (month <= 2.0f) {
    month = static_cast<float>(static_cast<Ext>(month) + 12.0L);
    year = static_cast<float>(static_cast<Ext>(year) - 1.0L);
  }
  const int month_days = trunc_int((static_cast<Ext>(month) - 2.0L) * static_cast<Ext>(30.59));
  double base;
  if (y_dec >= 1582.78) {
    const Ext y = year;
    base = static_cast<double>(trunc_int(365.25L * y) + trunc_int(0.0025L * y) -
                               trunc_int(0.01L * y) + month_days - 678912);
  } else {
    base = static_cast<double>(trunc_int(365.25L * static_cast<Ext>(year)) + month_days - 678914);
  }
  return static_cast<double>(
      ((static_cast<Ext>(base) + static_cast<Ext>(day)) + static_cast<Ext>(h)) - 0.375L);
}

void jd_to_local_date(double jd, int* year, int* month, int* day, int* hour, int* minute) {
  const double j = static_cast<double>(static_cast<Ext>(jd) + 0.875L);
  const double z = trunc_int(j);
  const double f = static_cast<double>(static_cast<Ext>(j) - z);
  double a = z;
  const bool gregorian = z >= 2299161.0;
  if (gregorian) {
    const double alpha = trunc_int((static_cast<Ext>(z) - 1867216.25L) * (1.0L / 36524.25));
    a = trunc_int((static_cast<Ext>(z) + 1.0L + alpha) -
                  trunc_int(static_cast<Ext>(alpha) * 0.25L));
  }
  const double b = static_cast<double>(static_cast<Ext>(a) + 1524.0L);
  const double c = trunc_int((static_cast<Ext>(b) - static_cast<Ext>(122.1)) * (1.0L / 365.25));
  const double d = trunc_int(365.25L * static_cast<Ext>(c));
  const double e = trunc_int((static_cast<Ext>(b) - d) * (1.0L / static_cast<Ext>(30.6001)));
  *day = trunc_int((static_cast<Ext>(b) - d) - trunc_int(static_cast<Ext>(30.6001) * e));
  *month =
      (e < 13.5) ? trunc_int(static_cast<Ext>(e) - 1.0L) : trunc_int(static_cast<Ext>(e) - 13.0L);
  *year = (*month > 2.5) ? trunc_int(static_cast<Ext>(c) - 4716.0L)
                         : trunc_int(static_cast<Ext>(c) - 4715.0L);
  const Ext hours = static_cast<Ext>(f) * 24.0L;
  *hour = trunc_int(hours);
  *minute = trunc_int((hours - *hour) * 60.0L + 0.5L);
  if (*hour < 6) {
    *day -= 1;
    *hour += 24;
    if (*day == 0) {
      *month -= 1;
      if (*month == 0) {
        *year -= 1;
        *month = 12;
        *day = 31;
      } else {
        *day = kMonthLength[*month - 1];
        const bool leap =
            gregorian ? ((*year % 4 == 0 && *year % 100 != 0) || *year % 400 == 0) : *year % 4 == 0;
        if (*month == 2 && leap) *day = 29;
      }
    }
  }
}

double local_sidereal_time(double mjd, float longitude) {
  double t =
      static_cast<double>(((static_cast<Ext>(mjd) - 40000.0f) * static_cast<Ext>(1.002737909) +
                           static_cast<Ext>(0.671262)) +
                          static_cast<Ext>(longitude) * (1.0L / 360));
  t = static_cast<double>(static_cast<Ext>(t) - trunc_int(t));
  return static_cast<double>((2.0L * static_cast<Ext>(kPi)) * static_cast<Ext>(t));
}

int equatorial_to_horizontal(double lst, float phi_f, float ra, float dec, float* azimuth,
                             float* altitude) {
  const double phi = phi_f;
  const double delta = dec;
  const double h = static_cast<double>(static_cast<Ext>(lst) - static_cast<Ext>(ra));
  const double sin_phi_cos_delta =
      static_cast<double>(static_cast<Ext>(std::sin(phi)) * std::cos(delta));
  const double minus_cos_phi_sin_delta =
      static_cast<double>(static_cast<Ext>(std::cos(phi)) * -static_cast<Ext>(std::sin(delta)));
  double x = static_cast<double>(static_cast<Ext>(std::cos(h)) * sin_phi_cos_delta +
                                 static_cast<Ext>(minus_cos_phi_sin_delta));
  const double y =
      static_cast<double>(static_cast<Ext>(std::sin(h)) * static_cast<Ext>(std::cos(delta)));
  if (x == 0.0) x = 1e-11;
  double a = std::atan(static_cast<double>(static_cast<Ext>(y) / static_cast<Ext>(x)));
  if (!(x > 0.0)) {
    a = static_cast<double>(static_cast<Ext>(a) + static_cast<Ext>(kPi));
  } else if (!(y > 0.0)) {
    a = static_cast<double>(static_cast<Ext>(a) + 2.0L * static_cast<Ext>(kPi));
  }
  *azimuth = static_cast<float>(a);
  const double cos_alt = static_cast<double>(
      static_cast<Ext>(x) / static_cast<Ext>(std::cos(static_cast<double>(*azimuth))));
  const double cos_phi_cos_delta =
      static_cast<double>(static_cast<Ext>(std::cos(phi)) * std::cos(delta));
  const double sin_phi_sin_delta =
      static_cast<double>(static_cast<Ext>(std::sin(phi)) * std::sin(delta));
  const double sin_alt = static_cast<double>(static_cast<Ext>(std::cos(h)) * cos_phi_cos_delta +
                                             static_cast<Ext>(sin_phi_sin_delta));
  *altitude = static_cast<float>(
      std::atan(static_cast<double>(static_cast<Ext>(sin_alt) / static_cast<Ext>(cos_alt))));
  *altitude = static_cast<float>(static_cast<Ext>(*altitude) * 180.0L / static_cast<Ext>(kPi));
  *azimuth = static_cast<float>(static_cast<Ext>(*azimuth) * 180.0L / static_cast<Ext>(kPi));
  return *altitude >= 0.0f ? 1 : -1;
}

/// Columns start..start+length-1 of the line as a NUL-terminated copy.
void extract_field(const char* line, int start, int length, char* out) {
  std::memcpy(out, line + start, static_cast<std::size_t>(length));
  out[length] = '\0';
}

double field_value(const char* line, int start, int length) {
  char text[32];
  extract_field(line, start, length, text);
  return std::strtod(text, nullptr);
}

}  // namespace

int main() {
  int year = 0, month = 0, site_no = 0, condition_no = 0;
  float min_altitude = 0;
  if (std::scanf("%d %d %f %d", &year, &month, &min_altitude, &site_no) != 4 || site_no < 1 ||
      site_no > 11) {
    std::fprintf(stderr, "reference_forecast: answers year month altitude site(1-11) condition\n");
    return 2;
  }
  const float longitude = kSiteLongitude[site_no - 1];
  const float latitude = kSiteLatitude[site_no - 1];

  float conditions[20][5];
  int count = 0;
  std::FILE* condition_file = std::fopen("condition.dat", "r");
  if (condition_file == nullptr) return 1;
  while (count < 20 && std::fscanf(condition_file, "%f", &conditions[count][0]) == 1 &&
         conditions[count][0] != 99.0f) {
    for (int k = 1; k < 5; ++k) std::fscanf(condition_file, "%f", &conditions[count][k]);
    ++count;
  }
  std::fclose(condition_file);
  if (std::scanf("%d", &condition_no) != 1 || condition_no < 0 || condition_no >= count) return 2;
  const float* condition = conditions[condition_no];

  const double start_mjd =
      calendar_to_mjd(static_cast<float>(year), static_cast<float>(month), 1.0f, 21.0f);
  const double end_mjd = static_cast<double>(static_cast<Ext>(start_mjd) + 32);
  const double search_from = static_cast<double>(static_cast<Ext>(start_mjd) - 1);
  std::printf("\n\nSTART J.D. = %f\nEND   J.D. = %f\n\n", start_mjd + 2400000.5,
              end_mjd + 2400000.5);

  std::FILE* in = std::fopen("star.dat", "r");
  std::FILE* out = std::fopen("data.dat", "w");
  if (in == nullptr || out == nullptr) return 1;
  const double pi = kPi;
  char line[256];
  while (std::fgets(line, 255, in) != nullptr) {
    char name[21], elements_text[27], var_type[3], catalogue[5];
    extract_field(line, 0, 20, name);
    extract_field(line, 20, 26, elements_text);
    extract_field(line, 70, 2, var_type);
    extract_field(line, 90, 4, catalogue);
    std::printf("%s", name);
    double epoch_mjd =
        static_cast<double>(static_cast<Ext>(field_value(line, 20, 13)) - 2400000.5L);
    const double period = field_value(line, 33, 13);
    const float ra_h = static_cast<float>(field_value(line, 47, 2));
    const float ra_m = static_cast<float>(field_value(line, 50, 2));
    const float ra_s = static_cast<float>(field_value(line, 53, 2));
    const float dec_deg = static_cast<float>(field_value(line, 57, 3));
    float dec_min = static_cast<float>(field_value(line, 61, 2));
    if (std::strchr(line + 57, '-') != nullptr && std::strchr(line + 57, '-') < line + 60)
      dec_min = -dec_min;
    const float mag_max = static_cast<float>(field_value(line, 73, 4));
    const float mag_min = static_cast<float>(field_value(line, 78, 4));
    const float ra_hours = static_cast<float>(static_cast<Ext>(ra_m) * (1.0L / 60) + ra_h +
                                              static_cast<Ext>(ra_s) * (1.0L / 3600));
    const float dec_degrees = static_cast<float>(static_cast<Ext>(dec_min) * (1.0L / 60) + dec_deg);
    if (period == 0) continue;
    if (!(mag_max >= condition[0]) || !(mag_min <= condition[1]) ||
        !(static_cast<Ext>(mag_min) - static_cast<Ext>(mag_max) >= condition[2]) ||
        !(dec_deg <= condition[3]) || !(dec_deg >= condition[4])) {
      continue;
    }
    for (int pass = 0; pass < 2; ++pass) {
      const char* kind = pass == 0 ? "p " : "s ";
      int cycle = trunc_int((static_cast<Ext>(search_from) - static_cast<Ext>(epoch_mjd)) / period);
      if (pass == 1) epoch_mjd = static_cast<double>(static_cast<Ext>(epoch_mjd) - period * 0.5L);
      double minimum_mjd = static_cast<double>(static_cast<Ext>(epoch_mjd) +
                                               static_cast<Ext>(cycle) * static_cast<Ext>(period));
      do {
        const double minimum_jd = static_cast<double>(static_cast<Ext>(minimum_mjd) + 2400000.5L);
        int y, m, d, hour, minute;
        jd_to_local_date(minimum_jd, &y, &m, &d, &hour, &minute);
        if (y == year && m == month && !(hour >= 6 && hour <= 17)) {
          const double lst = local_sidereal_time(minimum_mjd, longitude);
          float azimuth, altitude;
          const int sign = equatorial_to_horizontal(
              lst, static_cast<float>(static_cast<Ext>(latitude) * (1.0L / 180) * pi),
              static_cast<float>(static_cast<Ext>(ra_hours) * (1.0L / 12) * pi),
              static_cast<float>(static_cast<Ext>(dec_degrees) * (1.0L / 180) * pi), &azimuth,
              &altitude);
          if (sign >= 0 && altitude >= min_altitude) {
            std::fprintf(out, "%s", name);
            std::fprintf(out, "%s ", catalogue);
            std::fprintf(out, "%s", kind);
            std::fprintf(out, "%4d %2d %2d", y, m, d);
            std::fprintf(out, " %5.2f", static_cast<double>(hour + minute * (1.0L / 60)));
            std::fprintf(out, " %12.4f", minimum_jd);
            std::fprintf(out, " %s %4.1f", var_type, altitude);
            std::fprintf(out, " %s", elements_text);
            std::fprintf(out, " %2.0f %2.0f %2.0f", ra_h, ra_m, ra_s);
            std::fprintf(out, " %3.0f %2.0f", dec_deg, std::trunc(std::fabs(dec_min)));
            // The toolset's output files end their lines with CR LF.
            std::fprintf(out, " %4.1f %4.1f\r\n", mag_max, mag_min);
          }
        }
        ++cycle;
        minimum_mjd = static_cast<double>(static_cast<Ext>(epoch_mjd) +
                                          static_cast<Ext>(cycle) * static_cast<Ext>(period));
      } while (minimum_mjd < end_mjd);
    }
  }
  std::fclose(in);
  std::fclose(out);
  return 0;
}
