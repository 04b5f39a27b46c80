// Conversions of arbitrary bytes in every direction end without crashing, keep
// the shape of a wide form, and never stop before the end of their input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "encoding/code_page.h"

namespace {

void CheckWideForm(const ByteSet& wide, std::size_t minimumUnits)
{
    if (wide.size() % 2 != 0 || wide.size() < 2 * minimumUnits + 2) std::abort();
    if (wide[wide.size() - 1] != 0 || wide[wide.size() - 2] != 0) std::abort();
}

void CheckNoZeroByte(const Text& text)
{
    if (std::memchr(text.data(), 0, text.size()) != nullptr) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Text text(reinterpret_cast<const char*>(data), size);
    const std::size_t length = std::strlen(text.c_str());

    // Every GBK byte yields at least one character, at most one unit per byte.
    const ByteSet wide = TextToWide(text, 936);
    CheckWideForm(wide, 0);
    if (wide.size() > 2 * length + 2) std::abort();
    if (length > 0 && wide.size() < (length + 1) / 2 * 2 + 2) std::abort();
    const Text gbk = WideToText(wide, 0);
    CheckNoZeroByte(gbk);
    CheckNoZeroByte(GbkToUtf8(text));

    CheckWideForm(TextToWide(text, 65001), 0);

    // The same bytes taken as a wide form.
    const ByteSet raw(data, data + size);
    CheckNoZeroByte(WideToText(raw, 0));
    CheckNoZeroByte(WideToText(raw, 65001));
    return 0;
}
