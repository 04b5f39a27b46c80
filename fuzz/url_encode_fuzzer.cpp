// Any text with any switches encodes into unreserved bytes, "%" and hex digits
// only, and decoding the percent escapes gives back the source bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "encoding/code_page.h"
#include "encoding/url_encode.h"

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    std::abort();  // lower-case or any other digit is a fault
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const int keepUnreserved = data[0] & 1;
    const int useUtf8 = (data[0] >> 1) & 1;
    const Text text(reinterpret_cast<const char*>(data + 1), size - 1);
    const Text encoded = UrlEncode(text, keepUnreserved, useUtf8);

    std::string decoded;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '%') {
            if (i + 2 >= encoded.size()) std::abort();
            decoded.push_back(static_cast<char>(HexValue(encoded[i + 1]) * 16 + HexValue(encoded[i + 2])));
            i += 2;
        } else {
            if (!keepUnreserved) std::abort();
            decoded.push_back(encoded[i]);
        }
    }
    const Text source = useUtf8 ? GbkToUtf8(text) : Text(text.c_str());
    if (decoded != source) std::abort();
    return 0;
}
