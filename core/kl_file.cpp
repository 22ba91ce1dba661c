#include "core/kl_file.h"

#include <cstdio>

#ifdef _WIN32
#include "core/win32/wide_text.h"
#endif

bool klReadWholeFile(const char* name, std::vector<uint8_t>* bytes) {
  if (!name) return false;
#ifdef _WIN32
  // Our paths are UTF-8; the narrow runtime would read them in the ANSI code page
  // and miss a folder with a Japanese name.
  std::FILE* f = _wfopen(WideFromUtf8(name).c_str(), L"rb");
#else
  std::FILE* f = std::fopen(name, "rb");
#endif
  if (!f) return false;
  bytes->clear();
  uint8_t chunk[65536];
  bool ok = true;
  for (;;) {
    size_t got = std::fread(chunk, 1, sizeof chunk, f);
    bytes->insert(bytes->end(), chunk, chunk + got);
    if (got < sizeof chunk) {
      ok = !std::ferror(f);
      break;
    }
  }
  std::fclose(f);
  return ok;
}
