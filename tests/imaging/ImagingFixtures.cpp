#include "ImagingFixtures.h"

#include "support/Tools.h"
#include "platform/ui/CommonDialog.h"

#include <QPainter>

QImage QuadrantPicture(int width, int height, QImage::Format format)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    const int w2 = width / 2, h2 = height / 2;
    painter.fillRect(0, 0, w2, h2, QColor(255, 0, 0));
    painter.fillRect(w2, 0, width - w2, h2, QColor(0, 255, 0));
    painter.fillRect(0, h2, w2, height - h2, QColor(0, 0, 255));
    painter.fillRect(w2, h2, width - w2, height - h2, QColor(255, 255, 255));
    painter.fillRect(1, 1, 2, 2, QColor(0, 0, 0));
    painter.end();
    return image.convertToFormat(format);
}

QImage DetailedPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned h = unsigned(x * 2654435761u) ^ unsigned(y * 40503u + x * y);
            image.setPixel(x, y, qRgb(int(h & 255), int((h >> 8) & 255), (x * 255) / width));
        }
    return image;
}

QString Identify(const QString& path, const QString& format)
{
    const ToolResult r = RunTool("identify", {"-format", format, path});
    return r.exitCode == 0 ? r.output.trimmed() : QString();
}

bool FilterScriptedPrompts::ShowSave(CommonDialog& dialog)
{
    seen = {dialog.Flags, dialog.DialogTitle, dialog.DefaultExt, dialog.Filter, dialog.FileName,
            dialog.FilterIndex, dialog.CancelError};
    const bool chosen = ScriptedPrompts::ShowSave(dialog);
    if (!filterIndexes_.empty()) {
        if (chosen) dialog.FilterIndex = filterIndexes_.front();
        filterIndexes_.pop_front();
    }
    return chosen;
}

ScopedFilterPrompts::ScopedFilterPrompts()
{
    auto prompts = std::make_unique<FilterScriptedPrompts>();
    prompts_ = prompts.get();
    previous_ = Prompts::Install(std::move(prompts));
}

ScopedFilterPrompts::~ScopedFilterPrompts() { Prompts::Install(std::move(previous_)); }
