// libFuzzer entry: any text either decodes to exactly the bytes whose encoding it
// is, or is refused with the destination untouched.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "records/record_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const char* text = input.c_str();  // up to the first NUL, as a stored value would be
  const size_t n = DecodedLength(text);
  constexpr uint8_t kUntouched = 0xA5;
  std::vector<uint8_t> dest(n + 1, kUntouched);
  if (!DecodeRecord(text, dest.data(), n)) {
    for (uint8_t b : dest)
      if (b != kUntouched) std::abort();
    return 0;
  }
  if (n == 0 || dest[n] != kUntouched) std::abort();
  // One byte is never encoded, but a text for it can pass both checksums.
  if (n >= 2 && EncodeRecord(dest.data(), n) != std::string(text, std::strlen(text) & ~size_t{1})) std::abort();
  if (DecodeRecord(text, dest.data(), n - 1) || DecodeRecord(text, dest.data(), n + 1)) std::abort();
  return 0;
}
