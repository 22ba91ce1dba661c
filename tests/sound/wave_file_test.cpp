// The RIFF/WAVE reader over byte buffers: well-formed files in their variants and
// the ways a file can be broken.
#include "media/wave_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "sound/wave_builder.h"

namespace {

struct WaveCase {
  const char* name;
  Bytes image;
  bool readable;
  size_t dataOffset = 0;  // expected when readable
  uint32_t dataSize = 0;
};

const Bytes kExtensible(22, 0x5a);  // the extra bytes of a non-PCM format

std::vector<WaveCase> Cases() {
  Bytes fmt = Chunk("fmt ", FmtBody());
  Bytes data = Chunk("data", Samples(100));
  Bytes list = Chunk("LIST", Bytes{'I', 'N', 'F', 'O', 'x', 'y'});
  Bytes pcm18 = FmtBody();
  PutLe(pcm18, 0, 2);
  return {
      {"canonical", Riff({fmt, data}), true, 44, 100},
      {"pcm fmt with its extra size field", Riff({Chunk("fmt ", pcm18), data}), true, 46, 100},
      {"LIST before fmt", Riff({list, fmt, data}), true, 58, 100},
      {"odd chunk padded before fmt", Riff({Chunk("junk", Bytes(3, 1)), fmt, data}), true, 56, 100},
      {"odd chunk without its pad", Riff({Chunk("junk", Bytes(3, 1), false), fmt, data}), false},
      {"data before fmt", Riff({data, fmt}), true, 20, 100},
      {"odd data at the very end", Riff({fmt, Chunk("data", Samples(3), false)}), true, 44, 3},
      {"chunks after data", Riff({fmt, data, list}), true, 44, 100},
      {"non-PCM with extra bytes", Riff({Chunk("fmt ", FmtBody(0xfffe, 1, 22050, 8, &kExtensible)), data}),
       true, 68, 100},
      {"RIFF size past the file", Riff({fmt, data}, 1 << 20), true, 44, 100},
      {"empty data", Riff({fmt, Chunk("data", {})}), true, 44, 0},

      {"fmt of 14 bytes", Riff({Chunk("fmt ", Cut(FmtBody(), 14)), data}), false},
      {"non-PCM without extra size", Riff({Chunk("fmt ", FmtBody(3, 1, 22050, 32)), data}), false},
      {"non-PCM extra past its chunk",
       Riff({Chunk("fmt ", Cut(FmtBody(0xfffe, 1, 22050, 8, &kExtensible), 30)), data}), false},
      {"no data", Riff({fmt, list}), false},
      {"no fmt", Riff({list, data}), false},
      {"data cut short", Cut(Riff({fmt, data}), 100), false},
      {"data size past the file", Riff({fmt, Chunk("data", Samples(8), true, 0x7fffffff)}), false},
      {"fmt size past the file", Riff({Chunk("fmt ", FmtBody(), true, 0xfffffff0), data}), false},
      {"data outside the RIFF size", Riff({fmt, data}, 4 + 24), false},
      {"RIFF size below the form type", Riff({fmt, data}, 2), false},
      {"not WAVE", Riff({fmt, data}, -1, "AVI "), false},
      {"not RIFF", Bytes{'R', 'I', 'F', 'X', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}, false},
      {"header only", Riff({}), false},
      {"shorter than a header", Bytes{'R', 'I', 'F', 'F', 4, 0}, false},
  };
}

TEST(WaveFile, ReadsWellFormedImagesAndRefusesBrokenOnes) {
  for (const WaveCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    KlWaveImage wave;
    ASSERT_EQ(klParseWave(c.image.data(), c.image.size(), &wave), c.readable);
    if (!c.readable) {
      EXPECT_TRUE(wave.format.empty());
      continue;
    }
    EXPECT_EQ(wave.dataOffset, c.dataOffset);
    EXPECT_EQ(wave.dataSize, c.dataSize);
    EXPECT_LE(wave.dataOffset + wave.dataSize, c.image.size());
  }
}

TEST(WaveFile, FormatBlockHasTheFieldsExtraSizeAndExtraBytes) {
  struct FormatCase {
    const char* name;
    Bytes fmtBody;
    Bytes expected;
  } cases[] = {
      {"PCM", FmtBody(1, 2, 44100, 16), FmtBody(1, 2, 44100, 16)},
      {"extensible", FmtBody(0xfffe, 1, 22050, 8, &kExtensible), FmtBody(0xfffe, 1, 22050, 8, &kExtensible)},
  };
  cases[0].expected.insert(cases[0].expected.end(), {0, 0});  // PCM: extra size 0
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes image = Riff({Chunk("fmt ", c.fmtBody), Chunk("data", Samples(4))});
    KlWaveImage wave;
    ASSERT_TRUE(klParseWave(image.data(), image.size(), &wave));
    EXPECT_EQ(wave.format, c.expected);
  }
}

TEST(WaveFile, ReadsTheGameSounds) {
  for (const char* name : {"READY.WAV", "GO.WAV", "PU.WAV", "cow1.wav", "Bgm.wav"}) {
    SCOPED_TRACE(name);
    std::ifstream in(std::string(RODEO_SOURCE_DIR) + "/assets/out/pack/" + name, std::ios::binary);
    Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(file.empty());
    KlWaveImage wave;
    ASSERT_TRUE(klParseWave(file.data(), file.size(), &wave));
    Bytes pcm = FmtBody(1, 1, 22050, 8);
    pcm.insert(pcm.end(), {0, 0});
    EXPECT_EQ(wave.format, pcm);
    EXPECT_GT(wave.dataSize, 22050u / 3);
    EXPECT_EQ(wave.dataOffset, 44u);
    EXPECT_EQ(wave.dataOffset + wave.dataSize, file.size());
  }
}

}  // namespace
