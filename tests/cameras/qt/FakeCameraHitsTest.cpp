// Laser dots seen through the fake camera give the hits the replay tool finds
// in the same pictures, and the main window scores them.

#include "detection/MotionDetection.h"
#include "tests/cameras/qt/FakeCameraProgram.h"

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
    explicit HitSpy(app::Vantorel& window) : window(window) { MotionDetection::SetHitTarget(this); }
    ~HitSpy() override { MotionDetection::SetHitTarget(&window); }
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

using FakeCameraHits = cameratest::FakeCameraProgram;

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
        const QString out = run(VANTOREL_REPLAY_TOOL, {folder}, status);
        Hits expected;
        static const QRegularExpression hit("x=-?\\d+ y=-?\\d+ score=\\S+");
        for (auto match = hit.globalMatch(out); match.hasNext();)
            expected.insert(match.next().captured().toStdString());
        ASSERT_EQ(expected.size(), 2U);
        start({{"Camera", camera.mode, folder}});
        HitSpy spy(window());
        window().Command1_Click();
        window().Timer1_Timer(); // the pause before the first shot ends
        ASSERT_TRUE(QTest::qWaitFor([&] { return spy.hits.size() >= 2; }, 10000));
        EXPECT_EQ(spy.hits, expected);
        // Scored: where the window puts a hit's marker and what it writes is
        // tested with the simulated camera.
        EXPECT_GE(window().ShotCount(), 1);
    }
}
