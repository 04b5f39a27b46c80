// Finding the test pictures and their reference decodes, and comparing against them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "encoding/text.h"
#include "imaging/picture.h"

namespace imaging_test {

// Pictures made for the tests by other encoders, with references (make_fixtures.py).
std::filesystem::path GeneratedDir();
// The public corpora, when present.
std::optional<std::filesystem::path> CorporaDir();

ByteSet ReadBytes(const std::filesystem::path& path);
ByteSet Generated(const std::string& name);

// A reference decode by another decoder: RGBA, top row first.
struct Reference {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};
// The reference stored under `key`: "gen/<name>" or "corpora/<path in the corpora>",
// with ".<entry>" after icons. Nothing when the other decoder could not read it.
std::optional<Reference> LoadReference(const std::string& key);

// Equal size and every pixel within `tolerance` per channel; a pixel that is fully
// transparent in both may differ in colour.
testing::AssertionResult MatchesReference(const imaging::Picture& picture, const Reference& reference,
                                          int tolerance = 0);

inline std::uint32_t Red(std::uint32_t argb) { return (argb >> 16) & 0xFF; }
inline std::uint32_t Green(std::uint32_t argb) { return (argb >> 8) & 0xFF; }
inline std::uint32_t Blue(std::uint32_t argb) { return argb & 0xFF; }
inline std::uint32_t Alpha(std::uint32_t argb) { return argb >> 24; }

}  // namespace imaging_test

#define REQUIRE_CORPORA()                                                                 \
    if (!imaging_test::CorporaDir())                                                      \
    GTEST_SKIP() << "public corpora not found at " IMAGING_CORPORA_DIR " (shared/ beside " \
                    "the checkout); skipping"
