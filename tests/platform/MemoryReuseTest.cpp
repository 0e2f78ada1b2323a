// A picture-sized block given back and asked for again comes from memory already mapped: no page
// fault per 4 KiB each time.
#include "platform/system/MemoryReuse.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdlib>

TEST(MemoryReuse, APictureFreedAndAskedForAgainCostsTheSystemNoNewPages)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer brings its own allocator";
#endif
    KeepPictureMemoryForReuse();
    constexpr std::size_t kBytes = 640 * 480 * 4;
    const auto use = [] {
        auto* p = static_cast<volatile char*>(std::malloc(kBytes));
        ASSERT_NE(p, nullptr);
        for (std::size_t i = 0; i < kBytes; i += 4096) p[i] = 1;
        std::free(const_cast<char*>(p));
    };
    use();
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    for (int i = 0; i < 10; ++i) use();
    getrusage(RUSAGE_SELF, &after);
    // Mapped afresh, one picture alone would take 300 faults.
    EXPECT_LT(after.ru_minflt - before.ru_minflt, 30);
}
