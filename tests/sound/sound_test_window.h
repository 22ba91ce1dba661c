// What the sound tests run in under Wine: a plain window registered as the engine
// window and as the host's view, and a Win32 system whose fatal-error box only
// records its text instead of blocking on a modal box and closing the program.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/kl_engine.h"
#include "support/quiet_win32_system.h"
#include "support/test_host.h"


class SoundTest : public ::testing::Test {
 public:
  static void SetUpTestSuite() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"RodeoSoundTest";
    RegisterClassW(&wc);
    window = CreateWindowW(L"RodeoSoundTest", L"sound test", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                           nullptr, nullptr, wc.hInstance, nullptr);
    host.view = window;
    SetMgHost(&host);
    klEngineWindow = window;
    klSetSystem(&system);
  }
  static void TearDownTestSuite() {
    klSetSystem(nullptr);
    SetMgHost(nullptr);
    klEngineWindow = nullptr;
    DestroyWindow(window);
  }

 protected:
  void SetUp() override {
    system.errors.clear();
    klFatalReset();
  }

  static std::string Pack(const char* name) {
    return std::string(RODEO_SOURCE_DIR) + "/assets/out/pack/" + name;
  }

  static std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  // Writes bytes to a fresh file in the temporary folder and returns its path.
  static std::string TempFile(const std::vector<uint8_t>& bytes) {
    char folder[MAX_PATH], path[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "snd", 0, path);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path;
  }

  static inline HWND window = nullptr;
  static inline TestHost host;
  static inline QuietWin32System system;
};
