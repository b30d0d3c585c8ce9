#pragma once
// An editing session as the page tests build it: beside a stand-in executable folder
// with its two assets, with scripted dialogs, and a page to place a view on.
#include "EditingSession.h"
#include "ErrorReporter.h"
#include "GifWriter.h"
#include "ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

// Writes the status-line picture and the sample texts into folder's "Files".
inline void WriteTestAssets(const QString& folder, bool statusLine = true, bool sampleTexts = true)
{
    QDir(folder).mkpath("Files");
    if (statusLine)
        WriteGifFile(folder + "/Files/statusline.gif", SolidGif(176, 12, qRgb(40, 40, 40)));
    if (sampleTexts) {
        QFile texts(folder + "/Files/LangRuvex.txt");
        EXPECT_TRUE(texts.open(QIODevice::WriteOnly));
        texts.write("03/12\r\nList\r\nArtist\r\nTitle\r\nAlbum\r\n3:45\r\n1:02\r\n-2:43\r\nMenu\r\nBack\r\n");
    }
}

struct TestSession {
    TestSession()
    {
        WriteTestAssets(executable.path());
        const QString folder = executable.path() + "/";
        session = std::make_unique<EditingSession>([folder] { return folder; });
        session->LoadAssets();
    }

    // Opens the skin whose description file is path, as File › Open does.
    bool Open(const QString& path) const
    {
        return errors.Run([&] { session->Open(path); });
    }
    QString Working(const QString& name) const { return executable.filePath("Temp/" + name); }

    QTemporaryDir executable;
    ScriptedDialogs dialogs;
    ErrorReporter errors{dialogs};
    std::unique_ptr<EditingSession> session;
    QWidget page; // destroyed before the session its views follow
};
