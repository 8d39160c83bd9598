// The stream framer against the ways a serial read really arrives: whole,
// split, joined, corrupted and interleaved with noise.

#include "comms/framer.h"
#include "net/message.h"

#include <gtest/gtest.h>

#include <random>

namespace qv::comms {
namespace {

using Chunk = StreamFramer::Chunk;

Chunk message(std::initializer_list<std::uint8_t> seven) {
    net::SevenBytes bytes{};
    std::copy(seven.begin(), seven.end(), bytes.begin());
    const net::RawMessage raw = net::withChecksum(bytes);
    return Chunk(raw.begin(), raw.end());
}

const Chunk kPresetReport = message({0x1C, 0x05, 0x02, 0x62, 0x00, 0x00, 0xFF});
const Chunk kLevelReport = message({0x1C, 0x03, 0x01, 0x60, 0x80, 0x00, 0xFF});
const Chunk kSensor = message({0x5C, 0xA5, 0x07, 0x0A, 0x00, 0x01, 0x2C});

Chunk join(std::initializer_list<Chunk> parts) {
    Chunk all;
    for (const Chunk& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

struct Collected {
    std::vector<Chunk> chunks;
    std::function<void(const Chunk&)> sink() {
        return [this](const Chunk& c) { chunks.push_back(c); };
    }
};

std::vector<Chunk> frameInReads(const Chunk& stream, const std::vector<std::size_t>& cuts, bool flush) {
    StreamFramer framer;
    Collected out;
    std::size_t from = 0;
    for (std::size_t cut : cuts) {
        framer.feed(stream.data() + from, cut - from, out.sink());
        from = cut;
    }
    framer.feed(stream.data() + from, stream.size() - from, out.sink());
    if (flush) framer.flush(out.sink());
    return out.chunks;
}

TEST(Framer, NoiseBeforeAMessageIsHandedOnAsOneChunkFirst) {
    const Chunk noise{0x01, 0x02, 0x03};
    const auto chunks = frameInReads(join({noise, kLevelReport}), {}, false);
    EXPECT_EQ(chunks, (std::vector<Chunk>{noise, kLevelReport}));
}

TEST(Framer, CorruptedMessageBecomesOneChunkAndTheNextStillFrames) {
    Chunk bad = kPresetReport;
    bad[7] ^= 0x01;
    const auto chunks = frameInReads(join({bad, kLevelReport}), {}, false);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0], bad);
    EXPECT_EQ(chunks[1], kLevelReport);
}

TEST(Framer, IncompleteTailWaitsForTheQuietGap) {
    const Chunk partial(kSensor.begin(), kSensor.begin() + 5);
    EXPECT_TRUE(frameInReads(partial, {}, false).empty());
    EXPECT_EQ(frameInReads(partial, {}, true), std::vector<Chunk>{partial});
}

TEST(Framer, EndlessNoiseIsHandedOnInBoundedChunks) {
    StreamFramer framer;
    Collected out;
    const Chunk noise(1000, 0x42);
    framer.feed(noise.data(), noise.size(), out.sink());
    framer.flush(out.sink());
    std::size_t total = 0;
    for (const Chunk& c : out.chunks) {
        EXPECT_LE(c.size(), StreamFramer::kMaxJunk);
        total += c.size();
    }
    EXPECT_EQ(total, noise.size());
}

TEST(Framer, RandomCutsNeverLoseOrReorderBytes) {
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        Chunk stream;
        std::vector<Chunk> expected;
        for (int i = 0; i < 20; ++i) {
            if (rng() % 5 == 0) {
                Chunk noise(1 + rng() % 6);
                for (auto& b : noise) b = static_cast<std::uint8_t>(rng() % 0x1B);  // never a sync byte
                stream.insert(stream.end(), noise.begin(), noise.end());
            } else {
                const Chunk m = message({0x1C, static_cast<std::uint8_t>(rng()),
                                         static_cast<std::uint8_t>(rng()), 0x62, 0x00, 0x00, 0xFF});
                stream.insert(stream.end(), m.begin(), m.end());
                expected.push_back(m);
            }
        }
        std::vector<std::size_t> cuts;
        for (std::size_t at = 1 + rng() % 13; at < stream.size(); at += 1 + rng() % 13) cuts.push_back(at);
        const auto chunks = frameInReads(stream, cuts, true);

        Chunk rejoined;
        std::vector<Chunk> messages;
        for (const Chunk& c : chunks) {
            rejoined.insert(rejoined.end(), c.begin(), c.end());
            if (c.size() == 8 && c[0] == 0x1C) messages.push_back(c);
        }
        EXPECT_EQ(rejoined, stream);
        EXPECT_EQ(messages, expected);
    }
}

TEST(FramerFuzz, RandomBytesNeverCrashAndKeepEveryByte) {
    std::mt19937 rng(1234);
    StreamFramer framer;
    std::size_t fed = 0, out = 0;
    for (int i = 0; i < 20000; ++i) {
        Chunk bytes(rng() % 40);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(rng() % 4 == 0 ? 0x1C : rng());
        framer.feed(bytes.data(), bytes.size(), [&](const Chunk& c) { out += c.size(); });
        fed += bytes.size();
    }
    framer.flush([&](const Chunk& c) { out += c.size(); });
    EXPECT_EQ(out, fed);
    EXPECT_FALSE(framer.hasPending());
}

}  // namespace
}  // namespace qv::comms
