#include "matrix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "e2e.h"

namespace robustness {

namespace fs = std::filesystem;

FileSetup content(std::string name, std::string text) {
  return {std::move(name), FileSetup::Kind::kContent, std::move(text)};
}
FileSetup missing(std::string name) { return {std::move(name), FileSetup::Kind::kMissing, {}}; }
FileSetup directory(std::string name) { return {std::move(name), FileSetup::Kind::kDirectory, {}}; }
FileSetup dev_full(std::string name) { return {std::move(name), FileSetup::Kind::kDevFull, {}}; }

Expect fails_before_writing() {
  Expect e;
  e.exit_code = 1;
  e.outputs = Output::kUntouched;
  e.messages = Messages::kSome;
  return e;
}

Expect usage_fault() {
  Expect e = fails_before_writing();
  e.exit_code = 2;
  return e;
}

Expect fails_while_writing() {
  Expect e = fails_before_writing();
  e.outputs = Output::kAny;
  return e;
}

Expect succeeds(std::string why) {
  Expect e;
  e.why_success = std::move(why);
  return e;
}

Expect with_warning(Expect e) {
  e.messages = Messages::kSome;
  return e;
}

Expect quietly(Expect e) {
  e.messages = Messages::kNone;
  return e;
}

Expect holding(Expect e, std::string file, std::string text) {
  e.holds = {std::move(file), std::move(text)};
  return e;
}

Expect except(Expect e, std::string file, Output state) {
  e.except.emplace_back(std::move(file), state);
  return e;
}

Expect with_stdout(Expect e, std::string text) {
  e.stdout_holds = std::move(text);
  return e;
}

std::string sentinel(const std::string& file) {
  return "old " + file + ": left by an earlier run\r\n";
}

std::string padded(std::string text, std::size_t length) {
  if (text.size() < length) text.append(length - text.size(), ' ');
  return text;
}

std::vector<Case> unusable_file_cases(const std::string& file, const std::string& blank_lines) {
  std::string prefix = file;
  std::replace(prefix.begin(), prefix.end(), '.', '_');
  return {
      {prefix + "_missing", {missing(file)}, {}, fails_before_writing()},
      {prefix + "_is_a_directory", {directory(file)}, {}, fails_before_writing()},
      {prefix + "_empty", {content(file, "")}, {}, fails_before_writing()},
      {prefix + "_only_blank_lines", {content(file, blank_lines)}, {}, fails_before_writing()},
  };
}

std::vector<Case> dialogue_cases(const std::vector<Prompt>& prompts,
                                 const std::string& good_answers, const Expect& success) {
  std::vector<Case> cases;
  for (const Prompt& p : prompts) {
    if (p.end_is_failure) {
      cases.push_back({"answer_" + p.name + "_end_of_input", {}, p.before, fails_before_writing()});
    }
    cases.push_back({"answer_" + p.name + "_text", {}, p.before + "abc\n", fails_before_writing()});
    cases.push_back({"answer_" + p.name + "_control_bytes",
                     {},
                     p.before + kControlBytes + "\n",
                     fails_before_writing()});
  }
  std::string cr_only = good_answers;
  std::replace(cr_only.begin(), cr_only.end(), '\n', '\r');
  Expect cr_success = success;
  cr_success.why_success = "a CR is white space before an answer";
  Expect blanks_success = success;
  blanks_success.why_success = "white space of any length is skipped before an answer";
  cases.push_back({"answers_cr_only_line_ends", {}, cr_only, cr_success});
  cases.push_back(
      {"answers_after_10000_blanks", {}, std::string(10000, ' ') + good_answers, blanks_success});
  cases.push_back({"answers_ctrl_z_first", {}, "\x1a" + good_answers, fails_before_writing()});
  return cases;
}

std::vector<ProgramCase> cases_of(const Program& (*program)(),
                                  std::initializer_list<std::vector<Case>> parts) {
  std::vector<ProgramCase> cases;
  for (const std::vector<Case>& part : parts) {
    for (const Case& c : part) {
      cases.push_back({program, c});
      cases.back().c.name = program().name + "_" + c.name;
    }
  }
  return cases;
}

namespace {

void place(const e2e::TempDir& dir, const FileSetup& f) {
  const fs::path path = dir.path() / f.name;
  std::error_code ignored;
  fs::remove_all(path, ignored);
  switch (f.kind) {
    case FileSetup::Kind::kContent:
      dir.write(f.name, f.content);
      break;
    case FileSetup::Kind::kMissing:
      break;
    case FileSetup::Kind::kDirectory:
      fs::create_directory(path);
      break;
    case FileSetup::Kind::kDevFull:
      fs::create_symlink("/dev/full", path);
      break;
  }
}

bool only_crlf_line_ends(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
  }
  return true;
}

Output state_of(const Expect& e, const std::string& file) {
  for (const auto& [name, state] : e.except) {
    if (name == file) return state;
  }
  return e.outputs;
}

bool replaced_by_case(const Case& c, const std::string& file) {
  return std::any_of(c.files.begin(), c.files.end(),
                     [&](const FileSetup& f) { return f.name == file; });
}

}  // namespace

void run_case(const Program& program, const Case& c) {
  const Expect& want = c.expect;
  if (want.exit_code == 0) {
    ASSERT_FALSE(want.why_success.empty()) << "a case that succeeds must say why";
  }

  e2e::TempDir dir;
  for (const auto& [name, text] : program.good) dir.write(name, text);
  for (const std::string& out : program.outputs) dir.write(out, sentinel(out));
  for (const FileSetup& f : c.files) place(dir, f);

  const e2e::RunResult r = e2e::run(program.binary, dir.path(),
                                    c.answers.value_or(program.good_answers), c.args, kTimeout);
  const std::string shown = "\n--- stderr:\n" + r.err + "--- stdout (end):\n" +
                            r.out.substr(r.out.size() > 600 ? r.out.size() - 600 : 0);

  EXPECT_FALSE(r.timed_out) << "no end within " << kTimeout.count() << " s" << shown;
  EXPECT_EQ(r.signal, 0) << "killed by a signal" << shown;
  EXPECT_EQ(r.exit_code, want.exit_code) << shown;
  if (want.exit_code != 0) {
    EXPECT_NE(r.err.find(program.name + ": "), std::string::npos)
        << "a failure must say why on standard error" << shown;
  }
  if (want.messages == Messages::kNone) {
    EXPECT_EQ(r.err, "") << shown;
  }
  if (want.messages == Messages::kSome) {
    EXPECT_NE(r.err, "") << shown;
  }
  if (!want.stdout_holds.empty()) {
    EXPECT_NE(r.out.find(want.stdout_holds), std::string::npos) << shown;
  }

  for (const std::string& out : program.outputs) {
    if (replaced_by_case(c, out)) continue;
    switch (state_of(want, out)) {
      case Output::kUntouched:
        EXPECT_EQ(dir.read(out), sentinel(out)) << out << " was changed" << shown;
        break;
      case Output::kRewritten: {
        ASSERT_TRUE(dir.exists(out)) << out << shown;
        const std::string text = dir.read(out);
        EXPECT_NE(text, sentinel(out)) << out << " was not rewritten" << shown;
        EXPECT_TRUE(only_crlf_line_ends(text)) << out << " has a line end without CR";
        break;
      }
      case Output::kAny:
        break;
    }
  }
  if (const auto& [file, text] = want.holds; !file.empty()) {
    EXPECT_NE(dir.read(file).find(text), std::string::npos)
        << file << " lacks \"" << text << "\":\n"
        << dir.read(file) << shown;
  }
}

}  // namespace robustness
