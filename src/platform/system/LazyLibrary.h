#pragma once
// Libraries loaded on first use. FFmpeg, FreeImage and FluidSynth pull in about 180 shared
// libraries between them (codecs, TLS, fonts for subtitles, ...); linked normally, the dynamic
// loader maps and relocates all of them before main() and the program takes several times as
// long to show its frame. Their calls go instead through a LazySymbol, which opens the library
// and looks the function up the first time it is called, and is a plain indirect call after that.
//
// A table of symbols for one library:
//     inline LazyLibrary kAvCodec{KIVRA_SONAME_AVCODEC};
//     namespace ff { KIVRA_LAZY_SYMBOL(kAvCodec, avcodec_open2) }
// and the call site says ff::avcodec_open2(...) where it said avcodec_open2(...). Default
// arguments of the library's declarations do not carry over: pass every argument.
#include <atomic>
#include <mutex>

class LazyLibrary {
public:
    explicit constexpr LazyLibrary(const char* soname) : soname_(soname) {}
    LazyLibrary(const LazyLibrary&) = delete;
    LazyLibrary& operator=(const LazyLibrary&) = delete;

    // The address of `name`, the library opened on the first call. The package depends on
    // every library it loads this way, so one that is missing is a broken installation: the
    // program ends with a message naming the library and the symbol instead of crashing later.
    void* Symbol(const char* name);
    // Whether the library has been opened in this process (for tests of start-up).
    bool Loaded() const { return handle_.load(std::memory_order_acquire) != nullptr; }

private:
    const char* soname_;
    std::once_flag once_;
    std::atomic<void*> handle_{nullptr};
};

template <typename Function>
class LazySymbol;

template <typename R, typename... Args>
class LazySymbol<R (*)(Args...)> {
public:
    using Pointer = R (*)(Args...);
    constexpr LazySymbol(LazyLibrary& library, const char* name) : library_(library), name_(name) {}

    R operator()(Args... args) const
    {
        Pointer f = function_.load(std::memory_order_acquire);
        if (!f) {
            f = reinterpret_cast<Pointer>(library_.Symbol(name_));
            function_.store(f, std::memory_order_release);
        }
        return f(args...);
    }

private:
    LazyLibrary& library_;
    const char* name_;
    mutable std::atomic<Pointer> function_{nullptr};
};

// (Attributes of the declaration, such as malloc's, do not belong to the pointer's type.)
#define KIVRA_LAZY_SYMBOL(library, name)                                                           \
    _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wignored-attributes\"")      \
        inline LazySymbol<decltype(&::name)> name{library, #name};                                 \
    _Pragma("GCC diagnostic pop")
