// vellumark-skin colours and recolour, run as the built binary.
#include "CliTestSupport.h"

#include "SkinColors.h"
#include "TestSkin.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// colour -> pixels, from colours' table.
std::map<QRgb, std::string> PaletteOf(const QString& dir)
{
    const RunResult result = RunCli({QStringLiteral("colours"), dir});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    std::map<QRgb, std::string> palette;
    const QList<QByteArray> lines = result.out.split('\n');
    EXPECT_EQ(lines.front(), "colour\tuses\tpixels");
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        const QList<QByteArray> cells = lines[i].split('\t');
        EXPECT_EQ(cells.size(), 3);
        palette[*ParseColorName(cells[0].toStdString())] = cells[1].toStdString();
    }
    return palette;
}

void CopySkin(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(from + "/" + name, to + "/" + name));
}

TEST(RecolorCommand, HueThereAndBackKeepsTheSkinAndNamesWhatLostChroma)
{
    QTemporaryDir temp;
    const QString there = temp.filePath("there");
    const QString back = temp.filePath("back");
    const auto before = FolderState(kExampleSkin);
    const RunResult first = RunCli({"recolour", kExampleSkin, "-o", there, "--hue", "120"});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_NE(first.out.indexOf("lost chroma to fit into sRGB: #F2B134"), -1) << first.out.toStdString();
    EXPECT_EQ(FolderState(kExampleSkin), before);
    const RunResult second = RunCli({"recolour", there, "-o", back, "--hue", "-120"});
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();

    const auto original = PaletteOf(kExampleSkin);
    const auto returned = PaletteOf(back);
    ASSERT_EQ(original.size(), returned.size());
    int kept = 0;
    for (const auto& [color, uses] : original) {
        if (color == qRgb(0xF2, 0xB1, 0x34))
            continue;
        // The same uses under a colour within one per channel.
        const auto same = std::find_if(returned.begin(), returned.end(), [&](const auto& entry) {
            return std::abs(qRed(entry.first) - qRed(color)) <= 1 && std::abs(qGreen(entry.first) - qGreen(color)) <= 1
                   && std::abs(qBlue(entry.first) - qBlue(color)) <= 1;
        });
        ASSERT_NE(same, returned.end()) << ColorName(color);
        EXPECT_EQ(same->second, uses) << ColorName(color);
        ++kept;
    }
    EXPECT_EQ(kept, static_cast<int>(original.size()) - 1);
}

TEST(RecolorCommand, CheckFindsTheSameProblemsAfterARecolor)
{
    QTemporaryDir temp;
    const QString broken = temp.filePath("broken");
    CopySkin(kExampleSkin, broken);
    // A number that is none, a colour too short to be one, and a picture that is no GIF.
    QFile description(broken + "/Ruvex.rvk");
    ASSERT_TRUE(description.open(QIODevice::ReadOnly));
    QByteArray text = description.readAll();
    description.close();
    text.replace("Album = 88 76 17", "Album = 88 7x6 17");
    text.replace("VolumeBar = 60 146 56 8 0xF2B13400", "VolumeBar = 60 146 56 8 0xF2B1");
    ASSERT_TRUE(description.open(QIODevice::WriteOnly | QIODevice::Truncate));
    description.write(text);
    description.close();
    QFile picture(broken + "/5.gif");
    ASSERT_TRUE(picture.open(QIODevice::WriteOnly | QIODevice::Truncate));
    picture.write("not a picture");
    picture.close();

    const RunResult original = RunCli({"check", broken});
    EXPECT_EQ(original.exitCode, 1);
    for (const QStringList& edition : {QStringList{"--hue", "200", "--chroma", "1.5"},
                                       QStringList{"--lightness", "0.4", "--neutrals", "--map", "101C2E=FF0000"}}) {
        const QString out = temp.filePath("out");
        const RunResult recolor = RunCli(QStringList{"recolour", broken, "-o", out} + edition);
        ASSERT_EQ(recolor.exitCode, 0) << recolor.err.toStdString();
        const RunResult again = RunCli({"check", out});
        EXPECT_EQ(again.exitCode, original.exitCode);
        EXPECT_EQ(again.out, original.out);
    }
}

TEST(RecolorCommand, OutputThatCannotBeWrittenIsAnErrorAndWritesNothing)
{
    QTemporaryDir temp;
    const QString file = temp.filePath("file");
    QFile(file).open(QIODevice::WriteOnly);
    const auto before = FolderState(temp.path());
    const auto skin = FolderState(kExampleSkin);
    for (const QString& out : {file + "/skin", kExampleSkin}) {
        const RunResult result = RunCli({"recolour", kExampleSkin, "-o", out, "--hue", "30"});
        EXPECT_EQ(result.exitCode, 1) << out.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.startsWith("vellumark-skin: ")) << result.err.toStdString();
    }
    EXPECT_EQ(FolderState(temp.path()), before);
    EXPECT_EQ(FolderState(kExampleSkin), skin);
    ExpectUsageError({"recolour", kExampleSkin, "-o", temp.filePath("x"), "--map", "12345=123456"}, "--map");
    ExpectUsageError({"recolour", kExampleSkin}, "-o OUT_DIR");
}

} // namespace
