#include "platform/system/LazyLibrary.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

namespace {
[[noreturn]] void Fail(const char* what, const char* soname, const char* name)
{
    const char* why = dlerror();
    std::fprintf(stderr, "KIVRA cannot %s %s%s%s: %s\nReinstall KIVRA's package to restore it.\n", what,
                 soname, name ? " for " : "", name ? name : "", why ? why : "unknown error");
    std::abort();
}
} // namespace

void* LazyLibrary::Symbol(const char* name)
{
    std::call_once(once_, [this] {
        void* handle = dlopen(soname_, RTLD_NOW | RTLD_LOCAL);
        if (!handle) Fail("load", soname_, nullptr);
        handle_.store(handle, std::memory_order_release);
    });
    void* address = dlsym(handle_.load(std::memory_order_acquire), name);
    if (!address) Fail("find a function in", soname_, name);
    return address;
}
