// The headless stand-in's cost: one drawn step (60 sprites and the flip) at 32
// bits, and reading a sheet of the game with the 8-bit reader.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/media/sixty_sprites.h"
#include "core/kl_file.h"
#include "media/bitmap_file.h"
#include "media/headless/headless_media.h"
#include "media/pixel_convert.h"
#include "support/fake_system.h"
#include "support/test_host.h"

namespace {

const std::string kPack = std::string(RODEO_SOURCE_DIR) + "/assets/out/pack";

void BM_HeadlessDrawnStep60Sprites(benchmark::State& state) {
  FakeSystem sys;
  TestHost host;
  klSetSystem(&sys);
  SetMgHost(&host);
  headlessMediaReset();
  klDrawInit(400, 300, 8);
  klSpriteInit();
  if (!BuildSixtySprites(kPack)) state.SkipWithError("the sheets did not load");
  for (auto _ : state) {
    DrawnStep();
    headlessMediaLog().blits.clear();
  }
  klSpriteRelease();
  klDrawRelease();
  SetMgHost(nullptr);
  klSetSystem(nullptr);
}
BENCHMARK(BM_HeadlessDrawnStep60Sprites)->Unit(benchmark::kMicrosecond);

void BM_ReadCowSheetAt32Bits(benchmark::State& state) {
  std::string path = kPack + "/cow.bmp";
  std::vector<uint8_t> bytes, out;
  for (auto _ : state) {
    klReadWholeFile(path.c_str(), &bytes);
    KlBitmapFile file;
    klParseBitmap(bytes.data(), bytes.size(), &file);
    uint32_t table[256];
    klBuildPixelTable(32, file.colourTable, klDrawPixelFormat{}, table);
    out.resize(static_cast<size_t>(file.width) * 4);
    for (int r = 0; r < file.height; ++r) klConvertRow(32, file.Row(r), file.width, table, out.data());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadCowSheetAt32Bits)->Unit(benchmark::kMicrosecond);

}  // namespace
