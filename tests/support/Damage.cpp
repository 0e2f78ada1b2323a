#include "Damage.h"

#include <algorithm>
#include <cstdint>

QByteArray Damaged(const QByteArray& original, int i, std::mt19937& random)
{
    QByteArray bytes = original;
    if (bytes.isEmpty()) return bytes;
    auto at = [&] { return qsizetype(random() % std::uint32_t(bytes.size())); };
    switch (i % 4) {
    case 0:
        bytes.truncate(at());
        break;
    case 1:
    case 2:
        for (int flips = 1 + int(random() % 24); flips > 0; --flips)
            bytes[at()] ^= char(1 << (random() % 8));
        if (i % 4 == 2) bytes.truncate(at());
        break;
    default: {
        // Headers sit near the start: most runs land there.
        const qsizetype start = random() % 2 ? at() % std::min<qsizetype>(bytes.size(), 256) : at();
        const qsizetype length = std::min<qsizetype>(1 + random() % 8, bytes.size() - start);
        bytes.replace(start, length, QByteArray(length, random() % 2 ? '\xff' : '\0'));
        break;
    }
    }
    return bytes;
}
