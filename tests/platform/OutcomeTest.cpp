// The one message type as a window shows it: the kind chooses the icon unless the design gave the
// message its own, a question comes back as the answer, a success shows nothing.
#include "platform/ui/Outcome.h"
#include "platform/ui/Prompts.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

TEST(Outcome, EachKindShowsItsIconUnlessTheDesignGaveAnother)
{
    ScopedScriptedPrompts prompts;
    Report(Outcome::Failure("failed", "T"));
    Report(Outcome::Information("told", "T"));
    EXPECT_EQ(Report(Outcome::Question("go on?", "T", MsgButtons::YesNo)), Answer::Yes);
    Report(Outcome::Failure("plain", "T", "why", MsgIcon::None));
    Report(Outcome::Information("warned", "T", MsgIcon::Exclamation));
    const auto& shown = prompts->shown();
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0].icon, MsgIcon::Critical);
    EXPECT_EQ(shown[1].icon, MsgIcon::Information);
    EXPECT_EQ(shown[2].icon, MsgIcon::Question);
    EXPECT_EQ(shown[2].buttons, MsgButtons::YesNo);
    EXPECT_EQ(shown[3].icon, MsgIcon::None);
    EXPECT_EQ(shown[4].icon, MsgIcon::Exclamation);
    for (const auto& s : shown) EXPECT_EQ(s.title, "T");
}

TEST(Outcome, OnlyFailuresReachReportFailureAndSuccessShowsNothing)
{
    ScopedScriptedPrompts prompts;
    prompts->QueueAnswer(Answer::No);
    EXPECT_EQ(AskThroughPrompts()(Outcome::Question("sure?", "T", MsgButtons::YesNo)), Answer::No);
    ReportFailure(Outcome::Information("told", "T"));
    ReportFailure(Outcome::Success());
    EXPECT_EQ(Report(Outcome::Success()), Answer::OK);
    ReportFailure(Outcome::Failure("failed", "T"));
    EXPECT_EQ(prompts->messages(), (QStringList{"sure?", "failed"}));
}
