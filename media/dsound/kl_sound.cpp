// Sound objects on DirectSound: one device for the engine window, a fixed table of
// static buffers loaded from WAVE files or program resources, played by handle.
// Without a device every operation does nothing and nothing is reported.
#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <algorithm>
#include <cstring>

#include "core/kl_core.h"
#include "core/kl_system.h"
#include "media/kl_media.h"
#include "media/dsound/kl_sound.h"
#include "media/wave_file.h"

struct klSoundObject {
  int32_t inUse;  // set by a load, never cleared during the run
  char name[260];
  IDirectSoundBuffer* buffer;
};

namespace {

// The sound side's whole state.
struct SoundState {
  int32_t soundEnabled = 0;
  IDirectSound* device = nullptr;
  IDirectSoundBuffer* primaryBuffer = nullptr;
  klSoundObject records[KL_SOUND_RECORDS] = {};
};
SoundState sound;

const char kLoad[] = "klSoundLoadObject";

// The record behind a handle, when it holds a buffer to play or stop.
klSoundObject* PlayableRecord(int handle) {
  if (!sound.soundEnabled || handle < 0 || handle >= KL_SOUND_RECORDS) return nullptr;
  klSoundObject* record = &sound.records[handle];
  return record->inUse && record->buffer ? record : nullptr;
}

// A WAVE file image kept as a program resource: type "WAVE" first, then raw data.
// The image is read like a file, every size checked against the resource's size.
bool ReadWaveResource(const char* name, KlWaveImage* wave, const uint8_t** image) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceA(module, name, "WAVE");
  if (!found) found = FindResourceA(module, name, MAKEINTRESOURCEA(10));
  if (!found) return false;
  HGLOBAL loaded = LoadResource(module, found);
  auto* bytes = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
  if (!bytes || !klParseWave(bytes, SizeofResource(module, found), wave)) return false;
  *image = bytes;
  return true;
}

// A static buffer holding count samples of the given format, or null.
IDirectSoundBuffer* MakeBuffer(const uint8_t* format, const uint8_t* samples, uint32_t count) {
  DSBUFFERDESC desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DSBCAPS_STATIC;
  desc.dwBufferBytes = count;
  desc.lpwfxFormat = reinterpret_cast<WAVEFORMATEX*>(const_cast<uint8_t*>(format));
  IDirectSoundBuffer* buffer = nullptr;
  HRESULT hr = sound.device->CreateSoundBuffer(&desc, &buffer, nullptr);
  if (FAILED(hr)) {
    klTrace("klSoundLoadObject: CreateSoundBuffer failed 0x%08lx\n", static_cast<unsigned long>(hr));
    return nullptr;
  }

  void* first = nullptr;
  void* second = nullptr;
  DWORD firstBytes = 0, secondBytes = 0;
  if (SUCCEEDED(buffer->Lock(0, count, &first, &firstBytes, &second, &secondBytes, 0))) {
    firstBytes = std::min<DWORD>(firstBytes, count);
    secondBytes = std::min<DWORD>(secondBytes, count - firstBytes);
    std::memcpy(first, samples, firstBytes);
    if (second) std::memcpy(second, samples + firstBytes, secondBytes);
    buffer->Unlock(first, firstBytes, second, secondBytes);
  }
  return buffer;
}

}  // namespace

int klSoundInit() {
  klSoundRelease();  // a second Init starts afresh instead of leaking the device
  HRESULT hr = DirectSoundCreate(nullptr, &sound.device, nullptr);
  if (FAILED(hr)) {
    klTrace("klSoundInit: DirectSoundCreate failed 0x%08lx, sound off\n", static_cast<unsigned long>(hr));
    sound.device = nullptr;
    sound.soundEnabled = 0;
    return 0;
  }
  sound.device->SetCooperativeLevel(klEngineWindow, DSSCL_NORMAL);
  DSBUFFERDESC desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DSBCAPS_PRIMARYBUFFER;
  if (FAILED(sound.device->CreateSoundBuffer(&desc, &sound.primaryBuffer, nullptr))) sound.primaryBuffer = nullptr;
  sound.soundEnabled = 1;
  for (klSoundObject& record : sound.records) record = klSoundObject{};
  return 1;
}

int klSoundLoadObject(const char* name) {
  if (!sound.soundEnabled || klFatalRaised()) return 0;
  // A name the pack lacks: neither a file nor a resource of that name.
  if (!name) return klError(kLoad, "not found wave resource");
  int handle = 0;
  while (handle < KL_SOUND_RECORDS && sound.records[handle].inUse) ++handle;
  if (handle == KL_SOUND_RECORDS) return klError(kLoad, "Object over flow");
  size_t length = std::strlen(name);
  if (length >= sizeof sound.records[handle].name) {
    return klError(kLoad, "filename or resource name buffer over flow");
  }

  uint8_t* fileFormat = nullptr;
  uint8_t* fileSamples = nullptr;
  uint32_t count = 0;
  KlWaveImage resource;
  const uint8_t* format;
  const uint8_t* samples;
  if (klSoundReadWave(name, &fileFormat, &fileSamples, &count) == 0) {
    format = fileFormat;
    samples = fileSamples;
  } else {
    const uint8_t* image = nullptr;
    if (!ReadWaveResource(name, &resource, &image)) return klError(kLoad, "not found wave resource");
    format = resource.format.data();
    samples = image + resource.dataOffset;
    count = resource.dataSize;
  }

  IDirectSoundBuffer* buffer = MakeBuffer(format, samples, count);
  klSystem()->Free(fileFormat);
  klSystem()->Free(fileSamples);
  if (!buffer) return klError(kLoad, "can't create sound buffer");

  klSoundObject& record = sound.records[handle];
  record.inUse = 1;
  std::memcpy(record.name, name, length + 1);
  record.buffer = buffer;
  return handle;
}

void klSoundPlay(int handle, int loop) {
  klSoundObject* record = PlayableRecord(handle);
  if (!record) return;
  record->buffer->Stop();
  record->buffer->SetCurrentPosition(0);
  record->buffer->Play(0, 0, loop ? DSBPLAY_LOOPING : 0);
}

void klSoundStop(int handle) {
  klSoundObject* record = PlayableRecord(handle);
  if (!record) return;
  record->buffer->Stop();
  record->buffer->SetCurrentPosition(0);
}

int klSoundRelease() {
  if (!sound.soundEnabled) return 1;
  for (klSoundObject& record : sound.records) {
    if (!record.inUse || !record.buffer) continue;
    record.buffer->Stop();
    record.buffer->Release();
    record.buffer = nullptr;
  }
  if (sound.primaryBuffer) sound.primaryBuffer->Release();
  sound.primaryBuffer = nullptr;
  sound.device->Release();
  sound.device = nullptr;
  sound.soundEnabled = 0;  // released buffers are gone: later plays must not reach them
  return 1;
}

IDirectSoundBuffer* klSoundBuffer(int handle) {
  klSoundObject* record = PlayableRecord(handle);
  return record ? record->buffer : nullptr;
}
