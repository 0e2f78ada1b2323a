#include "capture/DriverList.h"

#include "general/General.h"

#include <algorithm>

namespace capture {
namespace {
QString UpToNul(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}
}

std::vector<DriverItem> DriverItems(const DescribeDriver& describe)
{
    std::vector<DriverItem> items;
    for (int i = 0; i < MaxDrivers; ++i) {
        QString name, version;
        if (describe(i, name, version)) items.push_back({i, UpToNul(name) + " " + UpToNul(version)});
    }
    return items;
}

int ChosenDriver(const QString& stored, const std::vector<DriverItem>& items)
{
    const double v = general::Val(stored);
    const bool listed = std::any_of(items.begin(), items.end(),
                                    [v](const DriverItem& d) { return d.index == v; });
    return listed ? int(v) : 0;
}

} // namespace capture
