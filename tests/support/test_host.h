// A CMgHost for tests: holds the game state and records what the game reported.
#pragma once

#include <cctype>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "engine/mg_host.h"

class TestHost : public CMgHost {
 public:
  KlWindow view = reinterpret_cast<KlWindow>(0x1234);
  int state = 0;
  std::vector<int> requests;
  std::vector<std::pair<std::string, int>> results;
  std::string assetDir;  // where GetAssetPath looks, ignoring case as the pack does; empty: names as given
  std::vector<std::string> assetNames;  // every name asked for
  std::string lastPath;
  std::set<std::string> lacking;  // names the pack lacks (as asked for): GetAssetPath gives null

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
    assetNames.push_back(fileName);
    if (lacking.count(fileName)) return nullptr;
    lastPath = assetDir.empty() ? std::string(fileName) : assetDir + "/" + fileName;
    if (!assetDir.empty()) {
      std::error_code ec;
      for (const auto& entry : std::filesystem::directory_iterator(assetDir, ec)) {
        if (SameIgnoringCase(entry.path().filename().string(), fileName)) lastPath = entry.path().string();
      }
    }
    return lastPath.c_str();
  }

 private:
  static bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
  }
};
