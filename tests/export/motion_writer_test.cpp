// The writer on its own: what it prints from channel buffers, and how it
// hands the text to the file.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "export/file_output.h"
#include "export/motion_writer.h"
#include "host/item_record.h"

namespace corvantide_test {
namespace {

using corvantide::EnvelopeKey;
using corvantide::FileOutput;
using corvantide::MotionWriter;

// A file in memory, with the sizes of the writes it received.
struct MemoryFile {
    std::string text;
    std::vector<std::size_t> writes;
    bool failWrites = false;
};

bool WriteToMemory(void* file, const char* data, std::size_t size) {
    auto* memory = static_cast<MemoryFile*>(file);
    memory->writes.push_back(size);
    if (memory->failWrites) return false;
    memory->text.append(data, size);
    return true;
}

// Host key records with the given times (frames).
std::vector<unsigned char> HostKeys(const std::vector<double>& times) {
    std::vector<unsigned char> keys(times.size() * corvantide::key_record::kSize);
    for (std::size_t j = 0; j < times.size(); ++j) {
        std::memcpy(keys.data() + j * corvantide::key_record::kSize + corvantide::key_record::kTime, &times[j],
                    sizeof(double));
    }
    return keys;
}

class Writer : public testing::Test {
protected:
    void SetUp() override {
        FileOutput.write = WriteToMemory;
        writer = std::make_unique<MotionWriter>();
        corvantide::BeginWriting(writer.get(), &file);
    }
    void TearDown() override { FileOutput = corvantide::PlatformFileOperations(); }

    std::string Finish() {
        EXPECT_TRUE(corvantide::FinishWriting(writer.get()));
        return file.text;
    }

    MemoryFile file;
    std::unique_ptr<MotionWriter> writer;
};

TEST_F(Writer, TheKeyedFormPrintsOnlyIncludedKeysAndTheFirstEntrysBehaviour) {
    std::vector<EnvelopeKey> entries(3 + 3);
    entries[0] = {7.0, 0, 0, 0, 0, 0, 0, 0, 4};  // keys another channel: not printed, yet its behaviour is
    entries[1] = {-2.0, 1, 3, 0, 0, 0, 0, 0, 1};
    entries[2] = {1e20, 1, 0, 0.3F, -0.25F, 1.5F, 0, 0, 1};
    entries[3] = {5.0, 2, 0, 0, 0, 0, 0, 0, 1};  // include must be exactly 1
    const auto keys = HostKeys({0, 15, 1});

    corvantide::WriteKeyedBody(writer.get(), entries.data(), 3, keys.data(), 30.0, 0.0);
    corvantide::WriteKeyedBody(writer.get(), entries.data() + 3, 0, keys.data(), 30.0, 0.0);

    EXPECT_EQ(
        "  2\n"
        "  Key -2.000000 0.500000 3 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
        "  Key 100000000000000000000.000000 0.033333 0 0.300000 -0.250000 1.500000 0.000000 0.000000 0\n"
        "  Behaviors 4 4\n"
        "  1\n  Key 0 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n",
        Finish());
}

TEST_F(Writer, AChannelNoKeyKeysHoldsItsValueFromTheFirstKeysTime) {
    std::vector<EnvelopeKey> entries(2 + 3);
    entries[0] = {1.0, 0, 2, 0.5F, 0.5F, 0.5F, 0.5F, 0.5F, 4};  // not this channel's: none of it is printed
    entries[1].value = 2.0;
    const auto keys = HostKeys({6, 12});
    corvantide::WriteEnvelopeStart(writer.get(), 4);
    corvantide::WriteKeyedBody(writer.get(), entries.data(), 2, keys.data(), 24.0, -0.75);
    corvantide::WriteEnvelopeEnd(writer.get());
    corvantide::WriteEnvelopeStart(writer.get(), 5);
    corvantide::WriteKeyedBody(writer.get(), entries.data(), 0, keys.data(), 24.0, -0.75);
    corvantide::WriteEnvelopeEnd(writer.get());
    EXPECT_EQ(
        "Channel 4\n{ Envelope\n  1\n"
        "  Key -0.750000 0.250000 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
        "  Behaviors 1 1\n}\n"
        "Channel 5\n{ Envelope\n  1\n  Key 0 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n",
        Finish());
}

TEST_F(Writer, SampledLinesPrintWhateverSpanTheEntryHolds) {
    // Sampling leaves the span at 0; an entry that holds anything else,
    // even -0, prints it.
    std::vector<EnvelopeKey> entries(4 + 3);
    entries[0].value = 1.5;
    entries[1].p3 = -0.0F;
    entries[2].shape = 3;
    entries[3].p5 = 2.5e-6F;
    corvantide::WriteSampledBody(writer.get(), entries.data(), 4, 10, 24.0);
    EXPECT_EQ(
        "  4\n"
        "  Key 1.500000 0.416667 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
        "  Key 0.000000 0.458333 0 0.000000 0.000000 -0.000000 0.000000 0.000000 0\n"
        "  Key 0.000000 0.500000 3 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
        "  Key 0.000000 0.541667 0 0.000000 0.000000 0.000000 0.000000 0.000002 0\n"
        "  Behaviors 1 1\n",
        Finish());
}

TEST_F(Writer, ASampledBodyOfNoFramesIsThePlaceholder) {
    std::vector<EnvelopeKey> entries(3);
    corvantide::WriteSampledBody(writer.get(), entries.data(), 0, 10, 24.0);
    EXPECT_EQ("  1\n  Key 0 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n", Finish());
}

TEST_F(Writer, LargeFilesAreHandedOverInFullChunks) {
    constexpr std::int64_t kFrames = 100000;
    std::vector<EnvelopeKey> entries(kFrames + 3);
    for (std::int64_t j = 0; j < kFrames; ++j)
        entries[static_cast<std::size_t>(j)].value = static_cast<double>(j) / 7;
    corvantide::WriteFileHeader(writer.get(), 9);
    corvantide::WriteSampledBody(writer.get(), entries.data(), kFrames, 0, 30.0);
    const std::string text = Finish();

    ASSERT_GT(file.writes.size(), 2u);
    for (std::size_t i = 0; i + 1 < file.writes.size(); ++i) {
        EXPECT_GT(file.writes[i], corvantide::kWriteChunk * 9 / 10) << "write " << i;
        EXPECT_LE(file.writes[i], corvantide::kWriteChunk);
    }
    EXPECT_TRUE(text.starts_with("LWMO\n3\n\nNumChannels 9\n  100000\n  Key 0.000000 0.000000 0 "));
    EXPECT_NE(std::string::npos,
              text.find("  Key 14285.571429 3333.300000 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
                        "  Behaviors 1 1\n"));
}

TEST_F(Writer, EveryChannelAndEveryFilePrintsItsOwnKeyTimes) {
    // Times are formatted once and copied into later channels: a body with
    // other keys, another rate, or a new file with moved keys must not get
    // the times of the one before.
    std::vector<EnvelopeKey> entries(2 + 3);
    entries[0].include = entries[1].include = 1;
    auto keys = HostKeys({15, 30});
    const auto otherKeys = HostKeys({3, 6});
    corvantide::WriteKeyedBody(writer.get(), entries.data(), 2, keys.data(), 30.0, 0.0);
    corvantide::WriteKeyedBody(writer.get(), entries.data(), 2, otherKeys.data(), 30.0, 0.0);
    corvantide::WriteKeyedBody(writer.get(), entries.data(), 2, keys.data(), 60.0, 0.0);
    corvantide::WriteSampledBody(writer.get(), entries.data(), 2, 15, 30.0);
    corvantide::WriteSampledBody(writer.get(), entries.data(), 2, 3, 30.0);
    EXPECT_EQ(
        "  2\n  Key 0.000000 0.500000 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
        "  Key 0.000000 1.000000 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n  Behaviors 0 0\n"
        "  2\n  Key 0.000000 0.100000 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
        "  Key 0.000000 0.200000 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n  Behaviors 0 0\n"
        "  2\n  Key 0.000000 0.250000 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
        "  Key 0.000000 0.500000 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n  Behaviors 0 0\n"
        "  2\n  Key 0.000000 0.500000 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
        "  Key 0.000000 0.533333 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n  Behaviors 1 1\n"
        "  2\n  Key 0.000000 0.100000 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
        "  Key 0.000000 0.133333 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n  Behaviors 1 1\n",
        Finish());

    // The host moved the keys in place between two exports: same address, other times.
    MemoryFile first;
    corvantide::BeginWriting(writer.get(), &first);
    corvantide::WriteKeyedBody(writer.get(), entries.data(), 2, keys.data(), 30.0, 0.0);
    ASSERT_TRUE(corvantide::FinishWriting(writer.get()));
    const auto moved = HostKeys({45, 60});
    ASSERT_EQ(moved.size(), keys.size());
    std::memcpy(keys.data(), moved.data(), moved.size() * sizeof moved[0]);
    MemoryFile next;
    corvantide::BeginWriting(writer.get(), &next);
    corvantide::WriteKeyedBody(writer.get(), entries.data(), 2, keys.data(), 30.0, 0.0);
    ASSERT_TRUE(corvantide::FinishWriting(writer.get()));
    EXPECT_NE(std::string::npos, next.text.find("  Key 0.000000 1.500000 0 "));
    EXPECT_NE(std::string::npos, next.text.find("  Key 0.000000 2.000000 0 "));
}

TEST_F(Writer, LongSampledRangesKeepTheirTimesToTheLastFrame) {
    constexpr std::int64_t kFrames = 200000;  // beyond the times kept for copying
    std::vector<EnvelopeKey> entries(kFrames + 3);
    corvantide::WriteSampledBody(writer.get(), entries.data(), kFrames, -100, 25.0);
    corvantide::WriteSampledBody(writer.get(), entries.data(), kFrames, -100, 25.0);
    const std::string text = Finish();
    const std::size_t half = text.size() / 2;
    EXPECT_TRUE(text.substr(0, half) == text.substr(half)) << "the second channel differs from the first";
    EXPECT_TRUE(text.starts_with("  200000\n  Key 0.000000 -4.000000 0 "));
    // The last time kept for copying (entry 131071) and the first two past it.
    const std::string span = " 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n";
    EXPECT_NE(std::string::npos, text.find("  Key 0.000000 5238.840000" + span + "  Key 0.000000 5238.880000" +
                                           span + "  Key 0.000000 5238.920000" + span));
    EXPECT_TRUE(
        text.ends_with("  Key 0.000000 7995.960000 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
                       "  Behaviors 1 1\n"));
}

TEST_F(Writer, TimesTooWideToKeepArePrintedAgainInEveryChannel) {
    // Frames near the 32-bit limit at one frame a second: 17 characters a
    // time, one more than a kept time holds.
    std::vector<EnvelopeKey> entries(2 + 3);
    corvantide::WriteSampledBody(writer.get(), entries.data(), 2, 2147483646, 1.0);
    corvantide::WriteSampledBody(writer.get(), entries.data(), 2, 2147483646, 1.0);
    const std::string body =
        "  2\n"
        "  Key 0.000000 2147483646.000000 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
        "  Key 0.000000 2147483647.000000 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
        "  Behaviors 1 1\n";
    EXPECT_EQ(body + body, Finish());
}

TEST_F(Writer, AFailedWriteIsRememberedAndNothingMoreIsWritten) {
    file.failWrites = true;
    std::vector<EnvelopeKey> entries(5000 + 3);
    corvantide::WriteSampledBody(writer.get(), entries.data(), 5000, 0, 30.0);
    EXPECT_FALSE(corvantide::FinishWriting(writer.get()));
    EXPECT_EQ(1u, file.writes.size());
}

}  // namespace
}  // namespace corvantide_test
