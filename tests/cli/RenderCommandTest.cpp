// vellumark-skin render, run as the built binary on skins in temporary folders.
#include "CliTestSupport.h"

#include "GifFile.h"
#include "ReplacementFile.h"
#include "SmallDisk.h"
#include "TestSkin.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class RenderCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo::exists(kExe)) << kExe.toStdString();
        ASSERT_TRUE(out_.isValid());
        skin_.WriteComplete();
    }
    QString Out(const QString& name = QStringLiteral("out.png")) const { return out_.filePath(name); }

    TestSkin skin_;
    QTemporaryDir out_;
};

TEST_F(RenderCommand, AssetsAreCopiedBesideTheExecutable)
{
    for (const QString& name : {QStringLiteral("LangRuvex.txt"), QStringLiteral("statusline.gif")}) {
        QFile built(BinFiles(name));
        QFile source(kSourceDir + QStringLiteral("/assets/Files/") + name);
        ASSERT_TRUE(built.open(QIODevice::ReadOnly)) << name.toStdString();
        ASSERT_TRUE(source.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_EQ(built.readAll(), source.readAll()) << name.toStdString();
    }
}

TEST_F(RenderCommand, AssetsHaveTheirPromisedShape)
{
    const TextLines lang = ReadTextLines(BinFiles(QStringLiteral("LangRuvex.txt")));
    ASSERT_GE(lang.size(), 10u);
    for (std::size_t i = 0; i < 10; ++i)
        EXPECT_FALSE(lang[i].empty()) << i;
    QFile file(BinFiles(QStringLiteral("LangRuvex.txt")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n'));
    EXPECT_TRUE(bytes.endsWith("\r\n"));

    const QImage overlay = LoadGifFile(BinFiles(QStringLiteral("statusline.gif")));
    EXPECT_EQ(overlay.width(), 176);
    EXPECT_LE(overlay.height(), 20);
    int clear = 0, opaque = 0;
    for (int y = 0; y < overlay.height(); ++y)
        for (int x = 0; x < overlay.width(); ++x)
            (qAlpha(overlay.pixel(x, y)) == 0 ? clear : opaque)++;
    EXPECT_GT(opaque, 50);
    EXPECT_GT(clear, opaque); // mostly transparent
}

TEST_F(RenderCommand, DefaultsMatchTheEditorAtStartUp)
{
    const RunResult run = RunCli({QStringLiteral("render"), skin_.Dir(), QStringLiteral("-o"), Out()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    const QImage png = LoadPng(Out());
    ASSERT_EQ(png.size(), QSize(176, 220));
    PreviewSettings startUp;
    startUp.playState = 1;
    startUp.repetition = 0;
    startUp.volumeShown = false;
    EXPECT_EQ(png, RenderInProcess(skin_.Dir(), startUp));
    // Play enabled (8.gif) at the Play position (55, 180) of the reference skin.
    EXPECT_EQ(png.pixel(56, 181), TestPictureColor(8));
    EXPECT_EQ(png.pixel(31, 181), TestPictureColor(2));
}

TEST_F(RenderCommand, SettingsSelectPicturesAndBars)
{
    const RunResult run = RunCli({QStringLiteral("render"), skin_.Dir(), QStringLiteral("-o"), Out(),
                               QStringLiteral("--state"), QStringLiteral("pause"), QStringLiteral("--repeat"),
                               QStringLiteral("all"), QStringLiteral("--volume"), QStringLiteral("7")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage png = LoadPng(Out());
    PreviewSettings settings;
    settings.playState = 2;
    settings.repetition = 1;
    settings.volumeShown = true;
    settings.volumeLevel = 7;
    EXPECT_EQ(png, RenderInProcess(skin_.Dir(), settings));
    EXPECT_EQ(png.pixel(81, 181), TestPictureColor(9));   // Pause enabled
    EXPECT_EQ(png.pixel(56, 181), TestPictureColor(3));   // Play disabled
    EXPECT_EQ(png.pixel(151, 111), TestPictureColor(14)); // RepetitionAll
    EXPECT_EQ(png.pixel(61, 172), qRgb(0, 0, 255));       // volume bar filled
}

TEST_F(RenderCommand, EveryStateRepeatAndVolumeValueIsAccepted)
{
    const QStringList states = {QStringLiteral("backward"), QStringLiteral("play"), QStringLiteral("pause"),
                                QStringLiteral("stop"), QStringLiteral("forward"), QStringLiteral("none")};
    for (int i = 0; i < states.size(); ++i) {
        const RunResult run = RunCli({QStringLiteral("render"), skin_.Dir(), QStringLiteral("-o"), Out(),
                                   QStringLiteral("--state=") + states[i], QStringLiteral("--volume"),
                                   QString::number(i + 4), QStringLiteral("--repeat"), QStringLiteral("one")});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        PreviewSettings settings;
        settings.playState = i < 5 ? i : -1;
        settings.volumeShown = true;
        settings.volumeLevel = i + 4; // 8 and 9 included
        EXPECT_EQ(LoadPng(Out()), RenderInProcess(skin_.Dir(), settings)) << states[i].toStdString();
    }
    const RunResult off = RunCli({QStringLiteral("render"), skin_.Dir(), QStringLiteral("--volume"), QStringLiteral("off"),
                               QStringLiteral("--output"), Out()});
    ASSERT_EQ(off.exitCode, 0) << off.err.toStdString();
    EXPECT_EQ(LoadPng(Out()), RenderInProcess(skin_.Dir(), PreviewSettings{}));
}

TEST_F(RenderCommand, NeverWritesIntoTheSkinFolder)
{
    const auto before = FolderState(skin_.Dir());
    const RunResult run = RunCli({QStringLiteral("render"), skin_.Dir(), QStringLiteral("-o"), Out()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(FolderState(skin_.Dir()), before);
}

TEST_F(RenderCommand, MissingPicturesLeaveEmptySlots)
{
    QFile::remove(skin_.Path(QStringLiteral("8.gif")));
    const RunResult run = RunCli({QStringLiteral("render"), skin_.Dir(), QStringLiteral("-o"), Out()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage png = LoadPng(Out());
    EXPECT_EQ(png.pixel(56, 181), qRgb(0xC0, 0xC0, 0xC0)); // the Background shows
}

TEST_F(RenderCommand, TextsAndOverlayCanBeGiven)
{
    const OwnAssets assets;
    const QString& texts = assets.texts;
    const QString& overlay = assets.overlay;
    const RunResult run = RunCli({QStringLiteral("render"), skin_.Dir(), QStringLiteral("-o"), Out(),
                               QStringLiteral("--texts"), texts, QStringLiteral("--overlay"), overlay});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage png = LoadPng(Out());
    EXPECT_EQ(png, RenderInProcess(skin_.Dir(), PreviewSettings{}, texts, overlay));
    EXPECT_EQ(png.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(png.pixel(175, 13), qRgb(255, 0, 0));
    EXPECT_NE(png, RenderInProcess(skin_.Dir(), PreviewSettings{}));
}

TEST_F(RenderCommand, ShortTextsFileIsNoError)
{
    QTemporaryDir assets;
    const QString texts = assets.filePath(QStringLiteral("texts.txt"));
    WriteTextLines(texts, {"only one"});
    const RunResult run = RunCli({QStringLiteral("render"), skin_.Dir(), QStringLiteral("-o"), Out(),
                               QStringLiteral("--texts"), texts});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(LoadPng(Out()), RenderInProcess(skin_.Dir(), PreviewSettings{}, texts));
}

TEST_F(RenderCommand, SkinWithoutStatusLineNamesTheMissingLine)
{
    std::vector<std::string> lines = ReferenceSkinLines();
    lines.pop_back(); // "StatusLine = 1"
    skin_.WriteDescription(lines);
    const RunResult run = RunCli({QStringLiteral("render"), skin_.Dir(), QStringLiteral("-o"), Out()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.toStdString(), "vellumark-skin: Ruvex.rvk: no line for \"StatusLine\" "
                                     "(vellumark-skin check SKIN_DIR lists every problem).\n");
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Out()));
    EXPECT_TRUE(QDir(out_.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(RenderCommand, BadNumberSaysWhereAndGetsAFullStop)
{
    std::vector<std::string> lines = ReferenceSkinLines();
    lines.back() = "StatusLine = on";
    skin_.WriteDescription(lines);
    const RunResult run = RunCli({QStringLiteral("render"), skin_.Dir(), QStringLiteral("-o"), Out()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.toStdString(), "vellumark-skin: Ruvex.rvk:" + std::to_string(lines.size())
                                     + ": \"StatusLine\": 'on' is not a valid integer value.\n");
    EXPECT_FALSE(QFileInfo::exists(Out()));
}

TEST_F(RenderCommand, MissingDescriptionFileFails)
{
    QTemporaryDir empty;
    const RunResult run = RunCli({QStringLiteral("render"), empty.path(), QStringLiteral("-o"), Out()});
    EXPECT_EQ(run.exitCode, 1);
    const std::string err = run.err.toStdString();
    EXPECT_EQ(err.rfind("vellumark-skin: Cannot open file \"", 0), 0u) << err;
    EXPECT_NE(err.find("Ruvex.rvk"), std::string::npos) << err;
    EXPECT_EQ(err.substr(err.size() - 2), ".\n") << err;
    EXPECT_FALSE(QFileInfo::exists(Out()));
}

TEST_F(RenderCommand, UndecodablePictureFails)
{
    skin_.WriteBytes(QStringLiteral("5.gif"), "not a gif");
    const RunResult run = RunCli({QStringLiteral("render"), skin_.Dir(), QStringLiteral("-o"), Out()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.indexOf("5.gif"), -1) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Out()));
}

// A link that loops, or leads nowhere, is a picture file that cannot be read, not a
// missing one: render and sheet refuse it with check's reason and exit status.
TEST_F(RenderCommand, APictureLinkThatLoopsOrLeadsNowhereIsRefusedAsCheckRefusesIt)
{
    const QString picture = skin_.Path(QStringLiteral("3.gif"));
    const struct {
        QString target;
        const char* reason;
    } links[] = {{picture, "Too many levels of symbolic links"}, {Out(QStringLiteral("none.gif")), "No such file or directory"}};
    for (const auto& link : links) {
        QFile::remove(picture);
        ASSERT_TRUE(QFile::link(link.target, picture));
        const std::string error = "Cannot open file \"" + picture.toStdString() + "\". " + link.reason;
        const RunResult check = RunCli({QStringLiteral("check"), skin_.Dir()});
        EXPECT_EQ(check.exitCode, 1);
        EXPECT_NE(check.out.indexOf(QByteArray::fromStdString("3.gif: " + error + "\n")), -1) << check.out.toStdString();
        for (const QString& command : {QStringLiteral("render"), QStringLiteral("sheet")}) {
            const RunResult run = RunCli({command, skin_.Dir(), QStringLiteral("-o"), Out()});
            EXPECT_EQ(run.exitCode, check.exitCode) << command.toStdString();
            EXPECT_EQ(run.err.toStdString(), "vellumark-skin: " + error + ".\n");
            EXPECT_FALSE(QFileInfo::exists(Out()));
        }
    }
}

TEST_F(RenderCommand, MissingAssetFails)
{
    const RunResult texts = RunCli({QStringLiteral("render"), skin_.Dir(), QStringLiteral("-o"), Out(),
                                 QStringLiteral("--texts"), out_.filePath(QStringLiteral("none.txt"))});
    EXPECT_EQ(texts.exitCode, 1);
    EXPECT_TRUE(texts.err.startsWith("vellumark-skin: Cannot open file \"")) << texts.err.toStdString();
    const RunResult overlay = RunCli({QStringLiteral("render"), skin_.Dir(), QStringLiteral("-o"), Out(),
                                   QStringLiteral("--overlay"), out_.filePath(QStringLiteral("none.gif"))});
    EXPECT_EQ(overlay.exitCode, 1);
    EXPECT_TRUE(overlay.err.startsWith("vellumark-skin: Cannot open file \"")) << overlay.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Out()));
}

TEST_F(RenderCommand, UnwritableOutputFails)
{
    const QString out = out_.filePath(QStringLiteral("no/such/folder/out.png"));
    const RunResult run = RunCli({QStringLiteral("render"), skin_.Dir(), QStringLiteral("-o"), out});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith("vellumark-skin: Cannot create file \"")) << run.err.toStdString();
    EXPECT_TRUE(run.err.endsWith("\n"));
}

// In a shared folder (sticky and writable by all, as /tmp) a link is followed only
// where the system would follow it: when it is the user's own or the folder owner's.
// Otherwise another user could plant preview.png there to have the victim's own file
// replaced with a PNG. A link that leads nowhere is refused anywhere: it would create
// a file of the link maker's choosing. Nothing outside changes, links included.
TEST_F(RenderCommand, LinksAnotherUserPlantedInASharedFolderAreNotFollowed)
{
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || nobody == nullptr)
        GTEST_SKIP() << "needs root to make links owned by another user";
    QTemporaryDir victimDir;
    QTemporaryDir sharedDir;
    const QString victim = victimDir.filePath(QStringLiteral("notes.txt"));
    const QString shared = sharedDir.path() + QStringLiteral("/shared");
    WriteFileReplacing(victim, "my notes\n");
    WriteFileReplacing(victimDir.filePath(QStringLiteral("plan.txt")), "my plan\n");
    ASSERT_TRUE(QFile::link(QStringLiteral("notes.txt"), victimDir.filePath(QStringLiteral("notes.lnk"))));
    ASSERT_TRUE(QDir().mkpath(shared));
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 01777), 0);
    const auto plant = [&](const QString& name, const QString& target, bool theirs) {
        const QString link = shared + QLatin1Char('/') + name;
        ASSERT_TRUE(QFile::link(target, link));
        if (theirs) {
            ASSERT_EQ(::lchown(QFile::encodeName(link).constData(), nobody->pw_uid, nobody->pw_gid), 0);
        }
    };
    plant(QStringLiteral("preview.png"), victim, true);
    plant(QStringLiteral("start.png"), victimDir.filePath(QStringLiteral(".start.png")), true);
    plant(QStringLiteral("theirs.png"), victim, true);
    plant(QStringLiteral("mine.png"), QStringLiteral("theirs.png"), false);
    ASSERT_TRUE(QFile::link(victimDir.filePath(QStringLiteral("new.png")), Out(QStringLiteral("nowhere.png"))));
    const auto before = DiskState(victimDir.path());
    const auto sharedBefore = DiskState(shared);

    const std::string planted = "It is a link in a shared folder (sticky, writable by all) made by another user: it is not followed.";
    const struct {
        QString output;
        std::string reason;
    } refused[] = {
        {shared + QStringLiteral("/preview.png"), planted},
        {shared + QStringLiteral("/start.png"), planted},
        {shared + QStringLiteral("/mine.png"), "It leads through \"" + shared.toStdString() + "/theirs.png\", a link in a shared "
                                                 "folder (sticky, writable by all) made by another user: it is not followed."},
        {Out(QStringLiteral("nowhere.png")),
         "It is a link to \"" + victimDir.filePath(QStringLiteral("new.png")).toStdString() + "\", which does not exist."},
    };
    for (const auto& output : refused) {
        const RunResult run = RunCli({QStringLiteral("render"), skin_.Dir(), QStringLiteral("-o"), output.output});
        EXPECT_EQ(run.exitCode, 1) << output.output.toStdString();
        EXPECT_EQ(run.err.toStdString(),
                  "vellumark-skin: Cannot create file \"" + output.output.toStdString() + "\". " + output.reason + "\n");
    }
    EXPECT_EQ(DiskState(victimDir.path()), before);
    EXPECT_EQ(DiskState(shared), sharedBefore);

    // The user's own link there is followed.
    plant(QStringLiteral("own.png"), Out(), false);
    WriteFileReplacing(Out(), "old");
    const RunResult own = RunCli({QStringLiteral("render"), skin_.Dir(), QStringLiteral("-o"), shared + QStringLiteral("/own.png")});
    EXPECT_EQ(own.exitCode, 0) << own.err.toStdString();
    EXPECT_FALSE(LoadPng(Out()).isNull());
    EXPECT_TRUE(QFileInfo(shared + QStringLiteral("/own.png")).isSymLink());
}

// A full disk (a small file system filled up, or a file-size limit where none can
// be mounted) fails the command with the system's reason and keeps the old PNG.
// Under the limit the program must not die of SIGXFSZ either.
TEST_F(RenderCommand, AShortWriteFailsAndKeepsTheOldPng)
{
    QTemporaryDir diskDir;
    SmallDisk disk(diskDir.path(), 64 * 1024);
    const QString out = diskDir.filePath(QStringLiteral("out.png"));
    {
        QFile old(out);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old png");
    }
    RunResult run;
    if (disk.Mounted()) {
        QFile filler(diskDir.filePath(QStringLiteral("filler")));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
        filler.close();
        run = RunCli({QStringLiteral("render"), skin_.Dir(), QStringLiteral("-o"), out});
    } else {
        run = RunCli({QStringLiteral("-c"), QStringLiteral("ulimit -f 1; exec \"$0\" \"$@\""), kExe, QStringLiteral("render"),
                      skin_.Dir(), QStringLiteral("-o"), out},
                     QStringLiteral("/bin/sh"));
    }
    const QString reason = disk.Mounted() ? QStringLiteral("No space left on device") : QStringLiteral("File too large");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(QString::fromLocal8Bit(run.err),
              QStringLiteral("vellumark-skin: Cannot create file \"") + out + QStringLiteral("\". ") + reason
                  + QStringLiteral(".\n"));
    QFile kept(out);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("old png"));
    QStringList expected{QStringLiteral("out.png")};
    if (disk.Mounted())
        expected << QStringLiteral("filler");
    expected.sort();
    EXPECT_EQ(QDir(diskDir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name), expected);
}

TEST_F(RenderCommand, ASymlinkToTheProgramStillFindsTheAssets)
{
    const QString link = out_.filePath(QStringLiteral("vellumark-skin"));
    ASSERT_TRUE(QFile::link(kExe, link));
    const RunResult run = RunCli({QStringLiteral("render"), skin_.Dir(), QStringLiteral("-o"), Out()}, link);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(LoadPng(Out()), RenderInProcess(skin_.Dir(), PreviewSettings{}));
}

TEST_F(RenderCommand, AnUnreachableDisplayDoesNotMatter)
{
    const RunResult run = RunCli({QStringLiteral("render"), skin_.Dir(), QStringLiteral("-o"), Out()}, kExe,
                              {{QStringLiteral("DISPLAY"), QStringLiteral(":93")}});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(LoadPng(Out()), RenderInProcess(skin_.Dir(), PreviewSettings{}));
}

TEST_F(RenderCommand, ScaleRepeatsEachPixelAsABlock)
{
    const RunResult plain = RunCli({QStringLiteral("render"), skin_.Dir(), QStringLiteral("-o"), Out(),
                                    QStringLiteral("--state"), QStringLiteral("stop")});
    ASSERT_EQ(plain.exitCode, 0) << plain.err.toStdString();
    const QImage once = LoadPng(Out());
    for (int scale : {2, 8}) {
        const QString scaled = Out(QStringLiteral("scaled.PNG"));
        const RunResult run = RunCli({QStringLiteral("render"), skin_.Dir(), QStringLiteral("-o"), scaled,
                                      QStringLiteral("--scale"), QString::number(scale), QStringLiteral("--state"),
                                      QStringLiteral("stop")});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(LoadPng(scaled), Replicated(once, scale)) << scale;
    }
}

TEST_F(RenderCommand, SkinDirMayBeTheDescriptionFile)
{
    const RunResult run = RunCli({QStringLiteral("render"), skin_.Path(QStringLiteral("Ruvex.rvk")),
                                  QStringLiteral("-o"), Out()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(LoadPng(Out()), RenderInProcess(skin_.Dir(), PreviewSettings{}));
}

TEST_F(RenderCommand, MissingSkinFolderIsNamedAsSuch)
{
    const QString absent = out_.filePath(QStringLiteral("absent"));
    for (const QString& command : {QStringLiteral("render"), QStringLiteral("sheet")}) {
        const RunResult run = RunCli({command, absent, QStringLiteral("-o"), Out()});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err.toStdString(), "vellumark-skin: No such folder \"" + absent.toStdString() + "\".\n");
        EXPECT_FALSE(QFileInfo::exists(Out()));
    }
}

TEST_F(RenderCommand, ExampleSkinRendersWhenPresent)
{
    if (!QFileInfo::exists(kExampleSkin + QStringLiteral("/Ruvex.rvk")))
        GTEST_SKIP() << "no example skin";
    const RunResult run = RunCli({QStringLiteral("render"), kExampleSkin, QStringLiteral("-o"), Out()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(LoadPng(Out()), RenderInProcess(kExampleSkin, PreviewSettings{}));
}

// ---- Usage ---------------------------------------------------------------------------

TEST(RenderUsage, HelpAndVersionGoToStdoutAndSucceed)
{
    const QString full = QStringLiteral("Usage: vellumark-skin [options] COMMAND [ARGS...]");
    const QString render = QStringLiteral("Usage: vellumark-skin render [options] SKIN_DIR");
    const QString check = QStringLiteral("Usage: vellumark-skin check [options] SKIN_DIR");
    const struct {
        QStringList args;
        QString begins;
        std::vector<const char*> holds;
        std::vector<const char*> lacks;
    } cases[] = {
        {{QStringLiteral("--help")}, full, {"render  ", "sheet  ", "check  ", "Exit status"}, {"--overlay"}},
        {{QStringLiteral("-h")}, full, {"check  "}, {}},
        {{QStringLiteral("help")}, full, {"check  "}, {}},
        {{QStringLiteral("render"), QStringLiteral("--help")}, render, {"--state <STATE>", "--scale <N>", "SKIN_DIR  "}, {"--quiet"}},
        {{QStringLiteral("render"), QStringLiteral("--bad"), QStringLiteral("-h")}, render, {"--state <STATE>"}, {}},
        {{QStringLiteral("sheet"), QStringLiteral("x"), QStringLiteral("-h")},
         QStringLiteral("Usage: vellumark-skin sheet [options] SKIN_DIR"), {"--volume <N|off>", "--scale <N>"}, {"--state", "--quiet"}},
        {{QStringLiteral("check"), QStringLiteral("--help")}, check, {"-q, --quiet", "--strict", "--texts <FILE|long|short>"}, {"--overlay", "render"}},
        {{QStringLiteral("help"), QStringLiteral("check")}, check, {"-q, --quiet"}, {"--overlay"}},
        {{QStringLiteral("--version")}, QStringLiteral("vellumark-skin " VELLUMARK_VERSION "\n"), {}, {"Usage"}},
    };
    for (const auto& c : cases) {
        const std::string command = c.args.join(QLatin1Char(' ')).toStdString();
        const RunResult run = RunCli(c.args);
        EXPECT_EQ(run.exitCode, 0) << command;
        EXPECT_TRUE(run.out.startsWith(c.begins.toUtf8())) << command << "\n" << run.out.toStdString();
        for (const char* text : c.holds)
            EXPECT_NE(run.out.indexOf(text), -1) << command << ": " << text;
        for (const char* text : c.lacks)
            EXPECT_EQ(run.out.indexOf(text), -1) << command << ": " << text;
        EXPECT_TRUE(run.err.isEmpty()) << command;
    }
}

// Qt's wrapping of an option's description lost its last word once ("N from 1
// (default) to"): each description is read whole, over its wrapped lines.
TEST(RenderUsage, HelpKeepsEveryWordOfAWrappedDescription)
{
    for (const char* command : {"render", "sheet"}) {
        const RunResult run = RunCli({QString::fromLatin1(command), QStringLiteral("--help")});
        const QString words = QString::fromUtf8(run.out).simplified();
        EXPECT_TRUE(words.contains("--scale <N> each pixel as an NxN block, N from 1 to 8 (default 1) --texts")) << command;
    }
    const QString sheet = QString::fromUtf8(RunCli({QStringLiteral("sheet"), QStringLiteral("--help")}).out).simplified();
    EXPECT_TRUE(sheet.contains("--volume <N|off> volume bar: shown at level N (0 to 9, default 5), or off --scale")) << sheet.toStdString();
}

TEST(RenderUsage, WrongUsagePrintsTheUsageAndExitsTwo)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.png"));
    const std::vector<QStringList> cases = {
        {},
        {QStringLiteral("paint")},
        {QStringLiteral("render")},
        {QStringLiteral("render"), dir.path()},
        {QStringLiteral("render"), QStringLiteral("-o"), out},
        {QStringLiteral("render"), dir.path(), QStringLiteral("-o")},
        {QStringLiteral("render"), dir.path(), dir.path(), QStringLiteral("-o"), out},
        {QStringLiteral("render"), dir.path(), QStringLiteral("-o"), out, QStringLiteral("--state"), QStringLiteral("Play")},
        {QStringLiteral("render"), dir.path(), QStringLiteral("-o"), out, QStringLiteral("--state"), QStringLiteral("1")},
        {QStringLiteral("render"), dir.path(), QStringLiteral("-o"), out, QStringLiteral("--repeat"), QStringLiteral("two")},
        {QStringLiteral("render"), dir.path(), QStringLiteral("-o"), out, QStringLiteral("--volume"), QStringLiteral("10")},
        {QStringLiteral("render"), dir.path(), QStringLiteral("-o"), out, QStringLiteral("--volume"), QStringLiteral("-1")},
        {QStringLiteral("render"), dir.path(), QStringLiteral("-o"), out, QStringLiteral("--volume"), QStringLiteral("on")},
        {QStringLiteral("render"), dir.path(), QStringLiteral("-o"), out, QStringLiteral("--colour"), QStringLiteral("x")},
        {QStringLiteral("render"), dir.path(), QStringLiteral("-o"), out, QStringLiteral("--texts")},
    };
    for (const QStringList& args : cases) {
        ExpectUsageError(args);
        EXPECT_FALSE(QFileInfo::exists(out));
    }
}

TEST(RenderUsage, ScaleOutputNameAndOptionsAreChecked)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.png"));
    const QStringList job = {QStringLiteral("render"), dir.path(), QStringLiteral("-o"), out};
    const QStringList sheet = {QStringLiteral("sheet"), dir.path(), QStringLiteral("-o"), out};
    const struct {
        QStringList args;
        const char* reason;
    } cases[] = {
        {job + QStringList{QStringLiteral("--scale"), QStringLiteral("0")}, "--scale \"0\""},
        {job + QStringList{QStringLiteral("--scale=9")}, "--scale \"9\""},
        {job + QStringList{QStringLiteral("--scale"), QStringLiteral("x")}, "--scale \"x\""},
        {sheet + QStringList{QStringLiteral("--scale"), QStringLiteral("0")}, "--scale \"0\""},
        {sheet + QStringList{QStringLiteral("--scale"), QStringLiteral("9")}, "--scale \"9\""},
        {sheet + QStringList{QStringLiteral("--scale"), QStringLiteral("x")}, "--scale \"x\""},
        {{QStringLiteral("render"), dir.path(), QStringLiteral("-o"), dir.filePath(QStringLiteral("out.gif"))}, ".png"},
        {{QStringLiteral("sheet"), dir.path(), QStringLiteral("-o"), dir.filePath(QStringLiteral("out"))}, ".png"},
        {job + QStringList{QStringLiteral("--output"), dir.filePath(QStringLiteral("two.png"))}, "-o"},
        {sheet + QStringList{QStringLiteral("-o"), out}, "-o"},
        // The parser's own words, whatever they are, name what was typed.
        {{QStringLiteral("--bogus")}, "bogus"},
        {{QStringLiteral("render"), dir.path(), QStringLiteral("-o"), out, QStringLiteral("-x")}, "'x'"},
        {{QStringLiteral("render"), dir.path(), QStringLiteral("-o")}, "'-o'"},
        {{QStringLiteral("check"), dir.path(), QStringLiteral("--quiet=yes")}, "--quiet"},
    };
    for (const auto& c : cases)
        ExpectUsageError(c.args, c.reason);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

} // namespace
