// Unpacking the asset pack under Windows: from this exe's own PACK_DATA 999 into
// "mgr*.TMP" files of the temporary directory, lookups by name regardless of case,
// and nothing left behind after Release or after a damaged pack.
#include "shell/asset_pack.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>

#include "core/win32/wide_text.h"
#include "shell/pack_format.h"

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> BuiltPack(const std::vector<PackFile>& files) {
  std::vector<uint8_t> pack;
  EXPECT_TRUE(BuildPack(files, &pack));
  return pack;
}

// Each test gets a temporary directory of its own (TMP and TEMP point there), so it
// can see every file Extract makes.
class AssetPackTest : public testing::Test {
 protected:
  void SetUp() override {
    // The process's own temporary directory, read once: later tests see ours.
    static const std::wstring base = [] {
      wchar_t path[MAX_PATH];
      return GetTempPathW(MAX_PATH, path) ? std::wstring(path) : std::wstring();
    }();
    ASSERT_FALSE(base.empty());
    dir_ = base + L"asset_pack_test_" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(dir_.c_str(), nullptr));
    SetTemp(dir_);
  }
  void TearDown() override {
    for (const std::wstring& name : Files()) DeleteFileW((dir_ + L"\\" + name).c_str());
    RemoveDirectoryW(dir_.c_str());
  }
  static void SetTemp(const std::wstring& dir) {
    SetEnvironmentVariableW(L"TMP", dir.c_str());
    SetEnvironmentVariableW(L"TEMP", dir.c_str());
  }
  std::vector<std::wstring> Files() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((dir_ + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
  }
  std::string Dir() const { return Utf8FromWide(dir_.c_str()); }

  std::wstring dir_;
};

// The unpacked file is a fresh "mgr<hex>.TMP" directly in the temporary directory.
void ExpectTempFileName(const std::string& path, const std::string& dir) {
  ASSERT_GT(path.size(), dir.size() + 1) << path;
  EXPECT_EQ(path.substr(0, dir.size() + 1), dir + "\\") << path;
  const std::string file = path.substr(dir.size() + 1);
  EXPECT_EQ(file.substr(0, 3), "mgr") << path;
  ASSERT_GT(file.size(), 7u) << path;
  EXPECT_EQ(CompareStringOrdinal(WideFromUtf8(file.substr(file.size() - 4).c_str()).c_str(), -1,
                                 L".TMP", -1, TRUE), CSTR_EQUAL) << path;
}

TEST_F(AssetPackTest, UnpacksTheExeResourceAndRemovesEverythingOnRelease) {
  CAssetPack pack;
  EXPECT_EQ(pack.FindPath("bg.bmp"), nullptr);  // nothing before Extract
  ASSERT_EQ(pack.Extract(999), 1);

  // The game asks in lower case; the pack holds "READY.WAV", "Bgm.wav" and the others.
  const char* const wanted[] = {"ready.wav", "go.wav", "pu.wav", "bg.bmp", "cow.bmp",
                                "parts.bmp", "cow1.wav", "pomul.bmp", "bgm.wav"};
  const char* const stored[] = {"READY.WAV", "GO.WAV", "PU.WAV", "bg.bmp", "cow.bmp",
                                "parts.bmp", "cow1.wav", "pomul.bmp", "Bgm.wav"};
  std::vector<std::string> paths;
  for (size_t i = 0; i < std::size(wanted); ++i) {
    SCOPED_TRACE(wanted[i]);
    const char* path = pack.FindPath(wanted[i]);
    ASSERT_NE(path, nullptr);
    ExpectTempFileName(path, Dir());
    // Wine shows the build machine's root as drive Z:.
    const std::vector<uint8_t> original = ReadFile(std::string("Z:" RODEO_SOURCE_DIR "/assets/out/pack/") + stored[i]);
    ASSERT_FALSE(original.empty());
    EXPECT_TRUE(ReadFile(path) == original) << "unpacked file differs from the asset";
    paths.push_back(path);
  }
  EXPECT_EQ(Files().size(), 9u);  // nine distinct files, nothing else

  pack.Release();
  EXPECT_EQ(pack.FindPath("bg.bmp"), nullptr);
  EXPECT_TRUE(Files().empty());
}

TEST_F(AssetPackTest, FindPathIgnoresLetterCaseOnly) {
  CAssetPack pack;
  // Two entries differing only in case: the first in pack order wins.
  const std::vector<uint8_t> built = BuiltPack({{"Bgm.wav", {'1'}}, {"BGM.WAV", {'2'}}, {"\x83\x5C.bmp", {'3'}}});
  ASSERT_EQ(pack.ExtractFrom(built.data(), built.size()), 1);
  const char* first = pack.FindPath("Bgm.wav");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(ReadFile(first), std::vector<uint8_t>{'1'});

  struct Lookup {
    const char* name;
    const char* contents;  // null: not found
  };
  const Lookup lookups[] = {
      {"bgm.wav", "1"}, {"BGM.WAV", "1"}, {"bGm.WaV", "1"},
      {"ソ.bmp", "3"},  {"ソ.BMP", "3"},   // code page 932 name, asked in UTF-8
      {"bgm.wa", nullptr}, {"bgm.wav ", nullptr}, {"bgm", nullptr}, {"", nullptr}, {nullptr, nullptr},
  };
  for (const Lookup& l : lookups) {
    SCOPED_TRACE(l.name ? l.name : "(null)");
    const char* path = pack.FindPath(l.name);
    if (!l.contents) {
      EXPECT_EQ(path, nullptr);
      continue;
    }
    ASSERT_NE(path, nullptr);
    const std::string text(l.contents);
    EXPECT_EQ(ReadFile(path), std::vector<uint8_t>(text.begin(), text.end()));
  }
}

TEST_F(AssetPackTest, DamagedPackLeavesNothingBehind) {
  std::vector<uint8_t> good = BuiltPack({{"a.bmp", {'x', 'y'}}, {"b.wav", {'z'}}});
  std::vector<uint8_t> badSecondMagic = good;
  badSecondMagic[8 + 12 + 5] ^= 1;
  std::vector<uint8_t> pathName = good;
  pathName[8 + 12 + 1] = '/';  // "a.bmp" becomes "a/bmp"
  std::vector<uint8_t> notCodePage932 = BuiltPack({{"a.bmp", {'x'}}, {"\xA0\xFF", {'z'}}});
  const struct {
    const char* what;
    std::vector<uint8_t> pack;
  } cases[] = {
      {"wrong pack magic", std::vector<uint8_t>(good.begin() + 1, good.end())},
      {"wrong second entry magic", badSecondMagic},
      {"last data cut", std::vector<uint8_t>(good.begin(), good.end() - 1)},
      {"name with a path", pathName},
      {"name not code page 932", notCodePage932},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CAssetPack pack;
    ASSERT_EQ(pack.ExtractFrom(good.data(), good.size()), 1);  // a damaged pack also drops the last one
    EXPECT_EQ(pack.ExtractFrom(c.pack.data(), c.pack.size()), 0);
    EXPECT_EQ(pack.FindPath("a.bmp"), nullptr);
    EXPECT_TRUE(Files().empty()) << Files().size() << " files left";
  }
}

TEST_F(AssetPackTest, NoTemporaryDirectoryFailsLikeADamagedPack) {
  SetTemp(dir_ + L"\\missing");
  EXPECT_EQ(CAssetPack::MakeTempFileName("mgr"), "");
  CAssetPack pack;
  EXPECT_EQ(pack.Extract(999), 0);
  EXPECT_EQ(pack.FindPath("bg.bmp"), nullptr);
  SetTemp(dir_);
  EXPECT_TRUE(Files().empty());
}

TEST_F(AssetPackTest, MakeTempFileNameGivesAFreeMgrPath) {
  const std::string path = CAssetPack::MakeTempFileName("mgr");
  ExpectTempFileName(path, Dir());
  EXPECT_EQ(GetFileAttributesW(WideFromUtf8(path.c_str()).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(Files().empty());
}

TEST_F(AssetPackTest, MissingResourceFails) {
  CAssetPack pack;
  EXPECT_EQ(pack.Extract(998), 0);
  EXPECT_TRUE(Files().empty());
}

}  // namespace
