#include "site/submission.h"

#include <cstdio>
#include <vector>

#include "records/record_codec.h"

namespace site {

std::string GameScoreText(uint32_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%7.3f", static_cast<double>(ms) * 0.001);
  return text;
}

Submission CheckSubmission(const std::string& query) {
  Submission s;
  if (query.size() < 2 || query[0] != 'Z') {
    s.error = SubmissionError::kNoPayload;
    return s;
  }
  if (query.size() > kMaxQueryLength) {
    s.error = SubmissionError::kTooLong;
    return s;
  }
  // The codec reads a NUL-terminated text: a NUL inside would cut it short.
  if (query.find('\0') != std::string::npos) {
    s.error = SubmissionError::kUndecodable;
    return s;
  }
  const char* payload = query.c_str() + 1;
  size_t length = DecodedLength(payload);
  std::vector<uint8_t> block(length);
  if (length == 0 || !DecodeRecord(payload, block.data(), length)) {
    s.error = SubmissionError::kUndecodable;
    return s;
  }
  RankingEntry entry{};
  if (!ReadRankingBlock(block.data(), block.size(), &entry)) {
    s.error = SubmissionError::kMalformedBlock;
    return s;
  }
  if (entry.code != kGameCode) {
    s.error = SubmissionError::kWrongGame;
    return s;
  }
  if (entry.scoreText != GameScoreText(entry.scoreMs)) {
    s.error = SubmissionError::kTextMismatch;
    return s;
  }
  if (entry.scoreMs < kMinPlausibleMs || entry.scoreMs > kMaxPlausibleMs) {
    s.error = SubmissionError::kImplausibleTime;
    return s;
  }
  s.entry = entry;
  return s;
}

const char* SubmissionErrorMessage(SubmissionError error) {
  switch (error) {
    case SubmissionError::kNone: return "";
    case SubmissionError::kNoPayload:
      return "記録が送られていません。ゲームのハイスコア画面の「送信」ボタンから開いてください。";
    case SubmissionError::kTooLong: return "送られたデータが長すぎます。";
    case SubmissionError::kUndecodable:
      return "送られた記録が壊れています。ゲームの「送信」ボタンからもう一度送ってください。";
    case SubmissionError::kMalformedBlock: return "送られた記録の形式が正しくありません。";
    case SubmissionError::kWrongGame: return "このゲームの記録ではありません。";
    case SubmissionError::kTextMismatch: return "記録の表示とタイムが一致しません。";
    case SubmissionError::kImplausibleTime: return "ありえないタイムのため受け付けられません。";
  }
  return "";
}

}  // namespace site
