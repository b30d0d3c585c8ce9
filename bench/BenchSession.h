#pragma once
// An editing session that opened the example skin, with the shipped assets beside a
// stand-in executable folder, as the editor starts: for the benchmarks of the session
// and of the views on it.
#include "BenchSkin.h"
#include "EditingSession.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

struct ExampleSession {
    ExampleSession()
    {
        QDir(executable.path()).mkpath(QStringLiteral("Files"));
        for (const char* asset : {"statusline.gif", "LangRuvex.txt"})
            QFile::copy(QStringLiteral(VELLUMARK_SOURCE_DIR "/assets/Files/") + QLatin1String(asset),
                        executable.filePath(QStringLiteral("Files/") + QLatin1String(asset)));
        const QString folder = executable.path() + QLatin1Char('/');
        session = std::make_unique<EditingSession>([folder] { return folder; });
        session->LoadAssets();
        session->Open(ExampleSkinPath());
    }

    QTemporaryDir executable;
    std::unique_ptr<EditingSession> session;
};
