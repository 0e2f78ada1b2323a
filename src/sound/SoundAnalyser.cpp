#include "sound/SoundAnalyser.h"

#include "platform/ui/Surface.h"
#include "sound/DrawTickMarks.h"
#include "sound/ExportName.h"
#include "platform/audio/Mp3Encode.h"
#include "sound/SaveWaveWhole.h"
#include "sound/SelectedStretch.h"
#include "platform/audio/WaveFile.h"
#include "general/General.h"
#include "platform/system/TemporaryFiles.h"
#include "platform/ui/CommonDialog.h"
#include "text/LoadText.h"

#include <QDir>

#include <QFile>
#include <cmath>

SoundAnalyser::SoundAnalyser(const AnalyserCanvas& canvas) : canvas_(canvas)
{
    for (Surface* graph : {&canvas_.upper, &canvas_.upperCopy, &canvas_.lower, &canvas_.lowerCopy})
        graph->Resize(GraphWidth - GraphBorder, GraphWave::StereoBoxHeight - GraphBorder);
}

double SoundAnalyser::graphWidth() const { return canvas_.upper.ScaleWidth(); }

SelectionView SoundAnalyser::selectionView() const
{
    SelectionView v;
    v.sampleRate = doc_.sampleRate();
    v.viewSamples = doc_.viewSamples();
    v.viewDuration = doc_.viewDuration();
    v.viewStartSample = doc_.viewStartSample();
    v.viewStartTicks = doc_.viewStartTicks();
    return v;
}

void SoundAnalyser::syncSelectionTicks()
{
    doc_.selectionStartTicks = selection_.selectionStartTicks();
    doc_.selectionEndTicks = selection_.selectionEndTicks();
}

void SoundAnalyser::clearGraphs()
{
    for (Surface* graph : {&canvas_.upper, &canvas_.lower, &canvas_.upperCopy, &canvas_.lowerCopy})
        graph->Cls();
}

void SoundAnalyser::Reset()
{
    envelope_.Cancel();
    stretch_.End();
    canvas_.window.Cls();
    doc_.InitStart();
    selection_.InitStart();
    clearGraphs();
    timeScale_.clear();
    levels_.reset();
    levelsCaption_.clear();
    levelsChannel_ = 0;
    syncSelectionTicks();
}

void SoundAnalyser::measureLevels()
{
    levels_.reset();
    levelsCaption_.clear();
    if (!ready() || !hasSelection()) return;
    const SelectedStretch stretch = SelectedStretchOf(doc_, selection_.readout());
    WaveFile file;
    if (stretch.frames <= 0 || file.Open(doc_.samplesFile) != 0) return;
    levels_ = MeasureLevels(file, stretch.start, stretch.frames, doc_.sampleFormat, doc_.stereo() ? 2 : 1,
                            doc_.stereo() ? levelsChannel_ : 0);
    if (levels_) levelsCaption_ = LevelsCaption(*levels_);
}

GraphWave SoundAnalyser::graph()
{
    GraphWave graph(canvas_.upper, canvas_.upperCopy, canvas_.lower, canvas_.lowerCopy, columnTable_);
    // A mono clip cut from the right channel of a stereo sound keeps that channel's colour.
    const bool rightOnly = !doc_.stereo() && channelChoice_ == 2;
    graph.SetColours(canvas_.background, rightOnly ? GraphWave::DarkRed() : GraphWave::Blue());
    graph.SetButtonFace(canvas_.buttonFace);
    graph.SetBorderTwips(GraphBorder);
    graph.SetEqualise(selection_.amplitude().equaliseChecked());
    return graph;
}

void SoundAnalyser::draw(std::int64_t start, std::int32_t frames)
{
    envelope_.Cancel();
    WaveFile file;
    if (file.Open(doc_.samplesFile) != 0) return;
    GraphWave g = graph();
    layout_ = g.Draw(file, start, frames, doc_.sampleFormat, doc_.channelMode());
    selection_.amplitude().SetPerColumn(layout_.ampTag == "1");
    if (auto job = g.EnvelopeOf(doc_.samplesFile, start, frames, doc_.sampleFormat, doc_.channelMode()))
        envelope_.Start(*job);
}

void SoundAnalyser::ApplyEnvelope(const WaveEnvelope& envelope)
{
    graph().DrawEnvelope(envelope, doc_.sampleFormat, doc_.channelMode(), layout_.mean);
}

SoundDocument::LoadResult SoundAnalyser::Load(const QString& fileName, int windowNumber, int channelChoice)
{
    channelChoice_ = channelChoice;
    Reset();
    doc_.fileName = fileName;
    doc_.samplesFile = fileName;
    doc_.windowNumber = std::int16_t(windowNumber);
    SoundDocument::LoadResult result;
    {
        WaveFile file;
        result = doc_.LoadFileData(file, fileName, std::int16_t(windowNumber));
    }
    if (!result.ok()) return result;

    draw(doc_.dataStart(), doc_.totalSamples());
    const TickFrame frame{double(Container.left()), double(Container.top()), double(Container.width()),
                          double(Container.height() - GraphBorder)};
    canvas_.window.SetForeColor(canvas_.text);
    timeScale_ = DrawTickMarks(canvas_.window, frame, doc_, selection_.amplitude().showAmplitudeBoxChecked());

    doc_.loaded = true;
    selection_.SetView(selectionView());
    selection_.SetStereo(doc_.stereo());
    selection_.amplitude().SetStereo(doc_.stereo());
    selection_.SetSelectionTicks(0, doc_.selectionEndTicks);
    selection_.SetLoaded(true);
    syncSelectionTicks();
    cursor_.SetSampleRate(doc_.sampleRate());
    cursor_.SetWholeView();
    return result;
}

SoundAnalyser::ZoomResult SoundAnalyser::Zoom()
{
    if (!ready()) return ZoomResult::NotReady;
    if (!hasSelection()) return ZoomResult::NoSelection;
    const SelectedStretch stretch = SelectedStretchOf(doc_, selection_.readout());
    // The drawing reads from a 32-bit byte position; an RF64 file is addressed in 64 bits.
    if (!doc_.rf64 && (stretch.start > INT32_MAX || stretch.start < INT32_MIN)) return ZoomResult::NotReady;
    selection_.HideShading();
    clearGraphs();
    const std::int32_t count = std::int32_t(stretch.frames) + 1;
    doc_.setColumnTableBase(std::int32_t(stretch.firstFrame));
    draw(stretch.start, count);
    doc_.setViewStartTicks(selection_.selectionStartTicks());
    doc_.setViewSamples(count);
    doc_.setViewDuration(double(count) / doc_.sampleRate());
    doc_.setViewStartSample(std::int32_t(stretch.firstFrame));
    selection_.SetView(selectionView());
    selection_.amplitude().SetColumnTableBase(stretch.firstFrame);
    cursor_.SetView(std::int32_t(std::min<std::int64_t>(doc_.viewStartTicks(), INT32_MAX)),
                    doc_.viewDuration());
    syncSelectionTicks();
    return ZoomResult::Zoomed;
}

bool SoundAnalyser::Restore()
{
    if (!selection_.windowReady() || !hasSelection()) return false;
    doc_.selectionStartTicks = 0;
    doc_.setViewStartTicks(0);
    doc_.setViewDuration(doc_.totalDuration());
    doc_.setViewSamples(doc_.totalSamples());
    doc_.setViewStartSample(0);
    doc_.setColumnTableBase(0);
    selection_.HideShading();
    clearGraphs();
    draw(doc_.dataStart(), doc_.totalSamples());
    doc_.loaded = true;
    selection_.SetSelectionTicks(0, selection_.selectionEndTicks());
    selection_.SetView(selectionView());
    selection_.amplitude().SetColumnTableBase(0);
    selection_.SetLoaded(true);
    cursor_.SetWholeView();
    // The whole sound is selected, as Cancel does.
    Cancel();
    return true;
}

ViewSpan SoundAnalyser::viewSpan() const
{
    return {doc_.viewStartSample(), doc_.viewSamples()};
}

bool SoundAnalyser::ShowView(const ViewSpan& wanted)
{
    if (!ready()) return false;
    const std::int64_t total = doc_.totalSamples();
    const ViewSpan span = wanted.ScrolledBy(0, total);
    if (span == viewSpan() || span.frames <= 0) return false;
    const std::int64_t start = std::int64_t(doc_.dataStart()) + std::int64_t(doc_.blockAlign()) * span.start;
    selection_.HideShading();
    clearGraphs();
    doc_.setColumnTableBase(std::int32_t(span.start));
    draw(start, std::int32_t(span.frames));
    const double rate = doc_.sampleRate();
    doc_.setViewStartTicks(std::int64_t(general::Round(double(span.start) * 100000.0 / rate)));
    doc_.setViewSamples(std::int32_t(span.frames));
    doc_.setViewDuration(double(span.frames) / rate);
    doc_.setViewStartSample(std::int32_t(span.start));
    selection_.SetView(selectionView());
    selection_.amplitude().SetColumnTableBase(span.start);
    cursor_.SetView(std::int32_t(std::min<std::int64_t>(doc_.viewStartTicks(), INT32_MAX)), doc_.viewDuration());
    syncSelectionTicks();
    return true;
}

bool SoundAnalyser::WheelZoom(double x, double notches)
{
    if (!ready() || notches == 0) return false;
    return ShowView(viewSpan().ZoomedAbout(x, graphWidth(), std::pow(1.25, notches), doc_.totalSamples()));
}

bool SoundAnalyser::WheelTurned(double x, int dx, int dy, bool zoom)
{
    if (zoom) return WheelZoom(x, dy / 120.0);
    return WheelScroll(-(dx != 0 ? dx : dy) / 120.0);
}

bool SoundAnalyser::WheelScroll(double notches)
{
    if (!ready() || notches == 0) return false;
    const ViewSpan v = viewSpan();
    const auto step = std::max<std::int64_t>(1, v.frames / 10);
    return ShowView(v.ScrolledBy(std::int64_t(std::llround(notches * double(step))), doc_.totalSamples()));
}

void SoundAnalyser::Mouse(Selection::Graph graph, Selection::Event event, Qt::MouseButtons buttons, double x)
{
    selection_.Mouse(graph, event, buttons, x, graphWidth());
    syncSelectionTicks();
    if (event == Selection::Event::Release) {
        levelsChannel_ = graph == Selection::Graph::Lower ? 1 : 0;
        measureLevels();
    }
}

void SoundAnalyser::Cancel()
{
    selection_.Cancel();
    syncSelectionTicks();
    measureLevels();
}

void SoundAnalyser::CycleCountChanged(const QString& cycleText) { selection_.CycleCountChanged(cycleText); }
void SoundAnalyser::AmpDoubleClick()
{
    // The read-out switches to the other channel's graph: the levels follow it.
    const auto graph = selection_.amplitude().DoubleClickGraph();
    selection_.AmpDoubleClick();
    if (!graph) return;
    levelsChannel_ = *graph == AmplitudeReadout::Graph::Upper ? 0 : 1;
    measureLevels();
}

void SoundAnalyser::LoadOptions(bool frameShowAmplitude, bool frameEqualise)
{
    selection_.amplitude().Load(frameShowAmplitude, frameEqualise);
}

void SoundAnalyser::ShowAmplitudeBoxClicked(bool ticked) { selection_.amplitude().ShowAmplitudeBoxClicked(ticked); }
bool SoundAnalyser::ShowAmplitudeMenuClicked() { return selection_.amplitude().ShowAmplitudeMenuClicked(); }
bool SoundAnalyser::EqualiseMenuClicked() { return selection_.amplitude().EqualiseMenuClicked(); }

StretchPlayback::Step SoundAnalyser::CursorTick(double position)
{
    const StretchPlayback::Step step = stretch_.At(position);
    switch (step) {
    case StretchPlayback::Step::Go: cursor_.TimerTick(position); break;
    case StretchPlayback::Step::Stop: cursor_.TimerTick(stretch_.stretch().end); break;
    case StretchPlayback::Step::Rewind: cursor_.TimerTick(stretch_.stretch().start); break;
    }
    return step;
}

StretchPlayback::Stretch SoundAnalyser::StartStretch(bool loop)
{
    const StretchPlayback::Stretch s = StretchPlayback::Of(selection_.readout(), doc_.sampleRate(),
                                                           general::Val(cursor_.Text1()), doc_.totalDuration());
    stretch_.Start(s, loop);
    if (stretch_.active()) cursor_.TimerTick(s.start);
    return s;
}
void SoundAnalyser::CursorMoved(double position, double mediaDuration)
{
    cursor_.PositionChanged(position, graphWidth(), mediaDuration);
}

void SoundAnalyser::PlayerFocus(bool gained, double mediaDuration)
{
    if (gained)
        cursor_.FocusGained(graphWidth(), mediaDuration);
    else
        cursor_.FocusLost();
}

PlayerOrder SoundAnalyser::PlayerTick(double position)
{
    PlayerOrder order;
    order.showCursor = true;
    switch (CursorTick(position)) {
    case StretchPlayback::Step::Go: break;
    case StretchPlayback::Step::Stop:
        // The selection has played: the player waits at its end, where the cursor stands.
        order.pause = true;
        order.seek = stretch_.stretch().end;
        order.playButtons = true;
        break;
    case StretchPlayback::Step::Rewind: order.seek = stretch_.stretch().start; break;
    }
    return order;
}

PlayerOrder SoundAnalyser::PlayPressed(bool fromSelectionStart)
{
    PlayerOrder order;
    order.focusGraph = true;
    EndStretch();
    if (fromSelectionStart) {
        order.seek = PlaybackCursor::LoopStartSeconds(general::Val(selection_.readout().initialSample),
                                                      doc_.sampleRate());
        order.play = true;
        return order;
    }
    if (!doc_.loaded) return order;
    // The file is the one drawn: the caption no longer holds the bare path once the sound was
    // saved under another name.
    order.url = "file:\\\\" + doc_.samplesFile;
    order.play = true;
    order.playButtons = false;
    return order;
}

PlayerOrder SoundAnalyser::ContinuePressed()
{
    PlayerOrder order;
    if (!doc_.loaded) return order;
    EndStretch();
    order.focusGraph = order.play = true;
    order.playButtons = false;
    return order;
}

PlayerOrder SoundAnalyser::HaltPressed()
{
    PlayerOrder order;
    order.focusGraph = true;
    if (!doc_.loaded || !selection_.windowReady()) return order;
    order.pause = true;
    order.playButtons = false;
    return order;
}

PlayerOrder SoundAnalyser::StopPressed()
{
    PlayerOrder order;
    if (!doc_.loaded) return order;
    EndStretch();
    order.focusGraph = order.pause = true;
    order.playButtons = true;
    return order;
}

PlayerOrder SoundAnalyser::PlaySelectionPressed(bool loop, bool playing, bool opened)
{
    PlayerOrder order;
    if (!doc_.loaded) return order;
    if (stretch_.active() && playing) {
        EndStretch();
        order.pause = true;
        order.playButtons = true;
        return order;
    }
    const StretchPlayback::Stretch stretch = StartStretch(loop);
    if (!stretch_.active()) return order;
    if (!opened) order.url = "file:\\\\" + doc_.samplesFile;
    order.seek = stretch.start;
    order.play = order.showCursor = true;
    order.playButtons = false;
    return order;
}

SoundAnalyser::Pasted SoundAnalyser::PasteNew(int nextWindow, int levelDb, ChannelChoice channel)
{
    Pasted pasted;
    pasted.path = QDir(platform::ScratchFolder()).filePath(QString("Untitled%1.wav").arg(nextWindow));
    pasted.outcome = PasteClip(pasted.path, float(std::pow(10.0, levelDb / 20.0)), channel);
    if (!pasted.outcome.ok) return pasted;
    platform::MarkTemporary(pasted.path);
    pasted.channelChoice = channel == ChannelChoice::Right ? 2 : channel == ChannelChoice::Left ? 1 : 0;
    return pasted;
}

std::optional<ExportName> SoundAnalyser::AskExportName(CommonDialog& dialog) const
{
    // Not "clip.PNG.wav": no default extension of an image save.
    dialog.Filter = ExportFilter();
    dialog.FilterIndex = 1;
    dialog.DefaultExt.clear();
    dialog.CancelError = true;
    if (!dialog.ShowSave() || dialog.FileName.isEmpty()) return std::nullopt;
    return ChooseExportName(dialog.FileName, dialog.FilterIndex, doc_.samplesFile);
}

ChannelChoice SoundAnalyser::ChannelOf(bool leftChosen, bool rightChosen) const
{
    if (!doc_.stereo()) return ChannelChoice::Both;
    if (leftChosen) return ChannelChoice::Left;
    if (rightChosen) return ChannelChoice::Right;
    return ChannelChoice::Both;
}

QString SoundAnalyser::clipSaveTitle(ChannelChoice channel) const
{
    QString title = doc_.channelMode() + " ";
    if (channel == ChannelChoice::Right) title += "- Save Right Channel only";
    if (channel == ChannelChoice::Left) title += "- Save Left Channel only";
    return title;
}

QString SoundAnalyser::savedCaption() const { return LoadText(169) + " - (" + doc_.fileName + ")"; }

Outcome SoundAnalyser::writeExport(const ExportName& name, const Ask& ask,
                                   const std::function<Outcome(const QString&)>& writeWav)
{
    if (!name.staleWav.isEmpty()) QFile::remove(name.staleWav);
    Outcome result = writeWav(name.wav);
    if (result.ok && name.mp3) result = EncodeMp3(name.wav, name.target, ask);
    if (result.ok) {
        doc_.fileName = name.target;
        doc_.fileNameText = LoadText(476) + name.target;
    }
    return result;
}

Outcome SoundAnalyser::SaveWhole(const ExportName& name, const Ask& ask)
{
    const QString source = doc_.samplesFile;
    return writeExport(name, ask, [&source](const QString& wav) { return SaveWaveWhole(source, wav); });
}

Outcome SoundAnalyser::SaveSelected(const ExportName& name, ChannelChoice channel, const Ask& ask)
{
    const SelectedStretch stretch = SelectedStretchOf(doc_, selection_.readout());
    return writeExport(name, ask, [&](const QString& wav) {
        WaveFile file;
        if (file.Open(doc_.samplesFile) != 0) return SaveFailure(wav, "the sound file cannot be read");
        return SaveWave(file, wav, stretch.start, stretch.frames, doc_.sampleRate(), doc_.sampleFormat,
                        doc_.channelMode(), 1.0f, channel);
    });
}

Outcome SoundAnalyser::PasteClip(const QString& path, float gain, ChannelChoice channel)
{
    const SelectedStretch stretch = SelectedStretchOf(doc_, selection_.readout());
    if (stretch.frames == 0)
        return Outcome::Failure("No data selected", "Paste error", "the selection holds no frames");
    QFile::remove(path);
    WaveFile file;
    if (file.Open(doc_.samplesFile) != 0) return SaveFailure(path, "the sound file cannot be read");
    return SaveWave(file, path, stretch.start, stretch.frames, doc_.sampleRate(), doc_.sampleFormat,
                    doc_.channelMode(), gain, channel);
}
