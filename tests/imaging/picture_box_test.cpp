// The picture box drawn offscreen: what a write shows, and what a read gives back.
#include <QtTest>

#include <QElapsedTimer>
#include <QImage>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "app/picture_box.h"

namespace {

ByteSet Fixture(const char* name)
{
    std::ifstream in(std::filesystem::path(IMAGING_FIXTURES_DIR) / "gen" / name, std::ios::binary);
    return ByteSet(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

QByteArray AsByteArray(const ByteSet& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

bool Near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

}  // namespace

class PictureBoxTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PictureBox> box_;

    QImage Grab() { return box_->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QRgb Background() const { return box_->palette().button().color().rgb(); }

    bool ShowsOnlyBackground()
    {
        const QImage image = Grab();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != Background()) return false;
        return true;
    }

    // Polls faster than the 50 ms the animation's images stay, so that no image is missed.
    bool WaitForCentre(QRgb colour)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 5000) {
            if (Near(Grab().pixel(188, 72), colour, 0)) return true;
            QTest::qWait(5);
        }
        return false;
    }

private slots:
    void init()
    {
        box_ = std::make_unique<PictureBox>();
        box_->setFixedSize(376, 144);
    }

    void cleanup() { box_.reset(); }

    void startsEmpty()
    {
        QVERIFY(box_->ReadPicture().empty());
        QVERIFY(!box_->HasPicture());
        QVERIFY(ShowsOnlyBackground());
    }

    void stretchesAPictureOverTheWholeBox()
    {
        // 752 x 144 in four flat quadrants: drawn at half width, full height.
        const ByteSet jpeg = Fixture("quadrants_752x144.jpg");
        QVERIFY(!jpeg.empty());
        box_->WritePicture(jpeg);
        QVERIFY(box_->HasPicture());
        QCOMPARE(box_->ReadPicture(), jpeg);
        const QImage image = Grab();
        QCOMPARE(image.size(), QSize(376, 144));
        const QRgb quadrant[] = {qRgb(200, 30, 30), qRgb(30, 160, 40), qRgb(40, 60, 210), qRgb(230, 200, 40)};
        const struct {
            int x, y, quadrant;
        } samples[] = {{94, 36, 0},  {282, 36, 1}, {94, 108, 2}, {282, 108, 3}, {0, 0, 0},
                       {375, 0, 1},  {0, 143, 2},  {375, 143, 3}, {185, 70, 0}, {190, 73, 3}};
        for (const auto& s : samples) {
            QVERIFY2(Near(image.pixel(s.x, s.y), quadrant[s.quadrant], 8),
                     qPrintable(QString("at %1,%2: %3").arg(s.x).arg(s.y).arg(image.pixel(s.x, s.y), 0, 16)));
        }
    }

    void undecodableBytesShowOnlyTheBackgroundAndAreKept_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("html page") << QByteArray("<html><body><h1>502 Bad Gateway</h1></body></html>\r\n");
        QTest::newRow("5 bytes") << QByteArray("\xFF\xD8\xFF\xE0\x00", 5);
        QTest::newRow("run-length bmp") << AsByteArray(Fixture("rle8.bmp"));
        QTest::newRow("jpeg cut before its image data") << AsByteArray(Fixture("cut_before_scan.jpg"));
    }

    void undecodableBytesShowOnlyTheBackgroundAndAreKept()
    {
        QFETCH(QByteArray, bytes);
        const ByteSet written(bytes.begin(), bytes.end());
        box_->WritePicture(Fixture("quadrants_752x144.jpg"));
        box_->WritePicture(written);
        QVERIFY(!box_->HasPicture());
        QVERIFY(ShowsOnlyBackground());
        QCOMPARE(box_->ReadPicture(), written);
        QCOMPARE(box_->ReadPicture(), box_->ReadPicture());
    }

    void anEmptyWriteClearsTheBox()
    {
        box_->WritePicture(Fixture("quadrants_752x144.jpg"));
        QVERIFY(!ShowsOnlyBackground());
        box_->WritePicture({});
        QVERIFY(box_->ReadPicture().empty());
        QVERIFY(ShowsOnlyBackground());
    }

    void iconsShowTheBackgroundThroughTheirMask()
    {
        // The 32x32 entry: its top-left quarter is masked out, a red circle inside.
        box_->WritePicture(Fixture("pick32.ico"));
        QVERIFY(box_->HasPicture());
        const QImage image = Grab();
        QCOMPARE(image.pixel(40, 20), Background());
        QVERIFY(Near(image.pixel(200, 80), qRgb(255, 0, 0), 8));
    }

    void gifsAnimateWithoutEndUntilTheNextWrite()
    {
        // Red, then blue, 50 ms each, for ever.
        box_->WritePicture(Fixture("red_blue.gif"));
        QVERIFY(!box_->IsAnimating());  // not before it is drawn
        QVERIFY(Near(Grab().pixel(188, 72), qRgb(255, 0, 0), 0));
        QVERIFY(box_->IsAnimating());
        for (int round = 0; round < 3; ++round) {
            QVERIFY(WaitForCentre(qRgb(0, 0, 255)));
            QVERIFY(WaitForCentre(qRgb(255, 0, 0)));
        }

        box_->WritePicture(Fixture("quadrants_752x144.jpg"));
        QVERIFY(!box_->IsAnimating());  // stopped and waited for within the write
        const QImage image = Grab();
        QVERIFY(Near(image.pixel(94, 36), qRgb(200, 30, 30), 8));
        QVERIFY(Near(image.pixel(282, 108), qRgb(230, 200, 40), 8));
        QTest::qWait(120);  // nothing of the animation comes back
        QVERIFY(Near(Grab().pixel(282, 108), qRgb(230, 200, 40), 8));
    }

    void destroyingTheBoxStopsTheAnimation()
    {
        box_->WritePicture(Fixture("red_blue.gif"));
        Grab();
        QVERIFY(box_->IsAnimating());
        QTest::qWait(60);
        box_.reset();
        QTest::qWait(60);  // no repaint request may reach the destroyed box
    }

    void aGifWithOneImageNeedsNoWorker()
    {
        box_->WritePicture(Fixture("red8.gif"));
        QVERIFY(Near(Grab().pixel(10, 10), qRgb(255, 0, 0), 0));
        QVERIFY(!box_->IsAnimating());
    }
};

QTEST_MAIN(PictureBoxTest)
#include "picture_box_test.moc"
