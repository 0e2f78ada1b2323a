// Where a tool window goes in the frame: its own size when it fits, else scaled down, and
// always inside the area.
#include "platform/ui/ChildWindow.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <gtest/gtest.h>

TEST(FitChildGeometry, FitsScalesAndStaysInside)
{
    const QSize area(800, 500);
    // Fits: as wanted.
    EXPECT_EQ(FitChildGeometry({5, 3, 747, 560 - 100}, area, {300, 200}), QRect(5, 3, 747, 460));
    // Too tall and wide: scaled keeping its proportions, where it was as far as it fits.
    EXPECT_EQ(FitChildGeometry({5, 3, 1000, 1000}, area, {300, 200}), QRect(5, 0, 500, 500));
    // Never below the minimum, even if that leaves part of it outside.
    EXPECT_EQ(FitChildGeometry({0, 0, 2000, 2000}, {100, 100}, {300, 200}), QRect(0, 0, 300, 200));
    // Placed mostly outside (a spectrum window at the right of a small frame): moved in.
    EXPECT_EQ(FitChildGeometry({700, 450, 400, 300}, area, {100, 100}), QRect(400, 200, 400, 300));
}

// A frame dragged partly off the screen: a child window shown in it goes to the part that can
// be seen, not under the screen's edge.
TEST(FitChildWindow, KeepsTheChildOnThePartOfTheAreaOnTheScreen)
{
    QMdiArea area;
    area.resize(700, 500);
    area.show();
    const QRect screen = area.screen()->availableGeometry();
    area.move(screen.left() - 250, screen.top() + 20);
    QCoreApplication::processEvents();
    QWidget* viewport = area.viewport();
    ASSERT_LT(viewport->mapToGlobal(QPoint(0, 0)).x(), screen.left()) << "the frame is partly off the screen";

    const QRect visible = VisibleChildArea(&area);
    EXPECT_EQ(visible.right(), viewport->width() - 1);
    EXPECT_EQ(visible.top(), 0);
    EXPECT_EQ(viewport->mapToGlobal(visible.topLeft()).x(), screen.left());

    auto* child = new QWidget;
    child->resize(200, 150);
    QMdiSubWindow* sub = area.addSubWindow(child);
    sub->move(10, 10);
    sub->show();
    FitChildWindow(sub);
    EXPECT_GE(viewport->mapToGlobal(sub->geometry().topLeft()).x(), screen.left());
    EXPECT_EQ(sub->y(), 10) << "moved only as far as needed";
}
