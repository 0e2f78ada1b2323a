#include "platform/video/AviWriter.h"

#include "platform/system/SteadyClock.h"
#include "platform/video/Rgb32ToYuv420.h"
#include "platform/video/SyncPace.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "platform/video/FfmpegLibraries.h"

namespace {

constexpr int kIoBufferSize = 1 << 16;

// Hands the file to the disk behind the writes, on a thread of its own so that a slow disk never
// holds up the capture, paced by SyncPace: once a second at most, a second after the data at
// the latest.
class DiskSync {
public:
    explicit DiskSync(int fd) : fd_(fd), thread_([this] { run(); }) {}
    ~DiskSync() { finish(); }

    void request()
    {
        {
            std::lock_guard lock(mutex_);
            if (!pace_.request()) return;   // the sync that waits serves this one too
        }
        wake_.notify_one();
    }

    // Waits for the thread to end; no fdatasync is started after this.
    void finish()
    {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_one();
        if (thread_.joinable()) thread_.join();
    }

    int error() const { return error_.load(); }

private:
    void run()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return pace_.pending() || stop_; });
            if (stop_) return;
            // The end of the file (finish, then the writer's own sync) does not wait.
            const std::chrono::steady_clock::time_point at{
                std::chrono::microseconds(pace_.startAtUs(steadyclock::NowUs()))};
            wake_.wait_until(lock, at, [this] { return stop_; });
            if (stop_) return;
            pace_.started(steadyclock::NowUs());
            lock.unlock();
            // Devices and pipes cannot be synced (EINVAL, EROFS): there is nothing to wait for.
            if (::fdatasync(fd_) != 0 && errno != EINVAL && errno != EROFS)
                error_.store(errno);
            lock.lock();
        }
    }

    int fd_;
    std::mutex mutex_;
    std::condition_variable wake_;
    SyncPace pace_;
    bool stop_ = false;
    std::atomic<int> error_{0};
    std::thread thread_;
};

int QScaleOf(int quality)
{
    quality = std::clamp(quality, 1, 100);
    // 100 -> 2 (the finest JPEG quantiser), 1 -> 31 (the coarsest).
    return 2 + ((100 - quality) * 29 + 49) / 99;
}

AVCodecID PcmCodecOf(const WaveFormatEx& f)
{
    switch (f.bitsPerSample) {
    case 8: return AV_CODEC_ID_PCM_U8;
    case 16: return AV_CODEC_ID_PCM_S16LE;
    case 32: return AV_CODEC_ID_PCM_S32LE;
    default: return AV_CODEC_ID_NONE;
    }
}

} // namespace

struct AviWriter::Impl {
    int fd = -1;
    std::unique_ptr<DiskSync> sync;
    AVFormatContext* format = nullptr;
    AVIOContext* io = nullptr;
    AVCodecContext* encoder = nullptr;
    AVStream* video = nullptr;
    AVStream* audio = nullptr;
    SwsContext* scaler = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;

    AviVideoFormat shape;
    std::optional<WaveFormatEx> audioFormat;
    QByteArray audioRest;      // a partial sample left from the last writeAudio
    std::int64_t samplesWritten = 0;
    std::int64_t audioBytes = 0;
    std::int64_t frames = 0;
    std::int64_t lastFrame = -1;
    std::int64_t position = 0;   // where the next write goes
    std::int64_t goodEnd = 0;    // the end of the last packet written whole
    bool failed = false;
    int error = 0;
    QString errorText;

    static int Write(void* opaque, uint8_t* buffer, int size)
    {
        auto* self = static_cast<Impl*>(opaque);
        int done = 0;
        while (done < size) {
            const ssize_t n = ::pwrite(self->fd, buffer + done, size_t(size - done),
                                       off_t(self->position));
            if (n < 0) {
                if (errno == EINTR) continue;
                self->fail(errno);
                return AVERROR(self->error);
            }
            done += int(n);
            self->position += n;
        }
        return done;
    }

    static int64_t Seek(void* opaque, int64_t offset, int whence)
    {
        auto* self = static_cast<Impl*>(opaque);
        whence &= ~AVSEEK_FORCE;
        if (whence == AVSEEK_SIZE) return -1;   // the reserved length is not the data's length
        if (whence == SEEK_SET) self->position = offset;
        else if (whence == SEEK_CUR) self->position += offset;
        else return AVERROR(EINVAL);
        return self->position;
    }

    void fail(int number, const QString& text = QString())
    {
        if (!failed) {
            failed = true;
            error = number;
            errorText = text.isEmpty() ? QString::fromLocal8Bit(std::strerror(number)) : text;
        }
    }

    bool failWith(int averror)
    {
        // A write callback failure has already recorded the system's errno.
        if (!failed) {
            char text[AV_ERROR_MAX_STRING_SIZE] = {};
            ff::av_strerror(averror, text, sizeof text);
            const int number = averror < 0 && averror > -4096 ? -averror : EIO;
            fail(number, QString::fromUtf8(text));
        }
        return false;
    }

    // Hands what libavformat holds to the file and asks for it to reach the disk.
    bool flush()
    {
        ff::avio_flush(io);
        if (io->error < 0 && !failed) return failWith(io->error);
        if (failed) return false;
        goodEnd = position;
        sync->request();
        return true;
    }

    bool openVideo()
    {
        const bool mjpeg = shape.coding == VideoCoding::Mjpeg;
        const AVCodec* codec = ff::avcodec_find_encoder(mjpeg ? AV_CODEC_ID_MJPEG : AV_CODEC_ID_RAWVIDEO);
        if (!codec) {
            fail(ENOSYS, "no video encoder");
            return false;
        }
        encoder = ff::avcodec_alloc_context3(codec);
        encoder->width = shape.size.width();
        encoder->height = shape.size.height();
        ff::av_reduce(&encoder->time_base.num, &encoder->time_base.den, shape.microsecondsPerFrame,
                  1000000, INT32_MAX);
        switch (shape.coding) {
        case VideoCoding::Mjpeg:
            // Full-range 4:2:0, as JPEG pictures are.
            encoder->pix_fmt = AV_PIX_FMT_YUV420P;
            encoder->color_range = AVCOL_RANGE_JPEG;
            encoder->flags |= AV_CODEC_FLAG_QSCALE;
            encoder->global_quality = QScaleOf(shape.quality) * FF_QP2LAMBDA;
            break;
        case VideoCoding::Uncompressed: encoder->pix_fmt = AV_PIX_FMT_BGR24; break;
        case VideoCoding::Palettised: encoder->pix_fmt = AV_PIX_FMT_PAL8; break;
        }
        int r = ff::avcodec_open2(encoder, codec, nullptr);
        if (r < 0) return failWith(r);

        video = ff::avformat_new_stream(format, nullptr);
        if (!video) return failWith(AVERROR(ENOMEM));
        if ((r = ff::avcodec_parameters_from_context(video->codecpar, encoder)) < 0) return failWith(r);
        video->time_base = encoder->time_base;
        video->avg_frame_rate = av_inv_q(encoder->time_base);

        frame = ff::av_frame_alloc();
        frame->format = encoder->pix_fmt;
        frame->width = encoder->width;
        frame->height = encoder->height;
        if ((r = ff::av_frame_get_buffer(frame, 0)) < 0) return failWith(r);
        // MJPEG's full-range 4:2:0 planes come from Rgb32ToYuv420: libswscale takes over ten
        // times as long for 32-bit RGB into full range, at every frame.
        if (shape.coding == VideoCoding::Uncompressed) {
            scaler = ff::sws_getContext(encoder->width, encoder->height, AV_PIX_FMT_BGRA,
                                    encoder->width, encoder->height, encoder->pix_fmt,
                                    SWS_BICUBIC, nullptr, nullptr, nullptr);
            if (!scaler) return failWith(AVERROR(ENOMEM));
        }
        return true;
    }

    bool openAudio()
    {
        const WaveFormatEx& f = *audioFormat;
        audio = ff::avformat_new_stream(format, nullptr);
        if (!audio) return failWith(AVERROR(ENOMEM));
        AVCodecParameters* p = audio->codecpar;
        p->codec_type = AVMEDIA_TYPE_AUDIO;
        p->codec_id = PcmCodecOf(f);
        p->sample_rate = int(f.samplesPerSec);
        ff::av_channel_layout_default(&p->ch_layout, f.channels);
        p->bits_per_coded_sample = f.bitsPerSample;
        p->block_align = f.blockAlign;
        p->bit_rate = std::int64_t(f.avgBytesPerSec) * 8;
        audio->time_base = AVRational{1, int(f.samplesPerSec)};
        return true;
    }

    void release()
    {
        if (format) {
            ff::avformat_free_context(format);
            format = nullptr;
        }
        if (io) {
            ff::av_freep(&io->buffer);
            ff::avio_context_free(&io);
        }
        ff::avcodec_free_context(&encoder);
        ff::sws_freeContext(scaler);
        scaler = nullptr;
        ff::av_frame_free(&frame);
        ff::av_packet_free(&packet);
        sync.reset();
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
        video = audio = nullptr;
    }

    bool writePacket(AVStream* stream)
    {
        packet->stream_index = stream->index;
        const int r = ff::av_write_frame(format, packet);
        ff::av_packet_unref(packet);
        if (r < 0) return failWith(r);
        return flush();
    }

    bool fillFrame(const QImage& picture)
    {
        const QSize size = shape.size;
        if (shape.coding == VideoCoding::Palettised) {
            QImage indexed = picture;
            if (indexed.size() != size) indexed = indexed.scaled(size, Qt::IgnoreAspectRatio);
            if (indexed.format() != QImage::Format_Indexed8 || indexed.colorTable() != shape.palette)
                indexed = indexed.convertToFormat(QImage::Format_RGB32)
                              .convertToFormat(QImage::Format_Indexed8, shape.palette);
            for (int y = 0; y < size.height(); ++y)
                std::memcpy(frame->data[0] + y * frame->linesize[0], indexed.constScanLine(y),
                            size_t(size.width()));
            auto* colours = reinterpret_cast<std::uint32_t*>(frame->data[1]);
            for (int i = 0; i < 256; ++i)
                colours[i] = i < shape.palette.size() ? (shape.palette[i] | 0xFF000000u) : 0xFF000000u;
            return true;
        }
        QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
        if (rgb.size() != size)
            rgb = rgb.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (shape.coding == VideoCoding::Mjpeg) {
            Yuv420Planes planes;
            planes.y = frame->data[0];
            planes.cb = frame->data[1];
            planes.cr = frame->data[2];
            planes.yStride = frame->linesize[0];
            planes.cbStride = frame->linesize[1];
            planes.crStride = frame->linesize[2];
            Rgb32ToYuv420(rgb.constBits(), int(rgb.bytesPerLine()), size.width(), size.height(), planes);
            return true;
        }
        const uint8_t* source[4] = {rgb.constBits(), nullptr, nullptr, nullptr};
        const int sourceStride[4] = {int(rgb.bytesPerLine()), 0, 0, 0};
        ff::sws_scale(scaler, source, sourceStride, 0, size.height(), frame->data, frame->linesize);
        return true;
    }
};

AviWriter::AviWriter() : d(std::make_unique<Impl>()) {}

AviWriter::~AviWriter() { close(); }

bool AviWriter::ReserveSpace(const QString& path, std::int64_t bytes, int* errorNumber)
{
    auto fail = [&](int e) {
        if (errorNumber) *errorNumber = e;
        return false;
    };
    if (bytes < 0) return fail(EINVAL);
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return fail(errno);
    int r = bytes > 0 ? ::posix_fallocate(fd, 0, off_t(bytes)) : 0;
    if (r == 0 && ::fdatasync(fd) != 0 && errno != EINVAL) r = errno;
    ::close(fd);
    if (r != 0) return fail(r);
    if (errorNumber) *errorNumber = 0;
    return true;
}

std::int64_t AviWriter::DataLength(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const std::int64_t size = file.size();
    std::int64_t at = 0;
    // "RIFF" size "AVI " ..., then "RIFF" size "AVIX" ... for files past a gigabyte.
    while (at + 12 <= size && file.seek(at)) {
        const QByteArray head = file.read(12);
        if (head.size() < 12 || !head.startsWith("RIFF")) break;
        const QByteArray form = head.mid(8, 4);
        if (form != (at == 0 ? "AVI " : "AVIX")) break;
        const std::uint32_t chunk = qFromLittleEndian<quint32>(head.constData() + 4);
        // A capture cut short left its sizes unwritten: its data runs to the end of the file.
        if (chunk == 0 || chunk == 0xFFFFFFFFu || at + 8 + std::int64_t(chunk) > size) return size;
        at += 8 + std::int64_t(chunk) + (chunk & 1);
    }
    return at;
}

bool AviWriter::open(const QString& path, const AviVideoFormat& video,
                     const std::optional<WaveFormatEx>& audio)
{
    close();
    d = std::make_unique<Impl>();
    d->shape = video;
    d->audioFormat = audio;
    const bool sizeOk = video.size.width() > 0 && video.size.height() > 0 &&
                        video.size.width() <= 8192 && video.size.height() <= 8192;
    const bool paletteOk = video.coding != VideoCoding::Palettised ||
                           (!video.palette.isEmpty() && video.palette.size() <= 256);
    if (!sizeOk || video.microsecondsPerFrame <= 0 || !paletteOk ||
        (audio && !audio->isRecordablePcm())) {
        d->fail(EINVAL, "unusable capture format");
        return false;
    }
    // MJPEG's 4:2:0 pictures have an even size.
    if (video.coding == VideoCoding::Mjpeg)
        d->shape.size = QSize(video.size.width() & ~1, video.size.height() & ~1);

    const QByteArray name = QFile::encodeName(path);
    d->fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (d->fd < 0) {
        d->fail(errno);
        return false;
    }
    // Reserved space stays reserved: the old contents become zeros over the same length.
    struct stat st {};
    if (::fstat(d->fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        const off_t reserved = st.st_size;
        if (::ftruncate(d->fd, 0) != 0) {
            d->fail(errno);
            d->release();
            return false;
        }
        ::posix_fallocate(d->fd, 0, reserved);   // best effort: the capture works without it
    }
    d->sync = std::make_unique<DiskSync>(d->fd);

    if (ff::avformat_alloc_output_context2(&d->format, nullptr, "avi", nullptr) < 0 || !d->format) {
        d->fail(ENOSYS, "no AVI writer");
        d->release();
        return false;
    }
    auto* buffer = static_cast<unsigned char*>(ff::av_malloc(kIoBufferSize));
    d->io = ff::avio_alloc_context(buffer, kIoBufferSize, 1, d.get(), nullptr, &Impl::Write, &Impl::Seek);
    d->io->seekable = AVIO_SEEKABLE_NORMAL;
    d->format->pb = d->io;
    d->format->flags |= AVFMT_FLAG_CUSTOM_IO | AVFMT_FLAG_FLUSH_PACKETS;
    d->packet = ff::av_packet_alloc();

    if (!d->openVideo() || (audio && !d->openAudio())) {
        d->release();
        return false;
    }
    const int r = ff::avformat_write_header(d->format, nullptr);
    if (r < 0) {
        d->failWith(r);
        d->release();
        return false;
    }
    if (!d->flush()) {
        d->release();
        return false;
    }
    return true;
}

bool AviWriter::writeFrame(const QImage& picture, std::int64_t frameNumber)
{
    if (!isOpen() || d->failed || picture.isNull() || frameNumber <= d->lastFrame) return false;
    if (ff::av_frame_make_writable(d->frame) < 0) return d->failWith(AVERROR(ENOMEM));
    d->fillFrame(picture);
    d->frame->pts = frameNumber;
    d->frame->quality = d->encoder->global_quality;
    int r = ff::avcodec_send_frame(d->encoder, d->frame);
    if (r < 0) return d->failWith(r);
    for (;;) {
        r = ff::avcodec_receive_packet(d->encoder, d->packet);
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) break;
        if (r < 0) return d->failWith(r);
        ff::av_packet_rescale_ts(d->packet, d->encoder->time_base, d->video->time_base);
        if (!d->writePacket(d->video)) return false;
    }
    d->lastFrame = frameNumber;
    ++d->frames;
    return true;
}

bool AviWriter::writeAudio(const QByteArray& pcm)
{
    if (!isOpen() || d->failed || !d->audio) return false;
    QByteArray data = d->audioRest + pcm;
    const int block = d->audioFormat->blockAlign;
    const qsizetype whole = data.size() - data.size() % block;
    d->audioRest = data.mid(whole);
    if (whole == 0) return true;
    if (ff::av_new_packet(d->packet, int(whole)) < 0) return d->failWith(AVERROR(ENOMEM));
    std::memcpy(d->packet->data, data.constData(), size_t(whole));
    const std::int64_t samples = whole / block;
    d->packet->pts = d->packet->dts = d->samplesWritten;
    d->packet->duration = samples;
    d->packet->flags |= AV_PKT_FLAG_KEY;
    if (!d->writePacket(d->audio)) return false;
    d->samplesWritten += samples;
    d->audioBytes += whole;
    return true;
}

bool AviWriter::close()
{
    if (!isOpen()) return true;
    bool ok = !d->failed;
    if (ok) {
        const int r = ff::av_write_trailer(d->format);
        ff::avio_flush(d->io);
        if (r < 0 || d->io->error < 0) ok = d->failWith(r < 0 ? r : d->io->error);
    }
    if (!ok) {
        // After a failed write the file ends with the last packet written whole, as a capture
        // cut short would: readers find every frame before it and no broken one after.
        struct stat st {};
        if (::fstat(d->fd, &st) == 0 && S_ISREG(st.st_mode)) (void)::ftruncate(d->fd, off_t(d->goodEnd));
    }
    d->sync->finish();
    if (d->sync->error() != 0 && ok) {
        d->fail(d->sync->error());
        ok = false;
    }
    if (::fdatasync(d->fd) != 0 && errno != EINVAL && errno != EROFS && ok) {
        d->fail(errno);
        ok = false;
    }
    d->release();
    return ok;
}

bool AviWriter::isOpen() const { return d && d->format != nullptr; }
bool AviWriter::failed() const { return d->failed; }
std::int64_t AviWriter::framesWritten() const { return d->frames; }
std::int64_t AviWriter::lastFrameNumber() const { return d->lastFrame; }
std::int64_t AviWriter::audioBytesWritten() const { return d->audioBytes; }
int AviWriter::errorNumber() const { return d->failed ? d->error : 0; }
QString AviWriter::errorText() const { return d->failed ? d->errorText : QString(); }
