#include "app/Startup.h"

#include "general/General.h"

namespace {
int placementValue(const QString& text, bool present, double defaultValue)
{
    return int(general::Round(present ? general::Val(text) : defaultValue));
}
}

FramePlacement ComputeFramePlacement(int screenWidth, int screenHeight, int designWidth,
                                     int designHeight, const StoredPlacement& s)
{
    FramePlacement p;
    p.left = placementValue(s.left, s.hasLeft, general::Round((screenWidth - designWidth) / 2.0));
    p.top = placementValue(s.top, s.hasTop, general::Round((screenHeight - designHeight) / 2.0));
    if (p.left < 0) p.left = 0;
    if (p.top < 0) p.top = 0;
    if (screenWidth - designWidth < p.left) p.left = screenWidth - designWidth;
    if (screenHeight - designHeight < p.top) p.top = screenHeight - designHeight;
    p.width = placementValue(s.width, s.hasWidth, general::Round(screenWidth / 2.0));
    p.height = placementValue(s.height, s.hasHeight, general::Round(screenHeight / 2.0));
    return p;
}

bool IsImageExtension(const QString& extension)
{
    // The types the image processor reads ("jpeg" and "tiff" cut to four characters).
    static const QStringList images = {".jpg", ".jpe", ".gif", ".bmp", ".png", ".tif",
                                       ".tga", ".ppm", ".pgm", ".pbm", ".ico"};
    return images.contains(extension);
}

QString DispatchExtension(const QString& path)
{
    const qsizetype dot = path.lastIndexOf('.');
    return dot < 0 ? QString() : path.mid(dot, 4).toLower();
}

StartupFile ChooseStartupFile(const QString& commandLine, const QString& lastFile,
                              const std::function<bool(const QString&)>& exists)
{
    StartupFile out;
    QString path = commandLine;
    path.remove('"');
    if (path.isEmpty()) path = lastFile;
    if (path.isEmpty() || !exists(path)) return out;
    out.path = path;   // an existing file is remembered even when it is not opened
    const QString ext = DispatchExtension(path);
    if (ext.isEmpty()) return out;
    if (ext == ".wav")
        out.action = StartupAction::Wave;
    else if (ext == ".mp3")
        out.action = StartupAction::Mp3;
    else if (IsImageExtension(ext))
        out.action = StartupAction::Image;
    else
        out.action = StartupAction::Video;
    return out;
}
