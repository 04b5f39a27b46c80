#include "encoding/code_page.h"

#include <algorithm>
#include <string_view>

#include "encoding/charset.h"
#include "encoding/text_bytes.h"

namespace {

constexpr std::int32_t kSystemCodePage = 0;
constexpr std::int32_t kGbkCodePage = 936;
constexpr std::int32_t kUtf8CodePage = 65001;

// The units of a wide form before its first zero unit.
std::string_view UnitsBeforeZero(const ByteSet& wide)
{
    const auto* bytes = reinterpret_cast<const char*>(wide.data());
    std::size_t end = 0;
    while (end + 1 < wide.size() && (bytes[end] != 0 || bytes[end + 1] != 0)) end += 2;
    return std::string_view(bytes, end);
}

}  // namespace

ByteSet TextToWide(const Text& text, std::optional<std::int32_t> codePage)
{
    const std::string_view bytes = TextBytes(text);
    // Sized for the text as the system code page reads it, so that every wide
    // form of the same text has the same size; a code page that needs more units
    // (UTF-8 given GBK bytes, for one) widens it rather than losing characters.
    const std::string systemUnits = DecodeToUtf16(bytes, Charset::Gbk);
    ByteSet wide(systemUnits.size() + 2, 0);

    const std::optional<Charset> charset = CharsetOfCodePage(codePage.value_or(kUtf8CodePage));
    if (!charset) return wide;
    const std::string units = *charset == Charset::Gbk ? systemUnits : DecodeToUtf16(bytes, *charset);
    if (units.size() + 2 > wide.size()) wide.resize(units.size() + 2, 0);
    std::copy(units.begin(), units.end(), wide.begin());
    return wide;
}

Text WideToText(const ByteSet& wide, std::optional<std::int32_t> codePage)
{
    const std::optional<Charset> charset = CharsetOfCodePage(codePage.value_or(kSystemCodePage));
    if (!charset) return Text();
    return EncodeFromUtf16(UnitsBeforeZero(wide), *charset);
}

Text GbkToUtf8(const Text& text)
{
    return WideToText(TextToWide(text, kGbkCodePage), kUtf8CodePage);
}
