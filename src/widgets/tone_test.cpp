#include "widgets/tone.h"

#include <QtEndian>

#include <gtest/gtest.h>

namespace sendwerk {
namespace {

quint32 le32(const QByteArray& b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }
quint16 le16(const QByteArray& b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }

TEST(Tone, TheWaveIsAMonoPcmFileOfTheRightLength) {
    const QByteArray wave = toneWave(1000, 0.5);
    ASSERT_EQ(wave.size(), 44 + 4000 * 2);
    EXPECT_EQ(wave.left(4), "RIFF");
    EXPECT_EQ(le32(wave, 4), quint32(wave.size() - 8));
    EXPECT_EQ(wave.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(le16(wave, 20), 1);      // PCM
    EXPECT_EQ(le16(wave, 22), 1);      // mono
    EXPECT_EQ(le32(wave, 24), 8000u);  // samples a second
    EXPECT_EQ(le16(wave, 34), 16);     // bits
    EXPECT_EQ(wave.mid(36, 4), "data");
    EXPECT_EQ(le32(wave, 40), 8000u);
    // 1000 Hz at 8000 samples a second: the sine repeats every 8 samples.
    EXPECT_EQ(le16(wave, 44), 0);
    EXPECT_EQ(le16(wave, 44 + 2 * 8), le16(wave, 44));
    EXPECT_EQ(le16(wave, 44 + 2 * 2), 12000);
}

TEST(Tone, OddRequestsAreClamped) {
    EXPECT_EQ(toneWave(1000, -1).size(), 44);
    EXPECT_EQ(toneWave(1000, 1e9).size(), 44 + 80000 * 2);
    EXPECT_EQ(toneWave(1000, std::numeric_limits<double>::quiet_NaN()).size(), 44);
    EXPECT_EQ(toneWave(0, 0.1).size(), toneWave(20, 0.1).size());
}

TEST(Tone, ThePlayerIsTheFirstInstalledOne) {
    const struct {
        QStringList installed;
        QStringList command;
    } cases[] = {
        {{"paplay", "aplay"}, {"/bin/paplay", "t.wav"}},
        {{"aplay"}, {"/bin/aplay", "-q", "t.wav"}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        const DesktopTone tone(
            [&](const QString& name) { return c.installed.contains(name) ? "/bin/" + name : QString(); });
        EXPECT_EQ(tone.playerCommand("t.wav"), c.command) << c.installed.join(",").toStdString();
    }
}

}  // namespace
}  // namespace sendwerk
