#include "imaging/worker/ImageWorkerMain.h"

#include "imaging/pipeline/ImagePipeline.h"
#include "imaging/worker/ImageWorkerProtocol.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define KIVRA_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KIVRA_ADDRESS_SANITIZER 1
#endif
#endif

// Code that runs while the sanitizer runtime starts, before its shadow memory exists, must not
// be checked itself.
#ifdef KIVRA_ADDRESS_SANITIZER
#define KIVRA_UNCHECKED __attribute__((no_sanitize("address", "undefined")))
#else
#define KIVRA_UNCHECKED
#endif

namespace {

bool ReadAll(int fd, char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::read(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

// The cap counts the data segment and private writable mappings (RLIMIT_DATA), which is what
// the image library's allocations take, and not the address space of shared libraries and
// reserved thread arenas. Under AddressSanitizer even that limit cannot hold: its shadow memory
// is terabytes of writable mappings made before main. There the cap is the sanitizer
// allocator's (see __asan_default_options below).
void LimitMemory()
{
#ifndef KIVRA_ADDRESS_SANITIZER
    struct rlimit limit {};
    if (getrlimit(RLIMIT_DATA, &limit) != 0) return;
    const unsigned long long cap = ImageWorkerMemoryCap();
    if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur > cap) {
        limit.rlim_cur = cap;
        setrlimit(RLIMIT_DATA, &limit);
    }
#endif
}

}

namespace {
// The cap a text names in mebibytes; the default for a missing, empty or malformed one.
KIVRA_UNCHECKED unsigned long long CapOf(const char* text)
{
    if (!text || !*text) return ImageWorkerMemoryLimit;
    unsigned long long mebibytes = 0;
    for (const char* c = text; *c; ++c) {
        if (*c < '0' || *c > '9' || mebibytes > (1ull << 40)) return ImageWorkerMemoryLimit;
        mebibytes = mebibytes * 10 + unsigned(*c - '0');
    }
    return mebibytes > 0 ? mebibytes << 20 : ImageWorkerMemoryLimit;
}

constexpr char kCapVariable[] = "KIVRA_IMAGE_WORKER_MEMORY_MB";
}

unsigned long long ImageWorkerMemoryCap() { return CapOf(std::getenv(kCapVariable)); }

#ifdef KIVRA_ADDRESS_SANITIZER
namespace {
// The cap from the environment as the kernel handed it over: when the sanitizer runtime asks for
// its options the C library's environment is not set up yet, nor may its (intercepted) calls
// run. Plain system calls only.
KIVRA_UNCHECKED unsigned long long CapAtStart()
{
    static char environment[64 << 10];
    const long fd = syscall(SYS_openat, AT_FDCWD, "/proc/self/environ", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return ImageWorkerMemoryLimit;
    long size = 0;
    for (long n; size < long(sizeof environment) - 1 &&
                 (n = syscall(SYS_read, fd, environment + size, sizeof environment - 1 - size)) > 0;)
        size += n;
    syscall(SYS_close, fd);
    environment[size] = '\0';
    for (long at = 0; at < size;) {
        const char* entry = environment + at;
        long length = 0;
        while (entry[length]) ++length;
        long k = 0;
        while (kCapVariable[k] && entry[k] == kCapVariable[k]) ++k;
        if (!kCapVariable[k] && entry[k] == '=') return CapOf(entry + k + 1);
        at += length + 1;
    }
    return ImageWorkerMemoryLimit;
}
}

// Read by the sanitizer runtime as the process starts, before ASAN_OPTIONS (which overrides what
// it names). With the worker's cap, an allocation larger than the cap, or any allocation once the
// resident memory has reached it, returns null as it would under RLIMIT_DATA, instead of ending
// the process with a report. Only the worker programs link this file's object.
extern "C" KIVRA_UNCHECKED const char* __asan_default_options()
{
    static char options[160];
    const char prefix[] = "allocator_may_return_null=1:max_allocation_size_mb=";
    const char middle[] = ":soft_rss_limit_mb=";
    char number[24];
    int digits = 0;
    for (unsigned long long mb = CapAtStart() >> 20; mb > 0 || digits == 0; mb /= 10)
        number[digits++] = char('0' + mb % 10);
    char* out = options;
    for (const char* c = prefix; *c; ++c) *out++ = *c;
    for (int i = digits - 1; i >= 0; --i) *out++ = number[i];
    for (const char* c = middle; *c; ++c) *out++ = *c;
    for (int i = digits - 1; i >= 0; --i) *out++ = number[i];
    *out = '\0';
    return options;
}
#endif

int ImageWorkerMain(const std::function<void(const PipelineJob&)>& beforeJob)
{
    LimitMemory();
    // Results travel on a private copy of standard output; whatever a library prints to
    // standard output goes to standard error instead of breaking a frame.
    const int results = ::dup(STDOUT_FILENO);
    if (results < 0) return 2;
    ::dup2(STDERR_FILENO, STDOUT_FILENO);

    for (;;) {
        std::uint32_t length = 0;
        if (!ReadAll(STDIN_FILENO, reinterpret_cast<char*>(&length), sizeof length)) return 0;
        if (length > MaxFrameBytes) return 2;
        QByteArray payload(qsizetype(length), Qt::Uninitialized);
        if (!ReadAll(STDIN_FILENO, payload.data(), length)) return 2;
        PipelineJob job;
        if (!DecodeJob(payload, job)) return 2;
        if (beforeJob) beforeJob(job);
        const QByteArray frame = Frame(EncodeResult(RunPipeline(job)));
        if (!WriteAll(results, frame.constData(), std::size_t(frame.size()))) return 0;
    }
}
