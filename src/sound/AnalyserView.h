#pragma once
// What the sound analyser window shows, worked out from the analyser: the sound's values, the
// graphs' heights, the selection strips' places, the read-outs and switches, and the scroll bar
// of a zoomed view. The window copies it into its controls and adds nothing of its own.
#include "sound/SoundAnalyser.h"

#include <QString>
#include <array>

struct AnalyserView {
    // The sound's values, in the order of AnalyserUi's value labels: Label1, Label2, Label3,
    // Label4, Label6(0), Label6(1), Label8, Label9, Label10, Label11, Label12, Label13, Label14,
    // Label15(0), Label15(1), Label17.
    std::array<QString, 16> values;
    QString channelsTag;     // Label9's tag: the channel mode
    QString dataStartTag;    // Label11's tag: the column table's base

    // The graphs (twips): the upper graph and its strip's height, the lower graph's, the
    // height of the upper cursor lines.
    int upperHeight = 0;
    bool lowerVisible = false;
    int lowerHeight = 0;
    int upperCursorHeight = 0;
    QString ampTag;
    QString timeScale;

    // The selection strip of each graph (upper, lower) and the highlight copy inside it, in
    // twips of the graph.
    struct Strip {
        int left = 0;
        int width = 0;
        int copyLeft = 0;
        bool visible = false;
        bool copyVisible = true;
    };
    std::array<Strip, 2> strips;

    // The read-outs: initial, final and interval time, then the same in samples.
    std::array<QString, 6> readout;
    QString draggedCount;
    bool resizePointer = false;   // over a selection's edge: the resize pointer
    QString period;               // empty: the caption stays as it is
    QString frequency;            // likewise
    QString amp;
    QString ampToolTip;           // empty: the tip stays as it is
    bool ampVisible = false;
    QString levels;
    bool showAmpChecked = false;
    bool showAmpEnabled = true;
    bool showAmpMenuChecked = false;
    bool equaliseChecked = false;

    // The scroll bar under the graphs, shown while the view is a part of the sound (frames).
    bool scrollVisible = false;
    int scrollMaximum = 0;
    int scrollPage = 1;
    int scrollStep = 1;
    int scrollValue = 0;
};

AnalyserView ViewOfAnalyser(const SoundAnalyser& analyser);
