#pragma once
// What the about window reports on the computer: the distribution (/etc/os-release), the kernel
// (uname), the processor (/proc/cpuinfo) and the memory (sysinfo, and the kernel's estimate of
// available memory from /proc/meminfo). Memory figures are in bytes.
#include <QString>
#include <QStringView>

#include <cstdint>

struct SystemInfo {
    QString distribution;     // os-release PRETTY_NAME, else NAME and VERSION, else "Linux"
    QString kernelName;       // uname: "Linux"; empty when uname failed
    QString kernelRelease;    // "6.1.0-18-amd64"
    QString machine;          // "x86_64"
    QString processor;        // the processor's model name; empty when /proc/cpuinfo has none
    int processorCount = 0;   // processors listed in /proc/cpuinfo
    std::uint64_t totalPhysical = 0;
    std::uint64_t availablePhysical = 0;
    std::uint64_t totalSwap = 0;
    std::uint64_t freeSwap = 0;

    bool versionKnown() const { return !kernelRelease.isEmpty(); }

    // Where the facts are read from; tests point them at files of their own.
    struct Sources {
        QString osRelease = "/etc/os-release";
        QString osReleaseFallback = "/usr/lib/os-release";
        QString cpuInfo = "/proc/cpuinfo";
        QString memInfo = "/proc/meminfo";
    };
    // Reads this computer's facts. Never throws; what cannot be read stays empty or 0.
    static SystemInfo Read(const Sources& sources);
    static SystemInfo Read() { return Read(Sources{}); }

    // The parts of Read that interpret file texts.
    // The distribution's name from an os-release text: PRETTY_NAME, else NAME + " " + VERSION,
    // else NAME, else "Linux" (the default the os-release format gives).
    static QString DistributionOf(QStringView osRelease);
    // The processor's model from a /proc/cpuinfo text ("model name", or what other processors
    // call it: "Processor", "cpu model", "cpu"), and how many processors it lists.
    static QString ProcessorOf(QStringView cpuInfo);
    static int ProcessorCountOf(QStringView cpuInfo);
    // A "Key:   value kB" line of /proc/meminfo in bytes; -1 when the key is missing.
    static std::int64_t MemInfoBytes(QStringView memInfo, QStringView key);
};
