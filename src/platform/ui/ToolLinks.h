#pragma once
// The cross-links of the tool windows: a menu item or button that opens another tool through
// the frame. It is enabled only when the frame offers the tool, and does nothing without a frame.
#include "platform/ui/FrameServices.h"

#include <functional>

class QAbstractButton;
class QAction;

using OpenTool = std::function<void(FrameServices& frame)>;

void LinkTool(QAction* action, FrameServices::Tool tool, OpenTool open);
void LinkTool(QAbstractButton* button, FrameServices::Tool tool, OpenTool open);
