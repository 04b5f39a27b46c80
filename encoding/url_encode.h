// Percent-encoding of a name for the query of a URL.
#pragma once

#include <optional>

#include "encoding/text.h"

// Writes every byte of `text` (up to its first zero byte) as "%" and two
// upper-case hexadecimal digits, except, when `keepUnreserved` is not zero, the
// 64 unreserved bytes A-Z, a-z, 0-9, "-" and ".", which stand as themselves.
// When `useUtf8` is not zero the bytes are those of the UTF-8 form of the GBK
// text, otherwise the GBK bytes themselves. A switch left out counts as on.
// The empty text gives the empty text.
Text UrlEncode(const Text& text, std::optional<int> keepUnreserved, std::optional<int> useUtf8);
