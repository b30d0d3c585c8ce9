// --texts long and --texts short: the editor's built-in sets, drawn as a file of the
// same lines would be, with the shipped overlay still over them.
#include "CliTestSupport.h"

#include "SampleTextSets.h"
#include "TextFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SampleTextsOption, LongAndShortDrawTheBuiltInSetsOverTheShippedOverlay)
{
    QTemporaryDir dir;
    for (const auto& [name, texts] : {std::pair{"long", LongSampleTexts()}, std::pair{"short", ShortSampleTexts()}}) {
        const QString file = dir.filePath(QString::fromLatin1(name) + ".txt");
        WriteTextLines(file, texts);
        const QString out = dir.filePath(QString::fromLatin1(name) + ".png");
        const RunResult run =
            RunCli({QStringLiteral("render"), kExampleSkin, QStringLiteral("-o"), out, QStringLiteral("--texts"),
                    QString::fromLatin1(name)});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(LoadPng(out), RenderInProcess(kExampleSkin, PreviewSettings{}, file)) << name;
    }
}
