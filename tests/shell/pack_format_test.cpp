// Reading the asset pack: well-formed packs, every way a header can lie about the
// pack's size, unsafe names, and the pack the build embeds in rodeo.exe.
#include "shell/pack_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

// Pack bytes laid out by hand, independently of BuildPack.
struct Bytes {
  std::vector<uint8_t> b;
  Bytes& U32(uint32_t v) {
    for (int s = 0; s < 32; s += 8) b.push_back(static_cast<uint8_t>(v >> s));
    return *this;
  }
  Bytes& Text(const std::string& t) {
    b.insert(b.end(), t.begin(), t.end());
    return *this;
  }
  Bytes& Entry(const std::string& name, uint32_t size, uint32_t magic = kPackEntryMagic) {
    return U32(magic).U32(static_cast<uint32_t>(name.size())).U32(size).Text(name);
  }
  Bytes& Cut(size_t n) {
    b.resize(b.size() - n);
    return *this;
  }
};

Bytes Pack(uint32_t count) { return Bytes().U32(kPackMagic).U32(count); }

Bytes TwoEntries() {
  return Pack(2).Entry("READY.WAV", 3).Entry("bg.bmp", 5).Text("abc").Text("defgh");
}

struct Expected {
  std::string name;
  size_t offset;
  uint32_t size;
};

struct PackCase {
  const char* what;
  Bytes pack;
  PackError error;
  std::vector<Expected> entries;  // when the pack reads
};

std::vector<PackCase> Cases() {
  const size_t twoData = 8 + (12 + 9) + (12 + 6);
  return {
      {"two entries, data ending exactly at the end", TwoEntries(), PackError::kNone,
       {{"READY.WAV", twoData, 3}, {"bg.bmp", twoData + 3, 5}}},
      {"bytes after the last data are left alone", TwoEntries().Text("tail"), PackError::kNone,
       {{"READY.WAV", twoData, 3}, {"bg.bmp", twoData + 3, 5}}},
      {"count 0", Pack(0), PackError::kNone, {}},
      {"empty entry data", Pack(1).Entry("a", 0), PackError::kNone, {{"a", 21, 0}}},
      {"names differing only in case are both kept",
       Pack(2).Entry("Bgm.wav", 1).Entry("BGM.WAV", 1).Text("xy"), PackError::kNone,
       {{"Bgm.wav", 46, 1}, {"BGM.WAV", 47, 1}}},
      {"double-byte name whose second byte is 0x5C", Pack(1).Entry("\x83\x5C.bmp", 1).Text("z"),
       PackError::kNone, {{"\x83\x5C.bmp", 26, 1}}},

      {"empty input", Bytes(), PackError::kTruncatedHeader, {}},
      {"magic cut", Bytes().U32(kPackMagic).Cut(1), PackError::kTruncatedHeader, {}},
      {"no count", Bytes().U32(kPackMagic), PackError::kTruncatedHeader, {}},
      {"wrong pack magic", Bytes().U32(kPackMagic + 1).U32(0), PackError::kBadPackMagic, {}},
      {"pack magic byte-swapped", Bytes().U32(0x22905454).U32(0), PackError::kBadPackMagic, {}},
      {"count with no headers", Pack(1), PackError::kTruncatedHeader, {}},
      {"count far past the pack", Pack(0xFFFFFFFF).Entry("a", 0), PackError::kTruncatedHeader, {}},
      {"count one more than the headers", Pack(3).Entry("a", 0).Entry("b", 0).Text("0123456789a"),
       PackError::kTruncatedHeader, {}},
      {"entry header cut", Pack(1).Entry("a", 0).Cut(6), PackError::kTruncatedHeader, {}},
      {"name cut", Pack(1).Entry("READY.WAV", 0).Cut(1), PackError::kTruncatedHeader, {}},
      {"name length past the end", Pack(1).U32(kPackEntryMagic).U32(0xFFFFFFFF).U32(0).Text("abc"),
       PackError::kTruncatedHeader, {}},
      {"wrong first entry magic", Pack(1).Entry("a", 1, 0x98982134).Text("x"), PackError::kBadEntryMagic, {}},
      {"wrong second entry magic", Pack(2).Entry("a", 1).Entry("b", 1, kPackMagic).Text("xy"),
       PackError::kBadEntryMagic, {}},
      {"data cut by one byte", TwoEntries().Cut(1), PackError::kDataPastEnd, {}},
      {"data size 0xFFFFFFFF", Pack(1).Entry("a", 0xFFFFFFFF).Text("x"), PackError::kDataPastEnd, {}},
      {"sizes whose sum wraps 32 bits", Pack(2).Entry("a", 0x80000000).Entry("b", 0x80000000).Text("x"),
       PackError::kDataPastEnd, {}},
      {"second data past the end", Pack(2).Entry("a", 1).Entry("b", 2).Text("xy"),
       PackError::kDataPastEnd, {}},

      {"empty name", Pack(1).Entry("", 0), PackError::kBadName, {}},
      {"name \".\"", Pack(1).Entry(".", 0), PackError::kBadName, {}},
      {"name \"..\"", Pack(1).Entry("..", 0), PackError::kBadName, {}},
      {"slash", Pack(1).Entry("../bg.bmp", 0), PackError::kBadName, {}},
      {"backslash", Pack(1).Entry("..\\bg.bmp", 0), PackError::kBadName, {}},
      {"drive colon", Pack(1).Entry("C:bg.bmp", 0), PackError::kBadName, {}},
      {"control byte", Pack(1).Entry("bg\n.bmp", 0), PackError::kBadName, {}},
      {"NUL inside", Pack(1).Entry(std::string("bg\0.bmp", 7), 0), PackError::kBadName, {}},
      {"lead byte at the end", Pack(1).Entry("bg\x83", 0), PackError::kBadName, {}},
      {"lead byte before a slash", Pack(1).Entry("\x83/x", 0), PackError::kBadName, {}},
  };
}

TEST(PackFormat, ReadsWellFormedPacksAndRefusesDamagedOnes) {
  for (const PackCase& c : Cases()) {
    SCOPED_TRACE(c.what);
    std::vector<PackEntry> entries{{"stale", 0, 0}};
    const PackError error = ParsePack(c.pack.b.data(), c.pack.b.size(), &entries);
    EXPECT_EQ(error, c.error) << "got \"" << PackErrorText(error) << "\", expected \""
                              << PackErrorText(c.error) << "\"";
    ASSERT_EQ(entries.size(), c.entries.size());  // a damaged pack yields nothing
    for (size_t i = 0; i < entries.size(); ++i) {
      EXPECT_EQ(entries[i].name, c.entries[i].name);
      EXPECT_EQ(entries[i].offset, c.entries[i].offset);
      EXPECT_EQ(entries[i].size, c.entries[i].size);
    }
  }
}

TEST(PackFormat, BuildPackLaysOutWhatParsePackReads) {
  std::vector<uint8_t> built;
  ASSERT_TRUE(BuildPack({{"READY.WAV", {'a', 'b', 'c'}}, {"bg.bmp", {'d', 'e', 'f', 'g', 'h'}}}, &built));
  EXPECT_EQ(built, TwoEntries().b);

  ASSERT_TRUE(BuildPack({}, &built));
  EXPECT_EQ(built, Pack(0).b);

  for (const char* unsafe : {"", "..", "a/b", "a\\b"}) {
    EXPECT_FALSE(BuildPack({{unsafe, {}}}, &built)) << unsafe;
  }
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The pack the build embeds: the nine files of assets/out/pack, in the game's order,
// each unchanged, the last one ending the pack.
TEST(PackFormat, BuiltPackHoldsTheGameAssetsInOrder) {
  const std::vector<uint8_t> pack = ReadFile(RODEO_PACK_FILE);
  ASSERT_FALSE(pack.empty()) << RODEO_PACK_FILE;
  std::vector<PackEntry> entries;
  ASSERT_EQ(ParsePack(pack.data(), pack.size(), &entries), PackError::kNone);

  const char* const names[] = {"READY.WAV", "GO.WAV", "PU.WAV", "bg.bmp", "cow.bmp",
                               "parts.bmp", "cow1.wav", "pomul.bmp", "Bgm.wav"};
  ASSERT_EQ(entries.size(), std::size(names));
  for (size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE(names[i]);
    EXPECT_EQ(entries[i].name, names[i]);
    const std::vector<uint8_t> file = ReadFile(std::string(RODEO_SOURCE_DIR "/assets/out/pack/") + names[i]);
    ASSERT_FALSE(file.empty());
    ASSERT_EQ(entries[i].size, file.size());
    EXPECT_TRUE(std::equal(file.begin(), file.end(), pack.begin() + static_cast<long>(entries[i].offset)));
  }
  EXPECT_EQ(entries.back().offset + entries.back().size, pack.size());
}

}  // namespace
