// Damaged settings files (bytes flipped, cut short, values replaced by hostile texts) under every
// reader of the stored settings, the frame's, the capture tool's and the recorder's: each falls
// back on its default or gives a value within its range, and none takes the program down.
#include "app/Startup.h"
#include "capture/CaptureLayout.h"
#include "capture/CaptureSettings.h"
#include "general/General.h"
#include "platform/system/Settings.h"
#include "recorder/RecorderSettings.h"
#include "recorder/modWave.h"

#include "support/Damage.h"
#include "support/TempDir.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

#include <random>

namespace {

const QStringList kKivraKeys = {"mdileft", "mditop", "mdiwidth", "mdiheight", "lastfile", "backcolor",
                                "maxframes", "streammaster", "left", "top"};
const QStringList kRecorderKeys = {"Rate", "Channels", "Resolution", "WaveFileName", "WaveAutomaticSave"};

// Points the settings store at a folder of its own, so that every damaged file is read afresh.
class SettingsFolder {
public:
    explicit SettingsFolder(const QString& path) { QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path); }
    ~SettingsFolder()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, qEnvironmentVariable("XDG_CONFIG_HOME"));
    }
};

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Every reader of the stored settings, with what each must give whatever the files hold.
void ReadEverySetting()
{
    StoredPlacement stored;
    auto read = [](const char* key, QString& value, bool& present) {
        value = platform::GetSetting("KIVRA", "preferences", key, "\x01missing");
        present = value != "\x01missing";
    };
    read("mdileft", stored.left, stored.hasLeft);
    read("mditop", stored.top, stored.hasTop);
    read("mdiwidth", stored.width, stored.hasWidth);
    read("mdiheight", stored.height, stored.hasHeight);
    const FramePlacement frame = ComputeFramePlacement(15360, 11520, 9600, 7200, stored);
    EXPECT_GE(frame.left, 0);
    EXPECT_GE(frame.top, 0);
    EXPECT_LE(frame.left, 15360);
    EXPECT_LE(frame.top, 11520);
    ChooseStartupFile("", platform::GetSetting("KIVRA", "preferences", "lastfile"),
                      [](const QString&) { return true; });

    const capture::VidcapSettings vidcap = capture::VidcapSettings::Load();
    const double fps = general::Val(capture::LimitFps(vidcap.fps));
    EXPECT_TRUE(fps >= 1 && fps <= 100) << vidcap.fps.left(80).toStdString();
    EXPECT_GE(capture::MicroSecondsPerFrame(general::Val(vidcap.fps)), 0);
    const capture::CapturePreferences preferences = capture::CapturePreferences::Load();
    EXPECT_TRUE(capture::ColourOfValue(general::Val(preferences.backcolor), Qt::gray).isValid());
    capture::SequenceParameters(vidcap.fps, vidcap.timeLimit, vidcap.seconds, vidcap.captureAudio,
                                preferences.maxframes, preferences.streammaster);
    const double colours = general::Val(capture::LimitColours(capture::PaletteColours()));
    EXPECT_TRUE(colours >= 16 && colours <= 256);
    const QPoint at = capture::OpeningPosition(platform::GetSetting("KIVRA", "preferences", "left"),
                                               platform::GetSetting("KIVRA", "preferences", "top"),
                                               QSize(15000, 11000), QSize(5000, 4000));
    EXPECT_TRUE(at.x() >= 0 && at.x() <= 10000 && at.y() >= 0 && at.y() <= 7000) << at.x() << "," << at.y();

    modWave wave;
    ReadRecorderSettings(wave, DefaultWaveFileName());
}

} // namespace

TEST(DamagedSettings, DamagedFilesGiveDefaultsOrValuesInRange)
{
    TempDir dir;
    QString kivra, recorder;
    {
        SettingsFolder folder(dir.file("good"));
        const QStringList values = {"1200", "900", "9000", "7000", "/home/teacher/tone.wav", "&H404040",
                                    "27000", "AUDIO", "100", "200"};
        for (int k = 0; k < kKivraKeys.size(); ++k)
            platform::SaveSetting("KIVRA", "preferences", kKivraKeys[k], values[k]);
        platform::SaveSetting("KIVRA", "vidcap settings", "fps", "15");
        platform::SaveSetting("KIVRA", "vidcap settings", "seconds", "30");
        platform::SaveSetting("KIVRA", "palette", "numcolors", "256");
        const QStringList recorded = {"22050", "2", "16", "/home/teacher/take.wav", "True"};
        for (int k = 0; k < kRecorderKeys.size(); ++k)
            platform::SaveSetting("VerevIradivez", "StartUp", kRecorderKeys[k], recorded[k]);
        kivra = QSettings(QSettings::IniFormat, QSettings::UserScope, "KIVRA", "KIVRA").fileName();
        recorder = QSettings(QSettings::IniFormat, QSettings::UserScope, "VerevIradivez", "VerevIradivez").fileName();
    }
    const QByteArray goodKivra = ReadAll(kivra), goodRecorder = ReadAll(recorder);
    ASSERT_TRUE(goodKivra.contains("mdiwidth=9000"));
    ASSERT_TRUE(goodRecorder.contains("Rate=22050"));

    std::mt19937 random(20261208);
    for (int i = 0; i < 60; ++i) {
        const QString folder = dir.file(QString("damaged%1").arg(i));
        SettingsFolder store(folder);
        WriteAll(QString(kivra).replace(dir.file("good"), folder), Damaged(goodKivra, i, random));
        WriteAll(QString(recorder).replace(dir.file("good"), folder), Damaged(goodRecorder, i, random));
        SCOPED_TRACE(folder.toStdString());
        ReadEverySetting();
    }
}

TEST(DamagedSettings, HostileValuesGiveDefaultsOrValuesInRange)
{
    TempDir dir;
    const QStringList hostile = {"1e309", "-1e309", "nan", "&HFFFFFFFFFFFFFFFF", "&O7777777777777777777777",
                                 "99999999999999999999", "-2147483649", "4294967296", "", "&H", "1d400",
                                 "-0", "  12abc", QString(5000, '9'), QString(3000, QChar(0x4E2D))};
    for (int i = 0; i < hostile.size(); ++i) {
        SettingsFolder store(dir.file(QString("hostile%1").arg(i)));
        for (const QString& key : kKivraKeys) platform::SaveSetting("KIVRA", "preferences", key, hostile[i]);
        for (const char* key : {"fps", "time limit", "seconds", "cap audio"})
            platform::SaveSetting("KIVRA", "vidcap settings", key, hostile[i]);
        platform::SaveSetting("KIVRA", "palette", "numcolors", hostile[i]);
        for (const QString& key : kRecorderKeys) platform::SaveSetting("VerevIradivez", "StartUp", key, hostile[i]);
        SCOPED_TRACE(hostile[i].left(40).toStdString());
        ReadEverySetting();
    }
}
