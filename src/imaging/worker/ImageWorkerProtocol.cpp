#include "imaging/worker/ImageWorkerProtocol.h"

#include "imaging/worker/BitmapTransfer.h"

#include <QDataStream>
#include <QIODevice>

#include <cstring>

namespace {
constexpr quint32 kJobTag = 0x4B4A4F42;      // "KJOB"
constexpr quint32 kResultTag = 0x4B524553;   // "KRES"

QDataStream& operator<<(QDataStream& out, const ImageOptions& o)
{
    return out << o.flipHorizontal << o.flipVertical << o.invert << qint32(o.contrast)
               << qint32(o.brightness) << qint32(o.gamma) << o.rescale << qint32(o.resizeOption)
               << o.widthPercent << o.heightPercent << o.widthPixels << o.heightPixels << o.crop
               << o.cropLeft << o.cropTop << o.cropRight << o.cropBottom << o.rotate
               << qint32(o.rotateOption) << o.rotateAngle << qint32(o.quality) << o.batchRunning
               << qint32(o.referenceWidth) << qint32(o.referenceHeight);
}

QDataStream& operator>>(QDataStream& in, ImageOptions& o)
{
    qint32 contrast, brightness, gamma, resize, rotateOption, quality, refW, refH;
    in >> o.flipHorizontal >> o.flipVertical >> o.invert >> contrast >> brightness >> gamma >>
        o.rescale >> resize >> o.widthPercent >> o.heightPercent >> o.widthPixels >>
        o.heightPixels >> o.crop >> o.cropLeft >> o.cropTop >> o.cropRight >> o.cropBottom >>
        o.rotate >> rotateOption >> o.rotateAngle >> quality >> o.batchRunning >> refW >> refH;
    o.contrast = contrast;
    o.brightness = brightness;
    o.gamma = gamma;
    o.resizeOption = resize;
    o.rotateOption = rotateOption;
    o.quality = quality;
    o.referenceWidth = refW;
    o.referenceHeight = refH;
    return in;
}
}

QByteArray EncodeJob(const PipelineJob& job)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << kJobTag << qint32(job.kind) << job.inputPath << job.options << job.save << job.typeWord;
    return payload;
}

bool DecodeJob(const QByteArray& payload, PipelineJob& job)
{
    QDataStream in(payload);
    in.setVersion(QDataStream::Qt_6_4);
    quint32 tag = 0;
    qint32 kind = 0;
    in >> tag >> kind >> job.inputPath >> job.options >> job.save >> job.typeWord;
    if (tag != kJobTag || kind < 0 || kind > int(PipelineJob::Kind::Size)) return false;
    job.kind = PipelineJob::Kind(kind);
    return in.status() == QDataStream::Ok && in.atEnd();
}

QByteArray EncodeResult(const PipelineResult& result)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << kResultTag << qint32(result.status) << result.error << qint32(result.format)
        << qint32(result.loadedWidth) << qint32(result.loadedHeight)
        << PackBitmap(result.bitmap) << qint32(result.encoded.status) << result.encoded.bytes
        << result.encoded.detail;
    return payload;
}

bool DecodeResult(const QByteArray& payload, PipelineResult& result)
{
    QDataStream in(payload);
    in.setVersion(QDataStream::Qt_6_4);
    quint32 tag = 0;
    qint32 status = 0, format = 0, width = 0, height = 0, encodedStatus = 0;
    QByteArray bitmap;
    in >> tag >> status >> result.error >> format >> width >> height >> bitmap >> encodedStatus >>
        result.encoded.bytes >> result.encoded.detail;
    if (tag != kResultTag || in.status() != QDataStream::Ok || !in.atEnd()) return false;
    if (status < 0 || status > int(PipelineResult::Status::Done)) return false;
    if (encodedStatus < 0 || encodedStatus > int(EncodedImage::Status::Failed)) return false;
    result.status = PipelineResult::Status(status);
    result.format = format;
    result.loadedWidth = width;
    result.loadedHeight = height;
    result.encoded.status = EncodedImage::Status(encodedStatus);
    result.bitmap = UnpackBitmap(bitmap);
    // A bitmap that came but cannot be rebuilt is no result.
    return bitmap.isEmpty() || !result.bitmap.isNull();
}

QByteArray Frame(const QByteArray& payload)
{
    const std::uint32_t length = std::uint32_t(payload.size());
    QByteArray frame(reinterpret_cast<const char*>(&length), sizeof length);
    return frame + payload;
}

bool TakeFrame(QByteArray& buffer, QByteArray& payload)
{
    std::uint32_t length = 0;
    if (buffer.size() < qsizetype(sizeof length)) return false;
    std::memcpy(&length, buffer.constData(), sizeof length);
    if (buffer.size() < qsizetype(sizeof length) + qsizetype(length)) return false;
    payload = buffer.mid(sizeof length, length);
    buffer.remove(0, qsizetype(sizeof length) + qsizetype(length));
    return true;
}
