// Writes the SLTG test libraries into a directory, as old.tlb and plain.tlb
// and as the TYPELIB resources of old.dll and plain.dll, for the tests that
// need files.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "sltg_writer.h"

using namespace velbrook::typeinfo::msft::sltg_testing;

namespace {

bool Save(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  out.close();
  if (!out) std::fprintf(stderr, "cannot write %s\n", path.c_str());
  return bool(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_sltg_fixtures DIRECTORY\n");
    return 2;
  }
  const std::string dir = argv[1];
  std::error_code ignored;
  std::filesystem::create_directories(dir, ignored);
  for (auto [name, library] : {std::pair{"old", FeaturesLibrary()}, {"plain", PlainLibrary()}}) {
    const std::vector<uint8_t> bytes = WriteSltg(library);
    if (!Save(dir + "/" + name + ".tlb", bytes) ||
        !Save(dir + "/" + name + ".dll", WrapInPe(bytes, 1))) {
      return 1;
    }
  }
  return 0;
}
