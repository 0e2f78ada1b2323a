#pragma once
// Choosing the audio format of video capture: the sound format chooser, starting from the
// capture session's format, sets the one chosen on that session (asked for once there are
// formats to choose from; null when there is none). The capture main window and the
// sequence settings dialog call it; the frame's Audio Settings reach it through ShowCapture.h.
#include <functional>

class CaptureSession;
class QWidget;

void ChooseAudioFormat(QWidget* owner, const std::function<CaptureSession*()>& capwnd);
