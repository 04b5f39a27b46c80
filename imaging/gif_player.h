// Plays a GIF's images onto its canvas, one after the other, without end.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/gif_decoder.h"

namespace imaging {

// Not thread-safe: whoever shares a player guards it.
class GifPlayer {
public:
    // The canvas starts white, with no image drawn yet.
    explicit GifPlayer(GifMovie movie);

    int Width() const { return movie_.width; }
    int Height() const { return movie_.height; }
    std::size_t ImageCount() const { return movie_.images.size(); }
    // Width() * Height() pixels, 0xFFRRGGBB, top row first.
    const std::vector<std::uint32_t>& Canvas() const { return canvas_; }

    // Draws the next image at its place, returning how long it stays. Before that,
    // the area of the image drawn last is put back as it was before it, when its
    // disposal asks for it. After the last image the sequence starts again with the
    // first, on a white canvas. Pixels of the transparent index, and rows the data
    // cut short, leave the canvas as it was. With no images it draws nothing and
    // returns 0.
    std::chrono::milliseconds DrawNextImage();

private:
    void Restore(const GifImage& image);
    void Save(const GifImage& image);
    void Draw(const GifImage& image);

    GifMovie movie_;
    std::vector<std::uint32_t> canvas_;
    std::vector<std::uint32_t> saved_;  // what the last image covered, when it is to be put back
    std::size_t next_ = 0;
    std::optional<std::size_t> restorePending_;  // index of the image to put back
};

}  // namespace imaging
