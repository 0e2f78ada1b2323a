#pragma once
// Starts the system's information program: the one the external-program table gives for
// "MSINFO32.EXE". When none is installed, the outcome carries "System Information Is Unavailable
// At This Time".
#include "platform/ui/Outcome.h"

Outcome StartSysInfo();
