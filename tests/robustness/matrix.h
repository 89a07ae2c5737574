#pragma once
/// The bad-input matrix: each case starts from a folder in which the program runs
/// cleanly, spoils one file or the typed answers, runs the built program and checks
/// that it ends soundly: no signal, no hang, the exit status the case expects, a
/// message for a failure, and old output files kept when the run failed before
/// writing them.

#include <chrono>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace robustness {

/// One program and the folder in which it runs cleanly.
struct Program {
  std::string name;                                       ///< also the message prefix
  std::string binary;                                     ///< absolute path
  std::vector<std::pair<std::string, std::string>> good;  ///< input files and content
  std::string good_answers;                               ///< typed answers
  std::vector<std::string> outputs;                       ///< files the program writes
};

/// What a case puts in place of one file of the clean folder.
struct FileSetup {
  enum class Kind { kContent, kMissing, kDirectory, kDevFull };
  std::string name;
  Kind kind = Kind::kContent;
  std::string content;
};

FileSetup content(std::string name, std::string text);
FileSetup missing(std::string name);
FileSetup directory(std::string name);
/// A symbolic link to /dev/full: every write to it fails with "no space left".
FileSetup dev_full(std::string name);

/// What becomes of an output file that held old content before the run.
enum class Output {
  kUntouched,  ///< still the old content: the run failed before writing it
  kRewritten,  ///< new content with CR LF line ends, the old content gone
  kAny,        ///< failed while or after writing it: either may be found
};

enum class Messages { kAny, kNone, kSome };

struct Expect {
  int exit_code = 0;
  /// Why a status of 0 is right for this bad input; empty for failures.
  std::string why_success;
  Output outputs = Output::kRewritten;                 ///< every output the case does not replace
  std::vector<std::pair<std::string, Output>> except;  ///< outputs that differ
  Messages messages = Messages::kAny;  ///< standard error (failures always need one)
  /// Text a rewritten output must hold: {file, text}; empty file name for none.
  std::pair<std::string, std::string> holds;
  std::string stdout_holds;  ///< text standard output must hold, if any
};

/// The run fails and touches no output file.
Expect fails_before_writing();
/// The run fails after it may have begun writing its outputs.
Expect fails_while_writing();
/// A bad option or option value: status 2 before any file is touched.
Expect usage_fault();
/// The run succeeds and rewrites its outputs; `why` says why success is right.
Expect succeeds(std::string why);

/// Fluent refinements of an expectation.
Expect with_warning(Expect e);
Expect quietly(Expect e);
Expect holding(Expect e, std::string file, std::string text);
Expect except(Expect e, std::string file, Output state);
Expect with_stdout(Expect e, std::string text);

struct Case {
  std::string name;  ///< test name: letters, digits and underscores
  std::vector<FileSetup> files;
  std::optional<std::string> answers;  ///< replaces the good answers
  Expect expect;
  std::vector<std::string> args = {};  ///< the command-line arguments (none by default)
};

/// A case of one of the programs.
struct ProgramCase {
  const Program& (*program)();
  Case c;
};

/// Runs a case against a program and records every failed check with gtest.
void run_case(const Program& program, const Case& c);

/// An input without which the run cannot go on, given as missing, as a folder of
/// that name, empty, and as `blank_lines`: each ends the run before any output is
/// touched.
std::vector<Case> unusable_file_cases(const std::string& file, const std::string& blank_lines);

/// One prompt of a dialogue: `before` answers every prompt before it.
struct Prompt {
  std::string name;
  std::string before;
  bool end_is_failure = true;  ///< false: the end of input there is no failure
};

/// The bad answers every dialogue is tried with: at each prompt the input ending,
/// text, and control bytes; over the whole dialogue CR-only line ends and 10,000
/// blanks before the first answer (both `success`), and a Ctrl-Z first.
std::vector<Case> dialogue_cases(const std::vector<Prompt>& prompts,
                                 const std::string& good_answers, const Expect& success);

/// The cases of `parts`, one list after the other, each name prefixed `program_`.
std::vector<ProgramCase> cases_of(const Program& (*program)(),
                                  std::initializer_list<std::vector<Case>> parts);

/// Generous enough for the sanitizer build; only a hang comes near it.
inline constexpr std::chrono::seconds kTimeout{20};

/// Old content placed in every output file before a run.
std::string sentinel(const std::string& file);

/// A line of `length` characters: `text` padded with blanks.
std::string padded(std::string text, std::size_t length);

/// NUL, 0xFF and other control bytes (escape, DEL, bell, backspace, form feed).
inline const std::string kControlBytes("\0\xff\x1b\x7f\x07\x08\x0c", 7);

inline void PrintTo(const ProgramCase& pc, std::ostream* os) { *os << pc.c.name; }

}  // namespace robustness
