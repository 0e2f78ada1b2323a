#include "sound/SaveWaveResult.h"

#include "platform/Prompts.h"
#include "text/LoadText.h"

SaveWaveResult SaveWaveResult::Failure(const QString& fileName, const QString& detail)
{
    SaveWaveResult r;
    r.ok = false;
    r.message = QStringLiteral("Error in Saving file: ") + fileName;
    r.title = LoadText(463);   // "Save Error"
    r.detail = detail;
    return r;
}

void SaveWaveResult::Show() const
{
    if (!ok) Prompts::Current().MsgBox(message, MsgButtons::OK, title, MsgIcon::Critical);
}
