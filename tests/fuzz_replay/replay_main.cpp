/// Runs a fuzz target's LLVMFuzzerTestOneInput over every file of the folders (or
/// the files) named on the command line. A broken invariant aborts; an empty or
/// missing corpus fails too, so a lost corpus cannot pass unnoticed.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputs_of(const fs::path& path) {
  std::vector<fs::path> inputs;
  if (fs::is_directory(path)) {
    for (const fs::directory_entry& entry : fs::directory_iterator(path)) {
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
  } else if (fs::is_regular_file(path)) {
    inputs.push_back(path);
  }
  return inputs;
}

bool replay(const fs::path& input) {
  std::ifstream in(input, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
  if (in.bad()) {
    std::fprintf(stderr, "cannot read %s\n", input.c_str());
    return false;
  }
  std::fprintf(stderr, "replaying %s (%zu bytes)\n", input.c_str(), bytes.size());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t count = 0;
  for (int k = 1; k < argc; ++k) {
    const std::vector<fs::path> inputs = inputs_of(argv[k]);
    if (inputs.empty()) {
      std::fprintf(stderr, "no inputs in %s\n", argv[k]);
      return 1;
    }
    for (const fs::path& input : inputs) {
      if (!replay(input)) return 1;
      ++count;
    }
  }
  if (count == 0) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER_OR_FILE...\n", argv[0]);
    return 1;
  }
  std::printf("%zu inputs replayed\n", count);
  return 0;
}
