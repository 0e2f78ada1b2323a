#include "app/frm_about.h"

#include "app/AboutReport.h"
#include "app/StartSysInfo.h"
#include "platform/ui/BusyPointer.h"
#include "platform/ui/Prompts.h"
#include "platform/system/SystemInfo.h"
#include "platform/ui/TwipLayout.h"
#include "text/LoadText.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

frm_about::frm_about(QWidget* parent) : QDialog(parent)
{
    setObjectName("frm_about");
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    auto* layout = new TwipLayout(this, QSize(DesignWidth, DesignHeight));
    lblTitle = new QLabel("KIVRA", this);
    lblTitle->setObjectName("lblTitle");
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    lblTitle->setFont(big);
    layout->place(lblTitle, 360, 240, 7080, 540);
    Label4 = new QLabel(this);
    Label4->setObjectName("Label4");
    layout->place(Label4, 360, 840, 7080, 285);
    Lbl_info = new QLabel(this);
    Lbl_info->setObjectName("Lbl_info");
    Lbl_info->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Lbl_info->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Lbl_info->setFrameShape(QFrame::StyledPanel);
    Lbl_info->setMargin(4);
    Lbl_info->setWordWrap(true);
    layout->place(Lbl_info, 360, 1260, 7080, 1860);
    cmdSysInfo = new QPushButton(this);
    cmdSysInfo->setObjectName("cmdSysInfo");
    layout->place(cmdSysInfo, 4560, 3300, 1380, 375);
    Command1 = new QPushButton(this);
    Command1->setObjectName("Command1");
    Command1->setDefault(true);
    layout->place(Command1, 6060, 3300, 1380, 375);
    resize(layout->normalPixelSize());

    connect(Command1, &QPushButton::clicked, this, &frm_about::close);
    connect(cmdSysInfo, &QPushButton::clicked, this, [] { ReportFailure(StartSysInfo()); });
}

bool frm_about::Load(const SystemInfo& info)
{
    setWindowTitle(LoadText(589));
    cmdSysInfo->setText(LoadText(588));
    Command1->setText(LoadText(318));
    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
    Label4->setText(VersionLabel(KIVRA_VERSION_MAJOR, KIVRA_VERSION_MINOR));
    BusyPointer busy;
    const AboutReport report = AboutReport::Of(info);
    if (!report.outcome.ok) {
        // Without the system's version the window has nothing to report; the program goes on.
        ReportFailure(report.outcome);
        close();
        return false;
    }
    Lbl_info->setText(report.lines.join('\n'));
    return true;
}
