#pragma once
// The main window as the window tests build it: beside a test's own executable
// folder with its two assets, and with scripted dialogs.
#include "GifWriter.h"
#include "MainWindow.h"
#include "ScriptedDialogs.h"

#include <QDir>
#include <QFile>

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

// A window that takes folder for its executable's; dialogs points to its scripted dialogs.
inline std::unique_ptr<TMainFrm> MakeTestWindow(const QString& folder, ScriptedDialogs*& dialogs)
{
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs = scripted.get();
    const QString executableFolder = folder + "/";
    return std::make_unique<TMainFrm>(std::move(scripted), [executableFolder] { return executableFolder; });
}
