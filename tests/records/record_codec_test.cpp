// The record codec: the "abc" example step by step, round trips, and every way a text is
// refused (changed digits, lower case, wrong lengths, short texts).
#include "records/record_codec.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes RandomBlock(std::mt19937& rng, size_t n) {
  Bytes block(n);
  for (uint8_t& b : block) b = static_cast<uint8_t>(rng());
  return block;
}

// Decodes with the length the text announces, as the record's loader does.
bool Decodes(const std::string& text, Bytes* out = nullptr) {
  size_t n = DecodedLength(text.c_str());
  Bytes dest(n ? n : 1, 0xEE);
  if (!DecodeRecord(text.c_str(), dest.data(), n)) return false;
  if (out) *out = dest;
  return true;
}

TEST(RecordCodec, AbcStepByStep) {
  const Bytes abc = {0x61, 0x62, 0x63};
  EXPECT_EQ(InsertChecksum(abc.data(), 3, 1), (Bytes{0x61, 0x26, 0x62, 0x63}));
  const Bytes rotated = {0x58, 0x31, 0x13, 0xC6};
  EXPECT_EQ(InsertChecksum(rotated.data(), 4, 0), (Bytes{0x58, 0x31, 0x13, 0x62, 0xC6}));

  // 58 31 13 62 C6 masked with 6B 94 6B 94 6B.
  std::string text = EncodeRecord(abc.data(), abc.size());
  EXPECT_EQ(text, "33A578F6AD");
  EXPECT_EQ(DecodedLength(text.c_str()), 3u);
  uint8_t back[3] = {};
  ASSERT_EQ(DecodeRecord(text.c_str(), back, 3), 1);
  EXPECT_EQ(Bytes(back, back + 3), abc);
}

// The encoding done the long way, one turn after the other: each byte in turn
// rotates every other byte left by its current low three bits.
std::string SlowEncode(const Bytes& block) {
  Bytes b = InsertChecksum(block.data(), block.size(), 1);
  for (size_t i = 0; i < b.size(); ++i) {
    unsigned k = b[i] & 7;
    for (size_t j = 0; j < b.size(); ++j)
      if (j != i && k) b[j] = static_cast<uint8_t>(b[j] << k | b[j] >> (8 - k));
  }
  Bytes c = InsertChecksum(b.data(), b.size(), 0);
  for (size_t i = 0; i < c.size(); ++i) c[i] ^= i % 2 ? 0x94 : 0x6B;
  return HexEncode(c.data(), c.size());
}

TEST(RecordCodec, RotationPassMatchesTurnByTurn) {
  std::mt19937 rng(42);
  for (size_t n = 2; n <= 364; n = n * 3 / 2 + 1) {
    for (int round = 0; round < 20; ++round) {
      Bytes block = RandomBlock(rng, n);
      EXPECT_EQ(EncodeRecord(block.data(), n), SlowEncode(block)) << "n " << n;
    }
  }
}

TEST(RecordCodec, HexEncodeIsUpperCaseHighNibbleFirst) {
  const uint8_t bytes[] = {0x00, 0x09, 0x0A, 0xF0, 0x5C, 0xFF};
  EXPECT_EQ(HexEncode(bytes, sizeof bytes), "00090AF05CFF");
  EXPECT_EQ(HexEncode(bytes, 0), "");
}

TEST(RecordCodec, HexDecodeFailures) {
  uint8_t dest[4] = {0x11, 0x22, 0x33, 0x44};
  // A pair count that does not fit writes nothing.
  EXPECT_THROW(HexDecode("0102", dest, 4), CodecError);
  EXPECT_THROW(HexDecode(nullptr, dest, 4), CodecError);
  EXPECT_EQ(dest[0], 0x11);
  // An odd last character is ignored.
  HexDecode("A1B2C3D4x", dest, 4);
  EXPECT_EQ(Bytes(dest, dest + 4), (Bytes{0xA1, 0xB2, 0xC3, 0xD4}));
  // A bad second digit leaves the pairs before it and the current high nibble.
  try {
    HexDecode("0102F.FF", dest, 4);
    FAIL() << "no error raised";
  } catch (const CodecError& e) {
    EXPECT_EQ(e.code, 1);
  }
  EXPECT_EQ(Bytes(dest, dest + 4), (Bytes{0x01, 0x02, 0xF0, 0xD4}));
  EXPECT_THROW(HexDecode("0a", dest, 1), CodecError);
  EXPECT_THROW(HexDecode("G0", dest, 1), CodecError);
}

TEST(RecordCodec, RemoveChecksumUndoesInsertAndRefusesAWrongSum) {
  const Bytes block = {0x10, 0x20, 0x30, 0xF5};
  for (int front : {0, 1}) {
    Bytes with = InsertChecksum(block.data(), block.size(), front);
    EXPECT_EQ(RemoveChecksum(with.data(), with.size(), front), block) << "front " << front;
    with[front ? 1 : with.size() - 2] ^= 1;
    EXPECT_THROW(RemoveChecksum(with.data(), with.size(), front), CodecError) << "front " << front;
  }
  const uint8_t one = 0;
  EXPECT_THROW(RemoveChecksum(&one, 1, 0), CodecError);
  EXPECT_THROW(RemoveChecksum(&one, 0, 1), CodecError);
}

TEST(RecordCodec, RandomBlocksOfManyLengthsRoundTrip) {
  std::mt19937 rng(20261210);
  for (size_t n = 2; n <= 400; n += (n < 40 ? 1 : 29)) {
    for (int round = 0; round < 4; ++round) {
      Bytes block = RandomBlock(rng, n);
      std::string text = EncodeRecord(block.data(), n);
      ASSERT_EQ(text.size(), 2 * n + 4) << "n " << n;
      EXPECT_EQ(text, EncodeRecord(block.data(), n)) << "not deterministic, n " << n;
      EXPECT_EQ(text.find_first_not_of("0123456789ABCDEF"), std::string::npos);
      Bytes back;
      ASSERT_TRUE(Decodes(text, &back)) << "n " << n;
      EXPECT_EQ(back, block) << "n " << n;
    }
  }
  // The record's own size.
  Bytes record = RandomBlock(rng, 364);
  std::string text = EncodeRecord(record.data(), record.size());
  EXPECT_EQ(text.size(), 732u);
  EXPECT_EQ(DecodedLength(text.c_str()), 364u);
}

TEST(RecordCodec, EverySingleDigitChangeIsRefused) {
  std::mt19937 rng(7);
  const char* digits = "0123456789ABCDEF";
  // Short blocks: every position, every other digit.
  for (size_t n : {2, 3, 5, 8, 26}) {
    Bytes block = RandomBlock(rng, n);
    const std::string text = EncodeRecord(block.data(), n);
    for (size_t at = 0; at < text.size(); ++at) {
      for (const char* d = digits; *d; ++d) {
        if (*d == text[at]) continue;
        std::string changed = text;
        changed[at] = *d;
        EXPECT_FALSE(Decodes(changed)) << "n " << n << " digit " << at << " -> " << *d;
      }
    }
  }
  // A whole record: every position, one other digit.
  Bytes record = RandomBlock(rng, 364);
  const std::string text = EncodeRecord(record.data(), record.size());
  for (size_t at = 0; at < text.size(); ++at) {
    std::string changed = text;
    changed[at] = digits[(std::strchr(digits, text[at]) - digits + 1 + at % 15) % 16];
    EXPECT_FALSE(Decodes(changed)) << "digit " << at;
  }
}

TEST(RecordCodec, DestinationUntouchedOnRefusal) {
  const Bytes block = {1, 2, 3, 4, 5};
  std::string text = EncodeRecord(block.data(), block.size());
  text[3] = text[3] == '0' ? '1' : '0';
  uint8_t dest[5] = {9, 9, 9, 9, 9};
  EXPECT_EQ(DecodeRecord(text.c_str(), dest, 5), 0);
  EXPECT_EQ(Bytes(dest, dest + 5), (Bytes{9, 9, 9, 9, 9}));
}

TEST(RecordCodec, LowerCaseIsRefused) {
  // A block whose text has letters in it, written in lower case.
  const Bytes block = {0xAB, 0xCD, 0xEF, 0x12};
  std::string text = EncodeRecord(block.data(), block.size());
  ASSERT_NE(text.find_first_of("ABCDEF"), std::string::npos);
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_FALSE(Decodes(text));
}

TEST(RecordCodec, AnOddTrailingCharacterIsIgnored) {
  const Bytes block = {0x61, 0x62, 0x63};
  Bytes back;
  for (const char* tail : {"0", "Z", "f"}) {
    ASSERT_TRUE(Decodes(EncodeRecord(block.data(), 3) + tail, &back)) << tail;
    EXPECT_EQ(back, block);
  }
  // Two extra characters are one pair too many.
  EXPECT_FALSE(Decodes(EncodeRecord(block.data(), 3) + "00"));
}

TEST(RecordCodec, ShortBlocksAndTexts) {
  const uint8_t one = 0x42;
  EXPECT_EQ(EncodeRecord(&one, 1), "");
  EXPECT_EQ(EncodeRecord(&one, 0), "");
  EXPECT_EQ(EncodeRecord(Bytes{1, 2}.data(), 2).size(), 8u);
  EXPECT_EQ(DecodedLength(""), 0u);
  EXPECT_EQ(DecodedLength(nullptr), 0u);
  EXPECT_EQ(DecodedLength("0011"), 0u);
  EXPECT_EQ(DecodedLength("00112"), 0u);
  EXPECT_EQ(DecodedLength("001122"), 1u);
  uint8_t dest[4] = {};
  EXPECT_EQ(DecodeRecord("", dest, 0), 0);
  EXPECT_EQ(DecodeRecord(nullptr, dest, 1), 0);
  // One or two pairs never decode, whatever is expected.
  for (const char* text : {"6B", "6B94", "6B945"})
    for (size_t expected : {0, 1, 2}) EXPECT_EQ(DecodeRecord(text, dest, expected), 0) << text;
  // The right text with a wrong expected count.
  std::string abc = EncodeRecord(reinterpret_cast<const uint8_t*>("abc"), 3);
  EXPECT_EQ(DecodeRecord(abc.c_str(), dest, 2), 0);
  EXPECT_EQ(DecodeRecord(abc.c_str(), dest, 4), 0);
  EXPECT_EQ(DecodeRecord(abc.c_str(), dest, 0), 0);
}

}  // namespace
