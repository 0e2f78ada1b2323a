#include "platform/FrameServices.h"

namespace {
FrameServices* g_frame = nullptr;
}

FrameServices* FrameServices::Instance() { return g_frame; }
void FrameServices::SetInstance(FrameServices* frame) { g_frame = frame; }
