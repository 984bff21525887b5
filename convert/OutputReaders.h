#pragma once

#include <string>
#include <string_view>

// Readers of the encoders' console output. Each takes one chunk (at most 256 bytes, read on its
// own) and gives a positive value, or 0 / -1 when the chunk holds none.

// The text between the first `start` token at or after position `from` (1-based; 0 searches
// from 1) and the next `end` token, trimmed. With from == 0 the result begins one character
// earlier and ends one character earlier, as the ffmpeg readers expect.
std::string ExtractBetween(std::string_view text, std::string_view start, std::string_view end,
                           int from);

// "Duration: 00:01:23.45," in hundredths of a second (8340: the hundredths digit is lost).
int ReadDurationCentis(std::string_view chunk);
// "time=83.45 " in hundredths of a second (8304).
int ReadTimeCentis(std::string_view chunk);
// The fallback attempt's duration, in the unit of ReadTimeFallback: seconds x 10 (834).
int ReadDurationFallback(std::string_view chunk);
// "time=83.45 " as seconds and tenths digits written together (834).
int ReadTimeFallback(std::string_view chunk);
// mencoder's "( 5%)" when the chunk is a status line with "a-v:" and "fps trem:".
int ReadMencoderPercent(std::string_view chunk);

// Blanks and control characters removed at both ends.
std::string_view TrimText(std::string_view text);
