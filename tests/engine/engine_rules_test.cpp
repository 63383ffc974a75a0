#include <QStringList>
#include <gtest/gtest.h>

#include "app/time_display.h"
#include "engine/engine_rules.h"  // pictureRect

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

TEST(EngineRules, ScalesThatDoNotFitAreShownWholeSmaller)
{
    const QRect area(0, 0, 457, 300);
    // 100 % of 1280 x 720 in a small window: the whole picture, aspect kept, centred.
    const QRect full = pictureRect(0, QSize(1280, 720), area, 0);
    EXPECT_TRUE(area.contains(full));
    EXPECT_EQ(full.width(), 457);
    EXPECT_NEAR(double(full.width()) / full.height(), 16.0 / 9.0, 0.02);
    EXPECT_EQ(full.center().y(), area.center().y());
    // 200 % and 50 % likewise, with a border kept inside the area.
    for (int size : {1, 2}) {
        const QRect r = pictureRect(size, QSize(1280, 720), area, 5);
        EXPECT_TRUE(area.adjusted(5, 5, -5, -5).contains(r)) << size;
        EXPECT_NEAR(double(r.width()) / r.height(), 16.0 / 9.0, 0.03) << size;
    }
}
