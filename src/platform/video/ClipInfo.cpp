#include "platform/video/ClipInfo.h"

#include <QFile>

#include <algorithm>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
}

namespace {

// A rational that is a real rate: positive numerator and denominator.
double RateOf(AVRational r)
{
    return r.num > 0 && r.den > 0 ? av_q2d(r) : 0.0;
}

struct InputCloser {
    AVFormatContext* context = nullptr;
    ~InputCloser() { avformat_close_input(&context); }
};

} // namespace

ClipInfo ClipInfo::Read(const QString& path)
{
    ClipInfo info;
    if (path.isEmpty()) return info;
    try {
        const QByteArray name = QFile::encodeName(path);
        InputCloser input;
        if (avformat_open_input(&input.context, name.constData(), nullptr, nullptr) < 0)
            return info;
        // Formats without a full header (MPEG program streams) only give their picture size
        // after a look at the first packets.
        if (avformat_find_stream_info(input.context, nullptr) < 0) return info;

        const AVFormatContext* fc = input.context;
        const AVStream* video = nullptr;
        for (unsigned i = 0; i < fc->nb_streams; ++i) {
            const AVStream* st = fc->streams[i];
            const AVCodecParameters* par = st->codecpar;
            if (par->codec_type == AVMEDIA_TYPE_AUDIO && par->codec_id != AV_CODEC_ID_NONE)
                info.hasAudio = true;
            // Cover art of a sound file is a one-picture "video" stream: not a clip's picture.
            if (par->codec_type == AVMEDIA_TYPE_VIDEO && !video &&
                !(st->disposition & AV_DISPOSITION_ATTACHED_PIC) && par->width > 0 &&
                par->height > 0)
                video = st;
        }
        if (video) {
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
        if (info.isEmpty()) return ClipInfo();
        return info;
    } catch (...) {
        return ClipInfo();
    }
}

std::int64_t ClipInfo::VideoFrames(const QString& path)
{
    if (path.isEmpty()) return 0;
    try {
        const QByteArray name = QFile::encodeName(path);
        InputCloser input;
        if (avformat_open_input(&input.context, name.constData(), nullptr, nullptr) < 0) return 0;
        if (avformat_find_stream_info(input.context, nullptr) < 0) return 0;
        AVFormatContext* fc = input.context;
        const int stream = av_find_best_stream(fc, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        if (stream < 0) return 0;
        const AVStream* video = fc->streams[stream];
        if (video->disposition & AV_DISPOSITION_ATTACHED_PIC) return 0;
        if (video->nb_frames > 0) return video->nb_frames;
        // No count in the header: the packets tell (reading stops at the first damage).
        for (unsigned i = 0; i < fc->nb_streams; ++i)
            if (int(i) != stream) fc->streams[i]->discard = AVDISCARD_ALL;
        AVPacket* packet = av_packet_alloc();
        if (!packet) return 0;
        std::int64_t frames = 0;
        while (av_read_frame(fc, packet) >= 0) {
            if (packet->stream_index == stream) ++frames;
            av_packet_unref(packet);
        }
        av_packet_free(&packet);
        return frames;
    } catch (...) {
        return 0;
    }
}
