#include "fixtures.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace imaging_test {

std::filesystem::path GeneratedDir()
{
    return std::filesystem::path(IMAGING_FIXTURES_DIR) / "gen";
}

std::optional<std::filesystem::path> CorporaDir()
{
    const std::filesystem::path dir(IMAGING_CORPORA_DIR);
    if (!std::filesystem::is_directory(dir / "bmp")) return std::nullopt;
    return dir;
}

ByteSet ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) ADD_FAILURE() << "cannot read " << path;
    return ByteSet(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ByteSet Generated(const std::string& name)
{
    return ReadBytes(GeneratedDir() / name);
}

std::optional<Reference> LoadReference(const std::string& key)
{
    const auto path = std::filesystem::path(IMAGING_FIXTURES_DIR) / "ref" / key;
    if (!std::filesystem::exists(path)) return std::nullopt;
    const ByteSet bytes = ReadBytes(path);
    if (bytes.size() < 8) return std::nullopt;
    Reference reference;
    auto u32 = [&](std::size_t at) {
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24;
    };
    reference.width = u32(0);
    reference.height = u32(4);
    reference.rgba.assign(bytes.begin() + 8, bytes.end());
    if (reference.rgba.size() != std::size_t(reference.width) * reference.height * 4) return std::nullopt;
    return reference;
}

testing::AssertionResult MatchesReference(const imaging::Picture& picture, const Reference& reference,
                                          int tolerance)
{
    if (picture.width != reference.width || picture.height != reference.height) {
        return testing::AssertionFailure() << "size " << picture.width << "x" << picture.height
                                           << ", reference " << reference.width << "x"
                                           << reference.height;
    }
    std::size_t mismatches = 0;
    std::ostringstream first;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::size_t i = std::size_t(y) * picture.width + x;
            const std::uint32_t ours = picture.pixels[i];
            const std::uint8_t* theirs = &reference.rgba[i * 4];
            if (Alpha(ours) == 0 && theirs[3] == 0) continue;
            const int diff[] = {int(Red(ours)) - theirs[0], int(Green(ours)) - theirs[1],
                                int(Blue(ours)) - theirs[2], int(Alpha(ours)) - theirs[3]};
            bool off = false;
            for (int d : diff) off = off || d > tolerance || d < -tolerance;
            if (off && mismatches++ == 0) {
                first << std::hex << "at (" << std::dec << x << "," << y << ") ours " << std::hex
                      << ours << ", reference rgba " << int(theirs[0]) << " " << int(theirs[1]) << " "
                      << int(theirs[2]) << " " << int(theirs[3]);
            }
        }
    }
    if (mismatches == 0) return testing::AssertionSuccess();
    return testing::AssertionFailure() << mismatches << " pixels differ, first " << first.str();
}

}  // namespace imaging_test
