// The sound side's entry points beyond the common media API (media/kl_media.h):
// the WAVE file reader and a look at the buffer behind a handle. Windows-free.
#pragma once

#include <cstdint>

struct IDirectSoundBuffer;

// Reads the WAVE file at path. Returns 0 with *format the WAVEFORMATEX block
// (18 + extra bytes), *samples the sample bytes and *sampleCount their number;
// both blocks come from klSystem()->Alloc and the caller frees them with
// klSystem()->Free. Returns 1 with null blocks and a count of 0 when the file
// cannot be opened or is no readable WAVE file.
int klSoundReadWave(const char* path, uint8_t** format, uint8_t** samples, uint32_t* sampleCount);

// The static buffer of a loaded sound; null when sound is off, the handle is out
// of range or its record holds no buffer. For tests and diagnostics.
IDirectSoundBuffer* klSoundBuffer(int handle);
