#pragma once
// The main window as the window tests build it: beside a test's own executable
// folder with its two assets, and with scripted dialogs.
#include "GifWriter.h"
#include "MainWindow.h"
#include "ScriptedDialogs.h"
#include "TestSession.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>

// A window that takes folder for its executable's; dialogs points to its scripted dialogs.
inline std::unique_ptr<TMainFrm> MakeTestWindow(const QString& folder, ScriptedDialogs*& dialogs)
{
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs = scripted.get();
    const QString executableFolder = folder + "/";
    return std::make_unique<TMainFrm>(std::move(scripted), [executableFolder] { return executableFolder; });
}
