#pragma once
// The main window as the window tests build it: beside a test's own executable
// folder with its two assets, and with scripted dialogs.
#include "GifWriter.h"
#include "MainWindow.h"
#include "ScriptedDialogs.h"
#include "TestSession.h"
#include "TestSkin.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// Holds the session the window edits; a base, so it is made before the window and
// goes after it, as the program's own session does.
struct TestWindowSession {
    explicit TestWindowSession(const QString& executableFolder)
        : session(std::make_unique<EditingSession>([executableFolder] { return executableFolder; }))
    {
    }
    std::unique_ptr<EditingSession> session;
};

// The main window with the session it edits.
class TestWindow : private TestWindowSession, public TMainFrm {
public:
    TestWindow(const QString& executableFolder, std::unique_ptr<DialogService> dialogs)
        : TestWindowSession(executableFolder), TMainFrm(*session, std::move(dialogs))
    {
    }

    EditingSession& Session() { return *session; }
    SkinDocument& Document() { return session->Document(); }
    // The surface the preview is painted on; null until the first drawing.
    const QImage& Surface() const { return session->Surface(); }
};

// A window that takes folder for its executable's; dialogs points to its scripted dialogs.
inline std::unique_ptr<TestWindow> MakeTestWindow(const QString& folder, ScriptedDialogs*& dialogs)
{
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs = scripted.get();
    return std::make_unique<TestWindow>(folder + "/", std::move(scripted));
}

// A window beside its own assets with a complete skin opened through File › Open.
class OpenedSkinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteTestAssets(executable.path());
        window = MakeTestWindow(executable.path(), dialogs);
        skin.WriteComplete();
        dialogs->fileAnswers.push_back(skin.DescriptionPath());
        window->Open1Click();
        ASSERT_TRUE(dialogs->errors.empty()) << dialogs->errors[0].text.toStdString();
    }

    QTemporaryDir executable;
    TestSkin skin;
    ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<TestWindow> window;
};
