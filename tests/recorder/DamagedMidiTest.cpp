// Damaged MIDI files through the synthesiser: each is refused when it is opened, or plays (what
// FluidSynth makes of it) for as long as it is asked to, and never takes the program down.
#include "platform/audio/MidiSynth.h"

#include "recorder/RecordingChecks.h"
#include "support/Damage.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

void Put32(QByteArray& b, quint32 v)
{
    for (int shift = 24; shift >= 0; shift -= 8) b += char((v >> shift) & 0xFF);
}

QByteArray Track(const QByteArray& events)
{
    QByteArray chunk("MTrk");
    Put32(chunk, quint32(events.size()));
    return chunk + events;
}

// A format 1 file of two tracks that uses more of the format than notes: a tempo change, a time
// signature, a text, a system exclusive message, running status, controllers, a pitch bend and
// a program change.
QByteArray TwoTrackFile()
{
    const QByteArray conductor = QByteArray::fromHex(
        "00ff5103051615"          // tempo
        "00ff580404021808"        // 4/4
        "00ff0105" "4b49565241"   // text
        "8340ff510307a120"        // a slower tempo later
        "00ff2f00");
    const QByteArray notes = QByteArray::fromHex(
        "00c018"                  // program 24
        "00b00764" "000a40"       // volume, then pan by running status
        "00f0057e7f0901f7"        // system exclusive: General MIDI on
        "00903c64" "004064"       // two notes, the second by running status
        "8360e00040"              // a pitch bend
        "00803c00" "004000"       // both off, the second by running status
        "00ff2f00");
    QByteArray file("MThd");
    Put32(file, 6);
    file += QByteArray::fromHex("000100020180");   // format 1, two tracks, 384 ticks
    return file + Track(conductor) + Track(notes);
}

} // namespace

TEST(DamagedMidi, EachIsRefusedAtOpenOrPlaysAsLongAsAsked)
{
    if (MidiSynth::SoundFontPath().isEmpty()) GTEST_SKIP() << "no General MIDI SoundFont is installed";
    TempDir dir;
    ASSERT_TRUE(WriteMidiNotes(dir.file("notes.mid"), 69, 4, 200));
    QFile notesFile(dir.file("notes.mid"));
    ASSERT_TRUE(notesFile.open(QIODevice::ReadOnly));
    const QByteArray originals[] = {notesFile.readAll(), TwoTrackFile()};

    const PcmFormat format{.sampleRate = 11025, .channels = 2, .bitsPerSample = 16};
    std::vector<char> sound(std::size_t(format.sampleRate / 10) * 4);
    std::mt19937 random(20261208);
    int refused = 0, played = 0;
    for (int i = 0; i < 120; ++i) {
        const QString path = dir.file(QString("damaged%1.mid").arg(i));
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(Damaged(originals[i % 2], i / 2, random));
        }
        SCOPED_TRACE(path.toStdString());
        MidiSynth synth;
        QString why;
        if (!synth.open(path, &why)) {
            EXPECT_FALSE(why.isEmpty());
            ++refused;
            continue;
        }
        // Every copy that lost its end has a track that runs past the end of the file.
        EXPECT_NE(i / 2 % 4, 0) << "a truncated file was taken";
        if (!synth.play(format.sampleRate, &why)) {
            EXPECT_FALSE(why.isEmpty());
            continue;
        }
        // Two seconds, in the tenths of a second a recording asks for.
        for (int tenth = 0; tenth < 20; ++tenth)
            synth.mixInto(sound.data(), format.sampleRate / 10, format);
        synth.close();
        EXPECT_FALSE(synth.isOpen());
        ++played;
    }
    EXPECT_GE(refused, 30);
    EXPECT_GT(played, 20);
    std::printf("120 damaged MIDI files: %d refused at open, %d played\n", refused, played);
}

TEST(DamagedMidi, AFileCutShortIsRefusedWithItsReason)
{
    if (MidiSynth::SoundFontPath().isEmpty()) GTEST_SKIP() << "no General MIDI SoundFont is installed";
    TempDir dir;
    QFile f(dir.file("two.mid"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(TwoTrackFile());
    f.close();
    MidiSynth synth;
    ASSERT_TRUE(synth.open(f.fileName()));

    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(TwoTrackFile().chopped(1));
    f.close();
    QString why;
    EXPECT_FALSE(synth.open(f.fileName(), &why));
    EXPECT_EQ(why, "the MIDI file is damaged or cut short");
    EXPECT_FALSE(synth.isOpen());

    // Cut after its first track: whole chunks, but fewer than the header counts.
    const QByteArray whole = TwoTrackFile();
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(whole.left(whole.lastIndexOf("MTrk")));
    f.close();
    EXPECT_FALSE(synth.open(f.fileName(), &why));
    EXPECT_EQ(why, "the MIDI file is damaged or cut short");
}
