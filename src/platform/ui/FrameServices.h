#pragma once
// What the tool windows ask of the main frame: the area that hosts them, the shared options kept
// in the frame's menus, and the routines that open one tool from another. Only the frame knows
// every subsystem; a window asks here instead of including another subsystem's windows. The
// frame implements it; windows reach it through Instance().
#include "platform/ui/PlaybackChoice.h"

#include <QString>

class CommonDialog;
class QWidget;
class QMdiSubWindow;

class FrameServices {
public:
    virtual ~FrameServices() = default;

    // Adds a tool window to the frame as a child window and returns its sub-window.
    virtual QMdiSubWindow* addChild(QWidget* window) = 0;
    virtual QWidget* frameWindow() = 0;

    virtual bool equaliseAmplitude() const = 0;
    virtual void setEqualiseAmplitude(bool on) = 0;
    virtual bool showAmplitude() const = 0;
    virtual void setShowAmplitude(bool on) = 0;
    virtual QString jpegQuality() const = 0;
    // The playback component the video player opens clips in (the frame's Video Player menu):
    // each new player window copies it, and a player window's own choice is copied back.
    virtual PlaybackChoice playbackChoice() const = 0;
    virtual void setPlaybackChoice(PlaybackChoice choice) = 0;
    // The frame's open dialog, which also remembers the last file opened through the frame.
    virtual CommonDialog& openDialog() = 0;
    // The last file opened through the frame or an analyser's Open, which the next start opens
    // again; noteOpened records one.
    virtual QString lastFile() const = 0;
    virtual void noteOpened(const QString& path) = 0;
    // Ends the program at once, without the frame's closing steps; recordLastFile first keeps
    // the last file for the next start, as the analyser's Exit does.
    virtual void exitProgram(bool recordLastFile = false) = 0;

    // The tools one window may open from another. A tool this build does not have is not
    // offered: its menu items are disabled and asking for it does nothing.
    enum class Tool { SoundWindow, Spectrum, VideoWindow, Recorder, Capture, ImageProcessor, About, LiveSound };
    virtual bool offers(Tool tool) const = 0;

    // A WAV file in a new sound analyser window (channelChoice: 0 none, 1 left, 2 right: the
    // channel of a stereo sound the file was cut from). An empty path asks for a sound first,
    // as the analyser's own Open does.
    virtual void openSoundWindow(const QString& path, int channelChoice = 0) = 0;
    // The spectrum of a whole WAV file in the spectrum window, titled with the caption of the
    // analyser window it came from.
    virtual void showSpectrum(int windowNumber, const QString& fileName,
                              const QString& analyserCaption) = 0;
    // A clip in a new video player window; an empty path asks for a clip first (the player's
    // default window, which is never shown).
    virtual void openVideoWindow(const QString& path) = 0;
    // The one window of each of these tools, shown and brought to the front.
    virtual void showRecorder() = 0;
    virtual void showCapture() = 0;
    virtual void showImageProcessor() = 0;
    virtual void showAbout() = 0;
    // The live sound window (scope, spectrum, spectrogram, level, stopwatch of the sound input).
    virtual void showLiveSound() = 0;
    // The capture window's audio format chooser ("Select Sound Format"), owned by `owner`; the
    // format chosen goes to the capture window. Nothing when the build has no capture tool.
    virtual void chooseAudioFormat(QWidget* owner) = 0;

    // The frame of the running program; null when there is none (logic tests).
    static FrameServices* Instance();
    // The frame's open dialog, or the program's own one when there is no frame.
    static CommonDialog& Dialog();
    static void SetInstance(FrameServices* frame);
};
