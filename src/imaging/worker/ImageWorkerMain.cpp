#include "imaging/worker/ImageWorkerMain.h"

#include "imaging/pipeline/ImagePipeline.h"
#include "imaging/worker/ImageWorkerProtocol.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

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

void LimitMemory()
{
    struct rlimit limit {};
    if (getrlimit(RLIMIT_AS, &limit) != 0) return;
    if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur > ImageWorkerMemoryLimit) {
        limit.rlim_cur = ImageWorkerMemoryLimit;
        setrlimit(RLIMIT_AS, &limit);
    }
}

}

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
