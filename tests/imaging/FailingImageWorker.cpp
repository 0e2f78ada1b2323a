// An image worker that fails on purpose at files named after the failure, for the tests of how
// the program survives a worker that crashes or hangs: "abort-here" ends the process as a crash
// of the image library would, "hang-here" never answers.
#include "imaging/pipeline/ImagePipeline.h"
#include "imaging/worker/ImageWorkerMain.h"

#include <cstdlib>
#include <unistd.h>

int main()
{
    return ImageWorkerMain([](const PipelineJob& job) {
        if (job.inputPath.contains("abort-here")) std::abort();
        if (job.inputPath.contains("hang-here"))
            for (;;) pause();
    });
}
