#include "recorder/ShowRecorder.h"

#include "recorder/frmSettings.h"

#include <QMdiArea>
#include <QMdiSubWindow>

void ShowRecorder()
{
    frmSettings* window = frmSettings::Instance();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
        sub->show();
        sub->raise();
        if (sub->mdiArea()) sub->mdiArea()->setActiveSubWindow(sub);
    }
    window->show();
    window->raise();
}

bool RecorderAgreesToClose()
{
    frmSettings* window = frmSettings::Existing();
    return !window || window->agreesToClose();
}
