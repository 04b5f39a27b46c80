#include "app/picture_box.h"

#include <QMetaObject>
#include <QPainter>

#include <condition_variable>
#include <variant>

#include "imaging/decode_picture.h"
#include "imaging/gif_player.h"

namespace {

// Hands the decoded pixels to a QImage without copying them; the image frees them.
QImage ToImage(imaging::Picture picture)
{
    auto* pixels = new std::vector<std::uint32_t>(std::move(picture.pixels));
    return QImage(
        reinterpret_cast<uchar*>(pixels->data()), picture.width, picture.height,
        static_cast<qsizetype>(picture.width) * 4,
        picture.hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32,
        [](void* owned) { delete static_cast<std::vector<std::uint32_t>*>(owned); }, pixels);
}

}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    // Every paint fills the whole box first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

PictureBox::~PictureBox()
{
    StopAnimation();
}

void PictureBox::WritePicture(const ByteSet& bytes)
{
    stored_ = bytes;

    StopAnimation();
    still_ = QImage();
    gif_.reset();
    animationDue_ = false;

    if (!stored_.empty()) {
        auto decoded = imaging::DecodePicture(stored_);
        if (decoded && std::holds_alternative<imaging::Picture>(*decoded)) {
            still_ = ToImage(std::get<imaging::Picture>(std::move(*decoded)));
        } else if (decoded) {
            gif_ = std::make_unique<imaging::GifPlayer>(std::get<imaging::GifMovie>(std::move(*decoded)));
            // The first image is on the canvas before the box is first drawn; the
            // worker takes over from there when there is more than one.
            firstDelay_ = gif_->DrawNextImage();
            animationDue_ = gif_->ImageCount() > 1;
        }
    }
    update();
}

ByteSet PictureBox::ReadPicture() const
{
    return stored_;
}

bool PictureBox::HasPicture() const
{
    return !still_.isNull() || gif_ != nullptr;
}

bool PictureBox::IsAnimating() const
{
    return animation_.joinable();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().button());
    // Smooth scaling only pays off on displays with more than 16 bits per pixel.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, depth() > 16);

    if (!still_.isNull()) {
        painter.drawImage(QRectF(rect()), still_);
        return;
    }
    if (gif_ == nullptr) return;
    if (animationDue_) StartAnimation();
    std::scoped_lock lock(canvasMutex_);
    const QImage canvas(reinterpret_cast<const uchar*>(gif_->Canvas().data()), gif_->Width(),
                        gif_->Height(), static_cast<qsizetype>(gif_->Width()) * 4,
                        QImage::Format_RGB32);
    painter.drawImage(QRectF(rect()), canvas);
}

void PictureBox::StartAnimation()
{
    animationDue_ = false;
    animation_ = std::jthread([this](std::stop_token stop) { Animate(std::move(stop)); });
}

void PictureBox::StopAnimation()
{
    if (!animation_.joinable()) return;
    animation_.request_stop();
    animation_.join();
}

// The worker: waits out the image on show, draws the next one onto the canvas and
// asks the UI thread to repaint, over and over. It never touches the widget itself.
// A stop request ends any wait at once, and is looked at again after each image.
void PictureBox::Animate(std::stop_token stop)
{
    std::mutex waitMutex;
    std::condition_variable_any wakeUp;
    std::chrono::milliseconds delay = firstDelay_;
    while (!stop.stop_requested()) {
        {
            std::unique_lock waitLock(waitMutex);
            if (wakeUp.wait_for(waitLock, stop, delay, [] { return false; }) || stop.stop_requested())
                return;
        }
        {
            std::scoped_lock lock(canvasMutex_);
            delay = gif_->DrawNextImage();
        }
        QMetaObject::invokeMethod(this, [this] { update(); }, Qt::QueuedConnection);
    }
}
