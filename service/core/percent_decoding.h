// Decoding of one percent-encoded query component.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Turns every "%XY" (two hexadecimal digits, either case) into its byte and every
// "+" into a space, as HTML forms write them. A "%" without two hexadecimal
// digits after it makes the whole component malformed: no value.
std::optional<std::string> PercentDecode(std::string_view encoded);
