#include "platform/Version.h"

#include "support/Test.h"

TEST(Version, IsNeverEmptyAndDotted) {
    const QString v = Platform::VersionText();
    ASSERT_FALSE(v.isEmpty());
    EXPECT_EQ(v.count(QLatin1Char('.')), 2);
}
