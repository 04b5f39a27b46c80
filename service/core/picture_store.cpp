#include "service/core/picture_store.h"

PictureStore::PictureStore(std::size_t cacheBytes, Draw draw) : cache_(cacheBytes), draw_(std::move(draw)) {}

std::shared_ptr<const Picture> PictureStore::Get(const PictureRequest& request)
{
    if (auto cached = cache_.Find(request)) return cached;
    ByteSet jpeg = draw_(request);
    if (jpeg.empty()) return nullptr;
    auto picture = MakePicture(std::move(jpeg));
    cache_.Insert(request, picture);
    return picture;
}
