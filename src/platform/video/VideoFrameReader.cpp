// The one file that decodes clips with libavformat and libavcodec (ClipInfo only reads headers).
#include "platform/video/VideoFrameReader.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <limits>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace {
// Pictures beyond this many pixels are refused rather than risking memory on a corrupt header.
constexpr std::int64_t kMaxPixels = std::int64_t(16384) * 16384;

// The JPEG pixel formats are the plain ones at full range (the scaler wants them named so).
AVPixelFormat PlainFormat(AVPixelFormat format, bool& fullRange)
{
    fullRange = true;
    switch (format) {
    case AV_PIX_FMT_YUVJ420P: return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P: return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P: return AV_PIX_FMT_YUV444P;
    case AV_PIX_FMT_YUVJ440P: return AV_PIX_FMT_YUV440P;
    case AV_PIX_FMT_YUVJ411P: return AV_PIX_FMT_YUV411P;
    default: break;
    }
    fullRange = false;
    return format;
}
}

struct VideoFrameReader::Decoder {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    SwsContext* scaler = nullptr;
    int stream = -1;
    AVRational timeBase{1, 1};
    std::int64_t origin = 0;         // the stream's first presentation time, in timeBase units
    double frameDuration = 0;        // seconds, from the nominal rate; 0 when unknown
    double lastTime = -1;            // time of the last frame returned
    bool draining = false;           // the file is read to its end; the decoder gives what it holds

    ~Decoder()
    {
        sws_freeContext(scaler);
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }

    double rate() const
    {
        const AVStream* st = format->streams[stream];
        for (AVRational r : {st->avg_frame_rate, st->r_frame_rate})
            if (r.num > 0 && r.den > 0) return av_q2d(r);
        return 0;
    }

    // The time of the frame just decoded: its best-effort timestamp (the decoder's reordering
    // of B-frames included), or one frame after the last when the file gives none.
    double timeOf(const AVFrame* f) const
    {
        const std::int64_t ts = f->best_effort_timestamp != AV_NOPTS_VALUE ? f->best_effort_timestamp : f->pts;
        if (ts == AV_NOPTS_VALUE) return lastTime < 0 ? 0 : lastTime + frameDuration;
        return double(ts - origin) * av_q2d(timeBase);
    }

    QImage pictureOf(const AVFrame* f)
    {
        if (f->width <= 0 || f->height <= 0 || std::int64_t(f->width) * f->height > kMaxPixels)
            return QImage();
        QImage image(f->width, f->height, QImage::Format_RGB32);
        if (image.isNull()) return QImage();
        bool fullRange = f->color_range == AVCOL_RANGE_JPEG;
        bool jpegFormat = false;
        const AVPixelFormat source = PlainFormat(AVPixelFormat(f->format), jpegFormat);
        fullRange = fullRange || jpegFormat;
        scaler = sws_getCachedContext(scaler, f->width, f->height, source, f->width, f->height,
                                      AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
        if (!scaler) return QImage();
        int* inverse = nullptr;
        int* table = nullptr;
        int srcRange = 0, dstRange = 0, brightness = 0, contrast = 0, saturation = 0;
        if (sws_getColorspaceDetails(scaler, &inverse, &srcRange, &table, &dstRange, &brightness,
                                     &contrast, &saturation) >= 0 &&
            srcRange != int(fullRange)) {
            sws_setColorspaceDetails(scaler, inverse, int(fullRange), table, 1, brightness, contrast,
                                     saturation);
        }
        std::uint8_t* planes[4] = {image.bits(), nullptr, nullptr, nullptr};
        int strides[4] = {int(image.bytesPerLine()), 0, 0, 0};
        sws_scale(scaler, f->data, f->linesize, 0, f->height, planes, strides);
        return image;
    }
};

std::unique_ptr<VideoFrameReader> VideoFrameReader::Open(const QString& path)
{
    if (path.isEmpty()) return nullptr;
    // The library's warnings about odd streams it goes on decoding are not for the user's eyes.
    static const bool quiet = (av_log_set_level(AV_LOG_ERROR), true);
    (void)quiet;
    try {
        auto d = std::make_unique<Decoder>();
        const QByteArray name = QFile::encodeName(path);
        if (avformat_open_input(&d->format, name.constData(), nullptr, nullptr) < 0) return nullptr;
        if (avformat_find_stream_info(d->format, nullptr) < 0) return nullptr;
        for (unsigned i = 0; i < d->format->nb_streams; ++i) {
            const AVStream* st = d->format->streams[i];
            if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
                !(st->disposition & AV_DISPOSITION_ATTACHED_PIC) && st->codecpar->width > 0 &&
                st->codecpar->height > 0) {
                d->stream = int(i);
                break;
            }
        }
        if (d->stream < 0) return nullptr;
        AVStream* st = d->format->streams[d->stream];
        const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
        if (!codec) return nullptr;
        d->codec = avcodec_alloc_context3(codec);
        if (!d->codec || avcodec_parameters_to_context(d->codec, st->codecpar) < 0) return nullptr;
        d->codec->thread_count = 0;   // as many as the machine has
        if (avcodec_open2(d->codec, codec, nullptr) < 0) return nullptr;
        d->packet = av_packet_alloc();
        d->frame = av_frame_alloc();
        if (!d->packet || !d->frame) return nullptr;
        // Other streams are not read: the demuxer skips their packets cheaply.
        for (unsigned i = 0; i < d->format->nb_streams; ++i)
            if (int(i) != d->stream) d->format->streams[i]->discard = AVDISCARD_ALL;
        d->timeBase = st->time_base;
        const double rate = d->rate();
        d->frameDuration = rate > 0 ? 1.0 / rate : 0;
        std::unique_ptr<VideoFrameReader> reader(new VideoFrameReader(std::move(d)));
        // Times count from the first picture, as the playback engine's positions do: the first
        // frame's own timestamp is not always the stream's start (B-frames in AVI files, MPEG
        // program streams starting at 0.5 s).
        if (!reader->findOrigin()) return nullptr;
        return reader;
    } catch (...) {
        return nullptr;
    }
}

VideoFrameReader::VideoFrameReader(std::unique_ptr<Decoder> decoder) : d_(std::move(decoder)) {}

VideoFrameReader::~VideoFrameReader() = default;

QSize VideoFrameReader::pictureSize() const
{
    return QSize(d_->codec->width, d_->codec->height);
}

double VideoFrameReader::frameRate() const { return d_->rate(); }

bool VideoFrameReader::findOrigin()
{
    const AVStream* st = d_->format->streams[d_->stream];
    d_->origin = st->start_time != AV_NOPTS_VALUE ? st->start_time : 0;
    const std::optional<DecodedFrame> first = read();
    if (!first) return false;   // not a single picture to show
    d_->origin += std::int64_t(std::llround(first->time / av_q2d(d_->timeBase)));
    seek(0);
    return true;
}

bool VideoFrameReader::seek(double seconds)
{
    if (!std::isfinite(seconds)) return false;
    const double units = seconds / av_q2d(d_->timeBase);
    const double limit = double(std::numeric_limits<std::int64_t>::max() / 4);
    const std::int64_t target = d_->origin + std::int64_t(std::floor(std::clamp(units, -limit, limit)));
    bool sought = av_seek_frame(d_->format, d_->stream, std::max(target, d_->origin), AVSEEK_FLAG_BACKWARD) >= 0;
    // Formats without an index may refuse a seek by time; their start is always reachable by bytes.
    if (!sought) sought = av_seek_frame(d_->format, d_->stream, 0, AVSEEK_FLAG_BYTE) >= 0;
    avcodec_flush_buffers(d_->codec);
    d_->draining = false;
    d_->lastTime = -1;
    return sought;
}

std::optional<DecodedFrame> VideoFrameReader::read()
{
    try {
        for (;;) {
            const int got = avcodec_receive_frame(d_->codec, d_->frame);
            if (got == 0) {
                DecodedFrame out;
                out.time = d_->timeOf(d_->frame);
                out.picture = d_->pictureOf(d_->frame);
                av_frame_unref(d_->frame);
                if (out.picture.isNull()) continue;   // a picture that cannot be shown is passed by
                d_->lastTime = out.time;
                return out;
            }
            // Once the file is read to its end the decoder only gives what it still holds.
            if (got == AVERROR_EOF || d_->draining) return std::nullopt;
            const int read = av_read_frame(d_->format, d_->packet);
            if (read < 0) {
                d_->draining = true;
                avcodec_send_packet(d_->codec, nullptr);
                continue;
            }
            if (d_->packet->stream_index == d_->stream)
                avcodec_send_packet(d_->codec, d_->packet);   // a damaged packet is skipped
            av_packet_unref(d_->packet);
        }
    } catch (...) {
        return std::nullopt;
    }
}
