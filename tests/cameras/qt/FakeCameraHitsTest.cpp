// Laser dots seen through the fake camera give the hits the replay tool finds
// in the same pictures, and in a video of them, and the main window scores
// them.

#include "detection/MotionDetection.h"
#include "tests/cameras/qt/FakeCameraProgram.h"
#include "tests/fixtures/SyntheticVideo.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <set>
#include <string>

namespace {

// A hit as the replay tool writes it: "x=975 y=700 score=5.9991".
using Hits = std::set<std::string>;

// Passes every hit on to the main window, keeping it.
struct HitSpy : MotionDetection::HitTarget {
    explicit HitSpy(app::Vantorel& window) : window(window) { MotionDetection::setHitTarget(this); }
    ~HitSpy() override { MotionDetection::setHitTarget(&window); }
    HitSpy(const HitSpy&) = delete;
    HitSpy& operator=(const HitSpy&) = delete;
    void SetHole(std::int32_t x, std::int32_t y, double score) override {
        hits.insert(
            QStringLiteral("x=%1 y=%2 score=%3").arg(x).arg(y).arg(score, 0, 'f', 4).toStdString());
        window.SetHole(x, y, score);
    }
    float TargetHeight() const override { return window.TargetHeight(); }
    app::Vantorel& window;
    Hits hits;
};

// The replay tool's sample, as a camera of the size sees it: the 4:3 picture
// filling its height, the sides dark.
QString sampleAt(const QTemporaryDir& dir, QSize size) {
    QString folder = dir.filePath(QStringLiteral("%1").arg(size.width()));
    QDir().mkpath(folder);
    for (const QFileInfo& file : QDir(VANTOREL_SAMPLE_DIR).entryInfoList({"*.png"})) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(QColor(22, 22, 26));
        QPainter(&picture).drawImage((size.width() - size.height() * 4 / 3) / 2, 0,
                                     QImage(file.filePath()).scaledToHeight(size.height()));
        picture.save(folder + "/" + file.fileName());
    }
    return folder;
}

// The hits in the replay tool's output, without their frames.
Hits hitsIn(const QString& out) {
    static const QRegularExpression hit("x=-?\\d+ y=-?\\d+ score=\\S+");
    Hits hits;
    for (auto match = hit.globalMatch(out); match.hasNext();)
        hits.insert(match.next().captured().toStdString());
    return hits;
}

class FakeCameraHits : public cameratest::FakeCameraProgram {
protected:
    // Starts the camera on the folder and shoots until it has seen as many
    // hits as expected; those it saw.
    Hits cameraHits(const QString& mode, const QString& folder, std::size_t expected) {
        start({{"Camera", mode, folder}});
        HitSpy spy(window());
        window().Command1_Click();
        window().Timer1_Timer(); // the pause before the first shot ends
        EXPECT_TRUE(QTest::qWaitFor([&] { return spy.hits.size() >= expected; }, 10000));
        // Scored: where the window puts a hit's marker and what it writes is
        // tested with the simulated camera.
        EXPECT_GE(window().ShotCount(), 1);
        return spy.hits;
    }
};

} // namespace

TEST_F(FakeCameraHits, AreTheReplayToolsAndReachTheScoreCard) {
    const QTemporaryDir dir;
    const struct {
        QString mode;
        QSize size;
    } cameras[] = {{"YUY2 640x480", {640, 480}}, {"MJPG 1280x720", {1280, 720}}};
    for (const auto& camera : cameras) {
        SCOPED_TRACE(camera.mode.toStdString());
        const QString folder = sampleAt(dir, camera.size);
        int status = -1;
        const Hits expected = hitsIn(run(VANTOREL_REPLAY_TOOL, {folder}, status));
        ASSERT_EQ(expected.size(), 2U);
        EXPECT_EQ(cameraHits(camera.mode, folder, expected.size()), expected);
    }
}

// A video of laser pictures gives their hits frame by frame, whether it
// keeps every byte (RGB) or rounds through YUV, in either container;
// the camera playing the pictures sees the same hits.
TEST_F(FakeCameraHits, OfAVideoAreThoseOfItsPictures) {
    const QTemporaryDir dir;
    const QString folder = dir.filePath("pictures");
    ASSERT_TRUE(QDir().mkpath(folder));
    // Dark frames between the dots, and first and last, as the camera plays
    // the pictures round. The second and third dots are two camera pixels
    // across the corner of four analysis pixels; the last, a single camera
    // pixel, is too small a spot for the analysis on every path.
    ASSERT_TRUE(fixtures::writeLaserPictures(
        folder, 12,
        {{2, {420, 150}, 6}, {5, {203, 331}, 2}, {8, {331, 251}, 2}, {10, {100, 400}, 1}}));
    int status = -1;
    const QString pictures = run(VANTOREL_REPLAY_TOOL, {folder}, status);
    const Hits expected = hitsIn(pictures);
    ASSERT_TRUE(status == 0 && expected.size() == 3) << pictures.toStdString();
    const struct {
        QString name, encoding;
    } videos[] = {{"rgb.mkv", "video/x-raw,format=BGRx ! avenc_ffv1 ! matroskamux"},
                  {"yuv.avi", "video/x-raw,format=I420 ! avimux"}};
    for (const auto& video : videos) {
        const QString path = dir.filePath(video.name);
        ASSERT_EQ(fixtures::encodePictures(folder, path, video.encoding), QString());
        EXPECT_EQ(run(VANTOREL_REPLAY_TOOL, {path}, status), pictures) << video.name.toStdString();
        EXPECT_EQ(status, 0);
    }
    EXPECT_EQ(cameraHits("YUY2 640x480", folder, expected.size()), expected);
}
