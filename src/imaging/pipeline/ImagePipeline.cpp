#include "imaging/pipeline/ImagePipeline.h"

#include "imaging/file/FreeImageAccess.h"
#include "imaging/pipeline/PipelineSettings.h"

#include <QFile>

#include <new>

namespace {

// The library's last complaint on this thread ("Not a JPEG file: starts with 0x00 0x00"),
// added to the description of a file it could not read.
thread_local QString t_libraryMessage;

void KeepLibraryMessage(FREE_IMAGE_FORMAT, const char* message)
{
    t_libraryMessage = QString::fromLocal8Bit(message ? message : "");
}

void EnsureLibrary()
{
    FreeImageAccess::EnsureInitialised();
    static const bool listening = [] {
        fi::FreeImage_SetOutputMessage(KeepLibraryMessage);
        return true;
    }();
    (void)listening;
}

QString CannotRead(const QString& path)
{
    QString description = QStringLiteral("Cannot read the image file ") + path;
    if (!t_libraryMessage.isEmpty()) description += QStringLiteral(" (") + t_libraryMessage + u')';
    return description;
}

// The bitmap being worked on: every replacement releases the bitmap it replaces.
class WorkBitmap {
public:
    explicit WorkBitmap(FIBITMAP* dib) : bitmap_(FreeImageAccess::Adopt(dib)) {}
    FIBITMAP* get() const { return FreeImageAccess::Handle(bitmap_); }
    // Takes a new bitmap the library returned; a null one is the step's failure, whose
    // description comes back (empty when the step went well).
    QString replace(FIBITMAP* dib, const QString& failure)
    {
        if (!dib) return failure;
        bitmap_ = FreeImageAccess::Adopt(dib);
        return {};
    }
    ImageBitmap release() { return std::move(bitmap_); }

private:
    ImageBitmap bitmap_;
};

// Inversion of the colours. The library inverts every channel, transparency too, which would
// turn an opaque picture with an alpha channel (many PNG files) into an invisible one: its
// transparency is put back as it was.
void InvertColours(FIBITMAP* dib)
{
    const FREE_IMAGE_TYPE type = fi::FreeImage_GetImageType(dib);
    const bool alpha = (type == FIT_BITMAP && fi::FreeImage_GetBPP(dib) == 32) || type == FIT_RGBA16 ||
                       type == FIT_RGBAF;
    FIBITMAP* transparency = alpha ? fi::FreeImage_GetChannel(dib, FICC_ALPHA) : nullptr;
    fi::FreeImage_Invert(dib);
    if (transparency) {
        fi::FreeImage_SetChannel(dib, transparency, FICC_ALPHA);
        fi::FreeImage_Unload(transparency);
    }
}

// Applies the asked steps in their order; the description of the step that failed, or empty.
QString Operate(WorkBitmap& work, const PipelineOptions& options, int width, int height)
{
    if (options.flipHorizontal) fi::FreeImage_FlipHorizontal(work.get());
    if (options.flipVertical) fi::FreeImage_FlipVertical(work.get());
    if (options.invert) InvertColours(work.get());
    if (options.contrast != 0) fi::FreeImage_AdjustContrast(work.get(), double(options.contrast));
    if (options.brightness != 0) fi::FreeImage_AdjustBrightness(work.get(), double(options.brightness));
    if (options.gamma) fi::FreeImage_AdjustGamma(work.get(), *options.gamma);

    if (options.rescale) {
        const Checked<PixelSize> target = RescaleTarget(width, height, options);
        if (!target.ok()) return target.error;
        const QString failure =
            work.replace(fi::FreeImage_Rescale(work.get(), target.value.width, target.value.height,
                                           FREE_IMAGE_FILTER(options.rescaleFilter)),
                         QStringLiteral("Cannot rescale the image to %1 x %2 pixels")
                             .arg(target.value.width).arg(target.value.height));
        if (!failure.isEmpty()) return failure;
    }

    if (options.crop) {
        // The edges are taken left, top, right, bottom: the first bad box is the one reported.
        for (const Checked<std::int32_t>* edge :
             {&options.cropLeft, &options.cropTop, &options.cropRight, &options.cropBottom})
            if (!edge->ok()) return edge->error;
        const int left = options.cropLeft.value, top = options.cropTop.value;
        const int right = options.cropRight.value, bottom = options.cropBottom.value;
        const int w = int(fi::FreeImage_GetWidth(work.get())), h = int(fi::FreeImage_GetHeight(work.get()));
        const QString failure =
            work.replace(fi::FreeImage_Copy(work.get(), left, top, right, bottom),
                         QStringLiteral("Cannot crop the image: the rectangle from (%1, %2) to "
                                        "(%3, %4) is not inside its %5 x %6 pixels")
                             .arg(left).arg(top).arg(right).arg(bottom).arg(w).arg(h));
        if (!failure.isEmpty()) return failure;
    }
    if (options.rotate) {
        const Checked<std::optional<double>> angle = RotationAngleOf(options);
        if (!angle.ok()) return angle.error;
        if (angle.value)
            // The classic rotation: the corners the turned image leaves uncovered are black.
            return work.replace(fi::FreeImage_Rotate(work.get(), *angle.value, nullptr),
                                QStringLiteral("Cannot rotate the image by %1 degrees")
                                    .arg(*angle.value));
    }
    return {};
}

// Loads the job's image and runs its steps into result; the description of what failed, or
// empty when the run is done.
QString Run(const PipelineJob& job, PipelineResult& result)
{
    // The boxes' texts are read once, here; a box that holds no number fails the step that
    // takes it, as before.
    const PipelineOptions options = ResolveOptions(job.options);
    const QByteArray name = QFile::encodeName(job.inputPath);
    WorkBitmap work(fi::FreeImage_Load(FREE_IMAGE_FORMAT(result.format), name.constData(),
                                   job.kind == PipelineJob::Kind::Size ? FIF_LOAD_NOPIXELS : 0));
    if (!work.get()) return CannotRead(job.inputPath);
    result.loadedWidth = int(fi::FreeImage_GetWidth(work.get()));
    result.loadedHeight = int(fi::FreeImage_GetHeight(work.get()));
    if (result.loadedWidth <= 0 || result.loadedHeight <= 0) return CannotRead(job.inputPath);

    if (job.kind == PipelineJob::Kind::Process) {
        const QString failure = Operate(work, options, result.loadedWidth, result.loadedHeight);
        if (!failure.isEmpty()) return failure;
    }
    if (job.kind != PipelineJob::Kind::Size) {
        if (job.save)
            result.encoded = EncodeImage(work.release(), job.typeWord, options.quality);
        else
            result.bitmap = work.release();
    }
    result.status = PipelineResult::Status::Done;
    return {};
}

}

int ImageFormatOfName(const QString& path)
{
    EnsureLibrary();
    return int(fi::FreeImage_GetFIFFromFilename(QFile::encodeName(path).constData()));
}

int ImageFormatOf(const QString& path)
{
    const int format = ImageFormatOfName(path);
    if (format != FIF_UNKNOWN) return format;
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    if (name.contains(u'.')) return FIF_UNKNOWN;
    return int(fi::FreeImage_GetFileType(QFile::encodeName(path).constData(), 0));
}

bool PreviewLoadsWithQt(int format)
{
    return format == FIF_BMP || format == FIF_JPEG || format == FIF_GIF;
}

PipelineResult RunPipeline(const PipelineJob& job)
{
    PipelineResult result;
    result.format = ImageFormatOf(job.inputPath);
    if (result.format == FIF_UNKNOWN) {
        result.status = PipelineResult::Status::Unrecognised;
        return result;
    }
    t_libraryMessage.clear();
    QString failure;
    // Qt's containers and the bitmap wrappers report a failed allocation with std::bad_alloc, the
    // one exception a run can meet; a very large image ends the run instead of the program.
    try {
        failure = Run(job, result);
    } catch (const std::bad_alloc&) {
        failure = QStringLiteral("Out of memory");
    }
    if (!failure.isEmpty()) {
        result.status = PipelineResult::Status::Failed;
        result.error = failure;
    }
    if (result.status == PipelineResult::Status::Failed) result.bitmap.reset();
    return result;
}
