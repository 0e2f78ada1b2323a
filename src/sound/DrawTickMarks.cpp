#include "sound/DrawTickMarks.h"

#include "general/General.h"
#include "platform/ui/Surface.h"
#include "sound/SoundDocument.h"
#include "text/LoadText.h"

#include <cmath>

QString DrawTickMarks(Surface& window, const TickFrame& picture1, const SoundDocument& document,
                      bool showAmplitudeBoxChecked)
{
    const double sampleRate = document.sampleRate();
    const double duration = sampleRate > 0 ? document.totalSamples() / sampleRate : 0.0;
    if (!(duration > 0) || !std::isfinite(duration))
        return QString();

    // count steps of 10^(e-1) seconds fit in the sound: always 10..99.
    const double e = std::floor(std::log10(duration));
    const double power = std::pow(10.0, e);
    const long long count = static_cast<long long>(std::floor(duration * 100 / power)) / 10;
    if (count <= 0)
        return QString();
    const double step = picture1.width / double(count);

    window.SetDrawWidth(1);
    for (long long i = 0; i <= count; ++i) {
        double length = 100;
        if (i % 5 == 0) {
            length = 150;
            if (i % 10 == 0)
                length = general::Round(150 * 1.2);
        }
        const double x = picture1.left + std::floor(double(i) * step);
        window.Line(x, picture1.top, x, picture1.top - length);
    }

    // Amplitude ticks: one per 2000 sample units at the mono 16-bit scale (17 units a twip).
    if (!showAmplitudeBoxChecked && !document.stereo() && document.bitsText == QLatin1String("16 bits")) {
        const double mid = std::floor(picture1.innerHeight / 2) + picture1.top;
        for (int i = 0; i <= 32; i += 2) {
            const double length = i % 10 == 0 ? 150 : 100;
            const double d = std::floor(i * 1000.0 / 17);
            window.Line(picture1.left, mid + d, picture1.left - length, mid + d);
            window.Line(picture1.left, mid - d, picture1.left - length, mid - d);
        }
    }

    if (e > -2)
        return LoadText(418) + general::NumText(power / 10) + " sec";
    return LoadText(418) + general::NumText(power * 100) + " ms";
}
