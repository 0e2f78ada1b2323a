// The run's scratch folder goes with the program.
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "support/Tools.h"

TEST(ScratchFolder, IsRemovedWithWhatItHoldsWhenTheProgramEnds)
{
    const ToolResult run = RunTool(KIVRA_SCRATCH_CHILD, {});
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    const QString folder = run.output.trimmed();
    EXPECT_TRUE(QFileInfo(folder).fileName().startsWith("kivra-")) << folder.toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(QDir::temp().exists());
}
