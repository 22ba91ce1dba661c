// A submission is the query of the ranking address as the game builds it: the
// letter Z and the encoded ranking block. It is accepted only when it decodes
// cleanly, comes from this game, carries the score text the game prints for its
// milliseconds, and the time is one a ride can take.
#pragma once

#include <cstdint>
#include <string>

#include "records/ranking_block.h"

namespace site {

constexpr char kGameCode[] = "QM100";

// A ride lasts at least a couple of 16 ms engine steps; below 1000 s the game's
// text is exactly seven characters, and far beyond that the cow bucks faster than
// anyone can click.
constexpr uint32_t kMinPlausibleMs = 30;
constexpr uint32_t kMaxPlausibleMs = 999999;

// Longer queries are refused before decoding: the game's block is 26 bytes, 56 digits.
constexpr size_t kMaxQueryLength = 200;

enum class SubmissionError {
  kNone,
  kNoPayload,        // no query, or not starting with Z
  kTooLong,
  kUndecodable,      // bad digit, checksum mismatch, wrong length
  kMalformedBlock,   // decodes, but the lengths inside do not describe it
  kWrongGame,
  kTextMismatch,     // the score text is not what the game prints for the milliseconds
  kImplausibleTime,
};

struct Submission {
  SubmissionError error = SubmissionError::kNone;
  RankingEntry entry{};  // meaningful only without an error
  bool ok() const { return error == SubmissionError::kNone; }
};

// The query is everything after '?' in the request target, as sent.
Submission CheckSubmission(const std::string& query);

// The text the game shows and stores for a result: "%7.3f" of its seconds.
std::string GameScoreText(uint32_t ms);

// A Japanese sentence for the player, for each error.
const char* SubmissionErrorMessage(SubmissionError error);

}  // namespace site
