#include "encoding/url_encode.h"

#include <string_view>

#include "encoding/code_page.h"
#include "encoding/text_bytes.h"

namespace {

// "-", "." and the digits, then the capital and the small letters. Note that
// "_" and "~" are encoded too, unlike in RFC 3986.
bool IsUnreserved(unsigned char b)
{
    return (b > 0x2C && b < 0x3A && b != 0x2F) || (b > 0x40 && b < 0x5B) || (b > 0x60 && b < 0x7B);
}

}  // namespace

Text UrlEncode(const Text& text, std::optional<int> keepUnreserved, std::optional<int> useUtf8)
{
    const std::string_view name = TextBytes(text);
    if (name.empty()) return Text();

    const bool keep = keepUnreserved.value_or(1) != 0;
    const Text source = useUtf8.value_or(1) != 0 ? GbkToUtf8(text) : Text(name);

    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    Text encoded;
    encoded.reserve(source.size() * 3);
    for (const char c : source) {
        const auto b = static_cast<unsigned char>(c);
        if (keep && IsUnreserved(b)) {
            encoded.push_back(c);
        } else {
            encoded.push_back('%');
            encoded.push_back(kHexDigits[b >> 4]);
            encoded.push_back(kHexDigits[b & 0x0F]);
        }
    }
    return encoded;
}
