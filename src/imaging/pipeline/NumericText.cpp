#include "imaging/pipeline/NumericText.h"

#include "general/General.h"

#include <QRegularExpression>

bool IsNumeric(QStringView text)
{
    static const QRegularExpression number(QStringLiteral(
        R"(^\s*(?:[+-]?\s*(?:\d+\.?\d*|\.\d+)(?:[EeDd][+-]?\d+)?|&[Hh][0-9A-Fa-f]+|&[Oo][0-7]+)\s*$)"));
    return number.match(text.toString()).hasMatch();
}

double TextToDouble(QStringView text)
{
    if (!IsNumeric(text)) throw ImagingError(QStringLiteral("Type mismatch"));
    return general::Val(text);
}

std::int32_t TextToLong(QStringView text)
{
    return general::CLng(TextToDouble(text));
}
