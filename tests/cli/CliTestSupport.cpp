#include "CliTestSupport.h"

#include "GifWriter.h"
#include "SkinDocument.h"
#include "SkinLoader.h"
#include "TextFile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

const QString kExe = QStringLiteral(VELLUMARK_SKIN_EXE);
const QString kSourceDir = QStringLiteral(VELLUMARK_SOURCE_DIR);
const QString kExampleSkin = kSourceDir + QStringLiteral("/examples/skins/harbour");

RunResult RunCli(const QStringList& args, const QString& program, const std::map<QString, QString>& extraEnv)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    for (const auto& [name, value] : extraEnv)
        env.insert(name, value);
    process.setProcessEnvironment(env);
    process.start(program, args);
    RunResult result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QString BinFiles(const QString& name)
{
    return QFileInfo(kExe).absoluteDir().filePath(QStringLiteral("Files/") + name);
}

QImage RenderInProcess(const QString& skinDir, const PreviewSettings& settings, const QString& texts,
                       const QString& overlay)
{
    SkinDocument document;
    LoadAssets(document, {overlay, texts});
    LoadSkin(document, QDir(skinDir).filePath(QString::fromLatin1(DescriptionFileName)));
    QImage surface = NewPreviewSurface();
    DrawPreview(surface, document, settings);
    return surface;
}

QImage LoadPng(const QString& path)
{
    QImage image(path, "PNG");
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

std::map<QString, QString> FolderState(const QString& dir)
{
    std::map<QString, QString> state;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const QFileInfo info(path);
        state[path] = QString::number(info.size()) + QLatin1Char(' ')
                      + info.lastModified().toString(Qt::ISODateWithMs) + QLatin1Char(' ')
                      + QString::fromLatin1(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex());
    }
    return state;
}

void ExpectUsageError(const QStringList& args, const char* reason)
{
    const RunResult run = RunCli(args);
    const std::string command = args.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(run.exitCode, 2) << command;
    const QList<QByteArray> lines = run.err.split('\n');
    ASSERT_EQ(lines.size(), 3) << command << "\n" << run.err.toStdString(); // two lines, each ended
    EXPECT_TRUE(lines[0].startsWith("vellumark-skin: ")) << command << "\n" << run.err.toStdString();
    if (reason != nullptr) {
        EXPECT_NE(lines[0].indexOf(reason), -1) << command << "\n" << run.err.toStdString();
    }
    EXPECT_EQ(lines[1], "Try 'vellumark-skin --help'.") << command;
    EXPECT_TRUE(run.out.isEmpty()) << command;
}

QImage Replicated(const QImage& image, int n)
{
    QImage blocks(image.width() * n, image.height() * n, QImage::Format_RGB32);
    for (int y = 0; y < blocks.height(); ++y)
        for (int x = 0; x < blocks.width(); ++x)
            blocks.setPixel(x, y, image.pixel(x / n, y / n));
    return blocks;
}

OwnAssets::OwnAssets()
    : texts(dir.filePath(QStringLiteral("texts.txt"))), overlay(dir.filePath(QStringLiteral("overlay.gif")))
{
    WriteTextLines(texts, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
    WriteGifFile(overlay, SolidGif(176, 14, qRgb(255, 0, 0)));
}
