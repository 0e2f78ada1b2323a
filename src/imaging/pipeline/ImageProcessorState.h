#pragma once
// What the image processor keeps between events: the current file, the working image, the
// sizes the preview and the pipeline share, the batch selection and the file times.
#include "imaging/file/ImageBitmap.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

struct ImageProcessorState {
    QString currentimagefile;    // full path of the image previewed and processed
    ImageBitmap workingbitmap;   // the last result kept (Apply, Restore, Save's conversion)
    // The size of the image the preview shows, in pixels and in twips; in a batch, the size of
    // the reference image.
    int imagewidth = 0, imageheight = 0;
    int imagewidthtwips = 0, imageheighttwips = 0;
    // Preview twips per target pixel (the crop rectangle's scale).
    float previewscalex = 0, previewscaley = 0;
    bool saveresults = false;    // the pipeline writes its result (batch, Save)
    // [0] creation, [1] last access, [2] last write of the last processed source file;
    // [3..5] the same of the last written output file. Nanoseconds since 1970; a creation time
    // the file system does not keep is 0.
    std::array<std::int64_t, 6> sourcefiletimes{};
    int previewmaxwidth = 0, previewmaxheight = 0;   // twips
    // The multiple selection: [0] the folder, then the names.
    QStringList batchfiles;

    // Sets the image size in pixels and its twips (15 twips a pixel).
    void setImageSize(int width, int height);
};
