// Sound objects on DirectSound under Wine with a (null) sound device: loading from
// files and resources, the failures and their texts, playing and stopping.
#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <filesystem>
#include <fstream>

#include "media/kl_media.h"
#include "media/dsound/kl_sound.h"
#include "media/wave_file.h"
#include "sound/sound_test_window.h"
#include "sound/wave_builder.h"

namespace {

const char* const kGameSounds[] = {"READY.WAV", "GO.WAV", "PU.WAV", "cow1.wav", "Bgm.wav"};

Bytes BufferBytes(IDirectSoundBuffer* buffer) {
  void* p = nullptr;
  DWORD n = 0;
  if (FAILED(buffer->Lock(0, 0, &p, &n, nullptr, nullptr, DSBLOCK_ENTIREBUFFER))) return {};
  Bytes bytes(static_cast<uint8_t*>(p), static_cast<uint8_t*>(p) + n);
  buffer->Unlock(p, n, nullptr, 0);
  return bytes;
}

Bytes BufferFormat(IDirectSoundBuffer* buffer) {
  Bytes format(256);
  DWORD written = 0;
  buffer->GetFormat(reinterpret_cast<WAVEFORMATEX*>(format.data()), format.size(), &written);
  format.resize(written);
  return format;
}

DWORD Status(int handle) {
  DWORD status = 0;
  klSoundBuffer(handle)->GetStatus(&status);
  return status;
}

class SoundObjects : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    ASSERT_EQ(klSoundInit(), 1) << "no sound device: is ALSA pointed at a null device?";
  }
  void TearDown() override { EXPECT_EQ(klSoundRelease(), 1); }
};

TEST_F(SoundObjects, GameSoundsLoadIntoRecordsFromZeroWithTheirSamples) {
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(kGameSounds[i]);
    Bytes file = FileBytes(Pack(kGameSounds[i]));
    KlWaveImage wave;
    ASSERT_TRUE(klParseWave(file.data(), file.size(), &wave));
    ASSERT_EQ(klSoundLoadObject(Pack(kGameSounds[i]).c_str()), i);
    IDirectSoundBuffer* buffer = klSoundBuffer(i);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(BufferBytes(buffer), Bytes(file.begin() + 44, file.end()));
    EXPECT_EQ(BufferFormat(buffer), wave.format);
  }
  EXPECT_EQ(system.errors, std::vector<std::string>{});
}

TEST_F(SoundObjects, FileInAFolderWithAJapaneseNameLoads) {
  // Paths are UTF-8 (a user's temporary folder may well have a Japanese name).
  namespace fs = std::filesystem;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const fs::path folder = fs::path(temp) / fs::u8path("ポムルの音");
  CreateDirectoryW(folder.c_str(), nullptr);
  const Bytes file = FileBytes(Pack("PU.WAV"));
  std::ofstream(folder / "pu.wav", std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());
  EXPECT_EQ(klSoundLoadObject((folder / "pu.wav").u8string().c_str()), 0);
  EXPECT_EQ(system.errors, std::vector<std::string>{});
  DeleteFileW((folder / "pu.wav").c_str());
  RemoveDirectoryW(folder.c_str());
}

TEST_F(SoundObjects, NamesThatAreNoFileLoadFromResources) {
  Bytes ready = FileBytes(Pack("READY.WAV"));
  Bytes go = FileBytes(Pack("GO.WAV"));
  struct {
    const char* name;
    Bytes samples;
  } cases[] = {
      {"READY_WAVE", Bytes(ready.begin() + 44, ready.end())},  // type "WAVE"
      {"GO_DATA", Bytes(go.begin() + 44, go.end())},           // raw data
      {"listed_data", Bytes{0x82, 0x81, 0x84, 0x83, 0x86, 0x85}},  // a chunk before "fmt "
  };
  int handle = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(klSoundLoadObject(c.name), handle);
    EXPECT_EQ(BufferBytes(klSoundBuffer(handle)), c.samples);
    ++handle;
  }
  EXPECT_EQ(system.errors, std::vector<std::string>{});
}

TEST_F(SoundObjects, FailuresReportTheirTextAndTakeNoRecord) {
  Bytes pcm = FmtBody();
  Bytes noChannels = FmtBody(1, 0, 22050, 8);
  std::string shortFmt = TempFile(Riff({Chunk("fmt ", Cut(pcm, 14)), Chunk("data", Samples(64))}));
  std::string noSamples = TempFile(Riff({Chunk("fmt ", pcm), Chunk("data", {})}));
  std::string unplayable = TempFile(Riff({Chunk("fmt ", noChannels), Chunk("data", Samples(64))}));
  std::string tooLong(260, 'a');
  struct {
    const char* what;
    std::string name;
    const char* error;
  } cases[] = {
      {"missing file", "C:\\no such folder\\nothing.wav", "klSoundLoadObject : not found wave resource"},
      {"fmt of 14 bytes", shortFmt, "klSoundLoadObject : not found wave resource"},
      {"resource shorter than its header says", "SHORT_DATA", "klSoundLoadObject : not found wave resource"},
      {"name of 260 characters", tooLong, "klSoundLoadObject : filename or resource name buffer over flow"},
      {"no samples", noSamples, "klSoundLoadObject : can't create sound buffer"},
      {"no channels", unplayable, "klSoundLoadObject : can't create sound buffer"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    system.errors.clear();
    klFatalReset();  // each as the first error of a run
    EXPECT_EQ(klSoundLoadObject(c.name.c_str()), 0);
    EXPECT_EQ(system.errors, std::vector<std::string>{c.error});
    EXPECT_EQ(klSoundBuffer(0), nullptr);
  }
  system.errors.clear();
  klFatalReset();
  EXPECT_EQ(klSoundLoadObject(std::string(259, 'a').c_str()), 0);  // fits, but names nothing
  EXPECT_EQ(system.errors, std::vector<std::string>{"klSoundLoadObject : not found wave resource"});
  system.errors.clear();
  klFatalReset();
  EXPECT_EQ(klSoundLoadObject(nullptr), 0);  // a name the pack lacks
  EXPECT_EQ(system.errors, std::vector<std::string>{"klSoundLoadObject : not found wave resource"});
  for (const std::string& path : {shortFmt, noSamples, unplayable}) DeleteFileA(path.c_str());
}

TEST_F(SoundObjects, FormatOtherThanPcmLoadsWithItsExtraBytes) {
  // WAVE_FORMAT_EXTENSIBLE: 16-bit samples in 16-bit containers, mono, PCM sub-format.
  Bytes extra{16, 0, 4, 0, 0, 0};
  const uint8_t pcmSubFormat[16] = {1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xaa, 0, 0x38, 0x9b, 0x71};
  extra.insert(extra.end(), pcmSubFormat, pcmSubFormat + 16);
  Bytes fmt = FmtBody(0xfffe, 1, 22050, 16, &extra);
  std::string path = TempFile(Riff({Chunk("fmt ", fmt), Chunk("data", Samples(64))}));
  ASSERT_EQ(klSoundLoadObject(path.c_str()), 0);
  ASSERT_EQ(system.errors, std::vector<std::string>{});
  EXPECT_EQ(BufferFormat(klSoundBuffer(0)), fmt);
  EXPECT_EQ(BufferBytes(klSoundBuffer(0)), Samples(64));
  DeleteFileA(path.c_str());
}

TEST_F(SoundObjects, TheHundredAndFirstLoadOverflows) {
  std::string pu = Pack("PU.WAV");
  for (int i = 0; i < KL_SOUND_RECORDS; ++i) ASSERT_EQ(klSoundLoadObject(pu.c_str()), i);
  EXPECT_EQ(klSoundLoadObject(pu.c_str()), 0);
  EXPECT_EQ(system.errors, std::vector<std::string>{"klSoundLoadObject : Object over flow"});
}

TEST_F(SoundObjects, LoopingRepeatsUntilStoppedAndOnceEndsByItself) {
  int once = klSoundLoadObject(Pack("PU.WAV").c_str());
  int looping = klSoundLoadObject(Pack("PU.WAV").c_str());
  klSoundPlay(once, 0);
  klSoundPlay(looping, 1);
  EXPECT_EQ(Status(once), DWORD{DSBSTATUS_PLAYING});
  EXPECT_EQ(Status(looping), DWORD{DSBSTATUS_PLAYING | DSBSTATUS_LOOPING});

  // PU.WAV lasts 0.42 s; wait for the single play to end, at most a few seconds.
  DWORD deadline = GetTickCount() + 5000;
  while (Status(once) & DSBSTATUS_PLAYING && GetTickCount() < deadline) Sleep(20);
  EXPECT_EQ(Status(once), 0u) << "a sound played once never ended";
  EXPECT_EQ(Status(looping), DWORD{DSBSTATUS_PLAYING | DSBSTATUS_LOOPING});

  klSoundStop(looping);
  DWORD play = 1, write = 1;
  klSoundBuffer(looping)->GetCurrentPosition(&play, &write);
  EXPECT_EQ(Status(looping), 0u);
  EXPECT_EQ(play, 0u);
}

TEST_F(SoundObjects, HandlesWithoutALoadedSoundDoNothing) {
  int loaded = klSoundLoadObject(Pack("PU.WAV").c_str());
  for (int handle : {-1, KL_SOUND_RECORDS, KL_SOUND_RECORDS + 1000, loaded + 1, 99}) {
    klSoundPlay(handle, 1);
    klSoundStop(handle);
  }
  EXPECT_EQ(Status(loaded), 0u);
  klSoundPlay(loaded, 1);
  EXPECT_EQ(klSoundRelease(), 1);
  // Released: the handle's buffer is gone, so these must not reach it.
  klSoundPlay(loaded, 1);
  klSoundStop(loaded);
  EXPECT_EQ(klSoundBuffer(loaded), nullptr);
  EXPECT_EQ(klSoundLoadObject(Pack("PU.WAV").c_str()), 0);
  EXPECT_EQ(system.errors, std::vector<std::string>{});
}

}  // namespace
