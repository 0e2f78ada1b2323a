#pragma once
// Memory the C library keeps for reuse rather than giving back to the system at once.
//
// Picture-sized blocks come and go 30 times a second in the capture, the video player and the
// live tools (a 640 x 480 frame is 1.2 MiB). By default glibc maps each block above 128 KiB
// afresh from the system, and gives freed memory at the top of its heap back once 128 KiB of it
// are free; every new block then costs the system a page fault and a clearing per 4 KiB page,
// about a millisecond per frame on a virtual machine. Kept instead: blocks up to 4 MiB come from
// the heap, and up to 32 MiB of freed heap stays for the next ones. Larger blocks (a sound file's
// samples) are still mapped and unmapped on their own.
#include <malloc.h>

inline void KeepPictureMemoryForReuse()
{
    mallopt(M_MMAP_THRESHOLD, 4 << 20);
    mallopt(M_TRIM_THRESHOLD, 32 << 20);
}
