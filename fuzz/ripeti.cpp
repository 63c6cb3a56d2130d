// Feeds every file of the folders (or files) named on the command line to the fuzz target it is
// linked with, once each, in name order: the corpus replayed without libFuzzer. Any crash,
// sanitizer report or exception that escapes the target fails the run.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "comune.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  std::vector<fs::path> file;
  for (int i = 1; i < argc; ++i) {
    if (fs::is_directory(argv[i])) {
      for (const auto& e : fs::directory_iterator(argv[i])) {
        if (e.is_regular_file()) file.push_back(e.path());
      }
    } else {
      file.emplace_back(argv[i]);
    }
  }
  std::sort(file.begin(), file.end());
  if (file.empty()) {
    std::cerr << "nessun ingresso da ripetere\n";
    return 1;
  }
  for (const auto& f : file) {
    std::ifstream in(f, std::ios::binary);
    if (!in) {
      std::cerr << "impossibile leggere " << f.string() << "\n";
      return 1;
    }
    const std::string dati((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(dati.data()), dati.size());
  }
  std::cout << file.size() << " ingressi ripetuti\n";
  return 0;
}
