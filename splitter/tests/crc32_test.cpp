#include "core/crc32.h"

#include <gtest/gtest.h>

TEST(Crc32, CheckValueOfTheNineDigits) {
    Crc32InitTable();
    EXPECT_EQ(~Crc32Update("123456789", 9, 1), 0xCBF43926u);
    EXPECT_EQ(Crc32TableEntry(1), 0x77073096u);
    EXPECT_EQ(Crc32TableEntry(128), 0xEDB88320u);
}
