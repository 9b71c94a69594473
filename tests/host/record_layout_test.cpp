// The host's item and key records, field by field where the host lays them
// out. The plug-in and the simulated host both take these offsets from
// host/item_record.h, so a slip there would pass every session: this pins
// them to the host's numbers.
#include <gtest/gtest.h>

#include <cstddef>

#include "host/item_record.h"
#include "sim_scene.h"

namespace corvantide_test {
namespace {

namespace item = corvantide::item_record;
namespace key = corvantide::key_record;

TEST(RecordLayout, TheItemRecordsFieldsAreWhereTheHostPutsThem) {
    EXPECT_EQ(0x54u, item::kType);
    EXPECT_EQ(0x60u, item::kName);
    EXPECT_EQ(0x70u, item::kSourcePath);
    EXPECT_EQ(0xb8u, item::kKeys);
    EXPECT_EQ(1880u, item::kChannelValues);
    EXPECT_EQ(5040u, item::kLastKey);
    EXPECT_EQ(5168u, item::kFirstKey);
    EXPECT_EQ(5552u, item::kBehaviour);
    EXPECT_EQ(5792u, item::kKeyCount);
    EXPECT_EQ(8, item::kCameraType);
    // Nine channels of each per-channel field fit before the next field and the record's end.
    EXPECT_LE(item::kLastKey + 4 * 9, item::kFirstKey);
    EXPECT_LE(item::kKeyCount + 4, simhost::item_layout::kRecordSize);
}

TEST(RecordLayout, TheKeyRecordsFieldsAreWhereTheHostPutsThem) {
    EXPECT_EQ(1872u, key::kSize);
    EXPECT_EQ(0u, key::kValue);
    EXPECT_EQ(256u, key::kTension);
    EXPECT_EQ(384u, key::kContinuity);
    EXPECT_EQ(512u, key::kBias);
    EXPECT_EQ(704u, key::kSpanMode);
    EXPECT_EQ(768u, key::kInHandle);
    EXPECT_EQ(896u, key::kOutHandle);
    EXPECT_EQ(1792u, key::kFlags);
    EXPECT_EQ(1832u, key::kTime);
    EXPECT_EQ(12, key::kZoomSlot);
    EXPECT_LE(key::kTime + sizeof(double), key::kSize);
}

}  // namespace
}  // namespace corvantide_test
