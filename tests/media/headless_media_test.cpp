// The headless stand-in as a renderer: object table rules, keyed copies into
// the back picture, flips, and saving pictures for golden frames.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/mg_host.h"
#include "media/bitmap_bytes.h"
#include "core/kl_file.h"
#include "media/bitmap_file.h"
#include "media/headless/headless_media.h"
#include "media/kl_media.h"
#include "support/fake_system.h"
#include "support/test_host.h"

namespace {

namespace fs = std::filesystem;

class HeadlessMedia : public ::testing::Test {
 protected:
  FakeSystem sys;
  TestHost host;
  fs::path dir;

  void SetUp() override {
    klSetSystem(&sys);
    SetMgHost(&host);
    headlessMediaReset();
    dir = fs::temp_directory_path() /
          ("rodeo-headless-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(dir);
    ASSERT_EQ(klDrawInit(400, 300, 8), 1);
  }
  void TearDown() override {
    klDrawRelease();
    fs::remove_all(dir);
    SetMgHost(nullptr);
    klSetSystem(nullptr);
  }

  std::string Write(const char* name, const std::vector<uint8_t>& bytes) {
    std::string path = (dir / name).string();
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    return path;
  }

  // A 6 x 4 sheet: index 0 in the corners, black at 12, colours elsewhere.
  std::string Sheet() {
    BitmapRecipe recipe{6, 4,
                    {0, 7, 7, 7, 7, 0,
                     12, 7, 8, 8, 7, 12,
                     12, 7, 8, 8, 7, 12,
                     0, 7, 7, 7, 7, 0},
                    {}};
    recipe.colours.resize(256, 0);
    recipe.colours[7] = 0xC86432;
    recipe.colours[8] = 0x00FF00;
    return Write("sheet.bmp", BitmapBytes(recipe));
  }
};

TEST_F(HeadlessMedia, KeyedCopyLeavesIndexZeroAndKeepsNearBlack) {
  int slot = klLoadObject(Sheet().c_str());
  ASSERT_EQ(slot, 1);
  const HeadlessPicture* picture = headlessObjectPicture(slot);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->At(1, 0), 0x01C86432u);
  EXPECT_EQ(picture->At(0, 1), 0x01010101u);  // black at 12: near-black, not the key

  klDrawBlt(100, 50, slot, 0, 0, 6, 4);
  const HeadlessPicture& back = headlessBackPicture();
  EXPECT_EQ(back.At(100, 50), 0u);  // key: the cleared back picture shows through
  EXPECT_EQ(back.At(101, 50), 0x01C86432u);
  EXPECT_EQ(back.At(102, 51), 0x0100FF00u);
  EXPECT_EQ(back.At(100, 51), 0x01010101u);
  EXPECT_EQ(back.At(106, 50), 0u);  // right of the sprite
  EXPECT_TRUE(headlessFlippedPicture().pixels.empty() || headlessFlippedPicture().At(101, 50) == 0);
  ASSERT_EQ(klDrawFlip(), 1);
  EXPECT_EQ(headlessFlippedPicture().At(101, 50), 0x01C86432u);
  klDrawClear();
  EXPECT_EQ(headlessBackPicture().At(101, 50), 0u);
  EXPECT_EQ(headlessFlippedPicture().At(101, 50), 0x01C86432u);  // until the next flip
}

TEST_F(HeadlessMedia, ClippedAndStretchedCopies) {
  int slot = klLoadObject(Sheet().c_str());
  klDrawBlt(-2, 298, slot, 0, 0, 6, 4);  // columns 2..5 of rows 0..1 at 0..3, 298..299
  const HeadlessPicture& back = headlessBackPicture();
  EXPECT_EQ(back.At(0, 298), 0x01C86432u);  // source (2, 0)
  EXPECT_EQ(back.At(0, 299), 0x0100FF00u);  // source (2, 1)
  EXPECT_EQ(back.At(3, 298), 0u);           // source (5, 0): key
  klDrawClear();
  klDrawStretchBlt(10, 10, slot, 1, 1, 5, 3, 8, 4);  // 4 x 2 doubled
  EXPECT_EQ(back.At(10, 10), 0x01C86432u);
  EXPECT_EQ(back.At(11, 11), 0x01C86432u);
  EXPECT_EQ(back.At(12, 10), 0x0100FF00u);
  EXPECT_EQ(back.At(15, 13), 0x0100FF00u);
  EXPECT_EQ(back.At(17, 13), 0x01C86432u);
  EXPECT_EQ(back.At(18, 10), 0u);
  klDrawClear();
  klDrawStretchBlt(390, 10, slot, 1, 1, 5, 3, 10, 2);  // reaches 400: column 398 is the last
  EXPECT_NE(back.At(398, 10), 0u);
  EXPECT_EQ(back.At(399, 10), 0u);
  klDrawClear();
  klDrawStretchBlt(200, 100, slot, 1, 1, 5, 3, -30, 20);  // inverted: nothing
  klDrawBlt(0, 0, slot, 0, 0, 7, 4);                      // source outside the picture: refused
  klDrawBlt(0, 0, 99, 0, 0, 6, 4);                        // empty slot
  for (uint32_t p : back.pixels) ASSERT_EQ(p, 0u);
  EXPECT_EQ(headlessMediaLog().blits.size(), 6u);  // every call is logged as made
}

TEST_F(HeadlessMedia, ObjectTableSlotsAndNames) {
  std::string sheet = Sheet();
  for (int i = 1; i <= 255; ++i) ASSERT_EQ(klLoadObject(sheet.c_str()), i);
  EXPECT_EQ(klLoadObject(sheet.c_str()), 0);
  ASSERT_EQ(sys.errors.size(), 1u);
  EXPECT_EQ(sys.errors[0], "klLoadObject : object table over flow");
  // Once an error has been raised the program is closing: loads do nothing more.
  EXPECT_EQ(klDrawSwapObject(sheet.c_str(), 3), 0);
  EXPECT_EQ(sys.errors.size(), 1u);

  // Each case below as the first error of a run.
  klFatalReset();
  EXPECT_EQ(klDrawSwapObject(std::string(259, 'a').c_str(), 3), 0);  // fits, but no such file
  EXPECT_EQ(sys.errors.back(), "klDrawSwapObject : can't read bitmap file");
  klFatalReset();
  EXPECT_EQ(klDrawSwapObject(std::string(260, 'a').c_str(), 3), 0);
  EXPECT_EQ(sys.errors.back(), "klDrawSwapObject : too long object name");
  klFatalReset();
  EXPECT_EQ(klDrawSwapObject(sheet.c_str(), 3), 1);
  EXPECT_EQ(klDrawSwapObject(sheet.c_str(), 256), 0);  // no such slot: nothing written
}

TEST_F(HeadlessMedia, LoadFailuresAreFatalWithTheirTexts) {
  std::vector<uint8_t> fourBit = BitmapBytes({4, 2, {}, {}});
  PutLe(fourBit, 28, 4, 2);
  const std::pair<std::string, const char*> cases[] = {
      {std::string(260, 'x'), "klLoadObject : too long object name"},
      {(dir / "missing.bmp").string(), "klLoadObject : can't read bitmap file"},
      {Write("four.bmp", fourBit), "klLoadObject : can't read bitmap file"},
  };
  for (const auto& c : cases) {
    klFatalReset();  // each as the first error of a run
    EXPECT_EQ(klLoadObject(c.first.c_str()), 0) << c.second;
    EXPECT_EQ(sys.errors.back(), c.second);
  }
}

TEST_F(HeadlessMedia, ReleaseAndRecoveryReloadByName) {
  int slot = klLoadObject(Sheet().c_str());
  klDrawSetPalette("bg.bmp");
  klDrawRelease();
  EXPECT_EQ(headlessObjectPicture(slot), nullptr);
  EXPECT_EQ(klDrawFlip(), 0);
  klDrawLost();
  EXPECT_EQ(klDrawFlip(), 1);  // lost: nothing to do, not a failure
  EXPECT_EQ(klDrawReloadObject(slot), 1);
  EXPECT_EQ(headlessObjectPicture(slot), nullptr);
  displayLost = 0;
  klDrawInit(400, 300, 8);
  EXPECT_EQ(klDrawReloadObject(slot), 1);
  EXPECT_NE(headlessObjectPicture(slot), nullptr);
  EXPECT_EQ(headlessPaletteFile(), "bg.bmp");  // kept for the recovery's klDrawRestorePalette
}

TEST_F(HeadlessMedia, ToGdiBeforeInitDoesNothing) {
  klDrawRelease();
  headlessMediaReset();
  klDrawToGDI();
  EXPECT_EQ(headlessMediaLog().flips, 0);
  EXPECT_TRUE(sys.errors.empty());
}

TEST_F(HeadlessMedia, SavedPicturesReadBack) {
  klDrawBlt(0, 0, klLoadObject(Sheet().c_str()), 0, 0, 6, 4);
  klDrawFlip();
  std::string bmp = (dir / "frame.bmp").string();
  ASSERT_TRUE(headlessSavePicture(headlessFlippedPicture(), bmp.c_str()));
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(klReadWholeFile(bmp.c_str(), &bytes));
  EXPECT_EQ(bytes.size(), 54u + 400 * 3 * 300);
  EXPECT_EQ(bytes[54 + 299 * 1200 + 3], 0x32);  // top row, pixel 1: blue first
#ifndef _WIN32
  std::string png = (dir / "frame.png").string();
  ASSERT_TRUE(headlessSavePicture(headlessFlippedPicture(), png.c_str()));
  HeadlessPicture read;
  ASSERT_TRUE(headlessLoadPicture(png.c_str(), &read));
  ASSERT_EQ(read.width, 400);
  ASSERT_EQ(read.height, 300);
  for (size_t i = 0; i < read.pixels.size(); ++i)
    ASSERT_EQ(read.pixels[i], headlessFlippedPicture().pixels[i] & 0xFFFFFFu) << i;
#endif
}

}  // namespace

#include "media/reference_scene.h"

namespace {

TEST_F(HeadlessMedia, DrawsTheReferenceScene) {
  int slot = klLoadObject(Write("scene.bmp", BitmapBytes(SceneSheet())).c_str());
  for (const SceneCall& c : SceneCalls()) {
    if (c.stretched) {
      klDrawStretchBlt(c.x, c.y, slot, c.left, c.top, c.right, c.bottom, c.width, c.height);
    } else {
      klDrawBlt(c.x, c.y, slot, c.left, c.top, c.right, c.bottom);
    }
  }
  HeadlessPicture expected = RenderReference(BitmapBytes(SceneSheet()));
  EXPECT_EQ(headlessBackPicture().pixels, expected.pixels);
}

}  // namespace
