// Conversion of 8-bit text between code pages by way of UTF-16LE ("wide form").
//
// A wide form is a ByteSet of UTF-16LE code units, low byte first, ended by one
// zero unit; any zero bytes behind that unit are padding that readers ignore.
// The code pages known here are 0 (the system code page, always GBK for this
// program), 936 (GBK) and 65001 (UTF-8).
#pragma once

#include <cstdint>
#include <optional>

#include "encoding/text.h"

// Decodes `text` (up to its first zero byte), written in `codePage` (65001 when
// not given), into a fresh wide form. Bytes not valid in that code page become
// U+FFFD. The wide form has at least as many units as the text needs when read as
// GBK, plus the zero unit; the empty text gives exactly two zero bytes. An
// unknown code page gives that many zero units, i.e. an empty wide form.
ByteSet TextToWide(const Text& text, std::optional<std::int32_t> codePage);

// Encodes the units of `wide` up to its first zero unit into a fresh Text in
// `codePage` (0, the system code page GBK, when not given). A character that the
// code page cannot hold becomes "?" (U+FFFD in UTF-8); nothing makes the
// conversion fail or stop early. An empty wide form or an unknown code page gives
// the empty text.
Text WideToText(const ByteSet& wide, std::optional<std::int32_t> codePage);

// The UTF-8 form of a GBK text: the wide form of `text` in 936 written in 65001.
// The result holds UTF-8 bytes, not GBK.
Text GbkToUtf8(const Text& text);
