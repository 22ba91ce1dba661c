// What loading and saving the record needs from the system. The framework
// implements it over the registry, the private profile files, the tick count and
// the work area; tests implement it with a fake.
#pragma once

#include <cstdint>
#include <string>

// Where a private profile file such as "wconf.ini" is looked for.
enum class IniFolder {
  kUser,              // the per-user application data folder: read and written
  kWindowsDirectory,  // where earlier installations left their copy: only read
};

struct WorkArea {
  int left, top, right, bottom;
};

class RecordPlatform {
 public:
  virtual ~RecordPlatform() = default;

  // The application's profile value `entry` of `section`; "" when it is missing.
  virtual std::string ReadProfileValue(const char* section, const char* entry) = 0;
  // Failures are not reported: the data of the run is lost, nothing else.
  virtual void WriteProfileValue(const char* section, const char* entry, const std::string& value) = 0;

  // The value of `key` in `section` of the private profile file `file` in
  // `folder`; "" when the file, the section or the key is missing.
  virtual std::string ReadIniValue(IniFolder folder, const char* file, const char* section, const char* key) = 0;
  // Writes into the user's copy of `file`; failures are not reported.
  virtual void WriteIniValue(const char* file, const char* section, const char* key, const std::string& value) = 0;

  virtual uint32_t TickCount() = 0;  // milliseconds since the system started (GetTickCount)
  virtual uint32_t UnixTime() = 0;   // seconds since 1970-01-01 00:00 UTC (time())
  virtual WorkArea GetWorkArea() = 0;  // the primary monitor's area outside the task bar
};
