#pragma once
// The play cursor and the playing-time read-outs of the analyser window: while the media player
// plays the sound, the vertical lines Line1..Line4 follow the playing time over the upper graph,
// `Text1` shows the time in seconds and `Text2` the sample number at that time.
//
// The cursor follows the view on screen: the graph shows viewDuration seconds from viewStart
// (the view's viewStartTicks / 100000), so the cursor is at
//     x = Int((t - viewStart) * scaleWidth / viewDuration)
// and is hidden while the playing time lies outside the view. For the whole sound (viewStart 0,
// viewDuration = the media's duration) that is Int(t * cursorScale), cursorScale being the
// graph's scale width / the media's duration.
//
// The read-outs give the sound's own playing time, wherever the view is: on a timer tick the
// position written with "####.000" (".500") and read back; on a position change the position
// truncated to five decimals in the general number text ("0.5"). Text2 is the number text of
// Int(sampleRate * Val(Text1)). A step that cannot be computed (no duration yet, a position that
// is not a number) leaves the display as it was.

#include <QString>
#include <cstdint>

class PlaybackCursor {
public:
    // The sound's sample rate (the window's Label8).
    void SetSampleRate(std::int32_t sampleRate) { sampleRate_ = sampleRate; }
    // The view shown by the graph, after loading, zoom and restore. A viewDuration of 0 or less
    // stands for the whole sound (the media's duration).
    void SetView(std::int32_t viewStartTicks, double viewDuration);
    void SetWholeView() { SetView(0, 0); }

    // The media player got the focus: the cursor lines are shown and cursorScale recomputed
    // from the upper graph's scale width and the media's duration (seconds).
    void FocusGained(double scaleWidth, double mediaDuration);
    // It lost the focus: the lines are hidden (the timer keeps running).
    void FocusLost() { focused_ = false; }

    // Timer1's tick while the player is visible: position is the player's current position.
    void TimerTick(double position);
    // The player's position changed to `position` seconds; scale width and duration as above.
    void PositionChanged(double position, double scaleWidth, double mediaDuration);

    // "&Loop" (Command9) starts playing at the selection's start: initialSample / sampleRate
    // seconds (0 without a sample rate).
    static double LoopStartSeconds(double initialSample, std::int32_t sampleRate);

    double cursorScale() const { return cursorScale_; }
    int x() const { return x_; }                     // twips across the upper graph
    bool linesVisible() const { return focused_ && inView_; }
    const QString& Text1() const { return text1_; }
    const QString& Text2() const { return text2_; }

private:
    void rescale(double scaleWidth, double mediaDuration);
    void place(double t);
    void sampleNumber();

    std::int32_t sampleRate_ = 0;
    std::int32_t viewStartTicks_ = 0;
    double viewDuration_ = 0;   // 0: the whole sound
    double scaleWidth_ = 0;
    double mediaDuration_ = 0;
    double cursorScale_ = 0;
    int x_ = 0;
    bool focused_ = false;
    bool inView_ = true;
    QString text1_ = QStringLiteral("0");
    QString text2_ = QStringLiteral("0");
};
