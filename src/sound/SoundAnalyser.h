#pragma once
// The sound analyser without its window: the sound document, the per-column table, the selection
// and the play cursor of one analyser window, and the commands that change them together (load,
// zoom, restore, the mouse gestures, the clip saves). It draws the waveform and the time scale on
// the surfaces handed in and keeps, as plain state, what each read-out shows; the window turns
// its events into calls here and copies the state into its controls afterwards.
#include "platform/ui/Outcome.h"
#include "platform/ui/Prompts.h"
#include "sound/ColumnTable.h"
#include "sound/EnvelopeTask.h"
#include "sound/GraphWave.h"
#include "sound/PlaybackCursor.h"
#include "sound/PlayerOrder.h"
#include "sound/SaveWave.h"
#include "sound/Selection.h"
#include "sound/SelectionLevels.h"
#include "sound/SoundDocument.h"
#include "sound/StretchPlayback.h"
#include "sound/ViewSpan.h"

#include <QColor>
#include <QRect>
#include <QString>
#include <optional>

class CommonDialog;
class Surface;
struct ExportName;

// Where the analyser draws, and in which colours of the window.
struct AnalyserCanvas {
    Surface& upper;       // Picture2: the left or mono channel
    Surface& upperCopy;   // Picture4: its highlight copy, shown inside the selection
    Surface& lower;       // Picture5: the right channel
    Surface& lowerCopy;   // Picture7
    Surface& window;      // the window's own background, where the time scale is drawn
    QColor background;
    QColor buttonFace;
    QColor text;
};

class SoundAnalyser {
public:
    // The graph container (Picture1) on the window, its graphs' width and border, in twips.
    static constexpr QRect Container{300, 600, 10104, 3900};
    static constexpr int GraphWidth = 10092;
    static constexpr int GraphBorder = 32;
    static constexpr int LowerGraphTop = 1928;

    explicit SoundAnalyser(const AnalyserCanvas& canvas);

    // The window's reset: an empty document, no selection, blank graphs and scale.
    void Reset();
    // Reads a WAV file and draws it whole. channelChoice: the channel of a stereo sound the file
    // was cut from (1 left, 2 right, 0 none), which decides the pen of a mono drawing. A file
    // that cannot be read leaves the rejected field's text "Error" in the document until the
    // window has said so and resets.
    SoundDocument::LoadResult Load(const QString& fileName, int windowNumber, int channelChoice);

    enum class ZoomResult { NotReady, NoSelection, Zoomed };
    // Draws the selected stretch across the whole graph; the selection then starts afresh.
    ZoomResult Zoom();
    // A drawing of one sample per unit is at once followed by the true envelope of the stretch,
    // computed by this task; the window hands its result to ApplyEnvelope. Load, zoom, restore
    // and reset cancel an envelope still being computed.
    EnvelopeTask& envelopeTask() { return envelope_; }
    void ApplyEnvelope(const WaveEnvelope& envelope);
    // Draws the whole sound again and selects all of it. False (nothing done) before a selection.
    bool Restore();

    // The stretch shown, and showing another one (the mouse wheel and the scroll bar): drawn as
    // Zoom draws, so the amplitude table, the play cursor and the envelope follow; the
    // selection's shading goes and its read-outs stay. False when nothing changed.
    ViewSpan viewSpan() const;
    bool ShowView(const ViewSpan& span);
    // Ctrl+wheel over the graph at x (twips): notches > 0 zoom in (x1.25 a notch) about x.
    bool WheelZoom(double x, double notches);
    // The wheel: notches > 0 move towards the end, a tenth of the view a notch.
    bool WheelScroll(double notches);
    // The mouse wheel over the graph at x (twips) turned by dx, dy (eighths of a degree, 120 a
    // notch): with Ctrl it zooms about x, else the wheel turned towards the user, or pushed
    // right, moves on through the sound.
    bool WheelTurned(double x, int dx, int dy, bool zoom);

    // The gestures and commands of the selection, the amplitude read-out and its switches.
    void Mouse(Selection::Graph graph, Selection::Event event, Qt::MouseButtons buttons, double x);
    void Cancel();
    void CycleCountChanged(const QString& cycleText);
    void AmpDoubleClick();
    void LoadOptions(bool frameShowAmplitude, bool frameEqualise);
    void ShowAmplitudeBoxClicked(bool ticked);
    bool ShowAmplitudeMenuClicked();   // the new check, for the frame's option
    bool EqualiseMenuClicked();        // likewise; the next drawing reads it

    // The play cursor, fed with the media player's position and duration in seconds. While a
    // stretch plays (below) the tick also says what the player must do: at the stretch's end
    // the cursor stops there (Stop: pause and seek to stretch().end) or goes back to its start
    // (Rewind: seek to stretch().start and play on).
    StretchPlayback::Step CursorTick(double position);
    void CursorMoved(double position, double mediaDuration);
    void PlayerFocus(bool gained, double mediaDuration);
    // Space and Shift+Space: play the selection (once, or looped), or from the play cursor to
    // the end without one. Returns the stretch; the window seeks to its start and plays.
    StretchPlayback::Stretch StartStretch(bool loop);
    // Any other playback command: the player plays on without stopping at a stretch's end.
    void EndStretch() { stretch_.End(); }
    const StretchPlayback& stretchPlayback() const { return stretch_; }

    // The playback commands, as orders for the window's media player. The cursor timer's tick
    // at the player's position, while the sound plays (a stretch's end pauses there or rewinds).
    PlayerOrder PlayerTick(double position);
    // Play opens the sound drawn afresh, from its start; Loop (fromSelectionStart) plays from
    // the selection's start.
    PlayerOrder PlayPressed(bool fromSelectionStart);
    PlayerOrder ContinuePressed();
    PlayerOrder HaltPressed();
    PlayerOrder StopPressed();
    // Space and Shift+Space (loop): the selection played, or stopped when it plays already.
    // playing: the player plays now; opened: it has a sound open.
    PlayerOrder PlaySelectionPressed(bool loop, bool playing, bool opened);

    // Writes the whole sound or the selected stretch under name (the intermediate WAV of an MP3,
    // then the MP3 through the encoder, which asks through ask while it works). On success the
    // document takes the saved name for its caption, and the samples are still read from the
    // file drawn.
    Outcome SaveWhole(const ExportName& name, const Ask& ask);
    Outcome SaveSelected(const ExportName& name, ChannelChoice channel, const Ask& ask);
    // The selection as a new WAV file at path, at the level gain (1 = unchanged).
    Outcome PasteClip(const QString& path, float gain, ChannelChoice channel);
    // Paste in a new window: the clip in the scratch folder, named after the next window
    // ("Untitled<n>.wav"), at the level slider's gain (dB); a scratch file until it is saved.
    struct Pasted {
        Outcome outcome;
        QString path;
        int channelChoice = 0;   // of the new window: 1 left, 2 right, 0 both
    };
    Pasted PasteNew(int nextWindow, int levelDb, ChannelChoice channel);
    // The shared dialog asks for the name of an audio save (the audio types, no default
    // extension left from an image save); nothing when the user cancels.
    std::optional<ExportName> AskExportName(CommonDialog& dialog) const;
    // The channel a save or a paste takes from the channel options (only a stereo sound has any).
    ChannelChoice ChannelOf(bool leftChosen, bool rightChosen) const;

    // State for the window.
    const SoundDocument& document() const { return doc_; }
    SoundDocument& document() { return doc_; }
    const Selection& selection() const { return selection_; }
    const AmplitudeReadout& amplitude() const { return selection_.amplitude(); }
    const PlaybackCursor& cursor() const { return cursor_; }
    const ColumnTable& columnTable() const { return columnTable_; }
    const GraphLayout& layout() const { return layout_; }
    const QString& timeScaleCaption() const { return timeScale_; }   // `timescalelabel`
    // RMS and peak (dBFS) of the selected frames, in the channel of the graph released on last
    // (the upper one for mono): `lblLevels`. Empty before a selection of at least one frame.
    const QString& levelsCaption() const { return levelsCaption_; }
    const std::optional<SignalLevels>& levels() const { return levels_; }
    // A sound is shown and the selection gestures are live.
    bool ready() const { return !doc_.sampleRateText.isEmpty() && selection_.windowReady(); }
    bool hasSelection() const { return !selection_.readout().initialSample.isEmpty(); }
    // The title of the window after a save: "Waveform  View - (" + the saved file + ")".
    QString savedCaption() const;
    // The title of the selected clip's save dialog: the channel mode, and for one channel of a
    // stereo sound which one is saved.
    QString clipSaveTitle(ChannelChoice channel) const;

private:
    GraphWave graph();
    void draw(std::int64_t start, std::int32_t frames);
    void clearGraphs();
    SelectionView selectionView() const;
    void syncSelectionTicks();
    Outcome writeExport(const ExportName& name, const Ask& ask,
                        const std::function<Outcome(const QString& wav)>& writeWav);
    double graphWidth() const;
    void measureLevels();

    AnalyserCanvas canvas_;
    SoundDocument doc_;
    ColumnTable columnTable_;
    Selection selection_{columnTable_};
    PlaybackCursor cursor_;
    StretchPlayback stretch_;
    GraphLayout layout_;
    QString timeScale_;
    int channelChoice_ = 0;
    int levelsChannel_ = 0;
    std::optional<SignalLevels> levels_;
    QString levelsCaption_;
    EnvelopeTask envelope_;
};
