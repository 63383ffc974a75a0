#include <QStringList>
#include <gtest/gtest.h>

#include "app/time_display.h"
#include "engine/engine_rules.h"

TEST(EngineRules, TimeTextsCountTheSecondsAsTheMainWindowDoes)
{
    EXPECT_EQ(clockText(3725), "1:02:05");
    EXPECT_EQ(clockText(-3), "0:00");
    // The engine's panel and the main window show the same second, always.
    auto seconds = [](const QString &clock) {
        int total = 0;
        for (const QString &part : clock.split(u':'))
            total = total * 60 + part.toInt();
        return total;
    };
    for (double t = 0; t < 4000; t += 0.25) {
        const QStringList skin = timeText(t, t).split(QStringLiteral(" / "));
        ASSERT_EQ(seconds(clockText(t)), seconds(skin[0])) << t;
        ASSERT_EQ(seconds(clockText(t, Clock::Total)), seconds(skin[1])) << t;
    }
}
