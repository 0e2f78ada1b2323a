#include "imaging/pipeline/NumericText.h"

#include "general/General.h"

#include <QRegularExpression>

#include <optional>

bool IsNumeric(QStringView text)
{
    static const QRegularExpression number(QStringLiteral(
        R"(^\s*(?:[+-]?\s*(?:\d+\.?\d*|\.\d+)(?:[EeDd][+-]?\d+)?|&[Hh][0-9A-Fa-f]+|&[Oo][0-7]+)\s*$)"));
    return number.match(text.toString()).hasMatch();
}

Checked<double> TextToDouble(QStringView text)
{
    if (!IsNumeric(text)) return Checked<double>::Failure(QStringLiteral("Type mismatch"));
    return Checked<double>::Of(general::Val(text));
}

Checked<std::int32_t> TextToLong(QStringView text)
{
    const Checked<double> number = TextToDouble(text);
    if (!number.ok()) return Checked<std::int32_t>::Failure(number.error);
    const std::optional<std::int32_t> whole = general::ToInt32(number.value);
    if (!whole) return Checked<std::int32_t>::Failure(QStringLiteral("Overflow"));
    return Checked<std::int32_t>::Of(*whole);
}
