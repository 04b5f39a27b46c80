#include "encoding/charset.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <iconv.h>

namespace {

const char* IconvName(Charset charset)
{
    return charset == Charset::Gbk ? "CP936" : "UTF-8";
}

// One iconv conversion descriptor, closed when it goes out of scope. glibc always
// carries both converters; a system without them cannot run the program at all.
class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : handle_(iconv_open(to, from))
    {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {
            std::fprintf(stderr, "biaobai: no character-set converter from %s to %s\n", from, to);
            std::exit(-1);
        }
    }
    ~IconvHandle() { iconv_close(handle_); }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    // Converts as much of [in, in + inLeft) as it can, appending to `out`. Stops at
    // the end of the input or at a sequence it cannot convert (in then points at it)
    // and returns the errno of that stop, or 0 at the end.
    int ConvertInto(const char*& in, std::size_t& inLeft, std::string& out)
    {
        char chunk[4096];
        while (inLeft > 0) {
            char* inPtr = const_cast<char*>(in);
            char* outPtr = chunk;
            std::size_t outLeft = sizeof chunk;
            const std::size_t done = iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft);
            const int error = done == static_cast<std::size_t>(-1) ? errno : 0;
            out.append(chunk, static_cast<std::size_t>(outPtr - chunk));
            in = inPtr;
            if (error != 0 && error != E2BIG) return error;
        }
        return 0;
    }

private:
    iconv_t handle_;
};

bool IsGbkLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsGbkTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

// How many bytes one U+FFFD stands for when `bytes` starts with a sequence that is
// not valid in `from`. A GBK lead byte with a proper trail byte is one unmapped
// character; anything else gives up one byte, so that an ASCII byte behind a stray
// lead byte survives.
std::size_t InvalidSequenceLength(const char* bytes, std::size_t left, Charset from)
{
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (from == Charset::Gbk && left >= 2 && IsGbkLeadByte(lead) &&
        IsGbkTrailByte(static_cast<unsigned char>(bytes[1]))) {
        return 2;
    }
    return 1;
}

bool IsHighSurrogate(unsigned unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(unsigned unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

unsigned UnitAt(const char* utf16)
{
    return static_cast<unsigned char>(utf16[0]) | static_cast<unsigned char>(utf16[1]) << 8;
}

// Bytes of the one character at the start of `utf16` that the target refused: a
// surrogate pair as a whole, anything else (a lone surrogate, a broken last byte)
// one unit at most.
std::size_t RefusedCharacterLength(const char* utf16, std::size_t left)
{
    if (left >= 4 && IsHighSurrogate(UnitAt(utf16)) && IsLowSurrogate(UnitAt(utf16 + 2))) return 4;
    return left >= 2 ? 2 : left;
}

}  // namespace

std::optional<Charset> CharsetOfCodePage(std::int32_t codePage)
{
    switch (codePage) {
    case 0:
    case 936:
        return Charset::Gbk;
    case 65001:
        return Charset::Utf8;
    default:
        return std::nullopt;
    }
}

std::string DecodeToUtf16(std::string_view bytes, Charset from)
{
    IconvHandle converter("UTF-16LE", IconvName(from));
    std::string utf16;
    utf16.reserve(bytes.size() * 2);
    const char* in = bytes.data();
    std::size_t inLeft = bytes.size();
    while (converter.ConvertInto(in, inLeft, utf16) != 0 && inLeft > 0) {
        const std::size_t skip = InvalidSequenceLength(in, inLeft, from);
        utf16.append("\xFD\xFF");
        in += skip;
        inLeft -= skip;
    }
    return utf16;
}

std::string EncodeFromUtf16(std::string_view utf16, Charset to)
{
    IconvHandle converter(IconvName(to), "UTF-16LE");
    const char* replacement = to == Charset::Utf8 ? "\xEF\xBF\xBD" : "?";
    std::string encoded;
    encoded.reserve(utf16.size());
    const char* in = utf16.data();
    std::size_t inLeft = utf16.size();
    while (converter.ConvertInto(in, inLeft, encoded) != 0 && inLeft > 0) {
        const std::size_t skip = RefusedCharacterLength(in, inLeft);
        encoded.append(replacement);
        in += skip;
        inLeft -= skip;
    }
    return encoded;
}
