#include "platform/ui/FrameServices.h"

#include "platform/ui/CommonDialog.h"

namespace {
FrameServices* g_frame = nullptr;
}

FrameServices* FrameServices::Instance() { return g_frame; }

CommonDialog& FrameServices::Dialog()
{
    static CommonDialog own;
    return g_frame ? g_frame->openDialog() : own;
}
void FrameServices::SetInstance(FrameServices* frame) { g_frame = frame; }
