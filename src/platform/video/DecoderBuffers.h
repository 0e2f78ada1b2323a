#pragma once
// The picture buffers of a video decoder, laid out as libavcodec lays out its own, but carved from
// large blocks that the system maps already zeroed, in 2 MiB pages where it can.
//
// The frame stepper keeps the frames it decodes, so each frame stepped on needs a new buffer; the
// decoder's own pool clears every new buffer itself and the system maps it a 4 KiB page at a time
// (about 350 page faults for a 720p picture: several milliseconds on a virtual machine). Buffers
// given back are used again, as by the decoder's own pool; the memory goes back to the system
// once the last frame that uses it is freed, which may be after the decoder is gone.
struct AVCodecContext;

class DecoderBuffers {
public:
    // Takes over `codec`'s get_buffer2 and opaque; call before avcodec_open2, and keep the object
    // until the context is freed. Decoders that cannot use buffers from outside keep their own.
    explicit DecoderBuffers(AVCodecContext* codec);
    ~DecoderBuffers();
    DecoderBuffers(const DecoderBuffers&) = delete;
    DecoderBuffers& operator=(const DecoderBuffers&) = delete;

    struct Pools;

private:
    Pools* pools_;
};
