// klSoundReadWave: the file is read whole through the multimedia file functions and
// handed to the pure reader, so every chunk size is checked against what was read.
#include <windows.h>
#include <mmsystem.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/kl_system.h"
#include "core/win32/wide_text.h"
#include "media/dsound/kl_sound.h"
#include "media/wave_file.h"

namespace {

// Larger than any sound buffer DirectSound makes (DSBSIZE_MAX).
constexpr LONG kLargestWaveFile = 0x10000000 + 4096;

bool ReadWholeFile(const char* path, std::vector<uint8_t>* bytes) {
  std::wstring widePath = WideFromUtf8(path);  // our paths are UTF-8
  HMMIO file = mmioOpenW(&widePath[0], nullptr, MMIO_READ | MMIO_ALLOCBUF);
  if (!file) return false;
  LONG size = mmioSeek(file, 0, SEEK_END);
  bool read = size >= 0 && size <= kLargestWaveFile && mmioSeek(file, 0, SEEK_SET) == 0;
  if (read) {
    bytes->resize(static_cast<size_t>(size));
    read = size == 0 || mmioRead(file, reinterpret_cast<HPSTR>(bytes->data()), size) == size;
  }
  mmioClose(file, 0);
  return read;
}

}  // namespace

int klSoundReadWave(const char* path, uint8_t** format, uint8_t** samples, uint32_t* sampleCount) {
  *format = nullptr;
  *samples = nullptr;
  *sampleCount = 0;
  std::vector<uint8_t> file;
  KlWaveImage wave;
  if (!ReadWholeFile(path, &file) || !klParseWave(file.data(), file.size(), &wave)) return 1;

  KlSystem* sys = klSystem();
  auto* formatBlock = static_cast<uint8_t*>(sys->Alloc(wave.format.size(), false));
  auto* sampleBlock = static_cast<uint8_t*>(sys->Alloc(wave.dataSize, false));
  if (!formatBlock || !sampleBlock) {
    sys->Free(formatBlock);
    sys->Free(sampleBlock);
    return 1;
  }
  std::memcpy(formatBlock, wave.format.data(), wave.format.size());
  if (wave.dataSize) std::memcpy(sampleBlock, file.data() + wave.dataOffset, wave.dataSize);
  *format = formatBlock;
  *samples = sampleBlock;
  *sampleCount = wave.dataSize;
  return 0;
}
