#include "platform/ui/ToolLinks.h"

#include <QAbstractButton>
#include <QAction>

namespace {
bool offered(FrameServices::Tool tool)
{
    const FrameServices* frame = FrameServices::Instance();
    return frame && frame->offers(tool);
}

void run(const OpenTool& open)
{
    if (FrameServices* frame = FrameServices::Instance()) open(*frame);
}
}

void LinkTool(QAction* action, FrameServices::Tool tool, OpenTool open)
{
    action->setEnabled(offered(tool));
    QObject::connect(action, &QAction::triggered, action, [open = std::move(open)] { run(open); });
}

void LinkTool(QAbstractButton* button, FrameServices::Tool tool, OpenTool open)
{
    button->setEnabled(offered(tool));
    QObject::connect(button, &QAbstractButton::clicked, button, [open = std::move(open)] { run(open); });
}
