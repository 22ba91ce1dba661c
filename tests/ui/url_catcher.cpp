// A stand-in browser for the dialog tests: registered in the test prefix as the
// command that opens https addresses, it appends its command line (UTF-8, one line)
// to the file named by RODEO_URL_CATCH and ends.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  wchar_t file[MAX_PATH];
  if (!GetEnvironmentVariableW(L"RODEO_URL_CATCH", file, MAX_PATH)) return 1;
  int n = WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, nullptr, 0, nullptr, nullptr);
  std::string line(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, &line[0], n, nullptr, nullptr);
  FILE* out = _wfopen(file, L"ab");
  if (!out) return 1;
  std::fprintf(out, "%s\n", line.c_str());
  std::fclose(out);
  return 0;
}
