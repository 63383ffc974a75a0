#include <QStringList>
#include <gtest/gtest.h>

#include "app/time_display.h"
#include "engine/engine_rules.h"

TEST(EngineRules, TimeTextsCountTheSecondsAsTheMainWindowDoes)
{
    EXPECT_EQ(clockText(3725), "1:02:05");
    EXPECT_EQ(clockText(-3), "0:00");
    // The engine's panel and the main window show the same second, always
    // (the panel without the leading zero).
    for (double t = 0; t < 3599; t += 0.25) {
        const QStringList skin = timeText(t, t).split(QStringLiteral(" / "));
        ASSERT_EQ(clockText(t).rightJustified(5, u'0'), skin[0]) << t;
        ASSERT_EQ(clockText(t, Clock::Total).rightJustified(5, u'0'), skin[1]) << t;
    }
}
