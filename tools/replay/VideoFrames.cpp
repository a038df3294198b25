// GStreamer straight, not a media player: a player keeps to the video's
// clock and drops late frames, while a tuning run needs every frame, as
// fast as they decode.

#include "tools/replay/VideoFrames.h"

#include "capture/service/FrameReduction.h"
#include "tools/replay/FrameFiles.h"

#include <QList>
#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include <algorithm>

namespace replay {

namespace {

// The layouts the reduction reads, in the order GStreamer should prefer.
constexpr const char* SinkCaps =
    "video/x-raw, format=(string){ I420, YV12, NV12, NV21, YUY2, UYVY, Y42B, GRAY8, BGRx, "
    "RGBx, xRGB, xBGR, BGRA, RGBA, ARGB, ABGR, BGR, RGB }";

bool layoutOf(GstVideoFormat format, capture::CameraPicture& picture) {
    using capture::PixelLayout;
    switch (format) {
    case GST_VIDEO_FORMAT_I420:
        return picture.setLayout(PixelLayout::Yuv420p);
    case GST_VIDEO_FORMAT_YV12:
        return picture.setLayout(PixelLayout::Yv12);
    case GST_VIDEO_FORMAT_NV12:
        return picture.setLayout(PixelLayout::Nv12);
    case GST_VIDEO_FORMAT_NV21:
        return picture.setLayout(PixelLayout::Nv21);
    case GST_VIDEO_FORMAT_YUY2:
        return picture.setLayout(PixelLayout::Yuyv);
    case GST_VIDEO_FORMAT_UYVY:
        return picture.setLayout(PixelLayout::Uyvy);
    case GST_VIDEO_FORMAT_Y42B:
        return picture.setLayout(PixelLayout::Yuv422p);
    case GST_VIDEO_FORMAT_GRAY8:
        return picture.setLayout(PixelLayout::Grey8);
    case GST_VIDEO_FORMAT_BGRx:
    case GST_VIDEO_FORMAT_BGRA:
        return picture.setLayout(PixelLayout::Rgb32, 2, 1, 0);
    case GST_VIDEO_FORMAT_RGBx:
    case GST_VIDEO_FORMAT_RGBA:
        return picture.setLayout(PixelLayout::Rgb32, 0, 1, 2);
    case GST_VIDEO_FORMAT_xRGB:
    case GST_VIDEO_FORMAT_ARGB:
        return picture.setLayout(PixelLayout::Rgb32, 1, 2, 3);
    case GST_VIDEO_FORMAT_xBGR:
    case GST_VIDEO_FORMAT_ABGR:
        return picture.setLayout(PixelLayout::Rgb32, 3, 2, 1);
    case GST_VIDEO_FORMAT_BGR:
        return picture.setLayout(PixelLayout::Rgb24, 2, 1, 0);
    case GST_VIDEO_FORMAT_RGB:
        return picture.setLayout(PixelLayout::Rgb24, 0, 1, 2);
    default:
        return false;
    }
}

struct Unref {
    void operator()(GstElement* element) const { gst_object_unref(element); }
    void operator()(GstBus* bus) const { gst_object_unref(bus); }
    void operator()(GstSample* sample) const { gst_sample_unref(sample); }
    void operator()(GstMessage* message) const { gst_message_unref(message); }
};
template <typename T> using Owned = std::unique_ptr<T, Unref>;

QString errorText(GstMessage* message) {
    GError* error = nullptr;
    gchar* debug = nullptr;
    gst_message_parse_error(message, &error, &debug);
    QString text = error != nullptr ? QString::fromUtf8(error->message)
                                    : QStringLiteral("the video cannot be decoded");
    if (error != nullptr)
        g_error_free(error);
    g_free(debug);
    return text;
}

} // namespace

struct VideoFrames::Pipeline {
    Owned<GstElement> playbin;
    GstElement* sink = nullptr; // owned by playbin
    Owned<GstBus> bus;
    QByteArray path;

    ~Pipeline() {
        if (playbin)
            gst_element_set_state(playbin.get(), GST_STATE_NULL);
    }

    // An error the pipeline has posted, if any.
    QString pendingError() const {
        const Owned<GstMessage> message(gst_bus_pop_filtered(bus.get(), GST_MESSAGE_ERROR));
        return message ? errorText(message.get()) : QString();
    }
};

bool VideoFrames::isVideoName(const QByteArray& path) {
    const qsizetype dot = path.lastIndexOf('.');
    if (dot < 0 || path.indexOf('/', dot) >= 0)
        return false;
    static const QList<QByteArray> suffixes = {"mp4", "m4v", "mkv", "webm", "avi", "mov",
                                               "ogv", "ogg", "mpg", "mpeg", "wmv", "flv",
                                               "3gp", "ts",  "mts", "mjpeg"};
    return suffixes.contains(path.mid(dot + 1).toLower());
}

std::unique_ptr<VideoFrames> VideoFrames::open(const QByteArray& path, QString& error) {
    const auto refuse = [&](const QString& why) {
        error = QStringLiteral("cannot read video '%1': %2").arg(displayName(path), why);
        return nullptr;
    };
    GError* initError = nullptr;
    if (!gst_init_check(nullptr, nullptr, &initError)) {
        const QString why = QString::fromUtf8(initError != nullptr ? initError->message : "");
        g_clear_error(&initError);
        return refuse(QStringLiteral("GStreamer cannot start: %1").arg(why));
    }
    auto pipeline = std::make_unique<Pipeline>();
    pipeline->path = path;
    GstElement* playbin = gst_element_factory_make("playbin", nullptr);
    GstElement* sink = gst_element_factory_make("appsink", nullptr);
    GstElement* silence = gst_element_factory_make("fakesink", nullptr);
    if (playbin == nullptr || sink == nullptr || silence == nullptr) {
        for (GstElement* element : {playbin, sink, silence})
            if (element != nullptr)
                gst_object_unref(gst_object_ref_sink(element));
        return refuse(QStringLiteral("GStreamer's playback elements are missing "
                                     "(install gstreamer1.0-plugins-base)"));
    }
    pipeline->playbin.reset(GST_ELEMENT(gst_object_ref_sink(playbin)));
    pipeline->sink = sink;
    GstCaps* caps = gst_caps_from_string(SinkCaps);
    // Every frame, as fast as it decodes; two waiting at most.
    g_object_set(sink, "caps", caps, "sync", FALSE, "max-buffers", 2U, "drop", FALSE,
                 "enable-last-sample", FALSE, nullptr);
    gst_caps_unref(caps);
    g_object_set(silence, "sync", FALSE, nullptr);

    gchar* uri = gst_filename_to_uri(path.constData(), nullptr);
    if (uri == nullptr)
        return refuse(QStringLiteral("the name cannot be made into an address"));
    constexpr guint PlayVideoOnly = 1; // GST_PLAY_FLAG_VIDEO
    g_object_set(playbin, "uri", uri, "video-sink", sink, "audio-sink", silence, "flags",
                 PlayVideoOnly, nullptr);
    g_free(uri);
    pipeline->bus.reset(gst_element_get_bus(playbin));

    const bool paused =
        gst_element_set_state(playbin, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE &&
        gst_element_get_state(playbin, nullptr, nullptr, GST_CLOCK_TIME_NONE) !=
            GST_STATE_CHANGE_FAILURE;
    // A sound file fails with only a stream error of GStreamer's; the
    // streams it found say what is wrong.
    gint videos = 0;
    gint others = 0;
    g_object_get(playbin, "n-video", &videos, "n-audio", &others, nullptr);
    if (videos == 0 && (paused || others > 0))
        return refuse(QStringLiteral("no video in it"));
    if (!paused) {
        const QString why = pipeline->pendingError();
        return refuse(why.isEmpty() ? QStringLiteral("not a video GStreamer can decode") : why);
    }
    if (gst_element_set_state(playbin, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        return refuse(pipeline->pendingError());
    return std::unique_ptr<VideoFrames>(new VideoFrames(std::move(pipeline)));
}

VideoFrames::VideoFrames(std::unique_ptr<Pipeline> pipeline) : pipeline_(std::move(pipeline)) {}

VideoFrames::~VideoFrames() = default;

bool VideoFrames::next(std::vector<std::uint8_t>& frame, double& seconds, QSize& size,
                       QString& error, capture::FullFrameCopy* picture) {
    error.clear();
    const auto fail = [&](const QString& why) {
        error = QStringLiteral("cannot read video '%1': %2").arg(displayName(pipeline_->path), why);
        return false;
    };
    // Waits in steps, so an error posted while no frame comes ends the wait.
    constexpr GstClockTime Step = 100 * GST_MSECOND;
    Owned<GstSample> sample;
    while (!sample) {
        sample.reset(gst_app_sink_try_pull_sample(GST_APP_SINK(pipeline_->sink), Step));
        if (sample)
            break;
        if (const QString why = pipeline_->pendingError(); !why.isEmpty())
            return fail(why);
        if (gst_app_sink_is_eos(GST_APP_SINK(pipeline_->sink)))
            return false;
    }
    GstVideoInfo info;
    GstBuffer* buffer = gst_sample_get_buffer(sample.get());
    if (buffer == nullptr || !gst_video_info_from_caps(&info, gst_sample_get_caps(sample.get())))
        return fail(QStringLiteral("a frame without a picture"));
    capture::CameraPicture camera;
    if (!layoutOf(GST_VIDEO_INFO_FORMAT(&info), camera))
        return fail(QStringLiteral("frames in a layout that cannot be read"));
    GstVideoFrame mapped;
    if (!gst_video_frame_map(&mapped, &info, buffer, GST_MAP_READ))
        return fail(QStringLiteral("a frame that cannot be read"));
    const int width = GST_VIDEO_INFO_WIDTH(&info);
    const int height = GST_VIDEO_INFO_HEIGHT(&info);
    camera.viewport = QRect(0, 0, width, height);
    const guint planes = GST_VIDEO_FRAME_N_PLANES(&mapped);
    for (guint i = 0; i < planes && i < 3; ++i) {
        camera.data[i] = static_cast<const std::uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&mapped, i));
        camera.stride[i] = GST_VIDEO_FRAME_PLANE_STRIDE(&mapped, i);
        // The rows of the plane's first component, each a stride long.
        gint components[GST_VIDEO_MAX_COMPONENTS] = {};
        gst_video_format_info_component(info.finfo, i, components);
        const gint rows = GST_VIDEO_FRAME_COMP_HEIGHT(&mapped, std::max(components[0], 0));
        camera.size[i] = static_cast<std::size_t>(std::max(rows, 0)) *
                         static_cast<std::size_t>(std::max(camera.stride[i], std::ptrdiff_t{0}));
    }
    camera.bt709 = info.colorimetry.matrix == GST_VIDEO_COLOR_MATRIX_BT709;
    camera.fullRange = info.colorimetry.range == GST_VIDEO_COLOR_RANGE_0_255;
    const bool reduced = capture::reducePicture(camera, capture::FrameLayout{}, frame);
    if (reduced && picture != nullptr) {
        const std::optional<capture::FullFrame> full = capture::describeFullFrame(camera);
        picture->assign(full.value_or(capture::FullFrame{}));
    }
    gst_video_frame_unmap(&mapped);
    if (!reduced)
        return fail(QStringLiteral("a frame whose planes do not add up"));
    const GstClockTime stamp = GST_BUFFER_PTS(buffer);
    seconds = GST_CLOCK_TIME_IS_VALID(stamp) ? static_cast<double>(stamp) / GST_SECOND : -1;
    size = QSize(width, height);
    return true;
}

} // namespace replay
