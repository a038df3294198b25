#include "fuzz/FuzzSupport.h"

#include "capture/AVICAP.h"
#include "capture/ConnectionFunctions.h"
#include "capture/service/CaptureService.h"
#include "capture/service/CaptureWindow.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdlib>
#include <memory>
#include <span>

namespace fuzz {

namespace {

class FuzzDriverSource : public platform::CaptureDriverSource {
public:
    bool describe(int index, std::string& name, std::string& version) override {
        name = "Fuzz";
        version = "1";
        return index == 0;
    }
    std::unique_ptr<platform::CaptureDriver> open(int index) override {
        if (index != 0)
            return nullptr;
        auto driver = std::make_unique<FuzzDriver>();
        opened = driver.get();
        return driver;
    }
    FuzzDriver* opened = nullptr;
};

} // namespace

void startQt() {
    static const bool started = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // The parameter setters save at once: never into the user's settings,
        // and in memory where it can be, since a disk's sync costs far more
        // than a run of the target.
        static const QTemporaryDir settings(QDir(QStringLiteral("/dev/shm")).exists()
                                                ? QStringLiteral("/dev/shm/vantorel-fuzz-XXXXXX")
                                                : QDir::tempPath() +
                                                      QStringLiteral("/vantorel-fuzz-XXXXXX"));
        qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        static const QApplication app(argc, argv);
        return true;
    }();
    (void)started;
}

void FuzzDriver::setStreaming(bool on, int /*periodMs*/, FrameSink sink) {
    sink_ = on ? std::move(sink) : FrameSink{};
}

void FuzzDriver::push(std::vector<std::uint8_t>& frame) {
    if (sink_)
        sink_(std::span<std::uint8_t>(frame));
}

FuzzCapture& fuzzCapture() {
    static FuzzCapture capture = [] {
        startQt();
        static FuzzDriverSource source;
        platform::installCaptureDriverSource(&source);
        // The service's table of windows is made first, so that it outlives
        // the window that the host below takes down at exit.
        platform::findCaptureWindow(0);
        static QWidget host;
        static const platform::CaptureWindow::ImmediateDelivery immediate;
        FuzzCapture made;
        made.window = ConnectionFunctions::CreateCaptureWindow("Fuzz", platform::WS_CHILD, 0, 0,
                                                               160, 120, &host, 0);
        if (!AVICAP::DriverConnect(made.window, 0) || source.opened == nullptr)
            std::abort();
        made.driver = source.opened;
        AVICAP::SetPreview(made.window, true);
        return made;
    }();
    return capture;
}

QByteArray formatRecord(std::int32_t width, std::int32_t height, std::int16_t bitCount) {
    platform::BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    return {reinterpret_cast<const char*>(&header), sizeof header};
}

} // namespace fuzz
