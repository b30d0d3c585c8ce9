// vellumark-skin import: the GIF it writes, the line it prints, what it refuses.
#include "CliTestSupport.h"
#include "GifDecoder.h"
#include "GifWriter.h"
#include "TestImages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class ImportCommand : public ::testing::Test {
protected:
    QString In(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir_;
};

} // namespace

TEST_F(ImportCommand, WritesTheGifAndPrintsOneLine)
{
    ASSERT_TRUE(PixelArt().save(In("art.png")));
    const RunResult run = RunCli({QStringLiteral("import"), In("art.png"), QStringLiteral("-o"), In("12.gif")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.toStdString(), "colours 116 -> 116, largest error 0.0000, mean error 0.0000 (OKLab), "
                                     "transparent pixels 0\n");
    EXPECT_EQ(DecodeGif(ReadAll(In("12.gif"))).convertToFormat(QImage::Format_ARGB32), PixelArt().convertToFormat(QImage::Format_ARGB32));

    ASSERT_TRUE(NoiseField().save(In("noise.bmp")));
    const RunResult few = RunCli({QStringLiteral("import"), In("noise.bmp"), QStringLiteral("-o"), In("3.gif"),
                                  QStringLiteral("--colours"), QStringLiteral("16"), QStringLiteral("--dither")});
    ASSERT_EQ(few.exitCode, 0) << few.err.toStdString();
    EXPECT_TRUE(few.out.startsWith("colours 38586 -> 16, largest error ")) << few.out.toStdString();
}

TEST_F(ImportCommand, PaletteKeepsItsOrderAndTransparentIndex)
{
    // Six colours, the transparent one at index 2 between them.
    GifSpec palette = SolidGif(2, 2, qRgb(0, 0, 0));
    palette.palette = {qRgb(250, 250, 250), qRgb(200, 0, 0), qRgb(9, 9, 9), qRgb(0, 0, 200),
                       qRgb(0, 200, 0), qRgb(20, 20, 20), qRgb(20, 20, 20), qRgb(20, 20, 20)};
    palette.transparentIndex = 2;
    WriteGifFile(In("old.gif"), palette);
    QImage picture(3, 2, QImage::Format_ARGB32);
    const QRgb pixels[] = {qRgb(240, 10, 10), qRgba(0, 0, 0, 20), qRgb(10, 10, 240),
                           qRgb(255, 255, 255), qRgb(30, 220, 40), qRgb(12, 12, 12)};
    for (int i = 0; i < 6; ++i)
        picture.setPixel(i % 3, i / 3, pixels[i]);
    ASSERT_TRUE(picture.save(In("new.png")));

    const RunResult run = RunCli({QStringLiteral("import"), In("new.png"), QStringLiteral("-o"), In("12.gif"),
                                  QStringLiteral("--palette"), In("old.gif")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    GifColors written;
    const QImage read = DecodeGif(ReadAll(In("12.gif")), &written);
    EXPECT_EQ(written.table, palette.palette);
    EXPECT_EQ(written.transparent, 2);
    const QRgb expected[] = {qRgb(200, 0, 0), 0u, qRgb(0, 0, 200), qRgb(250, 250, 250), qRgb(0, 200, 0),
                             qRgb(20, 20, 20)};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(read.pixel(i % 3, i / 3), expected[i]) << i; // nearest, never the transparent 9,9,9
}

TEST_F(ImportCommand, RefusesBrokenOrOversizedPicturesAndWritesNothing)
{
    QFile broken(In("broken.png"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\x89PNG\r\n\x1a\n and then nothing a reader can use");
    broken.close();
    QImage(1025, 8, QImage::Format_RGB32).save(In("wide.png"));
    const auto before = FolderState(dir_.path());
    for (const char* name : {"broken.png", "wide.png", "missing.png"}) {
        const RunResult run = RunCli({QStringLiteral("import"), In(name), QStringLiteral("-o"), In("1.gif")});
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains(In(name).toUtf8())) << run.err.toStdString();
        if (QByteArray(name) == "wide.png")
            EXPECT_TRUE(run.err.contains("1025x8 pixels, larger than 1024x1024")) << run.err.toStdString();
    }
    EXPECT_EQ(FolderState(dir_.path()), before);
    ExpectUsageError({QStringLiteral("import"), In("wide.png"), QStringLiteral("-o"), In("1.png")}, "\".gif\"");
    ExpectUsageError({QStringLiteral("import"), In("wide.png"), QStringLiteral("-o"), In("1.gif"),
                      QStringLiteral("--colours"), QStringLiteral("257")}, "2 to 256");
}

TEST_F(ImportCommand, OutputFollowsLinksAndRefusesPipes)
{
    ASSERT_TRUE(PixelArt(8, 8).save(In("art.png")));
    QDir(dir_.path()).mkdir(QStringLiteral("real"));
    QFile existing(In("real/12.gif")); // a link that leads nowhere is refused, as for render
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    ASSERT_TRUE(QFile::link(In("real/12.gif"), In("link.gif")));
    ASSERT_EQ(RunCli({QStringLiteral("import"), In("art.png"), QStringLiteral("-o"), In("link.gif")}).exitCode, 0);
    EXPECT_TRUE(QFileInfo(In("link.gif")).isSymLink());
    EXPECT_TRUE(ReadAll(In("real/12.gif")).startsWith("GIF89a"));

    ASSERT_EQ(mkfifo(In("pipe.gif").toLocal8Bit().constData(), 0600), 0);
    const RunResult pipe = RunCli({QStringLiteral("import"), In("art.png"), QStringLiteral("-o"), In("pipe.gif")});
    EXPECT_EQ(pipe.exitCode, 1);
    EXPECT_TRUE(pipe.err.contains("named pipe")) << pipe.err.toStdString();
}
