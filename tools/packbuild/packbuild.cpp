// packbuild: writes the asset pack that rodeo.exe carries as its PACK_DATA resource.
//
//   packbuild OUTPUT SOURCE_DIR NAME...
//
// Each NAME is a file in SOURCE_DIR and becomes an entry of that name, in the order
// given. The pack is written beside OUTPUT first and renamed over it, so a failed
// run never leaves a half-written pack for the resource compiler.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "shell/pack_format.h"

namespace {

bool ReadFile(const std::string& path, std::vector<uint8_t>* data) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  data->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& data) {
  const std::string temp = path + ".part";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    out.close();
    if (!out) {
      std::remove(temp.c_str());
      return false;
    }
  }
  return std::rename(temp.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: packbuild OUTPUT SOURCE_DIR NAME...\n");
    return 2;
  }
  const std::string output = argv[1];
  const std::string sourceDir = argv[2];

  std::vector<PackFile> files;
  for (int i = 3; i < argc; ++i) {
    PackFile file;
    file.name = argv[i];
    if (!IsSafePackName(file.name)) {
      std::fprintf(stderr, "packbuild: \"%s\" is not a plain file name\n", argv[i]);
      return 1;
    }
    const std::string path = sourceDir + "/" + file.name;
    if (!ReadFile(path, &file.data)) {
      std::fprintf(stderr, "packbuild: cannot read %s\n", path.c_str());
      return 1;
    }
    files.push_back(std::move(file));
  }

  std::vector<uint8_t> pack;
  if (!BuildPack(files, &pack)) {
    std::fprintf(stderr, "packbuild: the files do not fit one pack (4 GiB at most)\n");
    return 1;
  }
  // What the game will read must read back as what was written.
  std::vector<PackEntry> entries;
  const PackError check = ParsePack(pack.data(), pack.size(), &entries);
  if (check != PackError::kNone || entries.size() != files.size()) {
    std::fprintf(stderr, "packbuild: written pack does not read back: %s\n", PackErrorText(check));
    return 1;
  }
  if (!WriteFile(output, pack)) {
    std::fprintf(stderr, "packbuild: cannot write %s\n", output.c_str());
    return 1;
  }
  std::printf("packbuild: %zu entries, %zu bytes -> %s\n", files.size(), pack.size(), output.c_str());
  return 0;
}
