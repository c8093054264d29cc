#include "foundation/Exception.h"

#include <gtest/gtest.h>

TEST(Exception, CarriesDanishMessageThroughWhat) {
    try {
        throw Exception(QStringLiteral("Fejl i CSV-felt: æøå"));
    } catch (const std::exception& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("Fejl i CSV-felt: æøå"));
    }
}
