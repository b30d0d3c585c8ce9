#pragma once
// Runs the built vellumark-skin in a child process without a display, and draws
// in this process what the editor would draw, for comparing the two.
#include "PreviewRenderer.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <map>

extern const QString kExe;
extern const QString kSourceDir;
extern const QString kExampleSkin; // examples/skins/harbour

struct RunResult {
    int exitCode = -1; // -2 for a crash, -1 for a time-out
    QByteArray out;
    QByteArray err;
};

// Runs the program with DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM removed.
RunResult RunCli(const QStringList& args, const QString& program = kExe,
                 const std::map<QString, QString>& extraEnv = {});

// An asset beside the built executable.
QString BinFiles(const QString& name);

// What the editor would draw for the skin folder.
QImage RenderInProcess(const QString& skinDir, const PreviewSettings& settings,
                       const QString& texts = BinFiles(QStringLiteral("LangRuvex.txt")),
                       const QString& overlay = BinFiles(QStringLiteral("statusline.gif")));

// The PNG as RGB32; a null image when it cannot be read.
QImage LoadPng(const QString& path);

// Name, size, modification time and hash of every file of a folder.
std::map<QString, QString> FolderState(const QString& dir);

// Runs args and expects wrong usage: exit status 2, nothing on stdout, and on
// stderr only the reason (holding reason, when given) and where help is.
void ExpectUsageError(const QStringList& args, const char* reason = nullptr);

// Each pixel of image as an n x n block.
QImage Replicated(const QImage& image, int n);

// Sample texts "1" to "10" and an all-red 176x14 status-line overlay, in a
// temporary folder.
struct OwnAssets {
    OwnAssets();
    QTemporaryDir dir;
    QString texts;
    QString overlay;
};
