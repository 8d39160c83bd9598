// Random traffic through the parsers and the decoder: nothing may crash, and
// what comes out must stay consistent with the bytes that went in.

#include "decoder_fixture.h"
#include "net/builders.h"

#include <random>

namespace qv::net::test {
namespace {

constexpr int kRounds = 200000;

class DecoderFuzzTest : public DecoderFixture, public testing::Test {
protected:
    std::mt19937 rng{20240201};

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
    bool chance(int percent) { return pick(1, 100) <= percent; }

    // Mostly eight bytes, often with a real sync, checksum and opcode, so that
    // every table gets its share.
    std::vector<std::uint8_t> randomBytes() {
        const int length = chance(70) ? 8 : pick(0, 20);
        std::vector<std::uint8_t> bytes(length);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(pick(0, 255));
        if (length >= 4 && chance(80)) {
            bytes[0] = chance(50) ? kAreaSync : kBoxSync;
            if (chance(25)) bytes[1] = 0xA5;
            if (chance(20)) bytes[1] = 0x00;
            static constexpr std::uint8_t kOpcodes[] = {0x00, 0x0A, 0x0D, 0x41, 0x60, 0x61, 0x62,
                                                        0x63, 0x65, 0x71, 0x80, 0xA2, 0xA3};
            if (chance(70)) bytes[3] = kOpcodes[pick(0, std::size(kOpcodes) - 1)];
        }
        if (length == 8 && chance(70)) bytes[7] = checksum(bytes.data());
        return bytes;
    }

    std::string randomText() {
        static constexpr std::string_view kPieces[] = {
            "1C", "5C", "A5", " ", " ", "D:", "O:", "0", "F", "f", "Z", "\0", "\xff"};
        std::string text;
        const int pieces = pick(0, 40);
        for (int i = 0; i < pieces; ++i) {
            if (chance(20))
                text += static_cast<char>(pick(0, 255));
            else
                text += kPieces[pick(0, std::size(kPieces) - 1)];
        }
        return text;
    }

    // What holds for every line, whatever it held.
    void checkInvariants(const Decoded& d) {
        if (!d.checksumOk) {
            expectNothingDecoded(d);
            return;
        }
        const std::string_view sync = std::string_view(d.line.hex).substr(0, 2);
        ASSERT_TRUE(sync == "1C" || sync == "5C") << d.line.hex;
        ASSERT_GE(d.area, 0);
        ASSERT_LE(d.area, 255);
        ASSERT_GE(d.preset, 0);
        ASSERT_LE(d.preset, 256);
        ASSERT_GE(d.channel, 0);
        ASSERT_LE(d.channel, 256);
        ASSERT_GE(d.levelByte, 0);
        ASSERT_LE(d.levelByte, 255);
        if (d.levelChanged) {
            ASSERT_EQ(state.channelLevel(d.area, d.channel), d.levelByte);
        }
        if (d.allAreasChanged) {
            ASSERT_EQ(d.area, 0);
            ASSERT_EQ(state.GetPresetforArea(1), d.preset);
            ASSERT_EQ(state.GetPresetforArea(255), d.preset);
        } else if (d.area >= 1 && d.preset >= 1) {
            ASSERT_EQ(state.GetPresetforArea(d.area), d.preset) << d.line.hex;
        }
        if (d.sensorReading) {
            ASSERT_GE(d.sensorReading->lux, 0);
            ASSERT_LE(d.sensorReading->lux, 0xFFFF);
        }
    }
};

TEST_F(DecoderFuzzTest, RandomMessagesFromTheSerialPort) {
    for (int round = 0; round < kRounds; ++round) {
        const std::vector<std::uint8_t> bytes = randomBytes();
        const std::string received = toReceivedHex(bytes);
        const Decoded d = decoder.decode(makeInboxLine(received, "01/02/2024 10:15:00", "Comms"));
        checkInvariants(d);
        ASSERT_EQ(d.compactHex().size(), 2 * bytes.size());
        ASSERT_EQ(d.line.origin, "Comms");
        if (bytes.size() == kMessageSize) {
            RawMessage message;
            std::copy(bytes.begin(), bytes.end(), message.begin());
            // The decoder's text test and the byte-level framing agree.
            ASSERT_EQ(d.checksumOk, isFramable(message)) << received;
            ASSERT_EQ(parseRawMessage(received), message);
        }
        if (HasFatalFailure()) return;
    }
}

TEST_F(DecoderFuzzTest, RandomTextLines) {
    for (int round = 0; round < kRounds; ++round) {
        const std::string line = randomText();
        const InboxLine parts = splitInboxLine(line);
        ASSERT_LE(parts.origin.size(), 50u);
        ASSERT_TRUE(parts.hex.empty() || parts.hex.back() != ' ');
        ASSERT_EQ(parts.hex.find("D:"), std::string::npos);
        ASSERT_LE(parts.hex.size() + parts.dateTime.size() + parts.origin.size(), line.size());

        checkInvariants(decoder.decode(line));
        if (HasFatalFailure()) return;

        const auto raw = parseRawMessage(line);
        const auto seven = parseSevenBytes(line);
        if (raw) {
            ASSERT_TRUE(seven.has_value());
            ASSERT_TRUE(std::equal(seven->begin(), seven->end(), raw->begin()));
        }
        const auto custom = SendCustomCode(line);
        ASSERT_EQ(custom.has_value(), seven.has_value());
        if (custom) {
            ASSERT_TRUE(hasValidChecksum(*custom));
        }
        const ChecksumToolResult tool = customCodeChecksumTool(line);
        ASSERT_EQ(tool.ok, seven.has_value() && line.size() >= 20);
        if (tool.ok) {
            ASSERT_EQ(parseRawMessage(tool.text), custom);
        }
    }
}

TEST_F(DecoderFuzzTest, ValidMessageInsideLongNoise) {
    // A valid message followed by a long tail is read by position only.
    std::string tail;
    for (int i = 0; i < 50000; ++i) tail += static_cast<char>(pick(0, 255));
    const Decoded d = decoder.decode(inboxLine("1C 05 02 62 00 00 FF") + tail);
    EXPECT_EQ(d.description, "area " + kOffice + " is in preset " + kBright);
    EXPECT_LE(d.line.origin.size(), 50u);
}

}  // namespace
}  // namespace qv::net::test
