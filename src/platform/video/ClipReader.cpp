#include "platform/video/ClipReader.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "platform/video/DecoderBuffers.h"
#include "platform/video/FfmpegLibraries.h"

namespace {
// Pictures beyond this many pixels are refused rather than risking memory on a corrupt header.
constexpr std::int64_t kMaxPixels = std::int64_t(16384) * 16384;

// A rational that is a real rate: positive numerator and denominator.
double RateOf(AVRational r)
{
    return r.num > 0 && r.den > 0 ? av_q2d(r) : 0.0;
}

// The clip's picture: the first video stream with a size that is not a sound file's cover art
// (a one-picture "video" stream); -1 when there is none.
int MainVideoStream(const AVFormatContext* fc)
{
    for (unsigned i = 0; i < fc->nb_streams; ++i) {
        const AVStream* st = fc->streams[i];
        if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !(st->disposition & AV_DISPOSITION_ATTACHED_PIC) &&
            st->codecpar->width > 0 && st->codecpar->height > 0)
            return int(i);
    }
    return -1;
}

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

// Whether a decoded frame can become a picture on screen.
bool Showable(const AVFrame* f)
{
    if (f->width <= 0 || f->height <= 0 || std::int64_t(f->width) * f->height > kMaxPixels) return false;
    bool fullRange = false;
    return ff::sws_isSupportedInput(PlainFormat(AVPixelFormat(f->format), fullRange)) > 0;
}

// Turns decoded frames into RGB32 pictures; one scaler, shared by the reader and the frames it
// handed out, is set up again only when the frames' size or format changes.
class Converter {
public:
    ~Converter() { ff::sws_freeContext(scaler_); }

    QImage picture(const AVFrame* f)
    {
        if (!Showable(f)) return QImage();
        QImage image(f->width, f->height, QImage::Format_RGB32);
        if (image.isNull()) return QImage();
        bool jpegFormat = false;
        const AVPixelFormat source = PlainFormat(AVPixelFormat(f->format), jpegFormat);
        const bool fullRange = f->color_range == AVCOL_RANGE_JPEG || jpegFormat;
        scaler_ = ff::sws_getCachedContext(scaler_, f->width, f->height, source, f->width, f->height, AV_PIX_FMT_BGRA,
                                       SWS_BILINEAR, nullptr, nullptr, nullptr);
        if (!scaler_) return QImage();
        // A scaler made again (another size or format) starts from the default colours.
        const Colours colours{f->width, f->height, int(source), MatrixOf(f), fullRange};
        if (!(colours == colours_)) {
            int* inverse = nullptr;
            int* table = nullptr;
            int srcRange = 0, dstRange = 0, brightness = 0, contrast = 0, saturation = 0;
            if (ff::sws_getColorspaceDetails(scaler_, &inverse, &srcRange, &table, &dstRange, &brightness, &contrast,
                                         &saturation) >= 0)
                ff::sws_setColorspaceDetails(scaler_, ff::sws_getCoefficients(colours.matrix), int(fullRange), table,
                                             1, brightness, contrast, saturation);
            colours_ = colours;
        }
        std::uint8_t* planes[4] = {image.bits(), nullptr, nullptr, nullptr};
        int strides[4] = {int(image.bytesPerLine()), 0, 0, 0};
        ff::sws_scale(scaler_, f->data, f->linesize, 0, f->height, planes, strides);
        return image;
    }

private:
    // The colour matrix the frame names; for a clip that names none, the one the playback engine
    // takes, so that a step shows the colours playing showed: BT.601 up to 576 lines, BT.709
    // above, BT.2020 from 2160 lines.
    static int MatrixOf(const AVFrame* f)
    {
        switch (f->colorspace) {
        case AVCOL_SPC_BT709:
        case AVCOL_SPC_FCC:
        case AVCOL_SPC_BT470BG:
        case AVCOL_SPC_SMPTE170M:
        case AVCOL_SPC_SMPTE240M:
        case AVCOL_SPC_BT2020_NCL:
        case AVCOL_SPC_BT2020_CL: return int(f->colorspace);
        default:
            return f->height >= 2160 ? int(AVCOL_SPC_BT2020_NCL)
                   : f->height > 576 ? int(AVCOL_SPC_BT709)
                                     : int(AVCOL_SPC_SMPTE170M);
        }
    }

    // What the scaler's colour details were set for.
    struct Colours {
        int width = 0, height = 0, source = -1, matrix = -1;
        bool fullRange = false;
        bool operator==(const Colours&) const = default;
    };

    SwsContext* scaler_ = nullptr;
    Colours colours_;
};

// A frame as the decoder gave it (a reference to its planes, no copy).
class DecodedPlanes : public FramePicture::Source {
public:
    DecodedPlanes(AVFrame* frame, std::shared_ptr<Converter> converter)
        : frame_(frame), converter_(std::move(converter))
    {
        for (const AVBufferRef* buffer : frame_->buf)
            if (buffer) bytes_ += buffer->size;
    }
    ~DecodedPlanes() override { ff::av_frame_free(&frame_); }
    QImage image() const override { return converter_->picture(frame_); }
    std::size_t bytes() const override { return bytes_; }

private:
    AVFrame* frame_;
    std::shared_ptr<Converter> converter_;
    std::size_t bytes_ = sizeof(AVFrame);
};

} // namespace

struct ClipReader::Demuxer {
    AVFormatContext* format = nullptr;
    ~Demuxer() { ff::avformat_close_input(&format); }
};

struct ClipReader::Decoder {
    AVFormatContext* format = nullptr;   // the demuxer's, not owned
    AVCodecContext* codec = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    std::shared_ptr<Converter> converter = std::make_shared<Converter>();
    int stream = -1;
    AVRational timeBase{1, 1};
    std::int64_t origin = 0;    // the stream's first presentation time, in timeBase units
    double frameDuration = 0;   // seconds, from the nominal rate; 0 when unknown
    double lastTime = -1;       // time of the last frame returned
    bool draining = false;      // the file is read to its end; the decoder gives what it holds
    std::unique_ptr<DecoderBuffers> buffers;   // outlives the codec context, which calls on it

    ~Decoder()
    {
        ff::av_frame_free(&frame);
        ff::av_packet_free(&packet);
        ff::avcodec_free_context(&codec);
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
};

ClipReader::ClipReader(std::unique_ptr<Demuxer> demuxer) : in_(std::move(demuxer)) {}

ClipReader::~ClipReader()
{
    d_.reset();   // the decoder goes before the demuxer it reads from
}

std::unique_ptr<ClipReader> ClipReader::Open(const QString& path)
{
    if (path.isEmpty()) return nullptr;
    try {
        auto in = std::make_unique<Demuxer>();
        const QByteArray name = QFile::encodeName(path);
        if (ff::avformat_open_input(&in->format, name.constData(), nullptr, nullptr) < 0) return nullptr;
        // Formats without a full header (MPEG program streams) only give their picture size
        // after a look at the first packets.
        if (ff::avformat_find_stream_info(in->format, nullptr) < 0) return nullptr;
        return std::unique_ptr<ClipReader>(new ClipReader(std::move(in)));
    } catch (...) {
        return nullptr;
    }
}

std::unique_ptr<ClipReader> ClipReader::OpenVideo(const QString& path)
{
    // The library's warnings about odd streams it goes on decoding are not for the user's eyes.
    static const bool quiet = (ff::av_log_set_level(AV_LOG_ERROR), true);
    (void)quiet;
    std::unique_ptr<ClipReader> reader = Open(path);
    try {
        if (!reader || !reader->openDecoder()) return nullptr;
        // Times count from the first picture, as the playback engine's positions do: the first
        // frame's own timestamp is not always the stream's start (B-frames in AVI files, MPEG
        // program streams starting at 0.5 s).
        if (!reader->findOrigin()) return nullptr;
        return reader;
    } catch (...) {
        return nullptr;
    }
}

ClipInfo ClipReader::info() const
{
    ClipInfo info;
    const AVFormatContext* fc = in_->format;
    for (unsigned i = 0; i < fc->nb_streams; ++i) {
        const AVCodecParameters* par = fc->streams[i]->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_AUDIO && par->codec_id != AV_CODEC_ID_NONE) info.hasAudio = true;
    }
    const int stream = MainVideoStream(fc);
    if (stream >= 0) {
        const AVStream* video = fc->streams[stream];
        info.width = video->codecpar->width;
        info.height = video->codecpar->height;
        info.frameRate = RateOf(video->avg_frame_rate);
        if (info.frameRate <= 0) info.frameRate = RateOf(video->r_frame_rate);
    }
    if (fc->duration != AV_NOPTS_VALUE && fc->duration > 0) {
        info.duration = double(fc->duration) / AV_TIME_BASE;
    } else {
        for (unsigned i = 0; i < fc->nb_streams; ++i) {
            const AVStream* st = fc->streams[i];
            if (st->duration != AV_NOPTS_VALUE && st->duration > 0)
                info.duration = std::max(info.duration, st->duration * av_q2d(st->time_base));
        }
    }
    return info.isEmpty() ? ClipInfo() : info;
}

std::int64_t ClipReader::videoFrames()
{
    AVFormatContext* fc = in_->format;
    const int stream = ff::av_find_best_stream(fc, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (stream < 0) return 0;
    const AVStream* video = fc->streams[stream];
    if (video->disposition & AV_DISPOSITION_ATTACHED_PIC) return 0;
    if (video->nb_frames > 0) return video->nb_frames;
    // No count in the header: the packets tell (reading stops at the first damage).
    std::vector<AVDiscard> discards;
    for (unsigned i = 0; i < fc->nb_streams; ++i) {
        discards.push_back(fc->streams[i]->discard);
        if (int(i) != stream) fc->streams[i]->discard = AVDISCARD_ALL;
    }
    AVPacket* packet = ff::av_packet_alloc();
    std::int64_t frames = 0;
    if (packet) {
        while (ff::av_read_frame(fc, packet) >= 0) {
            if (packet->stream_index == stream) ++frames;
            ff::av_packet_unref(packet);
        }
        ff::av_packet_free(&packet);
    }
    for (unsigned i = 0; i < fc->nb_streams; ++i) fc->streams[i]->discard = discards[i];
    return frames;
}

bool ClipReader::openDecoder()
{
    auto d = std::make_unique<Decoder>();
    d->format = in_->format;
    d->stream = MainVideoStream(d->format);
    if (d->stream < 0) return false;
    AVStream* st = d->format->streams[d->stream];
    const AVCodec* codec = ff::avcodec_find_decoder(st->codecpar->codec_id);
    if (!codec) return false;
    d->codec = ff::avcodec_alloc_context3(codec);
    if (!d->codec || ff::avcodec_parameters_to_context(d->codec, st->codecpar) < 0) return false;
    d->codec->thread_count = 0;   // as many as the machine has
    // The frame stepper keeps many frames: their buffers come from large pages the system maps
    // zeroed, not from a pool that clears each new one.
    d->buffers = std::make_unique<DecoderBuffers>(d->codec);
    if (ff::avcodec_open2(d->codec, codec, nullptr) < 0) return false;
    d->packet = ff::av_packet_alloc();
    d->frame = ff::av_frame_alloc();
    if (!d->packet || !d->frame) return false;
    // Other streams are not read: the demuxer skips their packets cheaply.
    for (unsigned i = 0; i < d->format->nb_streams; ++i)
        if (int(i) != d->stream) d->format->streams[i]->discard = AVDISCARD_ALL;
    d->timeBase = st->time_base;
    const double rate = d->rate();
    d->frameDuration = rate > 0 ? 1.0 / rate : 0;
    d_ = std::move(d);
    return true;
}

QSize ClipReader::pictureSize() const
{
    return d_ ? QSize(d_->codec->width, d_->codec->height) : QSize();
}

double ClipReader::frameRate() const { return d_ ? d_->rate() : 0.0; }

bool ClipReader::findOrigin()
{
    const AVStream* st = d_->format->streams[d_->stream];
    d_->origin = st->start_time != AV_NOPTS_VALUE ? st->start_time : 0;
    const std::optional<ReadFrame> first = next();
    if (!first) return false;   // not a single picture to show
    d_->origin += std::int64_t(std::llround(first->time / av_q2d(d_->timeBase)));
    seek(0);
    return true;
}

bool ClipReader::seek(double seconds)
{
    if (!d_ || !std::isfinite(seconds)) return false;
    const double units = seconds / av_q2d(d_->timeBase);
    const double limit = double(std::numeric_limits<std::int64_t>::max() / 4);
    const std::int64_t target = d_->origin + std::int64_t(std::floor(std::clamp(units, -limit, limit)));
    bool sought = ff::av_seek_frame(d_->format, d_->stream, std::max(target, d_->origin), AVSEEK_FLAG_BACKWARD) >= 0;
    // Formats without an index may refuse a seek by time; their start is always reachable by bytes.
    if (!sought) sought = ff::av_seek_frame(d_->format, d_->stream, 0, AVSEEK_FLAG_BYTE) >= 0;
    ff::avcodec_flush_buffers(d_->codec);
    d_->draining = false;
    d_->lastTime = -1;
    return sought;
}

std::optional<ReadFrame> ClipReader::next()
{
    if (!d_) return std::nullopt;
    try {
        for (;;) {
            const int got = ff::avcodec_receive_frame(d_->codec, d_->frame);
            if (got == 0) {
                // A picture that cannot be shown is passed by.
                if (!Showable(d_->frame)) {
                    ff::av_frame_unref(d_->frame);
                    continue;
                }
                ReadFrame out;
                out.time = d_->timeOf(d_->frame);
                AVFrame* kept = ff::av_frame_alloc();
                if (!kept) return std::nullopt;
                ff::av_frame_move_ref(kept, d_->frame);
                out.picture = FramePicture(std::make_shared<DecodedPlanes>(kept, d_->converter));
                d_->lastTime = out.time;
                return out;
            }
            // Once the file is read to its end the decoder only gives what it still holds.
            if (got == AVERROR_EOF || d_->draining) return std::nullopt;
            const int read = ff::av_read_frame(d_->format, d_->packet);
            if (read < 0) {
                d_->draining = true;
                ff::avcodec_send_packet(d_->codec, nullptr);
                continue;
            }
            if (d_->packet->stream_index == d_->stream)
                ff::avcodec_send_packet(d_->codec, d_->packet);   // a damaged packet is skipped
            ff::av_packet_unref(d_->packet);
        }
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<DecodedFrame> ClipReader::read()
{
    for (;;) {
        std::optional<ReadFrame> frame = next();
        if (!frame) return std::nullopt;
        QImage picture = frame->picture.image();
        if (picture.isNull()) continue;   // a picture that cannot be shown is passed by
        return DecodedFrame{frame->time, std::move(picture)};
    }
}
