// A batch of 40 JPEG photos of 1920 x 1080 (flip vertically, Catmull-Rom rescale to 50%, PNG
// out) through KIVRA's batch job (one worker per core), beside two ImageMagick mogrify processes
// doing the same in parallel, each with half the photos, run by run in turn. The batch's outputs
// must equal those of KIVRA's one-file path (processimage, one file after another) byte for byte.
// Goal: the batch at most half the reference's processor time and elapsed time.
#include "BenchRun.h"

#include "imaging/pipeline/BatchJob.h"
#include "imaging/pipeline/ImageProcessor.h"
#include "imaging/worker/ImageWorkerPool.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QThread>

#include <cstdio>
#include <vector>

#include <sys/resource.h>

namespace {

constexpr int kPhotos = 40;

// Processor time used so far by this process and by its children that have ended (workers
// and mogrify), in milliseconds: a figure the other programs running on the machine do not
// change, unlike the elapsed time.
double CpuMs()
{
    auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    rusage self{}, children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    return ms(self.ru_utime) + ms(self.ru_stime) + ms(children.ru_utime) + ms(children.ru_stime);
}

struct Timing {
    double elapsedMs = 0;
    double cpuMs = 0;
};

bool Run(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(program, arguments);
    return p.waitForFinished(600000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The photos, made once with ImageMagick and kept in the temporary folder: one plasma picture,
// blurred like a camera's, rolled and tinted differently for each photo.
QStringList MakePhotos(const QString& folder)
{
    QDir().mkpath(folder);
    QStringList names;
    const QString base = folder + "/base.jpg";
    for (int i = 0; i < kPhotos; ++i) {
        names << QString("photo%1.jpg").arg(i, 2, 10, QChar('0'));
        const QString path = folder + "/" + names.last();
        if (QFileInfo(path).size() > 0) continue;
        if (!QFileInfo::exists(base) &&
            !Run("convert", {"-seed", "11", "-size", "1920x1080", "plasma:fractal", "-blur", "0x1.5",
                             "-quality", "92", base}))
            return {};
        std::printf("making %s (once)\n", qPrintable(path));
        if (!Run("convert", {base, "-roll", QString("+%1+%2").arg(48 * i).arg(27 * i), "-modulate",
                             QString("100,%1,%2").arg(80 + i).arg(90 + i), "-quality", "90", path}))
            return {};
    }
    return names;
}

void Clear(const QString& folder)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
}

ImageOptions Options()
{
    ImageOptions o;
    o.flipVertical = true;
    o.rescale = true;
    o.resizeOption = 1;   // Catmull-Rom
    o.widthPercent = o.heightPercent = "50";
    return o;
}

Timing BatchRun(const QString& in, const QStringList& names, const QString& out, int* workers = nullptr)
{
    Clear(out);
    ImageProcessor processor;
    processor.state.batchfiles = QStringList{in} + names;
    processor.state.imagewidth = processor.state.imageheight = 1;   // rescale by the percentages
    BatchHooks hooks;
    hooks.caption = [] { return QString(); };
    hooks.setCaption = [](const QString&) {};
    hooks.report = [](const Outcome& o) {
        if (!o.message.contains("o ut of")) std::printf("  message: %s\n", qPrintable(o.message));
    };
    hooks.clearEscape = [] {};
    hooks.escapeRequested = [] { return false; };
    hooks.ask = [](const Outcome&) { return Answer::No; };
    BatchRequest request{out, "PNG", Options()};
    const double cpu = CpuMs();
    QElapsedTimer timer;
    timer.start();
    BatchSummary summary;
    {
        // The workers start and end within the run, as mogrify does.
        ImageWorkerPool pool;   // one worker per core
        if (workers) *workers = pool.workerCount();
        summary = BatchJob(processor, pool).run(request, hooks);
    }
    const Timing t{timer.nsecsElapsed() / 1e6, CpuMs() - cpu};
    if (summary.converted != int(names.size())) std::printf("  the batch wrote %d photos only\n", summary.converted);
    return t;
}

Timing OneFileRun(const QString& in, const QStringList& names, const QString& out)
{
    Clear(out);
    ImageProcessor processor;
    processor.state.saveresults = true;
    ImageOptions o = Options();
    o.batchRunning = true;
    o.referenceWidth = o.referenceHeight = 1;
    const double cpu = CpuMs();
    QElapsedTimer timer;
    timer.start();
    for (const QString& name : names)
        processor.processimage(name, in + "/", BatchOutputName(name, "PNG"), out + "/", o);
    processor.worker().stop();
    return {timer.nsecsElapsed() / 1e6, CpuMs() - cpu};
}

// Two mogrify processes side by side, each with half the photos.
Timing MogrifyPairRun(const QString& in, const QStringList& names, const QString& out)
{
    Clear(out);
    QStringList halves[2];
    for (int i = 0; i < int(names.size()); ++i) halves[i % 2] << in + "/" + names[i];
    const double cpu = CpuMs();
    QElapsedTimer timer;
    timer.start();
    QProcess processes[2];
    for (int k = 0; k < 2; ++k) {
        processes[k].setProcessChannelMode(QProcess::ForwardedErrorChannel);
        processes[k].start("mogrify", QStringList{"-path", out, "-flip", "-filter", "Catrom", "-resize", "50%",
                                                  "-format", "png"} + halves[k]);
    }
    for (QProcess& p : processes)
        if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            std::printf("  mogrify failed\n");
    return {timer.nsecsElapsed() / 1e6, CpuMs() - cpu};
}

int Identical(const QString& a, const QString& b, const QStringList& names)
{
    int same = 0;
    for (const QString& name : names) {
        QFile x(a + "/" + BatchOutputName(name, "PNG")), y(b + "/" + BatchOutputName(name, "PNG"));
        if (x.open(QIODevice::ReadOnly) && y.open(QIODevice::ReadOnly) && x.readAll() == y.readAll()) ++same;
    }
    return same;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString root = QDir::tempPath() + "/kivra-bench-photos-1920x1080";
    const QStringList names = MakePhotos(root);
    if (names.size() != kPhotos) {
        std::printf("could not make the photos (ImageMagick's convert is needed)\n");
        return 1;
    }
    const QString batchOut = root + "/out-batch", oneOut = root + "/out-one", mogOut = root + "/out-mogrify";
    bench::Begin("40 JPEG photos 1920 x 1080: flip, Catmull-Rom rescale to 50%, PNG out");

    // Warm: the photos in the page cache, each path run once; the one-file path's outputs kept
    // for the check.
    int workers = 0;
    BatchRun(root, names, batchOut, &workers);
    MogrifyPairRun(root, names, mogOut);
    OneFileRun(root, names, oneOut);

    // Elapsed time is what the runs return; processor time is kept beside it.
    bench::Timings batchCpu, mogrifyCpu;
    const bench::Step batch{{}, {}, [&] {
                                const Timing t = BatchRun(root, names, batchOut);
                                batchCpu.ms.push_back(t.cpuMs);
                                return t.elapsedMs;
                            }};
    const bench::Step mogrify{{}, {}, [&] {
                                  const Timing t = MogrifyPairRun(root, names, mogOut);
                                  mogrifyCpu.ms.push_back(t.cpuMs);
                                  return t.elapsedMs;
                              }};
    const bench::Comparison elapsed = bench::Alternate(5, batch, mogrify);
    const bench::Comparison processor{batchCpu, mogrifyCpu};

    std::printf("  %d cores, %d workers; elapsed time:\n", QThread::idealThreadCount(), workers);
    bool met = bench::PrintComparison("KIVRA batch job", elapsed, "reference: two mogrify processes in parallel", 0.5);
    std::printf("  processor time (this process and its children):\n");
    met = bench::PrintComparison("KIVRA batch job", processor, "reference: two mogrify processes in parallel", 0.5) &&
          met;
    const int same = Identical(batchOut, oneOut, names);
    std::printf("  batch outputs identical to the one-file path: %d of %d\n", same, kPhotos);
    bench::End();
    (void)met;
    return same == kPhotos ? 0 : 1;
}
