// Placeholder implementations; replaced by the full module.
#include "general/General.h"
#include <cmath>
namespace general {
QString NumText(double v) { return QString::number(v, 'g', 15); }
double Val(QStringView t) { bool ok; double v = t.trimmed().toDouble(&ok); return ok ? v : 0; }
double Round(double v) { return std::nearbyint(v); }
double Round(double v, int d) { double s = std::pow(10.0, d); return std::nearbyint(v * s) / s; }
double Int(double v) { return std::floor(v); }
std::int16_t CInt(double v) { double r = Round(v); if (r < -32768 || r > 32767) throw OverflowError(); return std::int16_t(r); }
std::int32_t CLng(double v) { double r = Round(v); if (r < -2147483648.0 || r > 2147483647.0) throw OverflowError(); return std::int32_t(r); }
QString Format(double v, QStringView) { return QString::number(v); }
QString DateText(const QDateTime& w) { return w.toString("yyyy-MM-dd HH:mm:ss"); }
std::optional<QDateTime> ParseDateText(QStringView t) { auto d = QDateTime::fromString(t.toString(), "yyyy-MM-dd HH:mm:ss"); if (!d.isValid()) return std::nullopt; return d; }
}
