// starimport: star.dat lines from the public catalogues of light elements. It reads
// GCVS 5.1 records, delimited tables (VizieR, VSX exports, spreadsheets) and VSX JSON
// replies, and writes one checked star.dat line for every usable record, in input order.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <fmt/format.h>

#include "catalogue_input.h"
#include "catalogue_update.h"
#include "conversion.h"
#include "import_report.h"
#include "io/atomic_output.h"
#include "io/cli.h"
#include "io/console.h"
#include "io/message_text.h"
#include "io/output_file.h"
#include "io/text_files.h"
#include "options.h"
#include "star_line.h"
#include "star_name.h"

namespace {

constexpr const char* kStandardInputShown = "(standard input)";

constexpr const char* kAbout =
    "Turns catalogues of light elements into star.dat lines for eclfore and phaselist:\n"
    "the GCVS 5.1 main table (gcvs5.txt), delimited tables with a header row (TSV,\n"
    "CSV, '|'-separated, VizieR exports), VSX JSON replies, Kreiner's up-to-date\n"
    "elements (*-cat.txt), and the tables of the TESS eclipsing binaries and of Gaia\n"
    "DR3's vari_eclipsing_binary (joined with gaia_source for ra, dec and\n"
    "phot_g_mean_mag). Reads the FILEs named (standard input when none, or for -)\n"
    "and writes one line per usable record to standard output, in input order, with\n"
    "CR LF line ends.\n"
    "\n"
    "Epochs and periods are copied as the source writes them (an epoch as JD - 2400000\n"
    "gets its 2400000 back); TESS's epochs (BJD - 2457000) are made full BJD, Gaia's\n"
    "epoch of a primary minimum and its period are worked out from the reference time,\n"
    "phase and frequency (the epoch taken from TCB to TDB), and these are rounded to\n"
    "the 13 columns of their fields. A star's Kreiner records of primary and\n"
    "secondary minima give one line with the secondary's phase; a SEC record alone\n"
    "is skipped. The position is rounded to whole seconds of right ascension and\n"
    "whole arc minutes of declination, the magnitudes to one decimal;\n"
    "the eclipse duration, the errors of the elements and the epochs' time scale go\n"
    "into the star.dat extension after column 94 where the source gives them.\n"
    "A record that cannot be used is reported on standard error and skipped; the last\n"
    "line there gives the counts and the time scale of the epochs.\n"
    "\n"
    "With --update=FILE nothing goes to standard output: each star of FILE (a star.dat)\n"
    "that the input holds takes the input's epoch, period, errors and time scale, and\n"
    "its durations and secondary phase where given; its name, position, type,\n"
    "magnitudes, flag, label and every other line stay as they are. Standard error\n"
    "says what changed and how far each star's next primary minimum moves; FILE is\n"
    "replaced whole, or not at all.\n"
    "\n"
    "Exit status: 0 when the run completed (also with records skipped); 1 when a file\n"
    "cannot be read, a table lacks a needed column, or the output cannot be written\n"
    "(also when it is the file standard input reads, or when standard input gives\n"
    "nothing to replace it with: closed, or no FILE named); 2 for a fault in the\n"
    "options.\n"
    "\n"
    "See starimport(1).\n";

using FilePointer = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

/// Standard input copied to a temporary file that goes with the process, so that it is
/// read like any named file (its format decided from its first line, JSON read twice).
FilePointer spool_standard_input() {
  FilePointer spool(std::tmpfile(), std::fclose);
  if (!spool)
    throw io::RunError(std::string("cannot make a temporary file for standard input: ") +
                       std::strerror(errno));
  char block[1 << 16];
  std::size_t got = 0;
  while ((got = std::fread(block, 1, sizeof block, stdin)) > 0) {
    if (std::fwrite(block, 1, got, spool.get()) != got) {
      throw io::RunError(std::string("cannot keep standard input in a temporary file: ") +
                         std::strerror(errno));
    }
  }
  if (std::ferror(stdin) != 0) {
    throw io::RunError(std::string("standard input: cannot read: ") + std::strerror(errno));
  }
  if (std::fflush(spool.get()) != 0) {
    throw io::RunError(std::string("cannot keep standard input in a temporary file: ") +
                       std::strerror(errno));
  }
  return spool;
}

/// True when standard input is a file or a pipe the user gave; false when it is a
/// terminal, /dev/null or was closed (the run opens a closed one on /dev/null).
bool standard_input_given() {
  struct stat status {};
  if (::fstat(STDIN_FILENO, &status) != 0) return false;
  return S_ISREG(status.st_mode) || S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode);
}

/// An output file is not replaced by an import that read no byte from a standard input
/// that was closed or not redirected, or that stood for a FILE nobody named: a failed
/// download piped in, or a forgotten file name, would otherwise empty the catalogue.
/// An empty file or pipe named as '-' is imported as it is.
void refuse_empty_standard_input(std::FILE* spool, bool named, const std::string& output) {
  if (std::ftell(spool) != 0) return;
  const std::string kept = io::escape_for_message(output) + " is left as it was";
  if (!standard_input_given()) {
    throw io::RunError(std::string(kStandardInputShown) +
                       ": nothing read (standard input is closed, or neither a file nor a "
                       "pipe); " +
                       kept);
  }
  if (!named) {
    throw io::RunError(std::string(kStandardInputShown) + ": nothing read and no FILE named; " +
                       kept + " (name standard input '-' to import an empty one)");
  }
}

/// Refuses an output that is the file standard input reads (`-o star.dat < star.dat`),
/// as io::refuse_shared_files refuses a named input. A device (/dev/null, a terminal)
/// is written in place, so it may be both.
void refuse_output_on_standard_input(const std::string& output) {
  struct stat input {};
  struct stat written {};
  if (::fstat(STDIN_FILENO, &input) != 0 || !S_ISREG(input.st_mode) ||
      ::stat(output.c_str(), &written) != 0) {
    return;
  }
  if (input.st_dev == written.st_dev && input.st_ino == written.st_ino) {
    throw io::RunError("cannot write " + io::escape_for_message(output) +
                       ": it is the same file as standard input");
  }
}

int run(const io::Options& options) {
  using namespace starimport;
  const ImportSettings settings = import_settings(options);
  // The file --update refreshes: what a run writes, read before any input.
  const std::optional<std::string> written_file =
      settings.update ? settings.update : settings.output;
  std::optional<CatalogueText> catalogue;
  if (settings.update) {
    catalogue = read_catalogue(*settings.update);
    io::check_replaceable(*settings.update);
  }
  std::vector<StarLine> imported;

  // Every file is opened and its header read before anything is written: a table
  // without a needed column leaves the output untouched.
  FilePointer spool(nullptr, std::fclose);
  std::vector<std::unique_ptr<CatalogueInput>> inputs;
  for (const std::string& name : settings.inputs) {
    std::string path = name;
    std::string shown = name;
    if (name == "-") {
      spool = spool_standard_input();
      if (written_file) {
        refuse_empty_standard_input(spool.get(), !options.operands.empty(), *written_file);
      }
      path = fmt::format("/dev/fd/{}", fileno(spool.get()));
      shown = kStandardInputShown;
    }
    inputs.push_back(
        std::make_unique<CatalogueInput>(path, shown, settings.format, settings.table));
    if (!settings.format) {
      io::print_error_text(fmt::format("{}: read as {}\n", io::escape_for_message(shown),
                                       inputs.back()->how_read()));
    }
  }

  std::unique_ptr<io::OutputFile> file;
  if (written_file) {
    // An output that is one of the inputs (through a link, too) is refused, standard
    // input redirected from it as well.
    for (const std::string& name : settings.inputs) {
      if (name == "-") {
        refuse_output_on_standard_input(*written_file);
      } else {
        io::refuse_shared_files({name}, {*written_file});
      }
    }
  }
  if (settings.output) {
    // The lines replace the old file only when all are written.
    file = std::make_unique<io::OutputFile>(*settings.output);
  }

  long written = 0;
  long skipped = 0;
  long without_minimum = 0;
  EpochScales scales;
  // The stars written: star_name_key of the name, and where its line came from.
  std::unordered_map<std::string, std::string> first_of_star;
  for (auto& input : inputs) {
    ConversionSettings conversion = settings.conversion;
    conversion.label = settings.label.value_or(std::string(input->default_label()));
    conversion.time_scale = input->time_scale();
    const std::string shown = input->shown();
    const auto warn = [&](long line, const std::string& what) { io::warn_line(shown, line, what); };
    InputItem item;
    while (input->next(item)) {
      const auto* record = std::get_if<SourceRecord>(&item.record);
      if (record == nullptr) {
        warn(item.line, std::get<std::string>(item.record) + "; skipped");
        ++skipped;
        continue;
      }
      const Conversion converted = convert_record(*record, conversion);
      if (!converted.line) {
        warn(item.line, converted.refusal + "; skipped");
        ++skipped;
        continue;
      }
      // A star named twice would have every minimum twice in the plan: the first keeps it.
      const auto [first, added] = first_of_star.try_emplace(
          star_name_key(record->name),
          fmt::format("'{}' of {}:{}", converted.line->name, shown, item.line));
      if (!added) {
        warn(item.line, "the same star as " + first->second + "; skipped");
        ++skipped;
        continue;
      }
      for (const std::string& w : converted.warnings) warn(item.line, w);
      if (catalogue) {
        imported.push_back(*converted.line);
        continue;
      }
      const std::string line = format_star_line(*converted.line);
      if (file) {
        file->write(line);
        file->end_line();
      } else {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputs("\r\n", stdout);
      }
      ++written;
      if (!converted.line->min_tenths) ++without_minimum;
      note_time_scale(scales, input->time_scale());
    }
    io::finish_warnings(shown);
    input.reset();
  }
  if (catalogue) {
    const RefreshCounts counts =
        refresh_catalogue(*settings.update, *catalogue, imported, settings.add,
                          settings.today_jd.value_or(jd_of_today()));
    io::print_error_text(refresh_closing_line(*settings.update, counts, skipped) + "\n");
    return 0;
  }
  if (file) file->close();
  std::fflush(stdout);
  io::print_error_text(closing_line(written, skipped, scales, without_minimum) + "\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  static const io::ProgramInfo info{"starimport", kAbout, starimport::import_options(),
                                    "[FILE]..."};
  return io::run_program(argc, argv, info, run);
}
