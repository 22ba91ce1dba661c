#include "tests/game/recording_sound.h"

#include <cctype>

#include "core/kl_core.h"
#include "core/kl_system.h"
#include "media/kl_media.h"

namespace {

std::vector<std::string> names;
std::vector<SoundEvent> events;
std::string failing;

std::string FileName(const char* path) {
  std::string s(path);
  size_t slash = s.find_last_of("/\\");
  if (slash != std::string::npos) s.erase(0, slash + 1);
  for (char& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return s;
}

void Record(int handle, bool play, bool loop) {
  const std::string name = handle >= 0 && handle < static_cast<int>(names.size()) ? names[handle] : "?";
  events.push_back({name, play, loop, klSystem()->Time()});
}

}  // namespace

std::vector<SoundEvent>& recordedSounds() { return events; }

void resetRecordedSounds() {
  names.clear();
  events.clear();
  failing.clear();
}

void failSoundLoadsOf(const std::string& name) { failing = name; }

int klSoundInit() { return 1; }
int klSoundLoadObject(const char* name) {
  if (klFatalRaised()) return 0;
  if (!name || FileName(name) == failing) return klError("klSoundLoadObject", "not found wave resource");
  names.push_back(FileName(name));
  return static_cast<int>(names.size()) - 1;
}
void klSoundPlay(int handle, int loop) { Record(handle, true, loop != 0); }
void klSoundStop(int handle) { Record(handle, false, false); }
int klSoundRelease() { return 1; }
