// The per-frame cost of reducing a camera frame to the 160 x 120 x 24
// capture format, the brightest of each block. Goal: at most 1 ms a frame,
// so that at 30 frames per second the conversion takes at most 3% of one core.

#include "cameras/qt/VideoFrameConversion.h"

#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <benchmark/benchmark.h>
#include <cstdint>

namespace {

// A frame of the layout, filled with a byte pattern that varies across the
// picture (the content does not change the cost).
QVideoFrame patternFrame(QVideoFrameFormat::PixelFormat layout, QSize size) {
    QVideoFrame frame{QVideoFrameFormat(size, layout)};
    if (frame.map(QVideoFrame::WriteOnly)) {
        for (int plane = 0; plane < frame.planeCount(); ++plane) {
            uchar* bytes = frame.bits(plane);
            for (int i = 0; i < frame.mappedBytes(plane); ++i)
                bytes[i] = static_cast<uchar>((i * 31 + plane * 17) & 0xFF);
        }
        frame.unmap();
    }
    return frame;
}

void convertFrames(benchmark::State& state, QVideoFrameFormat::PixelFormat layout, QSize size) {
    const QVideoFrame frame = patternFrame(layout, size);
    const capture::FrameLayout output; // 160 x 120 x 24, rows bottom-up
    std::vector<std::uint8_t> out;
    for (auto _ : state) {
        const bool ok = qtcamera::convertVideoFrame(frame, output, out);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

void ConvertYuyv640x480(benchmark::State& state) {
    convertFrames(state, QVideoFrameFormat::Format_YUYV, QSize(640, 480));
}
void ConvertNv12_640x480(benchmark::State& state) {
    convertFrames(state, QVideoFrameFormat::Format_NV12, QSize(640, 480));
}
void ConvertYuyv1280x720(benchmark::State& state) {
    convertFrames(state, QVideoFrameFormat::Format_YUYV, QSize(1280, 720));
}
void ConvertI420_1280x720(benchmark::State& state) {
    convertFrames(state, QVideoFrameFormat::Format_YUV420P, QSize(1280, 720));
}
void ConvertRgb32_1280x720(benchmark::State& state) {
    convertFrames(state, QVideoFrameFormat::Format_XRGB8888, QSize(1280, 720));
}

} // namespace

BENCHMARK(ConvertYuyv640x480)->Unit(benchmark::kMicrosecond);
BENCHMARK(ConvertNv12_640x480)->Unit(benchmark::kMicrosecond);
BENCHMARK(ConvertYuyv1280x720)->Unit(benchmark::kMicrosecond);
BENCHMARK(ConvertI420_1280x720)->Unit(benchmark::kMicrosecond);
BENCHMARK(ConvertRgb32_1280x720)->Unit(benchmark::kMicrosecond);
