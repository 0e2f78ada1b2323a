#include "platform/video/DecoderBuffers.h"

#include "platform/video/FfmpegLibraries.h"

#include <sys/mman.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

namespace {

// FFmpeg's widest vector alignment, for plane starts, and the padding its decoders may read or
// write past a plane's end: what libavcodec's own pool gives each plane.
constexpr std::size_t kAlign = 64;
constexpr std::size_t kPadding = 16 + kAlign - 1;
constexpr std::size_t kLargePage = std::size_t(2) << 20;
constexpr std::size_t kBlockBytes = std::size_t(32) << 20;

std::size_t RoundUp(std::size_t n, std::size_t to) { return (n + to - 1) / to * to; }

// The memory of one pool's buffers: handed out in turn from large blocks and never taken back one
// by one (the pool keeps its buffers and uses them again); unmapped together with the pool.
struct Arena {
    struct Block {
        void* at;
        std::size_t bytes;
    };
    std::vector<Block> blocks;
    std::uint8_t* next = nullptr;
    std::size_t left = 0;

    ~Arena()
    {
        for (const Block& b : blocks) munmap(b.at, b.bytes);
    }
};

void LeaveToArena(void*, std::uint8_t*) {}

// Called by the pool, under its lock, when it has no buffer to give again.
AVBufferRef* ArenaBuffer(void* opaque, std::size_t size)
{
    auto* arena = static_cast<Arena*>(opaque);
    const std::size_t need = RoundUp(size, kAlign);
    if (need > arena->left) {
        const std::size_t bytes = RoundUp(std::max(kBlockBytes, 4 * need), kLargePage);
        // A large page more than the block, so that the block can start on a large page.
        void* at = mmap(nullptr, bytes + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (at == MAP_FAILED) return nullptr;
        try {
            arena->blocks.push_back({at, bytes + kLargePage});
        } catch (const std::bad_alloc&) {
            munmap(at, bytes + kLargePage);
            return nullptr;
        }
        auto* start = reinterpret_cast<std::uint8_t*>(RoundUp(reinterpret_cast<std::uintptr_t>(at), kLargePage));
        madvise(start, bytes, MADV_HUGEPAGE);   // advice: where the system declines, small pages serve
        arena->next = start;
        arena->left = bytes;
    }
    AVBufferRef* buffer = ff::av_buffer_create(arena->next, size, LeaveToArena, nullptr, 0);
    if (!buffer) return nullptr;
    arena->next += need;
    arena->left -= need;
    return buffer;
}

void FreeArena(void* opaque) { delete static_cast<Arena*>(opaque); }

} // namespace

// One pool per plane for the picture shape in use, as libavcodec keeps its own.
struct DecoderBuffers::Pools {
    std::mutex lock;
    int format = -1, width = 0, height = 0;
    int linesize[4] = {};
    AVBufferPool* planes[4] = {};

    // Each pool frees itself, and its arena, once the last of its buffers is given back.
    void clear()
    {
        for (AVBufferPool*& p : planes)
            if (p) ff::av_buffer_pool_uninit(&p);
        format = -1;
    }

    // Pools for the frame's shape; false when its format has no known layout.
    bool shape(AVCodecContext* codec, const AVFrame* frame)
    {
        if (frame->format == format && frame->width == width && frame->height == height) return true;
        clear();
        const auto pixels = AVPixelFormat(frame->format);
        int w = frame->width, h = frame->height;
        int strideAlign[AV_NUM_DATA_POINTERS];
        ff::avcodec_align_dimensions2(codec, &w, &h, strideAlign);
        // The width grows until every line length is a multiple of its alignment; the planes then
        // keep the proportions some decoders rely on (a chroma line half a luma line).
        int lines[4] = {};
        bool aligned = false;
        for (int tries = 0; !aligned && tries < 32; ++tries) {
            if (ff::av_image_fill_linesizes(lines, pixels, w) < 0) return false;
            w += w & ~(w - 1);
            aligned = true;
            for (int i = 0; i < 4; ++i) aligned = aligned && strideAlign[i] > 0 && lines[i] % strideAlign[i] == 0;
        }
        if (!aligned) return false;
        const std::ptrdiff_t wide[4] = {lines[0], lines[1], lines[2], lines[3]};
        std::size_t sizes[4] = {};
        if (ff::av_image_fill_plane_sizes(sizes, pixels, h, wide) < 0) return false;
        for (int i = 0; i < 4; ++i) {
            linesize[i] = lines[i];
            if (sizes[i] == 0) continue;
            auto* arena = sizes[i] <= std::size_t(INT_MAX) - kPadding ? new (std::nothrow) Arena : nullptr;
            planes[i] = arena ? ff::av_buffer_pool_init2(sizes[i] + kPadding, arena, ArenaBuffer, FreeArena) : nullptr;
            if (!planes[i]) {
                delete arena;
                clear();
                return false;
            }
        }
        format = frame->format;
        width = frame->width;
        height = frame->height;
        return true;
    }
};

namespace {

int GetBuffer(AVCodecContext* codec, AVFrame* frame, int flags)
{
    auto* pools = static_cast<DecoderBuffers::Pools*>(codec->opaque);
    if (codec->hw_frames_ctx || !(codec->codec->capabilities & AV_CODEC_CAP_DR1) || frame->width <= 0 ||
        frame->height <= 0)
        return ff::avcodec_default_get_buffer2(codec, frame, flags);
    const std::lock_guard<std::mutex> hold(pools->lock);
    if (!pools->shape(codec, frame)) return AVERROR(EINVAL);
    std::memset(frame->data, 0, sizeof frame->data);
    for (int i = 0; i < 4 && pools->planes[i]; ++i) {
        frame->buf[i] = ff::av_buffer_pool_get(pools->planes[i]);
        if (!frame->buf[i]) {
            ff::av_frame_unref(frame);
            return AVERROR(ENOMEM);
        }
        frame->data[i] = frame->buf[i]->data;
        frame->linesize[i] = pools->linesize[i];
    }
    frame->extended_data = frame->data;
    return 0;
}

} // namespace

DecoderBuffers::DecoderBuffers(AVCodecContext* codec) : pools_(new Pools)
{
    codec->opaque = pools_;
    codec->get_buffer2 = GetBuffer;
}

DecoderBuffers::~DecoderBuffers()
{
    pools_->clear();
    delete pools_;
}
