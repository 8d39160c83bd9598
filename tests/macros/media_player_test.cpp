// Media lines never stop a macro: a missing file or a machine without sound
// is a "Warning **" record naming the macro.

#include "macro_fixture.h"

#include "macros/media_player.h"

namespace qv::macros::test {
namespace {

class MediaPlayerTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override { qv::test::qtApp(); }
    FixedClock clock;
    qv::test::RecordingMonitor monitor;
};

TEST_P(MediaPlayerTest, FileThatIsNotThereIsAWarning) {
    MediaPlayer player(monitor, clock);
    const QString path = QString::fromLatin1(GetParam());
    player.PlayMediaFile(path, QStringLiteral("Doorbell"));
    ASSERT_EQ(monitor.records.size(), 1u);
    EXPECT_EQ(monitor.records[0].MsgType, QStringLiteral("Warning **"));
    EXPECT_EQ(monitor.records[0].Macro, QStringLiteral("Doorbell"));
    EXPECT_EQ(monitor.records[0].comment, QStringLiteral("Media file not found, not played: ") + path);
}

INSTANTIATE_TEST_SUITE_P(Paths, MediaPlayerTest,
                         ::testing::Values("/no/such/dir/bell.wav", "", "/tmp", "relative/missing.mp3"));

}  // namespace
}  // namespace qv::macros::test
