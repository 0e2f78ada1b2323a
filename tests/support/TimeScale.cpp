#include "TimeScale.h"

#include <QtGlobal>

#include <algorithm>

int TimeScale()
{
    static const int scale = [] {
        bool ok = false;
        const int value = qEnvironmentVariableIntValue("KIVRA_TEST_TIME_SCALE", &ok);
        return ok ? std::clamp(value, 1, 100) : 1;
    }();
    return scale;
}

int Slack(int ms) { return ms * TimeScale(); }
