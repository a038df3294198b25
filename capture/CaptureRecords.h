#pragma once
// The capture window's message numbers and the records exchanged with it.
// Records are little-endian and keep the widths and offsets of the capture
// protocol; the one exception is VIDEOHDR::lpData, a native pointer on 64-bit
// builds (the fields after it follow its natural alignment).

#include <cstddef>
#include <cstdint>

namespace capture {

using CaptureHandle = std::uint32_t; // 0 means no capture window
using CaptureAnswer = std::int32_t;  // every message is answered with 32 bits

// Capture drivers are known by index 0..9.
constexpr int DriverIndexes = 10;

constexpr std::uint32_t WM_USER = 0x0400;
constexpr std::uint32_t WM_CAP_SET_CALLBACK_ERRORA = WM_USER + 2;
constexpr std::uint32_t WM_CAP_SET_CALLBACK_STATUSA = WM_USER + 3;
constexpr std::uint32_t WM_CAP_SET_CALLBACK_YIELD = WM_USER + 4;
constexpr std::uint32_t WM_CAP_SET_CALLBACK_FRAME = WM_USER + 5;
constexpr std::uint32_t WM_CAP_SET_CALLBACK_VIDEOSTREAM = WM_USER + 6;
constexpr std::uint32_t WM_CAP_SET_CALLBACK_WAVESTREAM = WM_USER + 7;
constexpr std::uint32_t WM_CAP_DRIVER_CONNECT = WM_USER + 10;
constexpr std::uint32_t WM_CAP_DRIVER_GET_CAPS = WM_USER + 14;
constexpr std::uint32_t WM_CAP_DLG_VIDEOFORMAT = WM_USER + 41;
constexpr std::uint32_t WM_CAP_DLG_VIDEOSOURCE = WM_USER + 42;
constexpr std::uint32_t WM_CAP_GET_VIDEOFORMAT = WM_USER + 44;
constexpr std::uint32_t WM_CAP_SET_PREVIEW = WM_USER + 50;
constexpr std::uint32_t WM_CAP_SET_PREVIEWRATE = WM_USER + 52;
constexpr std::uint32_t WM_CAP_GET_STATUS = WM_USER + 54;
constexpr std::uint32_t WM_CAP_SET_SEQUENCE_SETUP = WM_USER + 64;
constexpr std::uint32_t WM_CAP_GET_SEQUENCE_SETUP = WM_USER + 65;
constexpr std::uint32_t WM_CAP_SET_CALLBACK_CAPCONTROL = WM_USER + 85;

constexpr std::uint32_t WS_CHILD = 0x40000000;
constexpr std::uint32_t WS_VISIBLE = 0x10000000;

struct CAPDRIVERCAPS {
    std::uint32_t wDeviceIndex;
    std::int32_t fHasOverlay;
    std::int32_t fHasDlgVideoSource;
    std::int32_t fHasDlgVideoFormat;
    std::int32_t fHasDlgVideoDisplay;
    std::int32_t fCaptureInitialized;
    std::int32_t fDriverSuppliesPalettes;
    std::uint32_t hVideoIn;
    std::uint32_t hVideoOut;
    std::uint32_t hVideoExtIn;
    std::uint32_t hVideoExtOut;
};
static_assert(sizeof(CAPDRIVERCAPS) == 44);
static_assert(offsetof(CAPDRIVERCAPS, wDeviceIndex) == 0);
static_assert(offsetof(CAPDRIVERCAPS, fHasDlgVideoSource) == 8);
static_assert(offsetof(CAPDRIVERCAPS, fHasDlgVideoFormat) == 12);

struct CAPSTATUS {
    std::uint32_t uiImageWidth;
    std::uint32_t uiImageHeight;
    std::int32_t fLiveWindow;
    std::int32_t fOverlayWindow;
    std::int32_t fScale;
    std::int32_t ptScrollX;
    std::int32_t ptScrollY;
    std::int32_t fUsingDefaultPalette;
    std::int32_t fAudioHardware;
    std::int32_t fCapFileExists;
    std::uint32_t dwCurrentVideoFrame;
    std::uint32_t dwCurrentVideoFramesDropped;
    std::uint32_t dwCurrentWaveSamples;
    std::uint32_t dwCurrentTimeElapsedMS;
    std::uint32_t hPalCurrent;
    std::int32_t fCapturingNow;
    std::uint32_t dwReturn;
    std::uint32_t wNumVideoAllocated;
    std::uint32_t wNumAudioAllocated;
};
static_assert(sizeof(CAPSTATUS) == 76);
static_assert(offsetof(CAPSTATUS, uiImageWidth) == 0);
static_assert(offsetof(CAPSTATUS, uiImageHeight) == 4);

struct CAPTUREPARMS {
    std::uint32_t dwRequestMicroSecPerFrame;
    std::int32_t fMakeUserHitOKToCapture;
    std::uint32_t wPercentDropForError;
    std::int32_t fYield;
    std::uint32_t dwIndexSize;
    std::uint32_t wChunkGranularity;
    std::int32_t fUsingDOSMemory;
    std::uint32_t wNumVideoRequested;
    std::int32_t fCaptureAudio;
    std::uint32_t wNumAudioRequested;
    std::uint32_t vKeyAbort;
    std::int32_t fAbortLeftMouse;
    std::int32_t fAbortRightMouse;
    std::int32_t fLimitEnabled;
    std::uint32_t wTimeLimit;
    std::int32_t fMCIControl;
    std::int32_t fStepMCIDevice;
    std::uint32_t dwMCIStartTime;
    std::uint32_t dwMCIStopTime;
    std::int32_t fStepCaptureAt2x;
    std::uint32_t wStepCaptureAverageFrames;
    std::uint32_t dwAudioBufferSize;
    std::int32_t fDisableWriteCache;
};
static_assert(sizeof(CAPTUREPARMS) == 92);
static_assert(offsetof(CAPTUREPARMS, fYield) == 12);

#pragma pack(push, 2)
struct BITMAPINFOHEADER {
    std::uint32_t biSize;
    std::int32_t biWidth;
    std::int32_t biHeight;
    std::uint16_t biPlanes;
    std::int16_t biBitCount;
    std::uint32_t biCompression;
    std::uint32_t biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;
    std::uint32_t biClrImportant;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPINFOHEADER) == 40);
static_assert(offsetof(BITMAPINFOHEADER, biWidth) == 4);
static_assert(offsetof(BITMAPINFOHEADER, biHeight) == 8);
static_assert(offsetof(BITMAPINFOHEADER, biBitCount) == 14);

constexpr std::uint32_t BI_RGB = 0;

struct VIDEOHDR {
    std::uint8_t* lpData;
    std::uint32_t dwBufferLength;
    std::uint32_t dwBytesUsed;
    std::uint32_t dwTimeCaptured;
    std::uint32_t dwUser;
    std::uint32_t dwFlags;
    std::uint32_t dwReserved[4];
};
static_assert(offsetof(VIDEOHDR, lpData) == 0);
static_assert(offsetof(VIDEOHDR, dwBufferLength) == sizeof(void*));
static_assert(offsetof(VIDEOHDR, dwBytesUsed) == sizeof(void*) + 4);

// The frame routine: the calling window's handle and the frame's header; answers 0.
using FrameCallbackProc = std::int32_t (*)(CaptureHandle captureWindow, VIDEOHDR* header);

// Boolean values as the capture protocol sends them.
constexpr std::int32_t CaptureTrue = -1;
constexpr std::int32_t CaptureFalse = 0;

} // namespace capture
