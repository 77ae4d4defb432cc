// A plain main for the harnesses where libFuzzer is not available: runs every input named on the
// command line, or every file of a named directory, once.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  int count = 0;
  auto run = [&](const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    ++count;
  };
  for (int i = 1; i < argc; ++i) {
    if (!fs::is_directory(argv[i]))
      run(argv[i]);
    else
      for (const auto& entry : fs::directory_iterator(argv[i]))
        if (entry.is_regular_file()) run(entry.path());
  }
  std::printf("replayed %d inputs\n", count);
  return 0;
}
