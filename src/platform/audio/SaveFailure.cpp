#include "platform/audio/SaveFailure.h"

#include "text/LoadText.h"

Outcome SaveFailure(const QString& fileName, const QString& detail)
{
    return Outcome::Failure(QStringLiteral("Error in Saving file: ") + fileName, LoadText(463), detail);
}
