#include "imaging/gif_player.h"

#include <algorithm>

#include "imaging/picture.h"

namespace imaging {

GifPlayer::GifPlayer(GifMovie movie)
    : movie_(std::move(movie)),
      canvas_(static_cast<std::size_t>(movie_.width) * static_cast<std::size_t>(movie_.height),
              kOpaqueWhite)
{
}

std::chrono::milliseconds GifPlayer::DrawNextImage()
{
    if (movie_.images.empty()) return std::chrono::milliseconds{0};
    if (restorePending_) {
        Restore(movie_.images[*restorePending_]);
        restorePending_.reset();
    }
    if (next_ == 0) std::fill(canvas_.begin(), canvas_.end(), kOpaqueWhite);

    const GifImage& image = movie_.images[next_];
    if (image.restoreAfter) {
        Save(image);
        restorePending_ = next_;
    }
    next_ = (next_ + 1) % movie_.images.size();
    Draw(image);
    return image.delay;
}

void GifPlayer::Save(const GifImage& image)
{
    saved_.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        const auto from = canvas_.begin() +
                          static_cast<std::ptrdiff_t>(image.top + y) * movie_.width + image.left;
        std::copy_n(from, image.width, saved_.begin() + static_cast<std::ptrdiff_t>(y) * image.width);
    }
}

void GifPlayer::Restore(const GifImage& image)
{
    for (int y = 0; y < image.height; ++y) {
        const auto to = canvas_.begin() +
                        static_cast<std::ptrdiff_t>(image.top + y) * movie_.width + image.left;
        std::copy_n(saved_.begin() + static_cast<std::ptrdiff_t>(y) * image.width, image.width, to);
    }
}

void GifPlayer::Draw(const GifImage& image)
{
    const GifColorTable& colors = movie_.colorTables.at(image.colorTable);
    for (int y = 0; y < image.height; ++y) {
        if (!image.rowDecoded[static_cast<std::size_t>(y)]) continue;
        const std::uint8_t* in = image.indices.data() + static_cast<std::size_t>(y) * image.width;
        std::uint32_t* out =
            canvas_.data() + static_cast<std::size_t>(image.top + y) * movie_.width + image.left;
        for (int x = 0; x < image.width; ++x) {
            if (image.transparentIndex && in[x] == *image.transparentIndex) continue;
            out[x] = colors[in[x]];
        }
    }
}

}  // namespace imaging
