// Reading a whole file by its UTF-8 name: the one file access of the pure readers'
// callers (bitmaps, palettes).
#pragma once

#include <cstdint>
#include <vector>

// The whole file into bytes; false when it cannot be opened or read.
bool klReadWholeFile(const char* name, std::vector<uint8_t>* bytes);
