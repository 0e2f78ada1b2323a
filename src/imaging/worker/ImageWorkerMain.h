#pragma once
// The image worker process: it reads jobs from its standard input, runs each through the
// pipeline and writes the result to its standard output, until its input ends. A hostile image
// that makes the image library crash or run away takes only this process down; the program sees
// the worker end and reports that one file.
#include <functional>

struct PipelineJob;

// The worker's main loop. beforeJob, when given, is called with each job before it runs (tests
// use it to make a worker fail at a chosen file). Returns the process's exit code: 0 at the end
// of the input, 2 on a broken frame.
int ImageWorkerMain(const std::function<void(const PipelineJob&)>& beforeJob = {});

// The memory a worker may take (its heap and other private writable memory, not the address
// space it merely reserves): an image whose header claims a huge size fails to load instead of
// taking the machine's memory.
inline constexpr unsigned long long ImageWorkerMemoryLimit = 4ull << 30;

// The cap in force: ImageWorkerMemoryLimit, or KIVRA_IMAGE_WORKER_MEMORY_MB mebibytes when that
// environment variable holds a whole number above zero (machines with little memory, tests).
unsigned long long ImageWorkerMemoryCap();
