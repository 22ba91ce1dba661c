// libFuzzer entry: any byte string either is refused or yields a format block and
// a sample range that lie inside the input.
#include <cstdlib>

#include "media/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  KlWaveImage wave;
  if (!klParseWave(data, size, &wave)) {
    if (!wave.format.empty()) std::abort();
    return 0;
  }
  size_t extra = wave.format[16] | wave.format[17] << 8;
  if (wave.format.size() != 18 + extra) std::abort();
  if (wave.dataOffset > size || wave.dataSize > size - wave.dataOffset) std::abort();
  return 0;
}
