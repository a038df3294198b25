// The simulated camera's own format and source dialogs, driven as a user
// would: pick the values and press OK or Cancel.

#include "platform/SimulatedCamera.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// Runs the step inside the next modal dialog, then presses its button.
void whenDialogOpens(const QString& name, std::function<void(QDialog&)> step, bool accept) {
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->objectName(), name);
        step(*dialog);
        auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        ASSERT_NE(buttons, nullptr);
        buttons->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    });
}

BITMAPINFOHEADER header(const CaptureDriver& driver) {
    BITMAPINFOHEADER fields{};
    std::memcpy(&fields, driver.videoFormat().constData(), sizeof fields);
    return fields;
}

void chooseLargestThirtyTwoBit(QDialog& dialog) {
    auto* size = dialog.findChild<QComboBox*>(QStringLiteral("sizeBox"));
    auto* depth = dialog.findChild<QComboBox*>(QStringLiteral("depthBox"));
    ASSERT_NE(size, nullptr);
    ASSERT_NE(depth, nullptr);
    EXPECT_EQ(size->currentText(), QStringLiteral("160 x 120"));
    EXPECT_EQ(depth->currentText(), QStringLiteral("24"));
    size->setCurrentIndex(size->findText(QStringLiteral("640 x 480")));
    depth->setCurrentIndex(depth->findText(QStringLiteral("32")));
}

} // namespace

TEST(SimulatedCameraDialogs, FormatDialogChangesTheOutputFormat) {
    SimulatedCamera camera;
    const auto driver = camera.open(0);
    whenDialogOpens(QStringLiteral("SimulatedFormatDialog"), chooseLargestThirtyTwoBit, true);
    EXPECT_TRUE(driver->showFormatDialog(nullptr));
    EXPECT_EQ(header(*driver).biWidth, 640);
    EXPECT_EQ(header(*driver).biHeight, 480);
    EXPECT_EQ(header(*driver).biBitCount, 32);
    EXPECT_EQ(camera.driver(0)->width, 640);
}

TEST(SimulatedCameraDialogs, TopDownDriverStaysTopDown) {
    SimulatedCamera camera;
    SimulatedDriverConfig config;
    config.height = -120;
    camera.setDriver(0, config);
    const auto driver = camera.open(0);
    whenDialogOpens(QStringLiteral("SimulatedFormatDialog"), chooseLargestThirtyTwoBit, true);
    driver->showFormatDialog(nullptr);
    EXPECT_EQ(header(*driver).biHeight, -480);
}

TEST(SimulatedCameraDialogs, CancelledFormatDialogChangesNothing) {
    SimulatedCamera camera;
    const auto driver = camera.open(0);
    whenDialogOpens(QStringLiteral("SimulatedFormatDialog"), chooseLargestThirtyTwoBit, false);
    EXPECT_TRUE(driver->showFormatDialog(nullptr));
    EXPECT_EQ(header(*driver).biWidth, 160);
    EXPECT_EQ(header(*driver).biBitCount, 24);
}

TEST(SimulatedCameraDialogs, SourceDialogSetsTheScene) {
    SimulatedCamera camera;
    const auto driver = camera.open(0);
    whenDialogOpens(
        QStringLiteral("SimulatedSourceDialog"),
        [](QDialog& dialog) {
            dialog.findChild<QSpinBox*>(QStringLiteral("ambientBox"))->setValue(120);
            dialog.findChild<QDoubleSpinBox*>(QStringLiteral("noiseBox"))->setValue(5.5);
            dialog.findChild<QDoubleSpinBox*>(QStringLiteral("dotSizeBox"))->setValue(4.0);
            auto* colour = dialog.findChild<QComboBox*>(QStringLiteral("dotColourBox"));
            colour->setCurrentIndex(colour->findText(QStringLiteral("Green")));
        },
        true);
    EXPECT_TRUE(driver->showSourceDialog(nullptr));
    EXPECT_EQ(camera.scene().ambient, 120);
    EXPECT_DOUBLE_EQ(camera.scene().noise, 5.5);
    EXPECT_DOUBLE_EQ(camera.scene().dotRadius, 4.0);
    EXPECT_EQ(camera.scene().dotColor, QColor(40, 255, 40));
}

TEST(SimulatedCameraDialogs, ReplacedDialogsRunTheTestsAction) {
    SimulatedCamera camera;
    SimulatedDriverConfig config;
    camera.setDriver(3, config);
    const auto driver = camera.open(3);
    int formatIndex = -1;
    int sourceIndex = -1;
    camera.setFormatDialogAction([&](int index, SimulatedCamera& owner) {
        formatIndex = index;
        owner.setFormat(index, 320, 240, 24);
    });
    camera.setSourceDialogAction([&](int index, SimulatedCamera&) { sourceIndex = index; });
    EXPECT_TRUE(driver->showFormatDialog(nullptr));
    EXPECT_TRUE(driver->showSourceDialog(nullptr));
    EXPECT_EQ(formatIndex, 3);
    EXPECT_EQ(sourceIndex, 3);
    EXPECT_EQ(header(*driver).biWidth, 320);
}

TEST(SimulatedCameraDialogs, DriverWithoutDialogsShowsNone) {
    SimulatedCamera camera;
    SimulatedDriverConfig config;
    config.hasFormatDialog = false;
    config.hasSourceDialog = false;
    camera.setDriver(0, config);
    bool ran = false;
    camera.setFormatDialogAction([&](int, SimulatedCamera&) { ran = true; });
    camera.setSourceDialogAction([&](int, SimulatedCamera&) { ran = true; });
    const auto driver = camera.open(0);
    EXPECT_FALSE(driver->hasFormatDialog());
    EXPECT_FALSE(driver->showFormatDialog(nullptr));
    EXPECT_FALSE(driver->showSourceDialog(nullptr));
    EXPECT_FALSE(ran);
}
