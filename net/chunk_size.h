// How many bytes each read of a response body asks for.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// Chunk size when the length of the body is not known.
inline constexpr std::size_t kDefaultReadChunk = 10240;
// The largest chunk ever asked for.
inline constexpr std::size_t kLargestReadChunk = 102400;

// The read chunk for a response whose Content-Length header has the text
// `contentLength` (nullopt when there is none). The header is taken as it fits a
// 32-byte buffer: at most 31 characters, or it does not count. Its leading
// decimal number is read like C's atoi into a signed 32-bit value: leading blanks
// and one sign allowed, parsing stops at the first non-digit, overflow wraps. A
// number n > 0 gives n + 1 (so that a whole body fits one read and the read that
// finds the end follows), at most kLargestReadChunk; anything else gives
// kDefaultReadChunk.
std::size_t ReadChunkSize(std::optional<std::string_view> contentLength);
