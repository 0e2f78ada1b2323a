#include "app/StartSysInfo.h"

#include "platform/system/Process.h"

#include <QCoreApplication>

Outcome StartSysInfo()
{
    if (platform::StartProgram("MSINFO32.EXE")) return Outcome::Success();
    return Outcome::Failure("System Information Is Unavailable At This Time",
                            QCoreApplication::applicationName(),
                            "no system information program is installed", MsgIcon::None);
}
