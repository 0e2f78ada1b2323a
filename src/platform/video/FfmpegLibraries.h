#pragma once
// FFmpeg for platform/video's .cpp files: its headers and the one table of the functions KIVRA
// calls, each loaded on first use (see platform/system/LazyLibrary.h). Call them as ff::name.
#include "platform/system/LazyLibrary.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/imgutils.h>
#include <libavutil/mathematics.h>
#include <libswscale/swscale.h>
}

inline LazyLibrary kLibAvUtil{KIVRA_SONAME_AVUTIL};
inline LazyLibrary kLibAvCodec{KIVRA_SONAME_AVCODEC};
inline LazyLibrary kLibAvFormat{KIVRA_SONAME_AVFORMAT};
inline LazyLibrary kLibSwScale{KIVRA_SONAME_SWSCALE};

namespace ff {
KIVRA_LAZY_SYMBOL(kLibAvUtil, av_buffer_create)
KIVRA_LAZY_SYMBOL(kLibAvUtil, av_buffer_pool_get)
KIVRA_LAZY_SYMBOL(kLibAvUtil, av_buffer_pool_init2)
KIVRA_LAZY_SYMBOL(kLibAvUtil, av_buffer_pool_uninit)
KIVRA_LAZY_SYMBOL(kLibAvUtil, av_channel_layout_default)
KIVRA_LAZY_SYMBOL(kLibAvUtil, av_frame_alloc)
KIVRA_LAZY_SYMBOL(kLibAvUtil, av_frame_free)
KIVRA_LAZY_SYMBOL(kLibAvUtil, av_frame_get_buffer)
KIVRA_LAZY_SYMBOL(kLibAvUtil, av_frame_make_writable)
KIVRA_LAZY_SYMBOL(kLibAvUtil, av_frame_move_ref)
KIVRA_LAZY_SYMBOL(kLibAvUtil, av_frame_unref)
KIVRA_LAZY_SYMBOL(kLibAvUtil, av_freep)
KIVRA_LAZY_SYMBOL(kLibAvUtil, av_image_fill_linesizes)
KIVRA_LAZY_SYMBOL(kLibAvUtil, av_image_fill_plane_sizes)
KIVRA_LAZY_SYMBOL(kLibAvUtil, av_log_set_level)
KIVRA_LAZY_SYMBOL(kLibAvUtil, av_malloc)
KIVRA_LAZY_SYMBOL(kLibAvUtil, av_reduce)
KIVRA_LAZY_SYMBOL(kLibAvUtil, av_strerror)
KIVRA_LAZY_SYMBOL(kLibAvCodec, av_new_packet)
KIVRA_LAZY_SYMBOL(kLibAvCodec, av_packet_alloc)
KIVRA_LAZY_SYMBOL(kLibAvCodec, av_packet_free)
KIVRA_LAZY_SYMBOL(kLibAvCodec, av_packet_rescale_ts)
KIVRA_LAZY_SYMBOL(kLibAvCodec, av_packet_unref)
KIVRA_LAZY_SYMBOL(kLibAvCodec, avcodec_align_dimensions2)
KIVRA_LAZY_SYMBOL(kLibAvCodec, avcodec_alloc_context3)
KIVRA_LAZY_SYMBOL(kLibAvCodec, avcodec_default_get_buffer2)
KIVRA_LAZY_SYMBOL(kLibAvCodec, avcodec_find_decoder)
KIVRA_LAZY_SYMBOL(kLibAvCodec, avcodec_find_encoder)
KIVRA_LAZY_SYMBOL(kLibAvCodec, avcodec_flush_buffers)
KIVRA_LAZY_SYMBOL(kLibAvCodec, avcodec_free_context)
KIVRA_LAZY_SYMBOL(kLibAvCodec, avcodec_open2)
KIVRA_LAZY_SYMBOL(kLibAvCodec, avcodec_parameters_from_context)
KIVRA_LAZY_SYMBOL(kLibAvCodec, avcodec_parameters_to_context)
KIVRA_LAZY_SYMBOL(kLibAvCodec, avcodec_receive_frame)
KIVRA_LAZY_SYMBOL(kLibAvCodec, avcodec_receive_packet)
KIVRA_LAZY_SYMBOL(kLibAvCodec, avcodec_send_frame)
KIVRA_LAZY_SYMBOL(kLibAvCodec, avcodec_send_packet)
KIVRA_LAZY_SYMBOL(kLibAvFormat, av_find_best_stream)
KIVRA_LAZY_SYMBOL(kLibAvFormat, av_read_frame)
KIVRA_LAZY_SYMBOL(kLibAvFormat, av_seek_frame)
KIVRA_LAZY_SYMBOL(kLibAvFormat, av_write_frame)
KIVRA_LAZY_SYMBOL(kLibAvFormat, av_write_trailer)
KIVRA_LAZY_SYMBOL(kLibAvFormat, avformat_alloc_output_context2)
KIVRA_LAZY_SYMBOL(kLibAvFormat, avformat_close_input)
KIVRA_LAZY_SYMBOL(kLibAvFormat, avformat_find_stream_info)
KIVRA_LAZY_SYMBOL(kLibAvFormat, avformat_free_context)
KIVRA_LAZY_SYMBOL(kLibAvFormat, avformat_new_stream)
KIVRA_LAZY_SYMBOL(kLibAvFormat, avformat_open_input)
KIVRA_LAZY_SYMBOL(kLibAvFormat, avformat_write_header)
KIVRA_LAZY_SYMBOL(kLibAvFormat, avio_alloc_context)
KIVRA_LAZY_SYMBOL(kLibAvFormat, avio_context_free)
KIVRA_LAZY_SYMBOL(kLibAvFormat, avio_flush)
KIVRA_LAZY_SYMBOL(kLibSwScale, sws_freeContext)
KIVRA_LAZY_SYMBOL(kLibSwScale, sws_getCachedContext)
KIVRA_LAZY_SYMBOL(kLibSwScale, sws_getCoefficients)
KIVRA_LAZY_SYMBOL(kLibSwScale, sws_getColorspaceDetails)
KIVRA_LAZY_SYMBOL(kLibSwScale, sws_getContext)
KIVRA_LAZY_SYMBOL(kLibSwScale, sws_isSupportedInput)
KIVRA_LAZY_SYMBOL(kLibSwScale, sws_scale)
KIVRA_LAZY_SYMBOL(kLibSwScale, sws_setColorspaceDetails)
} // namespace ff
