#include "service/core/percent_decoding.h"

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::optional<std::string> PercentDecode(std::string_view encoded)
{
    std::string decoded;
    decoded.reserve(encoded.size());
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (c == '+') {
            decoded.push_back(' ');
        } else if (c != '%') {
            decoded.push_back(c);
        } else {
            if (encoded.size() - i < 3) return std::nullopt;
            const int high = HexValue(encoded[i + 1]);
            const int low = HexValue(encoded[i + 2]);
            if (high < 0 || low < 0) return std::nullopt;
            decoded.push_back(static_cast<char>(high * 16 + low));
            i += 2;
        }
    }
    return decoded;
}
