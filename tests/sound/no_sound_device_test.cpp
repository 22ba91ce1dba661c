// Without any sound device the game runs silent: nothing opens, nothing loads,
// nothing fails and nothing is reported.
#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include "media/kl_media.h"
#include "media/dsound/kl_sound.h"
#include "sound/sound_test_window.h"

namespace {

using NoSoundDevice = SoundTest;

TEST_F(NoSoundDevice, EverythingIsSilentAndNothingFails) {
  IDirectSound* device = nullptr;
  ASSERT_TRUE(FAILED(DirectSoundCreate(nullptr, &device, nullptr)))
      << "a sound device exists: this test needs RODEO_NO_SOUND_DEVICE=1";

  EXPECT_EQ(klSoundInit(), 0);
  for (const char* name : {"READY.WAV", "Bgm.wav"}) {
    EXPECT_EQ(klSoundLoadObject(Pack(name).c_str()), 0);
  }
  EXPECT_EQ(klSoundLoadObject("C:\\no such folder\\nothing.wav"), 0);
  EXPECT_EQ(klSoundLoadObject(std::string(300, 'a').c_str()), 0);
  for (int handle : {0, 1, -1, KL_SOUND_RECORDS}) {
    klSoundPlay(handle, 1);
    klSoundStop(handle);
    EXPECT_EQ(klSoundBuffer(handle), nullptr);
  }
  EXPECT_EQ(klSoundRelease(), 1);
  EXPECT_EQ(system.errors, std::vector<std::string>{});
}

}  // namespace
