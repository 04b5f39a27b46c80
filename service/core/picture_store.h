// Pictures by request: from the cache when there, otherwise drawn and then cached.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

#include "service/core/picture.h"
#include "service/core/picture_cache.h"
#include "service/core/picture_query.h"

class PictureStore {
public:
    // Makes the JPEG bytes for a request; empty bytes mean it failed.
    using Draw = std::function<ByteSet(const PictureRequest&)>;

    PictureStore(std::size_t cacheBytes, Draw draw);

    // Null when drawing failed. Two threads asking for the same new picture at
    // once may both draw it; the pictures are equal, so that does no harm.
    std::shared_ptr<const Picture> Get(const PictureRequest& request);

    const PictureCache& Cache() const { return cache_; }

private:
    PictureCache cache_;
    Draw draw_;
};
