// A fake camera for GStreamer: a device provider announcing the cameras of a
// configuration file, and a live source that plays a folder of pictures (or a
// grey ramp) at the camera's pace. Loaded through GST_PLUGIN_PATH, it lets
// Qt Multimedia run its real camera path on machines without a camera.
//
// FAKE_CAMERA_CONFIG names the file; one camera per line:
//     name | modes | folder
// modes: comma-separated "FORMAT WIDTHxHEIGHT" (FORMAT YUY2, I420 or BGRx;
// or MJPG, for a camera that offers nothing else), empty for every raw
// format at 160x120 to 1280x720; folder: pictures
// played in name order, empty for a grey ramp. The file is read again when
// it changes: a line that goes is an unplugged camera, a line that comes back
// a camera plugged in again (under a new device).

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <atomic>
#include <gst/base/gstpushsrc.h>
#include <gst/gst.h>
#include <map>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr int Rate = 30;

struct CameraLine {
    QString name, folder;
    bool mjpeg = false;
    GstCaps* caps = nullptr; // the modes, as the device announces them
};

CameraLine parseLine(const QString& line) {
    const QStringList fields = line.split(QLatin1Char('|'));
    CameraLine camera{fields.value(0).trimmed(), fields.value(2).trimmed()};
    QStringList modes = fields.value(1).split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (modes.isEmpty())
        for (const char* format : {"YUY2", "I420", "BGRx"})
            for (const char* size : {"160x120", "320x240", "640x480", "1280x720"})
                modes << QStringLiteral("%1 %2").arg(QLatin1String(format), QLatin1String(size));
    camera.caps = gst_caps_new_empty();
    for (const QString& mode : modes) {
        const QStringList parts = mode.trimmed().split(QRegularExpression(QStringLiteral("[ x]")));
        const int width = parts.value(1).toInt(), height = parts.value(2).toInt();
        camera.mjpeg = parts.value(0) == QLatin1String("MJPG");
        GstStructure* s = camera.mjpeg
                              ? gst_structure_new_empty("image/jpeg")
                              : gst_structure_new("video/x-raw", "format", G_TYPE_STRING,
                                                  parts.value(0).toUtf8().constData(), nullptr);
        gst_structure_set(s, "width", G_TYPE_INT, width, "height", G_TYPE_INT, height, "framerate",
                          GST_TYPE_FRACTION, Rate, 1, nullptr);
        gst_caps_append_structure(camera.caps, s);
    }
    return camera;
}

QStringList configLines() {
    QFile file(qEnvironmentVariable("FAKE_CAMERA_CONFIG"));
    QStringList lines;
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty() && !line.trimmed().startsWith(QLatin1Char('#')))
            lines << line.trimmed();
    return lines;
}

// ---- the device ----

struct DeviceState {
    QString folder;
    bool mjpeg = false;
    std::atomic<bool> unplugged{false}; // read by its sources: an unplugged camera goes silent
};
struct FakeDevice {
    GstDevice parent;
    DeviceState* state;
};
struct FakeDeviceClass {
    GstDeviceClass parent;
};
G_DEFINE_TYPE(FakeDevice, fake_device, GST_TYPE_DEVICE)

// ---- the source ----

struct SrcState {
    FakeDevice* device = nullptr; // null for a source made by name: the ramp
    std::vector<GstBuffer*> frames;
    GstClockTime duration = 0, next = GST_CLOCK_TIME_NONE;
    guint64 index = 0;
    GstClockID wait = nullptr;
    bool flushing = false;
};
struct FakeSrc {
    GstPushSrc parent;
    SrcState* state;
};
struct FakeSrcClass {
    GstPushSrcClass parent;
};
G_DEFINE_TYPE(FakeSrc, fake_src, GST_TYPE_PUSH_SRC)

const char* const SrcCaps = "video/x-raw, format=(string){ YUY2, I420, BGRx }, "
                            "width=(int)[ 16, 4096 ], height=(int)[ 16, 4096 ], "
                            "framerate=(fraction)30/1";

// A grey ramp, for a camera without pictures.
QImage pattern(QSize size) {
    QImage picture(256, 1, QImage::Format_RGB32);
    for (int x = 0; x < 256; ++x)
        picture.setPixel(x, 0, qRgb(x, x, x));
    return picture.scaled(size);
}

// One picture in the caps' layout: BT.601 video range for YUV.
GstBuffer* frameBuffer(const QImage& rgb, const char* format) {
    const int w = rgb.width(), h = rgb.height();
    const bool packed = g_str_equal(format, "YUY2"), planar = g_str_equal(format, "I420");
    const gsize ys = GST_ROUND_UP_4(w * (packed ? 2 : 1)), cs = GST_ROUND_UP_4((w + 1) / 2);
    const gsize size = packed   ? ys * h
                       : planar ? ys * h + 2 * cs * ((h + 1) / 2)
                                : gsize(w) * 4 * h;
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, size, nullptr);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_WRITE);
    guint8* out = map.data;
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        if (!packed && !planar) {
            memcpy(out + gsize(y) * w * 4, line, gsize(w) * 4);
            continue;
        }
        for (int x = 0; x < w; ++x) {
            const int r = qRed(line[x]), g = qGreen(line[x]), b = qBlue(line[x]);
            const auto luma = guint8(16 + ((66 * r + 129 * g + 25 * b + 128) >> 8));
            const auto u = guint8(128 + ((-38 * r - 74 * g + 112 * b + 128) >> 8));
            const auto v = guint8(128 + ((112 * r - 94 * g - 18 * b + 128) >> 8));
            if (packed) {
                guint8* px = out + gsize(y) * ys + gsize(x) * 2;
                px[0] = luma;
                px[1] = x % 2 == 0 ? u : v;
                if (x % 2 == 0 && x + 1 < w)
                    px[3] = v;
                continue;
            }
            out[y * ys + x] = luma;
            if (x % 2 == 0 && y % 2 == 0) {
                const gsize c = ys * h + (y / 2) * cs + x / 2;
                out[c] = u;
                out[c + cs * ((h + 1) / 2)] = v;
            }
        }
    }
    gst_buffer_unmap(buffer, &map);
    return buffer;
}

void dropFrames(SrcState* src) {
    for (GstBuffer* buffer : src->frames)
        gst_buffer_unref(buffer);
    src->frames.clear();
}

gboolean fakeSrcSetCaps(GstBaseSrc* base, GstCaps* caps) {
    auto* src = reinterpret_cast<FakeSrc*>(base)->state;
    const GstStructure* s = gst_caps_get_structure(caps, 0);
    int w = 0, h = 0, num = Rate, den = 1;
    gst_structure_get_int(s, "width", &w);
    gst_structure_get_int(s, "height", &h);
    gst_structure_get_fraction(s, "framerate", &num, &den);
    src->duration = gst_util_uint64_scale_int(GST_SECOND, den, std::max(num, 1));
    dropFrames(src);
    QStringList files;
    if (src->device && !src->device->state->folder.isEmpty())
        for (const QFileInfo& f :
             QDir(src->device->state->folder).entryInfoList(QDir::Files, QDir::Name))
            files << f.filePath();
    const QSize size(w, h);
    for (const QString& file : files) {
        const QImage picture(file);
        if (!picture.isNull())
            src->frames.push_back(
                frameBuffer(picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                .convertToFormat(QImage::Format_RGB32),
                            gst_structure_get_string(s, "format")));
    }
    if (src->frames.empty())
        src->frames.push_back(frameBuffer(pattern(size), gst_structure_get_string(s, "format")));
    return TRUE;
}

// Waits for the frame's time on the pipeline clock, so frames come at the
// camera's pace and carry their running time, as a live camera's do.
GstFlowReturn fakeSrcCreate(GstPushSrc* push, GstBuffer** out) {
    auto* src = reinterpret_cast<FakeSrc*>(push)->state;
    auto* element = GST_ELEMENT(push);
    for (;;) {
        GstClock* clock = gst_element_get_clock(element);
        if (!clock)
            return GST_FLOW_FLUSHING;
        const GstClockTime base = gst_element_get_base_time(element);
        if (src->next == GST_CLOCK_TIME_NONE)
            src->next = gst_clock_get_time(clock) - base;
        GST_OBJECT_LOCK(element);
        if (src->flushing) {
            GST_OBJECT_UNLOCK(element);
            gst_object_unref(clock);
            return GST_FLOW_FLUSHING;
        }
        src->wait = gst_clock_new_single_shot_id(clock, base + src->next);
        GST_OBJECT_UNLOCK(element);
        gst_object_unref(clock);
        const GstClockReturn waited = gst_clock_id_wait(src->wait, nullptr);
        GST_OBJECT_LOCK(element);
        gst_clock_id_unref(src->wait);
        src->wait = nullptr;
        GST_OBJECT_UNLOCK(element);
        if (waited == GST_CLOCK_UNSCHEDULED)
            return GST_FLOW_FLUSHING;
        const GstClockTime at = src->next;
        src->next += src->duration;
        if (src->device && src->device->state->unplugged.load())
            continue; // an unplugged camera sends nothing more
        GstBuffer* buffer = gst_buffer_copy(src->frames[src->index++ % src->frames.size()]);
        GST_BUFFER_PTS(buffer) = at;
        GST_BUFFER_DURATION(buffer) = src->duration;
        *out = buffer;
        return GST_FLOW_OK;
    }
}

gboolean fakeSrcUnlock(GstBaseSrc* base) {
    auto* src = reinterpret_cast<FakeSrc*>(base)->state;
    GST_OBJECT_LOCK(base);
    src->flushing = true;
    if (src->wait)
        gst_clock_id_unschedule(src->wait);
    GST_OBJECT_UNLOCK(base);
    return TRUE;
}

gboolean fakeSrcUnlockStop(GstBaseSrc* base) {
    auto* src = reinterpret_cast<FakeSrc*>(base)->state;
    GST_OBJECT_LOCK(base);
    src->flushing = false;
    src->next = GST_CLOCK_TIME_NONE;
    GST_OBJECT_UNLOCK(base);
    return TRUE;
}

void fake_src_init(FakeSrc* src) {
    src->state = new SrcState; // NOLINT(cppcoreguidelines-owning-memory): deleted in finalize
    gst_base_src_set_live(GST_BASE_SRC(src), TRUE);
    gst_base_src_set_format(GST_BASE_SRC(src), GST_FORMAT_TIME);
}

void fakeSrcFinalize(GObject* object) {
    SrcState* src = reinterpret_cast<FakeSrc*>(object)->state;
    dropFrames(src);
    if (src->device)
        gst_object_unref(src->device);
    delete src; // NOLINT(cppcoreguidelines-owning-memory): made in init
    G_OBJECT_CLASS(fake_src_parent_class)->finalize(object);
}

void fake_src_class_init(FakeSrcClass* klass) {
    G_OBJECT_CLASS(klass)->finalize = fakeSrcFinalize;
    auto* element = GST_ELEMENT_CLASS(klass);
    gst_element_class_set_static_metadata(element, "Fake camera source", "Source/Video",
                                          "Plays pictures at a camera's pace", "Vantorel");
    gst_element_class_add_pad_template(
        element,
        gst_pad_template_new("src", GST_PAD_SRC, GST_PAD_ALWAYS, gst_caps_from_string(SrcCaps)));
    auto* base = GST_BASE_SRC_CLASS(klass);
    base->set_caps = fakeSrcSetCaps;
    base->unlock = fakeSrcUnlock;
    base->unlock_stop = fakeSrcUnlockStop;
    GST_PUSH_SRC_CLASS(klass)->create = fakeSrcCreate;
}

// ---- the device, continued ----

GstElement* fakeDeviceCreateElement(GstDevice* device, const gchar* name) {
    auto* fake = reinterpret_cast<FakeDevice*>(device);
    auto* src = static_cast<FakeSrc*>(g_object_new(fake_src_get_type(), nullptr));
    src->state->device = static_cast<FakeDevice*>(gst_object_ref(fake));
    GstElement* bin = gst_bin_new(name);
    GstElement* last = GST_ELEMENT(src);
    gst_bin_add(GST_BIN(bin), last);
    if (fake->state->mjpeg) { // an MJPEG camera encodes inside, as its firmware would
        GstElement* encoder = gst_element_factory_make("jpegenc", nullptr);
        gst_bin_add(GST_BIN(bin), encoder);
        gst_element_link(last, encoder);
        last = encoder;
    }
    GstPad* pad = gst_element_get_static_pad(last, "src");
    gst_element_add_pad(bin, gst_ghost_pad_new("src", pad));
    gst_object_unref(pad);
    return bin;
}

void fakeDeviceFinalize(GObject* object) {
    delete reinterpret_cast<FakeDevice*>(object)->state; // NOLINT: made in init
    G_OBJECT_CLASS(fake_device_parent_class)->finalize(object);
}

void fake_device_init(FakeDevice* device) {
    device->state = new DeviceState; // NOLINT(cppcoreguidelines-owning-memory): deleted in finalize
}

void fake_device_class_init(FakeDeviceClass* klass) {
    G_OBJECT_CLASS(klass)->finalize = fakeDeviceFinalize;
    GST_DEVICE_CLASS(klass)->create_element = fakeDeviceCreateElement;
}

GstDevice* newDevice(const QString& line) {
    const CameraLine camera = parseLine(line);
    // Not named like the V4L2 provider's properties: Qt would open a device node.
    GstStructure* properties = gst_structure_new_empty("fakecamera");
    auto* device = static_cast<FakeDevice*>(g_object_new(
        fake_device_get_type(), "display-name", camera.name.toUtf8().constData(), "device-class",
        "Video/Source", "caps", camera.caps, "properties", properties, nullptr));
    gst_caps_unref(camera.caps);
    gst_structure_free(properties);
    device->state->folder = camera.folder;
    device->state->mjpeg = camera.mjpeg;
    return GST_DEVICE(device);
}

// ---- the provider ----

struct ProviderState {
    std::map<QString, GstDevice*> plugged; // by configuration line
    std::thread watcher;
    std::atomic<bool> stopping{false};
};
struct FakeProvider {
    GstDeviceProvider parent;
    ProviderState* state;
};
struct FakeProviderClass {
    GstDeviceProviderClass parent;
};
G_DEFINE_TYPE(FakeProvider, fake_provider, GST_TYPE_DEVICE_PROVIDER)

// Makes the device list follow the file: lines gone are unplugged, new lines
// plugged in. Quietly at start, since the monitor lists them then.
void follow(FakeProvider* provider, bool announce) {
    const QStringList lines = configLines();
    auto& plugged = provider->state->plugged;
    for (auto it = plugged.begin(); it != plugged.end();) {
        if (lines.contains(it->first)) {
            ++it;
            continue;
        }
        reinterpret_cast<FakeDevice*>(it->second)->state->unplugged.store(true);
        gst_device_provider_device_remove(GST_DEVICE_PROVIDER(provider), it->second);
        gst_object_unref(it->second);
        it = plugged.erase(it);
    }
    for (const QString& line : lines) {
        if (plugged.count(line))
            continue;
        // The map keeps one reference; the provider's list holds the parent's.
        GstDevice* device = GST_DEVICE(gst_object_ref_sink(newDevice(line)));
        plugged[line] = device;
        if (announce) {
            gst_device_provider_device_add(GST_DEVICE_PROVIDER(provider), device);
            continue;
        }
        gst_object_set_parent(GST_OBJECT(device), GST_OBJECT(provider));
        GST_OBJECT_LOCK(provider);
        // Prepended: the device monitor hands the list over back to front.
        provider->parent.devices = g_list_prepend(provider->parent.devices, device);
        GST_OBJECT_UNLOCK(provider);
    }
}

gboolean fakeProviderStart(GstDeviceProvider* base) {
    auto* provider = reinterpret_cast<FakeProvider*>(base);
    follow(provider, false);
    ProviderState* state = provider->state;
    state->stopping.store(false);
    state->watcher = std::thread([provider, state] {
        for (QStringList seen = configLines(); !state->stopping; g_usleep(20000)) {
            // A file gone (the tests' folder removed at exit) changes nothing.
            if (QFile::exists(qEnvironmentVariable("FAKE_CAMERA_CONFIG")) &&
                configLines() != seen) {
                seen = configLines();
                follow(provider, true);
            }
        }
    });
    return TRUE;
}

void fakeProviderStop(GstDeviceProvider* base) {
    ProviderState* state = reinterpret_cast<FakeProvider*>(base)->state;
    state->stopping.store(true);
    if (state->watcher.joinable())
        state->watcher.join();
}

void fake_provider_init(FakeProvider* provider) {
    // Lives as long as the plugin: providers are made once and never freed.
    provider->state = new ProviderState; // NOLINT(cppcoreguidelines-owning-memory)
}

void fake_provider_class_init(FakeProviderClass* klass) {
    auto* base = GST_DEVICE_PROVIDER_CLASS(klass);
    base->start = fakeProviderStart;
    base->stop = fakeProviderStop;
    gst_device_provider_class_set_static_metadata(base, "Fake cameras", "Source/Video",
                                                  "Cameras of a configuration file", "Vantorel");
}

gboolean pluginInit(GstPlugin* plugin) {
    // Rank at least 1, or the device monitor never starts the provider.
    return gst_device_provider_register(plugin, "fakecameraprovider", GST_RANK_PRIMARY,
                                        fake_provider_get_type()) &&
           gst_element_register(plugin, "fakecamerasrc", GST_RANK_NONE, fake_src_get_type());
}

} // namespace

#define PACKAGE "vantorel-tests"
GST_PLUGIN_DEFINE(GST_VERSION_MAJOR, GST_VERSION_MINOR, fakecamera, "Fake cameras for tests",
                  pluginInit, "1.0", "GPL", PACKAGE, "https://vantorel.example.org/")
