#include "platform/wayland/screen_copy.h"

#include "wlr-screencopy-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"

#include <QPainter>
#include <QRect>

#include <wayland-client.h>

#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <list>
#include <utility>

namespace platform::wayland {

namespace {

using Clock = std::chrono::steady_clock;

// A compositor copies an output within a frame or two; one that hangs must
// leave time for the portal.
constexpr std::chrono::milliseconds kPatience{2000};

class Copier;

struct Output {
    Copier* owner = nullptr;
    uint32_t name = 0;
    wl_output* output = nullptr;
    zxdg_output_v1* place = nullptr;
    QRect logical;
    int32_t transform = WL_OUTPUT_TRANSFORM_NORMAL;

    zwlr_screencopy_frame_v1* frame = nullptr;
    // The shared-memory buffer the compositor asked for.
    bool offered = false;
    uint32_t format = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t stride = 0;
    uint32_t flags = 0;
    wl_buffer* buffer = nullptr;
    void* pixels = MAP_FAILED;
    size_t size = 0;
    enum { Waiting, Copied, Failed } state = Waiting;
};

class Copier {
public:
    Copier() : deadline_(Clock::now() + kPatience) { }
    ~Copier();
    Copier(const Copier&) = delete;
    Copier& operator=(const Copier&) = delete;

    std::optional<QImage> Copy();

private:
    bool RoundTrip();
    // Dispatches until `done` holds; false on the deadline or a broken
    // connection.
    bool DispatchUntil(const std::function<bool()>& done);
    void StartCopy(Output& output);
    std::optional<QImage> Compose();

    static void Global(
        void* data, wl_registry*, uint32_t name, const char* interface, uint32_t version);
    static void GlobalRemove(void* data, wl_registry*, uint32_t name);
    static constexpr wl_registry_listener kRegistry{&Global, &GlobalRemove};

    static void Position(void* data, zxdg_output_v1*, int32_t x, int32_t y);
    static void Size(void* data, zxdg_output_v1*, int32_t width, int32_t height);
    static void Ignore(void*, zxdg_output_v1*) { }
    static void IgnoreText(void*, zxdg_output_v1*, const char*) { }
    static constexpr zxdg_output_v1_listener kPlace{
        &Position, &Size, &Ignore, &IgnoreText, &IgnoreText};

    static void Geometry(void* data, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t,
        const char*, const char*, int32_t transform);
    static void Mode(void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) { }
    static void Done(void*, wl_output*) { }
    static void Scale(void*, wl_output*, int32_t) { }
    static void Text(void*, wl_output*, const char*) { }
    // Bound at version 1, it gets no names; the listener holds them all.
    static constexpr wl_output_listener kOutput{&Geometry, &Mode, &Done, &Scale, &Text, &Text};

    static void Buffer(void* data, zwlr_screencopy_frame_v1*, uint32_t format, uint32_t width,
        uint32_t height, uint32_t stride);
    static void Flags(void* data, zwlr_screencopy_frame_v1*, uint32_t flags);
    static void Ready(void* data, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t);
    static void Failed(void* data, zwlr_screencopy_frame_v1*);
    static void Damage(void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t, uint32_t) { }
    static void Dmabuf(void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) { }
    static void BufferDone(void* data, zwlr_screencopy_frame_v1*);
    static constexpr zwlr_screencopy_frame_v1_listener kFrame{
        &Buffer, &Flags, &Ready, &Failed, &Damage, &Dmabuf, &BufferDone};

    Clock::time_point deadline_;
    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_shm* shm_ = nullptr;
    zwlr_screencopy_manager_v1* copier_ = nullptr;
    uint32_t copierVersion_ = 0;
    zxdg_output_manager_v1* places_ = nullptr;
    // A list, so that the listeners' pointers stay put.
    std::list<Output> outputs_;
    // An output came or went since the copy began.
    bool changed_ = false;
};

Copier::~Copier()
{
    for (Output& output : outputs_) {
        if (output.frame)
            zwlr_screencopy_frame_v1_destroy(output.frame);
        if (output.buffer)
            wl_buffer_destroy(output.buffer);
        if (output.pixels != MAP_FAILED)
            munmap(output.pixels, output.size);
        if (output.place)
            zxdg_output_v1_destroy(output.place);
        if (output.output)
            wl_output_destroy(output.output);
    }
    if (places_)
        zxdg_output_manager_v1_destroy(places_);
    if (copier_)
        zwlr_screencopy_manager_v1_destroy(copier_);
    if (shm_)
        wl_shm_destroy(shm_);
    if (registry_)
        wl_registry_destroy(registry_);
    if (display_)
        wl_display_disconnect(display_);
}

bool Copier::DispatchUntil(const std::function<bool()>& done)
{
    while (!done()) {
        while (wl_display_prepare_read(display_) != 0) {
            if (wl_display_dispatch_pending(display_) < 0)
                return false;
            if (done())
                return true;
        }
        if (wl_display_flush(display_) < 0 && errno != EAGAIN) {
            wl_display_cancel_read(display_);
            return false;
        }
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
        pollfd wait{wl_display_get_fd(display_), POLLIN, 0};
        const int ready = left.count() > 0 ? poll(&wait, 1, int(left.count())) : 0;
        if (ready <= 0) {
            wl_display_cancel_read(display_);
            if (ready < 0 && errno == EINTR)
                continue;
            return false;
        }
        if (wl_display_read_events(display_) < 0 || wl_display_dispatch_pending(display_) < 0)
            return false;
    }
    return true;
}

bool Copier::RoundTrip()
{
    bool synced = false;
    static constexpr wl_callback_listener kSynced{
        [](void* data, wl_callback*, uint32_t) { *static_cast<bool*>(data) = true; }};
    wl_callback* sync = wl_display_sync(display_);
    wl_callback_add_listener(sync, &kSynced, &synced);
    const bool ok = DispatchUntil([&synced] { return synced; });
    wl_callback_destroy(sync);
    return ok;
}

std::optional<QImage> Copier::Copy()
{
    display_ = wl_display_connect(nullptr);
    if (!display_)
        return std::nullopt;
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &kRegistry, this);
    if (!RoundTrip() || !shm_ || !copier_ || !places_ || outputs_.empty())
        return std::nullopt;
    for (Output& output : outputs_) {
        output.place = zxdg_output_manager_v1_get_xdg_output(places_, output.output);
        zxdg_output_v1_add_listener(output.place, &kPlace, &output);
        // Without the pointer: the user points at what lies under it.
        output.frame = zwlr_screencopy_manager_v1_capture_output(copier_, 0, output.output);
        zwlr_screencopy_frame_v1_add_listener(output.frame, &kFrame, &output);
    }
    const auto settled = [this] {
        return changed_ || std::all_of(outputs_.begin(), outputs_.end(), [](const Output& output) {
            return output.state != Output::Waiting;
        });
    };
    if (!DispatchUntil(settled) || changed_)
        return std::nullopt;
    for (const Output& output : outputs_) {
        if (output.state != Output::Copied)
            return std::nullopt;
    }
    return Compose();
}

void Copier::StartCopy(Output& output)
{
    if (!output.offered || output.buffer || output.state != Output::Waiting)
        return;
    output.state = Output::Failed;
    output.size = size_t(output.stride) * output.height;
    if (output.width == 0 || output.height == 0 || output.stride / 4 < output.width
        || output.size > size_t(INT32_MAX))
        return;
    const int fd = memfd_create("tinctor-screen-copy", MFD_CLOEXEC);
    if (fd < 0)
        return;
    if (ftruncate(fd, off_t(output.size)) == 0)
        output.pixels = mmap(nullptr, output.size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (output.pixels != MAP_FAILED) {
        wl_shm_pool* pool = wl_shm_create_pool(shm_, fd, int32_t(output.size));
        output.buffer = wl_shm_pool_create_buffer(pool, 0, int32_t(output.width),
            int32_t(output.height), int32_t(output.stride), output.format);
        wl_shm_pool_destroy(pool);
        zwlr_screencopy_frame_v1_copy(output.frame, output.buffer);
        output.state = Output::Waiting;
    }
    close(fd); // the pool and the mapping keep their own references
}

// A picture of a 4K layout is some 50 MB, and touching it the first time
// page by page costs more than filling it: huge pages where the kernel
// gives them on request.
QImage LargeImage(QSize size)
{
    const size_t bytes = size_t(size.width()) * size.height() * 4;
    if (size.isEmpty() || bytes / 4 / size.width() != size_t(size.height()))
        return {};
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        return {};
    madvise(memory, bytes, MADV_HUGEPAGE); // a hint: ordinary pages without it
    auto* mapping = new std::pair<void*, size_t>(memory, bytes);
    return QImage(
        static_cast<uchar*>(memory), size.width(), size.height(), size.width() * 4,
        QImage::Format_RGB32,
        [](void* data) {
            auto* mapped = static_cast<std::pair<void*, size_t>*>(data);
            munmap(mapped->first, mapped->second);
            delete mapped;
        },
        mapping);
}

// The fourth byte is undefined in the X formats, and Qt takes the picture
// for opaque: a zero there would let the covers show through.
constexpr uint32_t kOpaque = 0xFF000000u;

bool Sideways(int32_t transform)
{
    return transform & WL_OUTPUT_TRANSFORM_90; // 90 and 270, flipped or not
}

// The output as the user sees it, in device pixels: a buffer of a turned
// output lies on its side.
QSize Upright(const Output& output)
{
    return Sideways(output.transform) ? QSize(int(output.height), int(output.width))
                                      : QSize(int(output.width), int(output.height));
}

// How to read an output's buffer in the order the user sees its pixels:
// where the top left one lies, in bytes from the buffer's start, and how
// far on the next one is to its right and below it.
struct Walk {
    qint64 origin = 0;
    qint64 right = 4;
    qint64 down = 0;
};

// The buffer holds what the output scans out: its picture mirrored about
// the vertical axis where flipped, then turned counter-clockwise by the
// transform's angle, and upside down where the compositor says so.
Walk WalkOf(const Output& output)
{
    const bool inverted = output.flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT;
    const qint64 stride = output.stride;
    // Rows in scan-out order, whichever way up the compositor wrote them.
    const qint64 row = inverted ? -stride : stride;
    const qint64 top = inverted ? qint64(output.height - 1) * stride : 0;
    const qint64 lastColumn = (qint64(output.width) - 1) * 4;
    const qint64 lastRow = (qint64(output.height) - 1) * row;
    switch (output.transform) {
    case WL_OUTPUT_TRANSFORM_90: return {top + lastRow, -row, 4};
    case WL_OUTPUT_TRANSFORM_180: return {top + lastRow + lastColumn, -4, -row};
    case WL_OUTPUT_TRANSFORM_270: return {top + lastColumn, row, -4};
    case WL_OUTPUT_TRANSFORM_FLIPPED: return {top + lastColumn, -4, row};
    case WL_OUTPUT_TRANSFORM_FLIPPED_90: return {top, row, 4};
    case WL_OUTPUT_TRANSFORM_FLIPPED_180: return {top + lastRow, 4, -row};
    case WL_OUTPUT_TRANSFORM_FLIPPED_270: return {top + lastRow + lastColumn, -row, -4};
    default: return {top, 4, row};
    }
}

// The usual case, an output whose scale divides the picture's, without
// Qt's general scaler, which takes several times as long on a 4K picture:
// each pixel becomes a block of `times` × `times`, written a row at a time.
// False where the block does not fit in `shot`.
bool BlitRepeated(const Output& output, QImage& shot, QPoint at, int times)
{
    const QSize upright = Upright(output);
    const qint64 width = qint64(upright.width()) * times;
    if (times < 1 || at.x() < 0 || at.y() < 0 || at.x() + width > shot.width()
        || at.y() + qint64(upright.height()) * times > shot.height())
        return false;
    const Walk walk = WalkOf(output);
    const auto* const pixels = static_cast<const uchar*>(output.pixels);
    uchar* const bits = shot.bits();
    const size_t line = size_t(shot.bytesPerLine());
    for (int y = 0; y < upright.height(); ++y) {
        const uchar* const from = pixels + walk.origin + y * walk.down;
        const int top = at.y() + y * times;
        auto* to = reinterpret_cast<uint32_t*>(bits + size_t(top) * line) + at.x();
        if (walk.right == 4) {
            // The plain output, in loops the compiler can widen.
            const auto* row = reinterpret_cast<const uint32_t*>(from);
            if (times == 1) {
                for (int x = 0; x < upright.width(); ++x)
                    to[x] = row[x] | kOpaque;
            } else {
                for (int x = 0; x < upright.width(); ++x)
                    std::fill_n(to + size_t(x) * times, times, row[x] | kOpaque);
            }
        } else {
            for (int x = 0; x < upright.width(); ++x) {
                const uint32_t pixel
                    = *reinterpret_cast<const uint32_t*>(from + x * walk.right) | kOpaque;
                std::fill_n(to + size_t(x) * times, times, pixel);
            }
        }
        for (int again = 1; again < times; ++again)
            std::memcpy(bits + size_t(top + again) * line + at.x() * 4, to, size_t(width) * 4);
    }
    return true;
}

// An output's pixels the way up the user sees them, for Qt to scale.
QImage UprightCopy(const Output& output, QImage::Format format)
{
    QImage copy(Upright(output), format);
    if (copy.isNull())
        return copy;
    const Walk walk = WalkOf(output);
    const auto* const pixels = static_cast<const uchar*>(output.pixels);
    for (int y = 0; y < copy.height(); ++y) {
        const uchar* const from = pixels + walk.origin + y * walk.down;
        auto* to = reinterpret_cast<uint32_t*>(copy.scanLine(y));
        for (int x = 0; x < copy.width(); ++x)
            to[x] = *reinterpret_cast<const uint32_t*>(from + x * walk.right) | kOpaque;
    }
    return copy;
}

std::optional<QImage> Copier::Compose()
{
    QRect layout;
    double scale = 0;
    for (const Output& output : outputs_) {
        if (output.logical.isEmpty() || output.transform < WL_OUTPUT_TRANSFORM_NORMAL
            || output.transform > WL_OUTPUT_TRANSFORM_FLIPPED_270)
            return std::nullopt;
        const QSize upright = Upright(output);
        const double across = double(upright.width()) / output.logical.width();
        const double down = double(upright.height()) / output.logical.height();
        // Not the size of this output: its scale is 1 or more, the same
        // both ways.
        if (across < 0.99 || std::abs(across - down) > 0.01 * across)
            return std::nullopt;
        layout |= output.logical;
        scale = std::max(scale, across);
    }
    const QSize size(
        int(std::lround(layout.width() * scale)), int(std::lround(layout.height() * scale)));
    QImage shot = LargeImage(size);
    if (shot.isNull())
        return std::nullopt;
    qint64 covered = 0;
    for (const Output& output : outputs_)
        covered += qint64(output.logical.width()) * output.logical.height();
    if (covered != qint64(layout.width()) * layout.height())
        shot.fill(Qt::black); // what no output covers
    // Only for what the plain copy cannot do.
    std::optional<QPainter> painter;
    for (Output& output : outputs_) {
        const QRectF place(QPointF(output.logical.topLeft() - layout.topLeft()) * scale,
            QSizeF(output.logical.size()) * scale);
        const double repeat = scale * output.logical.width() / Upright(output).width();
        const int times = int(std::lround(repeat));
        const bool xrgb
            = output.format == WL_SHM_FORMAT_XRGB8888 || output.format == WL_SHM_FORMAT_ARGB8888;
        if (xrgb && std::abs(repeat - times) < 1e-9 && place.topLeft() == place.toRect().topLeft()
            && BlitRepeated(output, shot, place.toRect().topLeft(), times))
            continue;
        QImage::Format format = QImage::Format_Invalid;
        switch (output.format) {
        case WL_SHM_FORMAT_XRGB8888:
        case WL_SHM_FORMAT_ARGB8888: format = QImage::Format_RGB32; break;
        case WL_SHM_FORMAT_XBGR8888:
        case WL_SHM_FORMAT_ABGR8888: format = QImage::Format_RGBX8888; break;
        default: return std::nullopt;
        }
        const QImage copy = UprightCopy(output, format);
        if (copy.isNull())
            return std::nullopt;
        // Unsmoothed: an output of a lower scale repeats its pixels, as in
        // the portal's picture, and no colour is ever a blend of two.
        if (!painter) {
            painter.emplace(&shot);
            painter->setCompositionMode(QPainter::CompositionMode_Source);
        }
        painter->drawImage(place.toAlignedRect(), copy);
    }
    painter.reset();
    return shot;
}

void Copier::Global(
    void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    auto* self = static_cast<Copier*>(data);
    if (std::strcmp(interface, wl_shm_interface.name) == 0 && !self->shm_) {
        self->shm_ = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    } else if (std::strcmp(interface, zwlr_screencopy_manager_v1_interface.name) == 0
        && !self->copier_) {
        self->copierVersion_ = std::min(version, 3u);
        self->copier_ = static_cast<zwlr_screencopy_manager_v1*>(wl_registry_bind(
            registry, name, &zwlr_screencopy_manager_v1_interface, self->copierVersion_));
    } else if (std::strcmp(interface, zxdg_output_manager_v1_interface.name) == 0
        && !self->places_) {
        self->places_ = static_cast<zxdg_output_manager_v1*>(wl_registry_bind(
            registry, name, &zxdg_output_manager_v1_interface, std::min(version, 2u)));
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        if (!self->outputs_.empty() && self->outputs_.back().frame)
            self->changed_ = true; // plugged in during the copy
        else {
            Output& output = self->outputs_.emplace_back();
            output.owner = self;
            output.name = name;
            output.output = static_cast<wl_output*>(
                wl_registry_bind(registry, name, &wl_output_interface, 1));
            wl_output_add_listener(output.output, &kOutput, &output);
        }
    }
}

void Copier::GlobalRemove(void* data, wl_registry*, uint32_t name)
{
    auto* self = static_cast<Copier*>(data);
    for (const Output& output : self->outputs_) {
        if (output.name == name)
            self->changed_ = true;
    }
}

void Copier::Position(void* data, zxdg_output_v1*, int32_t x, int32_t y)
{
    static_cast<Output*>(data)->logical.moveTopLeft({x, y});
}

void Copier::Size(void* data, zxdg_output_v1*, int32_t width, int32_t height)
{
    static_cast<Output*>(data)->logical.setSize({width, height});
}

void Copier::Geometry(void* data, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t,
    const char*, const char*, int32_t transform)
{
    static_cast<Output*>(data)->transform = transform;
}

void Copier::Buffer(void* data, zwlr_screencopy_frame_v1*, uint32_t format, uint32_t width,
    uint32_t height, uint32_t stride)
{
    auto* output = static_cast<Output*>(data);
    output->offered = true;
    output->format = format;
    output->width = width;
    output->height = height;
    output->stride = stride;
    if (output->owner->copierVersion_ < 3)
        output->owner->StartCopy(*output); // the one offer there is
}

void Copier::BufferDone(void* data, zwlr_screencopy_frame_v1*)
{
    // The compositor's last offer; before version 3 there is only one.
    Output* output = static_cast<Output*>(data);
    if (!output->offered)
        output->state = Output::Failed; // offers no shared memory
    else
        output->owner->StartCopy(*output);
}

void Copier::Flags(void* data, zwlr_screencopy_frame_v1*, uint32_t flags)
{
    static_cast<Output*>(data)->flags = flags;
}

void Copier::Ready(void* data, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t)
{
    static_cast<Output*>(data)->state = Output::Copied;
}

void Copier::Failed(void* data, zwlr_screencopy_frame_v1*)
{
    static_cast<Output*>(data)->state = Output::Failed;
}

} // namespace

std::optional<QImage> CopyScreens()
{
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return std::nullopt; // no guessing at a compositor's socket
    Copier copier;
    return copier.Copy();
}

} // namespace platform::wayland
