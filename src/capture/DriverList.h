#pragma once
// The driver menu: which capture drivers answer, and what each menu item reads.
#include <QString>
#include <functional>
#include <vector>

namespace capture {

inline constexpr int MaxDrivers = 9;   // indices 0..8

struct DriverItem {
    int index = 0;
    QString caption;   // the name, a space and the version
};

// Asks describe(index, name, version) for each index 0..8 and lists those that answer, in
// order. An index that does not answer leaves a gap; the search goes on past it. Names and
// versions are cut at their first NUL character.
using DescribeDriver = std::function<bool(int index, QString& name, QString& version)>;
std::vector<DriverItem> DriverItems(const DescribeDriver& describe);

// The driver to connect: the stored index (Val of the text), or 0 when it is not one of the
// items listed (beyond the highest, in a gap, negative).
int ChosenDriver(const QString& stored, const std::vector<DriverItem>& items);

} // namespace capture
