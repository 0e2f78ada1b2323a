#include "imaging/file/SaveFormat.h"
#include "imaging/file/SavePicture.h"
#include "imaging/file/SaveTarget.h"

#include <QSet>
#include <gtest/gtest.h>

TEST(SaveTypeFilter, ElevenTenCharacterEntriesWhoseTypeWordsHaveFormats)
{
    EXPECT_STREQ(savetypefilter,
                 "JPG|*.JPG|GIF|*.GIF|BMP|*.BMP|PNG|*.PNG|TIF|*.TIF|TGA|*.TGA|PPM|*.PPM|PGM|*.PGM|"
                 "PBM|*.PBM|ICO|*.ICO|ALL|*.*");
    const QStringList parts = QString::fromLatin1(savetypefilter).split('|');
    ASSERT_EQ(parts.size(), 2 * SaveTypeEntries);
    QSet<QString> words;
    for (int k = 1; k <= SaveTypeEntries; ++k) {
        const QString word = SaveTypeWordOfEntry(k);
        // The word at position 10k-9 is the entry's description, and its pattern matches it.
        EXPECT_EQ(word, parts[2 * (k - 1)]) << k;
        if (k < SaveTypeEntries) {
            EXPECT_EQ(parts[2 * k - 1], "*." + word);
            EXPECT_NE(FindSaveFormat(word), nullptr) << word.toStdString();
            words.insert(word);
        }
    }
    EXPECT_EQ(words.size(), 10);
    EXPECT_EQ(SaveTypeWordOfEntry(11), "ALL");
    EXPECT_EQ(FindSaveFormat(u"ALL"), nullptr);
    EXPECT_EQ(FindSaveFormat(u"jpg"), FindSaveFormat(u"JPG"));
    EXPECT_EQ(SaveTypeWordOfEntry(0), "");
    EXPECT_EQ(SaveTypeWordOfEntry(12), "");
}

TEST(SaveTargetOf, AFilterEntryGivesTheTypeAndAnExtensionOnlyWhenTheNameHasNone)
{
    SaveTarget t = SaveTargetOf(1, "/tmp/out/picture");
    EXPECT_EQ(t.typeWord, "JPG");
    EXPECT_EQ(t.path, "/tmp/out/picture.JPG");

    t = SaveTargetOf(1, "/tmp/out/picture.png");   // JPEG data under the name the user typed
    EXPECT_EQ(t.typeWord, "JPG");
    EXPECT_EQ(t.path, "/tmp/out/picture.png");

    t = SaveTargetOf(4, "/tmp/out/graph");
    EXPECT_EQ(t.typeWord, "PNG");
    EXPECT_EQ(t.path, "/tmp/out/graph.PNG");

    // A dot in a folder name is not the file's extension.
    t = SaveTargetOf(10, "/home/me/v1.2/icon");
    EXPECT_EQ(t.typeWord, "ICO");
    EXPECT_EQ(t.path, "/home/me/v1.2/icon.ICO");
}

TEST(SaveTargetOf, OutsideTheListTheNameEndsGiveTheType)
{
    for (int k : {0, -1, 12}) {
        const SaveTarget t = SaveTargetOf(k, "/tmp/shot.tif");
        EXPECT_EQ(t.typeWord, "TIF");
        EXPECT_EQ(t.path, "/tmp/shot.tif");
    }
    EXPECT_EQ(SaveTargetOf(0, "/tmp/photo.jpeg").typeWord, "PEG");
    EXPECT_EQ(SaveTargetOf(0, "/tmp/picture").typeWord, "URE");
    EXPECT_EQ(SaveTargetOf(0, "ab").typeWord, "AB");
}

TEST(JpegQualityOf, ReadsTheLeadingNumberClampsItAndFallsBackTo85)
{
    EXPECT_EQ(JpegQualityOf("40"), 40);
    EXPECT_EQ(JpegQualityOf(" 95"), 95);
    EXPECT_EQ(JpegQualityOf("70%"), 70);
    EXPECT_EQ(JpegQualityOf("72.5"), 72);   // halves to even
    EXPECT_EQ(JpegQualityOf(".9"), 1);
    EXPECT_EQ(JpegQualityOf("0"), 0);
    EXPECT_EQ(JpegQualityOf("150"), 100);
    EXPECT_EQ(JpegQualityOf("-5"), 0);
    EXPECT_EQ(JpegQualityOf("1E300"), 100);
    EXPECT_EQ(JpegQualityOf("&H32"), 50);
    EXPECT_EQ(JpegQualityOf("abc"), 85);
    EXPECT_EQ(JpegQualityOf(""), 85);
    EXPECT_EQ(JpegQualityOf("-"), 85);
}

TEST(ProposedSaveName, NeverTheSourceNorAnyTakenBaseName)
{
    // The source's base name with the first free number, without an extension.
    EXPECT_EQ(ProposedSaveName("/lab/t1.png", {"t1.png"}), "/lab/t1_1");
    // Taken in any case and with any extension, also a file with no extension at all.
    EXPECT_EQ(ProposedSaveName("/lab/t1.png", {"t1.png", "T1_1.JPG", "t1_2", "t1_3.tar.gz"}), "/lab/t1_4");
    // Names that only begin alike take nothing.
    EXPECT_EQ(ProposedSaveName("/lab/t1.png", {"t1_10.png", "t1_1x.png"}), "/lab/t1_1");
    // A name of several dots keeps all but its extension; a name with a leading dot only keeps it all.
    EXPECT_EQ(ProposedSaveName("/lab/a.b.jpg", {}), "/lab/a.b_1");
    EXPECT_EQ(ProposedSaveName("/lab/.hidden", {}), "/lab/.hidden_1");
    EXPECT_EQ(ProposedSaveName("/lab/noext", {"noext"}), "/lab/noext_1");
    // A dot in a folder name is no extension.
    EXPECT_EQ(ProposedSaveName("/lab/v1.2/graph", {}), "/lab/v1.2/graph_1");
    EXPECT_EQ(ProposedSaveName("", {}), "");
    // Whatever the folder holds, the proposal is never the source itself.
    for (const QString& source : {QString("/lab/t1_1"), QString("/lab/t1_1.png")})
        EXPECT_NE(ProposedSaveName(source, {"t1_1", "t1_1.png"}), source);
}
