// A CMgHost for tests: holds the game state and records what the game reported.
#pragma once

#include <string>
#include <vector>

#include "engine/mg_host.h"

class TestHost : public CMgHost {
 public:
  KlWindow view = reinterpret_cast<KlWindow>(0x1234);
  int state = 0;
  std::vector<int> requests;
  std::vector<std::pair<std::string, int>> results;
  std::string assetDir;  // prefix for GetAssetPath; empty: names as given
  std::string lastPath;

  KlWindow GetViewWindow() override { return view; }
  void RequestState(int request) override {
    requests.push_back(request);
    if (request == 0) state = 0;
    else if (request == 1 && state == 0) state = 1;
    else if (request == 2 && state != 0) state = state == 2 ? 1 : 2;
  }
  int GetState() override { return state; }
  void ReportResult(const char* text, int value) override { results.emplace_back(text, value); }
  void SetTickInterval(int) override {}
  int GetTickInterval() override { return 0; }
  const char* GetAssetPath(const char* fileName) override {
    lastPath = assetDir.empty() ? std::string(fileName) : assetDir + "/" + fileName;
    return lastPath.c_str();
  }
};
