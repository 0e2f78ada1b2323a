#include "platform/audio/WaveRecordingFile.h"

#include "platform/audio/SaveWaveHeader.h"

#include <QSaveFile>
#include <algorithm>
#include <vector>

WaveRecordingFile::~WaveRecordingFile() { close(); }

std::int64_t WaveRecordingFile::LargestData(const PcmFormat& format)
{
    auto header = [&format](std::int64_t frames) {
        return WaveHeaderBytes(format.channels, format.sampleRate, format.bitsPerSample, frames);
    };
    const int align = format.blockAlign();
    if (align <= 0 || !header(0)) return 0;
    // The largest frame count the writer accepts: no WAV size field goes beyond 32 bits.
    std::int64_t good = 0, bad = (std::int64_t(1) << 32) / align + 1;
    while (bad - good > 1) {
        const std::int64_t mid = good + (bad - good) / 2;
        if (header(mid))
            good = mid;
        else
            bad = mid;
    }
    return good * align;
}

bool WaveRecordingFile::create(const QString& path, const PcmFormat& format,
                               std::int64_t maxDataBytes)
{
    close();
    path_ = path;
    format_ = format;
    dataBytes_ = 0;
    partial_.clear();
    fault_ = Fault::None;
    error_.clear();
    const std::int64_t largest = LargestData(format);
    maxDataBytes_ = maxDataBytes < 0 ? largest : std::min(largest, maxDataBytes);
    maxDataBytes_ -= maxDataBytes_ % std::max(1, format.blockAlign());
    if (largest <= 0) {
        fault_ = Fault::CannotCreate;
        error_ = "the format has no WAV header";
        return false;
    }
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadWrite | QIODevice::Truncate | QIODevice::Unbuffered)) {
        fault_ = Fault::CannotCreate;
        error_ = file_.errorString();
        return false;
    }
    if (!updateHeader()) {
        fault_ = Fault::CannotCreate;
        error_ = file_.errorString();
        file_.close();
        return false;
    }
    return true;
}

bool WaveRecordingFile::append(const char* data, std::int64_t size)
{
    if (!file_.isOpen() || fault_ != Fault::None) return false;
    if (size <= 0) return true;
    const int align = format_.blockAlign();
    // Complete a frame begun by the previous block.
    if (!partial_.isEmpty()) {
        const std::int64_t need = std::min<std::int64_t>(align - partial_.size(), size);
        partial_.append(data, qsizetype(need));
        data += need;
        size -= need;
        if (partial_.size() < align) return true;
        const QByteArray frame = std::exchange(partial_, QByteArray());
        if (!writeFrames(frame.constData(), frame.size())) return false;
    }
    const std::int64_t whole = size - size % align;
    partial_.append(data + whole, qsizetype(size - whole));
    return writeFrames(data, whole);
}

bool WaveRecordingFile::writeFrames(const char* data, std::int64_t size)
{
    if (size == 0) return true;
    const std::int64_t room = maxDataBytes_ - dataBytes_;
    const std::int64_t take = std::min(size, room);
    if (take > 0) {
        const qint64 written = file_.write(data, take);
        if (written != take) {
            // Keep the whole frames that reached the file and describe them in the header.
            const std::int64_t onDisk = std::max<std::int64_t>(0, file_.size() - HeaderBytes);
            std::int64_t keep = std::clamp<std::int64_t>(onDisk, dataBytes_, dataBytes_ + std::max<std::int64_t>(0, written));
            keep -= keep % format_.blockAlign();
            const QString why = file_.errorString();
            file_.resize(HeaderBytes + keep);
            dataBytes_ = keep;
            updateHeader();
            file_.seek(HeaderBytes + dataBytes_);
            refuse(Fault::DiskFull, why);
            return false;
        }
        dataBytes_ += take;
    }
    if (!updateHeader()) {
        refuse(Fault::DiskFull, file_.errorString());
        return false;
    }
    if (take < size) {
        refuse(Fault::SizeLimit, "the recording reached the largest size of a WAV file");
        return false;
    }
    return true;
}

bool WaveRecordingFile::updateHeader()
{
    const std::optional<QByteArray> header = WaveHeaderBytes(format_.channels, format_.sampleRate,
                                                     format_.bitsPerSample, frames());
    if (!header || !file_.seek(0)) return false;
    const bool ok = file_.write(*header) == header->size();
    return file_.seek(HeaderBytes + dataBytes_) && ok;
}

void WaveRecordingFile::refuse(Fault fault, const QString& why)
{
    fault_ = fault;
    error_ = why;
    partial_.clear();
}

bool WaveRecordingFile::truncate(std::int64_t frames)
{
    const std::int64_t bytes = frames * format_.blockAlign();
    if (!file_.isOpen() || frames < 0 || bytes >= dataBytes_) return file_.isOpen();
    partial_.clear();
    if (!file_.resize(HeaderBytes + bytes)) return false;
    dataBytes_ = bytes;
    return updateHeader();
}

void WaveRecordingFile::close()
{
    if (file_.isOpen()) file_.close();
    partial_.clear();
}

bool WaveRecordingFile::saveCopy(const QString& target, QString* error) const
{
    auto failed = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    const std::optional<QByteArray> header =
        WaveHeaderBytes(format_.channels, format_.sampleRate, format_.bitsPerSample, frames());
    if (!header) return failed("the recording has no WAV header");
    QFile source(path_);
    if (dataBytes_ > 0 && (!source.open(QIODevice::ReadOnly) || !source.seek(HeaderBytes)))
        return failed(source.errorString());
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) return failed(out.errorString());
    if (out.write(*header) != header->size()) return failed(out.errorString());
    std::vector<char> chunk(1 << 20);
    for (std::int64_t left = dataBytes_; left > 0;) {
        const qint64 want = std::min<std::int64_t>(left, std::int64_t(chunk.size()));
        const qint64 got = source.read(chunk.data(), want);
        if (got != want) return failed("the recording could not be read back: " + source.errorString());
        if (out.write(chunk.data(), got) != got) return failed(out.errorString());
        left -= got;
    }
    if (!out.commit()) return failed(out.errorString());
    return true;
}
