// Preloaded into a program under measurement: records the first images the program sends to
// the X server, with the time since QFD_PROBE_T0 (seconds since the epoch, as bash's
// EPOCHREALTIME gives it), into the file QFD_PROBE_OUT: "function width height milliseconds".
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

constexpr int kMaxRecords = 40;
std::atomic<int> records{0};

double Now() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

void Record(const char* function, unsigned width, unsigned height) {
    const double now = Now();
    if (records.fetch_add(1) >= kMaxRecords) return;
    const char* out = std::getenv("QFD_PROBE_OUT");
    const char* t0 = std::getenv("QFD_PROBE_T0");
    if (!out || !t0) return;
    char line[160];
    const int n = std::snprintf(line, sizeof line, "%s %u %u %.3f\n", function, width, height,
                                (now - std::strtod(t0, nullptr)) * 1000.0);
    const int fd = ::open(out, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    if (n > 0) (void)!::write(fd, line, static_cast<size_t>(n));
    ::close(fd);
}

// The X libraries come with Qt's platform plugin, which is loaded privately: look the real
// function up in its library when the global scope has none.
template <typename F>
F Next(const char* library, const char* name) {
    void* fn = dlsym(RTLD_NEXT, name);
    if (!fn) {
        if (void* handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD)) fn = dlsym(handle, name);
    }
    if (!fn) std::abort();
    return reinterpret_cast<F>(fn);
}

// The cookies are plain structs of one unsigned int in libxcb's ABI.
struct Cookie {
    unsigned int sequence;
};

}  // namespace

extern "C" {

Cookie xcb_shm_put_image(void* c, std::uint32_t drawable, std::uint32_t gc,
                         std::uint16_t total_width, std::uint16_t total_height, std::uint16_t src_x,
                         std::uint16_t src_y, std::uint16_t src_width, std::uint16_t src_height,
                         std::int16_t dst_x, std::int16_t dst_y, std::uint8_t depth,
                         std::uint8_t format, std::uint8_t send_event, std::uint32_t shmseg,
                         std::uint32_t offset) {
    using Fn =
        Cookie (*)(void*, std::uint32_t, std::uint32_t, std::uint16_t, std::uint16_t, std::uint16_t,
                   std::uint16_t, std::uint16_t, std::uint16_t, std::int16_t, std::int16_t,
                   std::uint8_t, std::uint8_t, std::uint8_t, std::uint32_t, std::uint32_t);
    static Fn next = Next<Fn>("libxcb-shm.so.0", "xcb_shm_put_image");
    Record("shm_put_image", src_width, src_height);
    return next(c, drawable, gc, total_width, total_height, src_x, src_y, src_width, src_height,
                dst_x, dst_y, depth, format, send_event, shmseg, offset);
}

Cookie xcb_put_image(void* c, std::uint8_t format, std::uint32_t drawable, std::uint32_t gc,
                     std::uint16_t width, std::uint16_t height, std::int16_t dst_x,
                     std::int16_t dst_y, std::uint8_t left_pad, std::uint8_t depth,
                     std::uint32_t data_len, const std::uint8_t* data) {
    using Fn = Cookie (*)(void*, std::uint8_t, std::uint32_t, std::uint32_t, std::uint16_t,
                          std::uint16_t, std::int16_t, std::int16_t, std::uint8_t, std::uint8_t,
                          std::uint32_t, const std::uint8_t*);
    static Fn next = Next<Fn>("libxcb.so.1", "xcb_put_image");
    Record("put_image", width, height);
    return next(c, format, drawable, gc, width, height, dst_x, dst_y, left_pad, depth, data_len,
                data);
}

Cookie xcb_copy_area(void* c, std::uint32_t src, std::uint32_t dst, std::uint32_t gc,
                     std::int16_t src_x, std::int16_t src_y, std::int16_t dst_x, std::int16_t dst_y,
                     std::uint16_t width, std::uint16_t height) {
    using Fn = Cookie (*)(void*, std::uint32_t, std::uint32_t, std::uint32_t, std::int16_t,
                          std::int16_t, std::int16_t, std::int16_t, std::uint16_t, std::uint16_t);
    static Fn next = Next<Fn>("libxcb.so.1", "xcb_copy_area");
    Record("copy_area", width, height);
    return next(c, src, dst, gc, src_x, src_y, dst_x, dst_y, width, height);
}

}  // extern "C"
