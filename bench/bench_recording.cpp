// Recording 60 s from the default input (the test audio server's sine source under make bench)
// through the media-control commands the recorder sends, at 44100 Hz stereo 16-bit, the largest
// format: the process's memory growth beside the size of the sound recorded in the same run, and
// the sound lost on the way.
//
// Memory is the resident set of the process (/proc/self/statm), taken once the first sound has
// arrived (the audio stack's own buffers are in place by then) and again just before the stop.
// Goal: growth under 5% of the recorded data, since the sound goes to a file as it arrives.
// Lost sound: blocks the input thread could not put into the ring (the file writer fell behind),
// goal 0, and the recording's length beside the time it ran.
#include "recorder/mci/AudioMediaControl.h"
#include "recorder/RecordingDevice.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

double ResidentMB()
{
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / 1e6 : 0;
}

void Wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

qint64 Ask(AudioMediaControl& device, const QString& command)
{
    QString reply;
    device.SendString(command, reply);
    return reply.toLongLong();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = qEnvironmentVariableIsSet("KIVRA_BENCH_RECORD_SECONDS")
                            ? qEnvironmentVariableIntValue("KIVRA_BENCH_RECORD_SECONDS")
                            : 60;
    if (QMediaDevices::defaultAudioInput().isNull()) {
        std::printf("no audio input device: run under scripts/start-audio.sh (make bench)\n");
        return 1;
    }
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    AudioMediaControl device;
    const double before = ResidentMB();
    for (const char* c : {"open new type waveaudio alias capture", "seek capture to start",
                          "set capture alignment 4 bitspersample 16 samplespersec 44100 channels 2 bytespersec 176400",
                          "set capture time format bytes", "record capture"}) {
        if (device.SendString(c) != 0) {
            std::printf("\"%s\" failed\n", c);
            return 1;
        }
    }
    QElapsedTimer running;
    running.start();
    // The first sound: the audio stack has made its buffers.
    while (Ask(device, "status capture length") == 0 && running.elapsed() < 10000) Wait(20);
    const double started = ResidentMB();
    const qint64 startedBytes = Ask(device, "status capture length");
    Wait(int(seconds * 1000 - running.elapsed()));
    const double ending = ResidentMB();
    const qint64 endingBytes = Ask(device, "status capture length");
    const double ranSeconds = running.elapsed() / 1000.0;
    device.SendString("stop capture");
    const qint64 bytes = Ask(device, "status capture length");
    const std::uint64_t dropped = device.droppedBytes("capture");
    const bool saved = device.SendString("save capture take.wav") == 0;

    const double dataMB = (endingBytes - startedBytes) / 1e6;
    const double growthMB = ending - started;
    std::printf("recording %d s at 44100 Hz, stereo, 16 bits from the default input\n", seconds);
    std::printf("  resident memory: %.1f MB before, %.1f MB at the first sound, %.1f MB at the end\n",
                before, started, ending);
    std::printf("  memory growth while recording:        %8.3f MB\n", growthMB);
    std::printf("  reference: sound recorded meanwhile:  %8.3f MB\n", dataMB);
    std::printf("  growth = %.2f%% of the recorded data (goal: under 5%%)\n",
                dataMB > 0 ? 100.0 * growthMB / dataMB : 0.0);
    std::printf("  samples lost in the ring: %llu (goal 0)\n", (unsigned long long)(dropped / 4));
    const double shortMs = std::max(0.0, ranSeconds - bytes / 176400.0) * 1000;
    std::printf("  recording: %.3f s of sound for %.3f s of recording: %.2f ms short (goal: under the\n"
                "  1 ms the two clocks are read in), %s\n",
                bytes / 176400.0, ranSeconds, shortMs, saved ? "saved" : "NOT saved");
    return dropped == 0 && saved ? 0 : 1;
}
