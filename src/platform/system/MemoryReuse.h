#pragma once
// Memory the C library keeps for reuse rather than giving back to the system at once.
//
// Picture-sized blocks come and go 30 times a second in the capture, the video player and the
// live tools (a 640 x 480 frame is 1.2 MiB, a 1080p one 8 MiB). By default glibc maps blocks above
// 128 KiB afresh from the system, raising that limit only as such blocks are freed, and gives
// freed memory at the top of its heap back as soon as a little of it is free; every new block
// then costs the system a page fault and a clearing per 4 KiB page, about a millisecond per
// 640 x 480 frame on a virtual machine. Kept instead: blocks up to 32 MiB come from the heap, and
// up to 64 MiB of freed heap stays for the next ones. Larger blocks (a long sound's samples) are
// still mapped and unmapped on their own.
#include <malloc.h>

inline void KeepPictureMemoryForReuse()
{
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
}
