#include "service/core/picture.h"

#include <cstdint>
#include <cstdio>

std::shared_ptr<const Picture> MakePicture(ByteSet jpeg)
{
    // 64-bit FNV-1a: stable across builds and machines, unlike std::hash.
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    for (std::uint8_t byte : jpeg) {
        hash ^= byte;
        hash *= 0x100000001B3ULL;
    }
    char tag[32];
    std::snprintf(tag, sizeof tag, "\"%016llx-%zx\"", static_cast<unsigned long long>(hash), jpeg.size());
    auto picture = std::make_shared<Picture>();
    picture->jpeg = std::move(jpeg);
    picture->entityTag = tag;
    return picture;
}
