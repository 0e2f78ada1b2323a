#include "capture/frmPrefs.h"

#include "capture/CaptureHost.h"
#include "general/General.h"
#include "platform/ui/TwipLayout.h"
#include "text/LoadText.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

frmPrefs::frmPrefs(CaptureHost& owner) : QDialog(owner.hostWindow()), main_(owner)
{
    setObjectName("frmPrefs");
    setWindowTitle(LoadText(680));
    auto* layout = new TwipLayout(this, QSize(DesignWidth, DesignHeight));
    QGroupBox* frames[3];
    const int titles[] = {219, 224, 225};
    const QRect places[] = {{120, 120, 2600, 2000}, {2880, 120, 3600, 1100}, {120, 2240, 6360, 1400}};
    for (int i = 0; i < 3; ++i) {
        frames[i] = new QGroupBox(LoadText(titles[i]), this);
        frames[i]->setObjectName(QString("staticframe_%1").arg(i));
        layout->place(frames[i], places[i].x(), places[i].y(), places[i].width(), places[i].height());
    }
    auto option = [&](QGroupBox* frame, const QString& name, const QString& text, int top, int width) {
        auto* b = new QRadioButton(text, frame);
        b->setObjectName(name);
        layout->place(b, 240, top, width, 300);
        return b;
    };
    const int colours[] = {549, 221, 222, 223};
    for (int i = 0; i < 4; ++i)
        optColor_[size_t(i)] = option(frames[0], QString("optColor_%1").arg(i), LoadText(colours[i]),
                                      360 + i * 400, 2200);
    optMaxFrames_[0] = option(frames[1], "optMaxFrames_0", "27,000    (15 minutes @ 30fps)", 360, 3200);
    optMaxFrames_[1] = option(frames[1], "optMaxFrames_1", "324,000    (3 hours @ 30fps)", 700, 3200);
    optSynch_[0] = option(frames[2], "optSynch_0", LoadText(547), 330, 5800);
    optSynch_[1] = option(frames[2], "optSynch_1", LoadText(227), 660, 5800);
    auto* note = new QLabel(LoadText(548), frames[2]);
    note->setObjectName("lblStatic");
    layout->place(note, 480, 990, 5600, 285);
    auto* ok = new QPushButton(LoadText(228), this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    layout->place(ok, 3480, 1500, 1400, 390);
    auto* cancel = new QPushButton(LoadText(229), this);
    cancel->setObjectName("cmdCancel");
    layout->place(cancel, 5000, 1500, 1400, 390);
    resize(layout->normalPixelSize());

    // Selecting an option sets its value, also when the window selects it.
    for (int i = 0; i < 4; ++i)
        connect(optColor_[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) colour_ = capture::ValueOfChoice(capture::BackgroundChoice(i));
        });
    connect(optMaxFrames_[0], &QRadioButton::toggled, this, [this](bool on) { if (on) maxFrames_ = "27000"; });
    connect(optMaxFrames_[1], &QRadioButton::toggled, this, [this](bool on) { if (on) maxFrames_ = "324000"; });
    connect(optSynch_[0], &QRadioButton::toggled, this, [this](bool on) { if (on) streamMaster_ = "AUDIO"; });
    connect(optSynch_[1], &QRadioButton::toggled, this, [this](bool on) { if (on) streamMaster_ = "NONE"; });
    connect(ok, &QPushButton::clicked, this, &frmPrefs::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    const capture::CapturePreferences prefs = capture::CapturePreferences::Load();
    optColor_[size_t(capture::ChoiceOfColour(general::Val(prefs.backcolor)))]->setChecked(true);
    optMaxFrames_[capture::IsShortIndex(prefs.maxframes) ? 0 : 1]->setChecked(true);
    optSynch_[capture::SynchToAudio(prefs.streammaster) ? 0 : 1]->setChecked(true);
}

void frmPrefs::confirm()
{
    main_.setBackColour(double(colour_));
    capture::CapturePreferences{QString::number(colour_), maxFrames_, streamMaster_}.save();
    accept();
}
