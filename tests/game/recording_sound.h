// A sound device for the game's tests: it loads nothing and records every play
// and stop with the clock time, so the tests can follow the game's sound cues.
// Linked into the test program, it takes the place of the stand-in's silent
// sound functions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SoundEvent {
  std::string name;  // the file name asked for, lower case ("bgm.wav")
  bool play;         // false: stop
  bool loop;
  uint32_t time;     // multimedia clock
};

std::vector<SoundEvent>& recordedSounds();
void resetRecordedSounds();  // forgets the loaded names and the events and the failing name
// Loads of this file name (lower case) fail as an unreadable sound does on a
// working device: klError "klSoundLoadObject : not found wave resource". A null
// name (one the pack lacks) always fails so.
void failSoundLoadsOf(const std::string& name);
