#pragma once
// The editor's main window: the menu, the preview with its settings, the autosave
// timer and the three pages (SkinEditing, Resources, Problems). It assembles the views
// around an editing session that its owner keeps and that outlives it; handlers only
// wire controls to the session, and each runs through the error reporter.
#include "DialogService.h"
#include "EditingSession.h"
#include "ErrorReporter.h"
#include "PngExport.h"

#include <QMainWindow>

#include <memory>

class FileCommands;
class QAction;
class QLabel;
class QMenu;
class QTabWidget;
class QTimer;
class PreviewView;
class PropertyEditor;
class PreviewSettingsPanel;
class SampleTextChoice;
class ShapeFrame;
class TAbout;
class ViewWindows;

class TMainFrm : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int AutoSaveInterval = 30000; // ms

    // Edits session, which must outlive the window. Without a dialog service the real
    // Qt dialogs are used.
    explicit TMainFrm(EditingSession& session, std::unique_ptr<DialogService> dialogs = nullptr,
                      QWidget* parent = nullptr);

    // Opens the skin at path, its folder or its description file, as Open does with
    // a file chosen in the dialog: the program's command-line argument.
    void OpenPath(const QString& path);

    // The box that About1Click shows; created after the window, as the program starts.
    void SetAboutBox(TAbout* about) { about_ = about; }

public slots:
    void Newskin1Click();
    void Open1Click();
    // Opens a skin of File › Open recent; one whose folder is gone leaves the list.
    void OpenRecent(const QString& file);
    void Saveas1Click();
    // Into the folder of the last Save as or New skin, without a dialog, or into the one
    // the skin was opened from, asking once first.
    void Save1Click();
    void Exit1Click();
    void About1Click();
    void AutoSaveTimer();
    void Canvas1Click(); // opens the canvas, made on first use, or closes it
    void History1Click();
    void Sampletexts1Click();
    void Allstates1Click();
    void Exportallstates1Click();
    void Changessincesaved1Click();
    void Comparewith1Click(); // a skin folder picked through the dialogs

protected:
    void showEvent(QShowEvent* event) override;
    // Asks before changes not saved are left behind; the working copy is
    // written once more whatever the answer.
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void CreateMenu();
    // The third page, "Problems", whose caption carries the count.
    void CreateProblemsPage();
    // A status bar beneath everything, telling what was written.
    void CreateStatusBar();
    // "Wrote …/sheet.png (1876×1000)" for a PNG written.
    void ShowWritten(const std::optional<ExportedPng>& written);
    void SetFocusOrder();
    void FormCreate();
    // SkinWindowTitle, marked while there are changes not saved.
    void ShowTitle();

    EditingSession& session_;
    std::unique_ptr<DialogService> dialogs_;
    ErrorReporter errors_;
    TAbout* about_ = nullptr;
    PropertyEditor* propertyEditor_ = nullptr; // on TabSheet1, which owns it
    // A modal error box re-enters the event loop, so a second autosave could start inside the first.
    bool autosaveRunning_ = false;
    bool placed_ = false;

    ShapeFrame* Shape1 = nullptr;
    PreviewView* ScreenSkin = nullptr;
    PreviewSettingsPanel* settings_ = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QAction* Open1 = nullptr;
    QAction* Saveas1 = nullptr;
    QAction* Save1 = nullptr;
    FileCommands* files_ = nullptr;
    QAction* Exit1 = nullptr;
    QAction* canvasAction_ = nullptr;
    SampleTextChoice* sampleTexts_ = nullptr; // what the preview prints; this window owns it
    ViewWindows* windows_ = nullptr;
    QAction* About1 = nullptr;
    QTimer* AutoSave = nullptr;
    QLabel* status_ = nullptr;
};
