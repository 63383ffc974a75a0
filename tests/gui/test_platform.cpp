#include <gtest/gtest.h>

#include "platform/common_dialog.h"

TEST(CommonDialogFilter, LabelsKeptAndPatternsIgnoreCase)
{
    const QStringList filters =
        CommonDialog::qtNameFilters("Liste de piste MP3(*.M3U)|*.M3U|Liste PLS (*.PLS)|*.PLS;*.x1");
    ASSERT_EQ(filters.size(), 2);
    EXPECT_EQ(filters[0], "Liste de piste MP3(*.M3U) (*.[mM]3[uU])");
    EXPECT_EQ(filters[1], "Liste PLS (*.PLS) (*.[pP][lL][sS] *.[xX]1)");
}
