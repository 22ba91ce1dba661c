// The DirectDraw library under Wine at the X depth the runner was given: the
// device and object table, pictures converted to the display's depth (read back
// from the surfaces), the sprite primitives against the software reference, the
// flipped picture read back from the window, the GDI path and the 8-bit palette.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "media/ddraw/dd_media.h"
#include "media/reference_scene.h"
#include "media/ddraw_test_window.h"

namespace {

namespace fs = std::filesystem;

class DirectDrawMedia : public ::testing::Test {
 protected:
  QuietWin32System sys;
  TestHost host;
  fs::path dir;

  void SetUp() override {
    klSetSystem(&sys);
    host.view = TestViewWindow();
    SetMgHost(&host);
    klEngineWindow = host.view;
    PumpMessages();
    dir = fs::temp_directory_path() /
          ("rodeo-dd-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(dir);
    klFatalReset();
    ASSERT_EQ(klDrawInit(400, 300, 8), 1);
    for (klObject& o : klObjects) o = klObject{};  // a fresh table for each test
  }
  void TearDown() override {
    klDrawRelease();
    for (klObject& o : klObjects) o = klObject{};
    displayLost = 0;
    fs::remove_all(dir);
    SetMgHost(nullptr);
    klSetSystem(nullptr);
  }

  std::string Write(const char* name, const std::vector<uint8_t>& bytes) {
    std::string path = (dir / name).string();
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    return path;
  }

  // The pixels of a surface as 32-bit values, whatever its depth.
  static std::vector<uint32_t> ReadSurface(IDirectDrawSurface* surface, int* width, int* height) {
    DDSURFACEDESC sd{};
    sd.dwSize = sizeof sd;
    std::vector<uint32_t> out;
    if (FAILED(surface->Lock(nullptr, &sd, DDLOCK_WAIT | DDLOCK_READONLY, nullptr))) return out;
    int bytes = static_cast<int>(sd.ddpfPixelFormat.dwRGBBitCount / 8);
    *width = static_cast<int>(sd.dwWidth);
    *height = static_cast<int>(sd.dwHeight);
    for (int y = 0; y < *height; ++y) {
      const uint8_t* row = static_cast<const uint8_t*>(sd.lpSurface) + y * sd.lPitch;
      for (int x = 0; x < *width; ++x) {
        uint32_t p = 0;
        for (int k = 0; k < bytes; ++k) p |= uint32_t{row[x * bytes + k]} << (8 * k);
        out.push_back(p);
      }
    }
    surface->Unlock(nullptr);
    return out;
  }

  // The window's client area as 0xRRGGBB, through GDI.
  static std::vector<uint32_t> ReadWindow(HWND window) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 400;
    bi.bmiHeader.biHeight = -300;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(window);
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, 400, 300, screen, 0, 0, SRCCOPY);
    GdiFlush();
    std::vector<uint32_t> out(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + 400 * 300);
    for (uint32_t& p : out) p &= 0xFFFFFFu;
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(dib);
    ReleaseDC(window, screen);
    return out;
  }

  // The display pixel of each index of a sheet, as the library converts it.
  static void DisplayTable(const std::vector<uint8_t>& sheet, uint32_t table[256]) {
    KlBitmapFile file;
    klParseBitmap(sheet.data(), sheet.size(), &file);
    klDrawPixelFormat format{};
    if (colourDepth == 16) {
      IDirectDrawSurface* probe = klCreatePlainSurface(1, 1);
      klDrawGetPixelFormat(probe, &format);
      probe->Release();
    }
    klBuildPixelTable(colourDepth, file.colourTable, format, table);
  }
};

TEST_F(DirectDrawMedia, DeviceAtTheDesktopDepth) {
  EXPECT_EQ(colourDepth, ExpectedDepth());
  ASSERT_NE(klBackSurface, nullptr);
  DDSURFACEDESC sd{};
  sd.dwSize = sizeof sd;
  ASSERT_EQ(klBackSurface->GetSurfaceDesc(&sd), DD_OK);
  EXPECT_EQ(sd.dwWidth, 400u);
  EXPECT_EQ(sd.dwHeight, 300u);
  EXPECT_EQ(static_cast<int>(sd.ddpfPixelFormat.dwRGBBitCount), ExpectedDepth());
  EXPECT_EQ(klDrawFlip(), 1);
  klDrawLost();
  EXPECT_EQ(klDrawFlip(), 1);  // while lost: nothing, and not a failure
  displayLost = 0;
  klDrawRelease();
  EXPECT_EQ(klDrawFlip(), 0);
  klDrawToGDI();  // nothing to draw with: does nothing and does not fail
  EXPECT_TRUE(sys.errors.empty());
}

TEST_F(DirectDrawMedia, ObjectTableSlotsNamesAndFailureTexts) {
  BitmapRecipe small{4, 2, {}, {}};
  std::string sheet = Write("small.bmp", BitmapBytes(small));
  for (int i = 1; i <= 255; ++i) ASSERT_EQ(klLoadObject(sheet.c_str()), i);
  EXPECT_EQ(klLoadObject(sheet.c_str()), 0);
  klFatalReset();  // each failure below as the first error of a run
  EXPECT_EQ(klLoadObject(std::string(260, 'n').c_str()), 0);
  klObjects[9] = klObject{};
  klFatalReset();
  EXPECT_EQ(klLoadObject((dir / "missing.bmp").string().c_str()), 0);
  EXPECT_EQ(klObjects[9].surface, nullptr);
  EXPECT_STREQ(klObjects[9].name, (dir / "missing.bmp").string().c_str());  // taken, without a picture
  klFatalReset();
  EXPECT_EQ(klDrawSwapObject(std::string(260, 'n').c_str(), 3), 0);
  klFatalReset();
  EXPECT_EQ(klDrawSwapObject((dir / "missing.bmp").string().c_str(), 3), 0);
  const std::vector<std::string> texts = {
      "klLoadObject : object table over flow", "klLoadObject : too long object name",
      "klLoadObject : can't read bitmap file", "klDrawSwapObject : too long object name",
      "klDrawSwapObject : can't read bitmap file"};
  EXPECT_EQ(sys.errors, texts);
  // A name the pack lacks comes as null: the loads fail as for a missing file.
  klFatalReset();
  EXPECT_EQ(klLoadObject(nullptr), 0);
  EXPECT_EQ(sys.errors.back(), "klLoadObject : can't read bitmap file");
  klFatalReset();
  EXPECT_EQ(klDrawSwapObject(nullptr, 3), 0);
  EXPECT_EQ(sys.errors.back(), "klDrawSwapObject : can't read bitmap file");
  EXPECT_EQ(klDrawSetPalette(nullptr), 0);
  klFatalReset();
  std::string longName = (dir / (std::string(259 - dir.string().size() - 1, 'x'))).string();
  ASSERT_EQ(longName.size(), 259u);
  ASSERT_TRUE(WriteFileBytes(longName, BitmapBytes(small)));
  EXPECT_EQ(klDrawSwapObject(longName.c_str(), 4), 1);
  EXPECT_NE(klObjects[4].surface, nullptr);
}

TEST_F(DirectDrawMedia, PicturesAtTheDisplayDepthWithTheirKey) {
  // 7: (200, 100, 50); 12: black; 20: red 255; 21: red 240; a 5-wide, padded picture.
  BitmapRecipe recipe{5, 2, {0, 7, 12, 20, 21, 21, 20, 12, 7, 0}, std::vector<uint32_t>(256)};
  recipe.colours[7] = 0xC86432;
  recipe.colours[20] = 0xFF0000;
  recipe.colours[21] = 0xF00000;
  int slot = klLoadObject(Write("worked.bmp", BitmapBytes(recipe)).c_str());
  ASSERT_EQ(slot, 1);
  int w = 0, h = 0;
  std::vector<uint32_t> got = ReadSurface(klObjects[slot].surface, &w, &h);
  ASSERT_EQ(w, 5);
  ASSERT_EQ(h, 2);
  std::vector<uint32_t> expected;
  switch (colourDepth) {
    case 32: expected = {0, 0x01C86432, 0x01010101, 0x01FF0000, 0x01F00000}; break;
    case 16: expected = {0, 0xD367, 0x0841, 0xF841, 0xF841}; break;  // 5-6-5
    case 8: expected = {0, 7, 12, 20, 21}; break;
  }
  for (int j = 0; j < 5; ++j) EXPECT_EQ(got[j], expected[j]) << "pixel " << j << " at " << int(colourDepth);
  EXPECT_EQ(got[5], expected[4]);  // second row starts with index 21
  DDCOLORKEY key{1, 1};
  ASSERT_EQ(klObjects[slot].surface->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  EXPECT_EQ(key.dwColorSpaceLowValue, 0u);
  EXPECT_EQ(key.dwColorSpaceHighValue, 0u);
  EXPECT_EQ(klObjects[slot].colourKey, 0u);
}

TEST_F(DirectDrawMedia, SceneMatchesTheSoftwareReferenceAndReachesTheWindow) {
  std::vector<uint8_t> sheet = BitmapBytes(SceneSheet());
  int slot = klLoadObject(Write("scene.bmp", sheet).c_str());
  ASSERT_EQ(slot, 1);
  for (const SceneCall& c : SceneCalls()) {
    if (c.stretched) {
      klDrawStretchBlt(c.x, c.y, slot, c.left, c.top, c.right, c.bottom, c.width, c.height);
    } else {
      klDrawBlt(c.x, c.y, slot, c.left, c.top, c.right, c.bottom);
    }
  }
  // Map the display's pixels back to 32-bit ones through the index they came from.
  uint32_t display[256], full[256];
  DisplayTable(sheet, display);
  KlBitmapFile file;
  klParseBitmap(sheet.data(), sheet.size(), &file);
  klBuildPixelTable(32, file.colourTable, klDrawPixelFormat{}, full);
  int w = 0, h = 0;
  std::vector<uint32_t> back = ReadSurface(klBackSurface, &w, &h);
  ASSERT_EQ(back.size(), 400u * 300u);
  HeadlessPicture expected = RenderReference(sheet);
  int wrong = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x) {
      uint32_t want = expected.At(x, y), p = back[y * 400 + x], as32 = 0xDEADBEEF;
      for (int i = 0; i < 256; ++i)
        if (display[i] == p) as32 = full[i];
      if (as32 != want && ++wrong <= 10)
        ADD_FAILURE() << "back (" << x << "," << y << "): got " << std::hex << p << " (" << as32
                      << "), expected " << want;
    }
  EXPECT_EQ(wrong, 0);

  ASSERT_EQ(klDrawFlip(), 1);
  PumpMessages();
  std::vector<uint32_t> shown = ReadWindow(TestViewWindow());
  wrong = 0;
  for (int i = 0; i < 400 * 300 && colourDepth != 8; ++i) {
    uint32_t want = expected.pixels[i] & 0xFFFFFF, got = shown[i];
    if (colourDepth == 16) {  // compare the bits the display keeps
      want = display[0] == back[i] ? 0 : back[i];
      got = ((got >> 19) & 31) << 11 | ((got >> 10) & 63) << 5 | ((got >> 3) & 31);
    }
    if (got != want && ++wrong <= 10)
      ADD_FAILURE() << "window " << i % 400 << "," << i / 400 << ": got " << std::hex << got << ", expected " << want;
  }
  EXPECT_EQ(wrong, 0);
  if (const char* hold = std::getenv("RODEO_HOLD_MS")) Sleep(static_cast<DWORD>(std::atoi(hold)));
}

TEST_F(DirectDrawMedia, ImageToolSheetWithPaddedRows) {
  // An 8-bit file written by ImageMagick from the cow sheet, 215 wide.
  std::string path = std::string(RODEO_SOURCE_DIR) + "/tests/media/fixtures/cow_frame_215.bmp";
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(klReadWholeFile(path.c_str(), &bytes));
  KlBitmapFile file;
  ASSERT_TRUE(klParseBitmap(bytes.data(), bytes.size(), &file));
  int slot = klLoadObject(path.c_str());
  ASSERT_EQ(slot, 1);
  EXPECT_EQ(klObjects[slot].colourKey, 0u);  // the 8-bit reader took it, not GDI
  uint32_t display[256];
  DisplayTable(bytes, display);
  int w = 0, h = 0;
  std::vector<uint32_t> got = ReadSurface(klObjects[slot].surface, &w, &h);
  ASSERT_EQ(w, 215);
  ASSERT_EQ(h, 195);
  int wrong = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (got[y * w + x] != display[file.Row(y)[x]] && ++wrong <= 5)
        ADD_FAILURE() << x << "," << y << ": got " << std::hex << got[y * w + x] << ", expected "
                      << display[file.Row(y)[x]];
  EXPECT_EQ(wrong, 0);
  klDrawClear();
  klDrawBlt(92, 52, slot, 0, 0, 215, 195);
  klDrawFlip();
  PumpMessages();
  if (const char* hold = std::getenv("RODEO_HOLD_MS")) Sleep(static_cast<DWORD>(std::atoi(hold)));
}

// A 2 x 2 24-bit file, which the 8-bit reader refuses: magenta at the left, a
// colour at the right.
std::vector<uint8_t> TrueColourBitmap() {
  std::vector<uint8_t> b(54 + 8 * 2, 0);
  PutLe(b, 0, 0x4D42, 2);
  PutLe(b, 2, static_cast<uint32_t>(b.size()), 4);
  PutLe(b, 10, 54, 4);
  PutLe(b, 14, 40, 4);
  PutLe(b, 18, 2, 4);
  PutLe(b, 22, 2, 4);
  PutLe(b, 26, 1, 2);
  PutLe(b, 28, 24, 2);
  for (int row = 0; row < 2; ++row) {
    uint8_t* p = &b[54 + row * 8];
    p[0] = 255, p[1] = 0, p[2] = 255;  // magenta (blue, green, red)
    p[3] = 40, p[4] = 160, p[5] = 80;
  }
  return b;
}

TEST_F(DirectDrawMedia, RefusedFilesGoTheGdiPathKeyedWithMagenta) {
  int slot = klLoadObject(Write("true.bmp", TrueColourBitmap()).c_str());
  ASSERT_EQ(slot, 1);
  EXPECT_EQ(klObjects[slot].colourKey, KL_MAGENTA);
  ASSERT_NE(klObjects[slot].surface, nullptr);
  klDrawClear();
  klDrawBlt(0, 0, slot, 0, 0, 2, 2);
  int w = 0, h = 0;
  std::vector<uint32_t> back = ReadSurface(klBackSurface, &w, &h);
  EXPECT_EQ(back[0], 0u) << "magenta is the key";
  EXPECT_NE(back[1], 0u);
  if (colourDepth == 32) {
    EXPECT_EQ(back[1] & 0xFFFFFF, 0x50A028u);
  }
  EXPECT_TRUE(sys.errors.empty());
}

TEST_F(DirectDrawMedia, FilesInAFolderWithAJapaneseNameLoadByBothPaths) {
  // Paths are UTF-8 (a user's temporary folder may well have a Japanese name).
  fs::path folder = dir / fs::u8path("ポムル");
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << "error " << GetLastError();
  std::vector<uint8_t> sheet;
  ASSERT_TRUE(klReadWholeFile(RODEO_SOURCE_DIR "/assets/out/pack/parts.bmp", &sheet));
  const std::string sheetPath = (folder / "parts.bmp").u8string();
  const std::string truePath = (folder / "true.bmp").u8string();
  const std::vector<uint8_t> trueColour = TrueColourBitmap();
  std::ofstream(folder / "parts.bmp", std::ios::binary).write(reinterpret_cast<const char*>(sheet.data()), sheet.size());
  std::ofstream(folder / "true.bmp", std::ios::binary)
      .write(reinterpret_cast<const char*>(trueColour.data()), trueColour.size());
  ASSERT_TRUE(fs::exists(folder / "true.bmp"));
  EXPECT_EQ(klLoadObject(sheetPath.c_str()), 1);
  EXPECT_EQ(klObjects[1].colourKey, 0u);
  EXPECT_EQ(klLoadObject(truePath.c_str()), 2);
  EXPECT_EQ(klObjects[2].colourKey, KL_MAGENTA);
  EXPECT_TRUE(sys.errors.empty()) << sys.errors[0];
}

TEST_F(DirectDrawMedia, PaletteMapsPictureIndicesToTheFilesColours) {
  std::string bg = std::string(RODEO_SOURCE_DIR) + "/assets/out/pack/bg.bmp";
  ASSERT_EQ(klDrawSetPalette(bg.c_str()), 1);
  EXPECT_EQ(klPaletteFile, bg);
  if (colourDepth != 8) {
    EXPECT_EQ(klEnginePalette, nullptr);  // no palette needed: colours are per pixel
    return;
  }
  ASSERT_NE(klEnginePalette, nullptr);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(klReadWholeFile(bg.c_str(), &bytes));
  const uint8_t* table = bytes.data() + KL_BITMAP_TABLE_OFFSET;
  PALETTEENTRY engine[256], system[256];
  ASSERT_EQ(GetPaletteEntries(klEnginePalette, 0, 256, engine), 256u);
  HDC screen = GetDC(nullptr);
  GetSystemPaletteEntries(screen, 0, 256, system);
  ReleaseDC(nullptr, screen);
  for (int i = 10; i <= 245; ++i) {
    uint32_t file = table[4 * i + 2] << 16 | table[4 * i + 1] << 8 | table[4 * i];
    EXPECT_EQ(uint32_t(engine[i].peRed << 16 | engine[i].peGreen << 8 | engine[i].peBlue), file) << i;
    EXPECT_EQ(uint32_t(system[i].peRed << 16 | system[i].peGreen << 8 | system[i].peBlue), file)
        << "system entry " << i;
  }
  // A strip of every index drawn and read back from the window.
  BitmapRecipe strip{256, 1, {}, {}};
  for (int i = 0; i < 256; ++i) strip.indices.push_back(static_cast<uint8_t>(i));
  std::vector<uint8_t> stripBytes = BitmapBytes(strip);
  std::copy(table, table + KL_BITMAP_TABLE_BYTES, stripBytes.begin() + KL_BITMAP_TABLE_OFFSET);
  int slot = klLoadObject(Write("strip.bmp", stripBytes).c_str());
  klDrawClear();
  klDrawStretchBlt(0, 0, slot, 0, 0, 256, 1, 256, 40);
  klDrawFlip();
  PumpMessages();
  // The primary surface carries the same mapping for Wine's windowed primary.
  IDirectDrawPalette* front = nullptr;
  ASSERT_EQ(klFrontSurface->GetPalette(&front), DD_OK);
  PALETTEENTRY attached[256];
  front->GetEntries(0, 0, 256, attached);
  front->Release();
  // What Wine makes of it (README, "8-bit displays"; tools/palette_probe shows the
  // same with no code of ours): a window's pixels go into Wine's own 8-bit window
  // picture, whose colour table is fixed, the twenty static colours around a
  // 3-3-2 cube, whatever palette is realised. Every colour drawn there becomes the
  // nearest entry of that table, which is what GDI reads back; the X server then
  // shows each entry as its nearest static colour, so at 8 bits Wine shows the view
  // in at most twenty colours (the probe's X pictures: 256 of 256 cells so). Checked
  // here: every index reaches the window as the table entry nearest its file colour.
  auto windowTable = [&](int k) -> uint32_t {
    if (k < 10 || k >= 246) return uint32_t(system[k].peRed << 16 | system[k].peGreen << 8 | system[k].peBlue);
    return uint32_t((k & 0x07) << 5) << 16 | uint32_t((k & 0x38) << 2) << 8 | uint32_t(k & 0xC0);
  };
  auto distance = [](uint32_t a, uint32_t b) {
    int d = 0;
    for (int shift : {0, 8, 16}) {
      int c = int((a >> shift) & 255) - int((b >> shift) & 255);
      d += c * c;
    }
    return d;
  };
  std::vector<uint32_t> shown = ReadWindow(TestViewWindow());
  for (int i = 10; i <= 245; ++i) {
    uint32_t file = table[4 * i + 2] << 16 | table[4 * i + 1] << 8 | table[4 * i];
    EXPECT_EQ(uint32_t(attached[i].peRed << 16 | attached[i].peGreen << 8 | attached[i].peBlue), file) << i;
    int best = 0;
    for (int k = 1; k < 256; ++k)
      if (distance(windowTable(k), file) < distance(windowTable(best), file)) best = k;
    EXPECT_EQ(shown[10 * 400 + i], windowTable(best))
        << std::hex << "index " << std::dec << i << ", file colour " << std::hex << file;
  }
  if (const char* hold = std::getenv("RODEO_HOLD_MS")) Sleep(static_cast<DWORD>(std::atoi(hold)));
}

}  // namespace
