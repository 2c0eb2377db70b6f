// Watches every file the random-input run opens for writing, renames or makes: the C library's
// calls are replaced in this program (the toolkit and the program reach them through the
// dynamic linker), and each path is checked against the scratch folder.
// The checked inline forms of open and the 64-bit renames would clash with the ones below.
#undef _FORTIFY_SOURCE
#undef _FILE_OFFSET_BITS
#include "tests/app/RandomInputWrites.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

std::mutex& Lock() {
    static std::mutex lock;
    return lock;
}
std::string& Scratch() {
    static std::string folder;
    return folder;
}
std::vector<std::string>& Outside() {
    static std::vector<std::string> paths;
    return paths;
}
std::vector<std::string>& Written() {
    static std::vector<std::string> paths;
    return paths;
}
thread_local bool inside = false;

// The absolute form of path as the caller meant it (relative paths start at the working folder).
std::string Absolute(const char* path) {
    if (!path) return {};
    if (path[0] == '/') return path;
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) return path;
    return std::string(cwd) + "/" + path;
}

void Note(const char* path, const char* how) {
    if (inside || !path) return;
    inside = true;
    std::string full = Absolute(path);
    // ".." cannot climb out unnoticed: the folder part is resolved where it exists.
    if (full.find("/..") != std::string::npos) {
        const size_t slash = full.rfind('/');
        if (char* real = realpath(full.substr(0, slash).c_str(), nullptr)) {
            full = std::string(real) + full.substr(slash);
            std::free(real);
        }
    }
    {
        std::lock_guard<std::mutex> hold(Lock());
        const std::string& scratch = Scratch();
        const bool allowed = scratch.empty() || full.rfind(scratch + "/", 0) == 0 ||
                             full == scratch || full.rfind("/dev/", 0) == 0 ||
                             full.rfind("/proc/", 0) == 0;
        if (!allowed) {
            if (Outside().size() < 20) Outside().push_back(std::string(how) + " " + full);
        } else if (full.size() > 4 && full.compare(full.size() - 4, 4, ".xml") == 0) {
            Written().push_back(full);
        }
    }
    inside = false;
}

bool Writes(int flags) { return (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0; }
bool Writes(const char* mode) {
    return mode && (std::strchr(mode, 'w') || std::strchr(mode, 'a') || std::strchr(mode, '+'));
}

template <typename F>
F Real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

}  // namespace

void WatchWrites(const std::string& scratchFolder) {
    std::lock_guard<std::mutex> hold(Lock());
    Scratch() = scratchFolder;
}

std::vector<std::string> WritesOutside() {
    std::lock_guard<std::mutex> hold(Lock());
    return Outside();
}

std::vector<std::string> TakeWrittenPaths() {
    std::lock_guard<std::mutex> hold(Lock());
    std::vector<std::string> paths;
    paths.swap(Written());
    return paths;
}

// The mode, which the open calls are given only with O_CREAT or O_TMPFILE.
#define TAKE_MODE(flags, mode)             \
    mode_t mode = 0;                       \
    if ((flags) & (O_CREAT | O_TMPFILE)) { \
        va_list args;                      \
        va_start(args, flags);             \
        mode = va_arg(args, mode_t);       \
        va_end(args);                      \
    }

// open and open64, openat and openat64, fopen and fopen64 differ in name only.
#define WATCH_OPEN(name)                                                \
    int name(const char* path, int flags, ...) {                        \
        static auto real = Real<int (*)(const char*, int, ...)>(#name); \
        TAKE_MODE(flags, mode);                                         \
        if (Writes(flags)) Note(path, "open");                          \
        return real(path, flags, mode);                                 \
    }
#define WATCH_OPENAT(name)                                                              \
    int name(int dir, const char* path, int flags, ...) {                               \
        static auto real = Real<int (*)(int, const char*, int, ...)>(#name);            \
        TAKE_MODE(flags, mode);                                                         \
        if (Writes(flags) && (dir == AT_FDCWD || path[0] == '/')) Note(path, "openat"); \
        return real(dir, path, flags, mode);                                            \
    }
#define WATCH_FOPEN(name)                                                    \
    FILE* name(const char* path, const char* mode) {                         \
        static auto real = Real<FILE* (*)(const char*, const char*)>(#name); \
        if (Writes(mode)) Note(path, "fopen");                               \
        return real(path, mode);                                             \
    }

extern "C" {

WATCH_OPEN(open)
WATCH_OPEN(open64)
WATCH_OPENAT(openat)
WATCH_OPENAT(openat64)
WATCH_FOPEN(fopen)
WATCH_FOPEN(fopen64)

int creat(const char* path, mode_t mode) {
    static auto real = Real<int (*)(const char*, mode_t)>("creat");
    Note(path, "creat");
    return real(path, mode);
}

int rename(const char* from, const char* to) {
    static auto real = Real<int (*)(const char*, const char*)>("rename");
    Note(to, "rename");
    return real(from, to);
}

int mkdir(const char* path, mode_t mode) {
    static auto real = Real<int (*)(const char*, mode_t)>("mkdir");
    Note(path, "mkdir");
    return real(path, mode);
}

}  // extern "C"
