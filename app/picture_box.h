// The picture box: keeps the picture bytes it is given and draws them.
#pragma once

#include <QImage>
#include <QWidget>

#include <chrono>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>

#include "encoding/text.h"

namespace imaging {
class GifPlayer;
}

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
    ~PictureBox() override;

    // Keeps a copy of the bytes, whatever they hold, stops a running animation,
    // decodes the bytes once by their leading bytes and asks for a repaint.
    void WritePicture(const ByteSet& bytes);
    // Exactly the bytes last written; empty when none were.
    ByteSet ReadPicture() const;

    // Whether the last write decoded into something to draw.
    bool HasPicture() const;
    // Whether a GIF animation's worker is running.
    bool IsAnimating() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void StartAnimation();
    void StopAnimation();
    void Animate(std::stop_token stop);

    ByteSet stored_;
    QImage still_;  // the decoded picture unless it is a GIF

    // A GIF: its player and canvas, shared between painting and the animation worker.
    std::mutex canvasMutex_;
    std::unique_ptr<imaging::GifPlayer> gif_;
    std::chrono::milliseconds firstDelay_{};  // how long the first image stays
    bool animationDue_ = false;              // start the worker at the next paint
    std::jthread animation_;
};
