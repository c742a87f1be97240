// Loaded with LD_PRELOAD, it stands in for a gamepad these machines do not
// have: /dev/input/js0 opens the FIFO that BROX_PAD_FIFO names, and the
// joystick interface's questions get the answers of an Xbox-style pad (eight
// axes, eleven buttons), so that Allegro's own driver reads the js_event
// records a test writes into the FIFO.
#undef _FORTIFY_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/joystick.h>

#include <atomic>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace {

std::atomic<int> padDescriptor{-1};

}  // namespace

// Allegro's driver opens the device with open(), not open64().
extern "C" int open(const char* path, int flags, ...)
{
    using openCall = int (*)(const char*, int, ...);
    static const auto real = reinterpret_cast<openCall>(dlsym(RTLD_NEXT, "open"));
    mode_t mode = 0;
    if (flags & O_CREAT) {
        va_list arguments;
        va_start(arguments, flags);
        mode = va_arg(arguments, mode_t);
        va_end(arguments);
    }
    const char* fifo = std::getenv("BROX_PAD_FIFO");
    if (fifo == nullptr || std::strcmp(path, "/dev/input/js0") != 0)
        return real(path, flags, mode);
    const int descriptor = real(fifo, flags);
    padDescriptor = descriptor;
    return descriptor;
}

extern "C" int ioctl(int descriptor, unsigned long request, ...)
{
    using ioctlCall = int (*)(int, unsigned long, ...);
    static const auto real = reinterpret_cast<ioctlCall>(dlsym(RTLD_NEXT, "ioctl"));
    va_list arguments;
    va_start(arguments, request);
    void* answer = va_arg(arguments, void*);
    va_end(arguments);
    if (descriptor == -1 || descriptor != padDescriptor)
        return real(descriptor, request, answer);
    switch (request) {
    case JSIOCGVERSION:
        *static_cast<__u32*>(answer) = JS_VERSION;
        return 0;
    case JSIOCGAXES:
        *static_cast<__u8*>(answer) = 8;
        return 0;
    case JSIOCGBUTTONS:
        *static_cast<__u8*>(answer) = 11;
        return 0;
    default:
        return real(descriptor, request, answer);
    }
}
