// The capture service: the installed driver source, the handle table of
// capture windows (kept by CaptureWindow itself) and the dispatch of the
// capture messages. Everything runs on the GUI thread.

#include "capture/service/CaptureService.h"

#include "capture/service/CaptureWindow.h"

#include <QWidget>
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

namespace capture {

namespace {

CaptureDriverSource* installedSource = nullptr;

void copyDescription(const std::string& text, char* buffer, std::int32_t length) {
    if (buffer == nullptr || length <= 0)
        return;
    const std::size_t count = std::min(text.size(), static_cast<std::size_t>(length - 1));
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
}

// Copies a record out to the caller's buffer, at most the size it declares.
template <typename Record>
CaptureAnswer copyOut(const Record& record, std::int32_t size, std::intptr_t address) {
    if (size <= 0 || address == 0)
        return 0;
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the caller's address travels as lParam
    std::memcpy(reinterpret_cast<void*>(address), &record,
                std::min(sizeof(Record), static_cast<std::size_t>(size)));
    return 1;
}

CaptureAnswer connect(CaptureWindow& window, std::int32_t index) {
    // The current driver goes first, whether or not the new one opens.
    window.connectDriver(nullptr, 0);
    if (installedSource == nullptr || index < 0 || index >= DriverIndexes)
        return 0;
    std::unique_ptr<CaptureDriver> driver = installedSource->open(index);
    if (!driver)
        return 0;
    window.connectDriver(std::move(driver), index);
    return 1;
}

CaptureAnswer driverCaps(const CaptureWindow& window, std::int32_t size, std::intptr_t address) {
    CAPDRIVERCAPS caps{};
    caps.wDeviceIndex = static_cast<std::uint32_t>(window.driverIndex());
    caps.fHasDlgVideoSource = window.driver()->hasSourceDialog() ? 1 : 0;
    caps.fHasDlgVideoFormat = window.driver()->hasFormatDialog() ? 1 : 0;
    caps.fCaptureInitialized = 1;
    return copyOut(caps, size, address);
}

CaptureAnswer videoFormat(const CaptureWindow& window, std::int32_t size, std::intptr_t address) {
    const QByteArray format = window.videoFormat();
    if (size <= 0 || address == 0)
        return static_cast<CaptureAnswer>(format.size());
    const auto count = std::min(static_cast<qsizetype>(size), format.size());
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the caller's address travels as lParam
    std::memcpy(reinterpret_cast<void*>(address), format.constData(),
                static_cast<std::size_t>(count));
    return static_cast<CaptureAnswer>(count);
}

CaptureAnswer setSequenceSetup(CaptureWindow& window, std::int32_t size, std::intptr_t address) {
    if (size <= 0 || address == 0)
        return 0;
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the caller's address travels as lParam
    std::memcpy(&window.captureParms(), reinterpret_cast<const void*>(address),
                std::min(sizeof(CAPTUREPARMS), static_cast<std::size_t>(size)));
    return 1;
}

} // namespace

CaptureDriverSource* installCaptureDriverSource(CaptureDriverSource* source) {
    return std::exchange(installedSource, source);
}

std::int32_t capGetDriverDescription(std::int16_t index, char* name, std::int32_t nameLength,
                                     char* version, std::int32_t versionLength) {
    if (installedSource == nullptr || index < 0 || index >= DriverIndexes)
        return 0;
    std::string driverName;
    std::string driverVersion;
    if (!installedSource->describe(index, driverName, driverVersion))
        return 0;
    copyDescription(driverName, name, nameLength);
    copyDescription(driverVersion, version, versionLength);
    return 1;
}

CaptureHandle capCreateCaptureWindow(const char* title, std::uint32_t style, std::int32_t x,
                                     std::int32_t y, std::int32_t width, std::int16_t height,
                                     QWidget* parent, std::int32_t /*id*/) {
    // A capture window is always a child; without drivers it would be useless.
    if (parent == nullptr || installedSource == nullptr || width < 0 || height < 0)
        return 0;
    auto* window = new CaptureWindow(parent); // owned by the parent
    window->setObjectName(QStringLiteral("CaptureWindow"));
    window->setWindowTitle(title != nullptr ? QString::fromLocal8Bit(title) : QString());
    window->setGeometry(x, y, width, height);
    window->setVisible((style & WS_VISIBLE) != 0);
    return window->handle();
}

CaptureAnswer SendCaptureMessage(CaptureHandle handle, std::uint32_t message, std::int32_t wParam,
                                 std::intptr_t lParam) {
    CaptureWindow* const window = CaptureWindow::find(handle);
    if (window == nullptr)
        return 0;
    if (message == WM_CAP_DRIVER_CONNECT)
        return connect(*window, wParam);
    if (!window->isConnected())
        return 0;

    switch (message) {
    case WM_CAP_SET_CALLBACK_ERRORA:
    case WM_CAP_SET_CALLBACK_STATUSA:
    case WM_CAP_SET_CALLBACK_YIELD:
    case WM_CAP_SET_CALLBACK_FRAME:
    case WM_CAP_SET_CALLBACK_VIDEOSTREAM:
    case WM_CAP_SET_CALLBACK_WAVESTREAM:
    case WM_CAP_SET_CALLBACK_CAPCONTROL:
        window->setCallback(message, lParam);
        return 1;
    case WM_CAP_DRIVER_GET_CAPS:
        return driverCaps(*window, wParam, lParam);
    case WM_CAP_DLG_VIDEOFORMAT:
        return window->runFormatDialog() ? 1 : 0;
    case WM_CAP_DLG_VIDEOSOURCE:
        return window->runSourceDialog() ? 1 : 0;
    case WM_CAP_GET_VIDEOFORMAT:
        return videoFormat(*window, wParam, lParam);
    case WM_CAP_SET_PREVIEW:
        window->setPreview(wParam != 0);
        return 1;
    case WM_CAP_SET_PREVIEWRATE:
        window->setPreviewPeriod(wParam);
        return 1;
    case WM_CAP_GET_STATUS:
        return copyOut(window->status(), wParam, lParam);
    case WM_CAP_GET_SEQUENCE_SETUP:
        return copyOut(window->captureParms(), wParam, lParam);
    case WM_CAP_SET_SEQUENCE_SETUP:
        return setSequenceSetup(*window, wParam, lParam);
    default:
        return 0;
    }
}

CaptureWindow* findCaptureWindow(CaptureHandle handle) {
    return CaptureWindow::find(handle);
}

} // namespace capture
