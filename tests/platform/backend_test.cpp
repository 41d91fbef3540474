#include <gtest/gtest.h>

#include "platform/backend.h"
#include "platform/win32.h"

TEST(Backend, FallbackAnswersMessageBoxesPositively) {
    EXPECT_EQ(platform::backend().messageBox("a", "b", MB_YESNO), IDYES);
    EXPECT_EQ(platform::backend().messageBox("a", "b", MB_OK), IDOK);
}
