#include "MainWindow.h"

#include "AboutBox.h"
#include "CanvasArrange.h"
#include "CanvasPicking.h"
#include "CanvasView.h"
#include "CanvasWindow.h"
#include "ColorMarking.h"
#include "FileCommands.h"
#include "FileDrops.h"
#include "HistoryActions.h"
#include "LineMending.h"
#include "PngExport.h"
#include "Placement.h"
#include "PreviewSettingsPanel.h"
#include "PreviewView.h"
#include "ProblemsPage.h"
#include "PropertyEditor.h"
#include "QtDialogService.h"
#include "RecentMenu.h"
#include "SampleTextChoice.h"
#include "ResourcesPage.h"
#include "ShapeFrame.h"
#include "SkinSaving.h"
#include "ViewWindows.h"
#include "WindowFont.h"
#include "WindowTitle.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QMenuBar>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

TMainFrm::TMainFrm(EditingSession& session, std::unique_ptr<DialogService> dialogs, QWidget* parent)
    : QMainWindow(parent),
      session_(session),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtDialogService>(this)),
      errors_(*dialogs_)
{
    files_ = new FileCommands(session_, *dialogs_, errors_, this);
    // The texts chosen in the last run print from the first drawing on.
    sampleTexts_ = new SampleTextChoice(session_, this);
    windows_ = new ViewWindows(session_, *dialogs_, errors_, *sampleTexts_, this);
    setObjectName(QStringLiteral("MainFrm"));
    setFont(WindowFont());
    resize(508, 344);
    CreateControls();
    CreateMenu();
    CreateStatusBar();
    SetFocusOrder();

    AutoSave = new QTimer(this);
    AutoSave->setObjectName(QStringLiteral("AutoSave"));
    connect(AutoSave, &QTimer::timeout, this, &TMainFrm::AutoSaveTimer);
    AutoSave->start(AutoSaveInterval);

    FormCreate();
}

void TMainFrm::CreateControls()
{
    // Fixed positions: the controls keep their places when the window is resized.
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(client);

    Shape1 = Place(new ShapeFrame(client), "Shape1", 0, 0, 178, 222);
    ScreenSkin = Place(new PreviewView(client), "ScreenSkin", 1, 1, ScreenWidth, ScreenHeight);

    settings_ = new PreviewSettingsPanel(client);
    settings_->move(0, 224);

    PageControl1 = Place(new QTabWidget(client), "PageControl1", 184, 0, 313, 297);
    // Plain pages: the property editor and the resources page are placed on them.
    const auto page = [this](const char* name, const QString& caption) {
        auto* sheet = new QWidget;
        sheet->setObjectName(QString::fromLatin1(name));
        PageControl1->addTab(sheet, caption);
        return sheet;
    };
    TabSheet1 = page("TabSheet1", QStringLiteral("SkinEditing"));
    TabSheet2 = page("TabSheet2", QStringLiteral("Resources"));
    propertyEditor_ = new PropertyEditor(session_, *dialogs_, errors_, TabSheet1);
    new TResourcesPage(session_, *dialogs_, errors_, TabSheet2); // TabSheet2 owns it
    PageControl1->setCurrentWidget(TabSheet1);
    CreateProblemsPage();

    connect(settings_, &PreviewSettingsPanel::Changed, this,
            [this](const PreviewSettings& settings) { errors_.Run([&] { session_.SetSettings(settings); }); });

    // A skin folder or its description file dropped anywhere on the window opens it.
    new SkinDropFilter(this, [this](const QString& file) { errors_.Run([&] { files_->OpenSkin(file); }); });
    // A picture changed by another program that could not be taken is reported once.
    connect(&session_, &EditingSession::ExternalChangeFailed, this,
            [this](const std::string& message) { errors_.Report(message.c_str()); });
    // A record or note of a killed write that the workspace left alone, told once.
    connect(&session_, &EditingSession::Notice, this, [this](const std::string& message) {
        dialogs_->ShowWarning(ApplicationTitle(QCoreApplication::applicationName()), QString::fromLocal8Bit(message));
    });

    // The preview shows every drawing of the session's surface, whoever asked for it,
    // with a marked colour's uses over it while one is marked.
    const auto showPreview = [this] {
        if (const auto& marking = session_.Marking())
            ScreenSkin->ShowPicture(OutlinedMarking(*marking));
        else
            ScreenSkin->ShowSurface(session_.Surface());
    };
    connect(&session_, &EditingSession::PreviewDrawn, this, showPreview);
    connect(&session_, &EditingSession::MarkingChanged, this, showPreview);
    // Another skin, or a changed line that may have become readable or stopped being so.
    connect(&session_, &EditingSession::Changed, this, [this](const SkinChange& change) {
        if (change.opened || !change.keys.empty())
            ShowTitle();
    });
    connect(&session_, &EditingSession::SkinSaved, this, &TMainFrm::ShowTitle);
    connect(&session_, &EditingSession::ModifiedChanged, this, &TMainFrm::ShowTitle);
}

void TMainFrm::CreateProblemsPage()
{
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    auto* problems = new ProblemsPage(session_, errors_, TabSheet3); // TabSheet3 owns it
    PageControl1->addTab(TabSheet3, problems->Caption());
    connect(problems, &ProblemsPage::LineToMend, this,
            [this](int index) { errors_.Run([&] { MendLineAsText(session_, *dialogs_, index); }); });
    connect(problems, &ProblemsPage::CaptionChanged, this,
            [this](const QString& caption) { PageControl1->setTabText(PageControl1->indexOf(TabSheet3), caption); });
    // A jump shows the page that went there; a problem of "StatusLine" has none.
    connect(problems, &ProblemsPage::WentTo, this, [this](const SkinProblem& problem) {
        if (problem.key.empty())
            PageControl1->setCurrentWidget(TabSheet2);
        else if (problem.category != SkinCategory::Settings) {
            PageControl1->setCurrentWidget(TabSheet1);
            if (problem.field)
                propertyEditor_->FocusField(*problem.field);
        }
    });
}

void TMainFrm::CreateMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* file = bar->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("File1"));

    // handler: a slot of this window, or a call that runs through the error reporter.
    const auto item = [this](QWidget* owner, const char* name, const QString& caption, const QKeySequence& shortcut,
                             auto handler) {
        auto* action = new QAction(caption, this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, handler);
        owner->addAction(action);
        return action;
    };
    item(file, "Newskin1", QStringLiteral("New skin\u2026"), QKeySequence(Qt::CTRL | Qt::Key_N),
         &TMainFrm::Newskin1Click);
    Open1 = item(file, "Open1", QStringLiteral("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O), &TMainFrm::Open1Click);
    auto* recentMenu = new RecentMenu(files_->Recent(), file);
    file->addMenu(recentMenu);
    connect(recentMenu, &RecentMenu::Chosen, this, &TMainFrm::OpenRecent);
    Save1 = item(file, "Save1", QStringLiteral("Save"), QKeySequence(), &TMainFrm::Save1Click);
    Save1->setEnabled(false); // nowhere to write before a skin is open
    connect(&files_->Saving(), &SkinSaving::SaveFolderChanged, Save1,
            [this](const QString& folder) { Save1->setEnabled(!folder.isEmpty()); });
    Saveas1 = item(file, "Saveas1", QStringLiteral("&Save as.."), QKeySequence(Qt::CTRL | Qt::Key_S),
                   &TMainFrm::Saveas1Click);
    item(file, "Exportpreview1", QStringLiteral("Export preview as PNG\u2026"), QKeySequence(),
         [this] { errors_.Run([this] { ShowWritten(ExportPreview(session_, *dialogs_)); }); });
    item(file, "Exportallstates1", QStringLiteral("Export all states as PNG\u2026"), QKeySequence(),
         &TMainFrm::Exportallstates1Click);
    Exit1 = item(file, "Exit1", QStringLiteral("&Exit"), QKeySequence(Qt::CTRL | Qt::Key_Q), &TMainFrm::Exit1Click);

    QMenu* edit = bar->addMenu(QStringLiteral("Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    const HistoryActions history = AddHistoryActions(*edit, session_, errors_);
    history.undo->setObjectName(QStringLiteral("Undo1"));
    history.redo->setObjectName(QStringLiteral("Redo1"));
    edit->addSeparator();
    item(edit, "Editlineastext1", QStringLiteral("Edit line as text\u2026"), QKeySequence(),
         [this] { errors_.Run([this] { MendSelectedLine(session_, *dialogs_); }); });
    // The canvas's selection commands, on the same selection (the canvas's own when it is open).
    edit->addSeparator();
    item(edit, "Selectall1", QStringLiteral("Select all"), QKeySequence(Qt::CTRL | Qt::Key_A), [this] {
        errors_.Run([this] {
            if (CanvasWindow* canvas = windows_->Canvas())
                canvas->View()->SelectAll();
            else
                SelectAllDrawn(session_);
        });
    });
    AddArrangeActions(*edit, nullptr, session_, errors_, [this] {
        if (CanvasWindow* canvas = windows_->Canvas())
            return canvas->View()->SelectedTargets();
        std::vector<MoveTarget> targets;
        for (const ElementRef& element : session_.SelectedElements())
            if (element.category != SkinCategory::Settings)
                targets.push_back({element, false});
        return targets;
    }, [this] {
        if (CanvasWindow* canvas = windows_->Canvas())
            canvas->View()->Tool().Cancel();
    });

    // The windows beside the main one; "About" stays the last item on the bar.
    QMenu* view = bar->addMenu(QStringLiteral("View"));
    view->setObjectName(QStringLiteral("View1"));
    canvasAction_ = item(view, "Canvas1", QStringLiteral("Canvas"), QKeySequence(Qt::Key_F2), &TMainFrm::Canvas1Click);
    canvasAction_->setCheckable(true);
    canvasAction_->setShortcutContext(Qt::ApplicationShortcut); // F2 closes it from the canvas too
    item(view, "Allstates1", QStringLiteral("All states"), QKeySequence(), &TMainFrm::Allstates1Click);
    item(view, "Changessincesaved1", QStringLiteral("Changes since saved"), QKeySequence(),
         &TMainFrm::Changessincesaved1Click);
    item(view, "Comparewith1", QStringLiteral("Compare with\u2026"), QKeySequence(), &TMainFrm::Comparewith1Click);
    item(view, "History1", QStringLiteral("History"), QKeySequence(), &TMainFrm::History1Click);
    item(view, "Sampletexts1", QStringLiteral("Sample texts"), QKeySequence(), &TMainFrm::Sampletexts1Click);
    item(view, "Colours1", QStringLiteral("Colours"), QKeySequence(),
         [this] { errors_.Run([this] { windows_->ShowColors(); }); });

    About1 = item(bar, "About1", QStringLiteral("About"), QKeySequence(), &TMainFrm::About1Click);
}

void TMainFrm::CreateStatusBar()
{
    // Beneath the preview and the pages, which keep their places. A label, not a
    // temporary message, so that passing over a menu does not wipe it.
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StatusMessage"));
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(status_, 1);
    connect(&files_->Saving(), &SkinSaving::Saved, this, [this](const QString& folder) {
        status_->setText(QStringLiteral("Saved to %1").arg(QDir::toNativeSeparators(folder)));
    });
}

void TMainFrm::ShowWritten(const std::optional<ExportedPng>& written)
{
    if (written)
        status_->setText(QStringLiteral("Wrote %1 (%2\u00d7%3)")
                       .arg(QDir::toNativeSeparators(written->file))
                       .arg(written->size.width())
                       .arg(written->size.height()));
}

void TMainFrm::SetFocusOrder()
{
    setTabOrder(settings_->VolumeShown(), settings_->Repetition());
    setTabOrder(settings_->Repetition(), PageControl1);
    setTabOrder(PageControl1, settings_->VolumeLevel());
    setTabOrder(settings_->VolumeLevel(), settings_->PlayState());
    settings_->VolumeShown()->setFocus();
}

void TMainFrm::FormCreate()
{
    // A failing step ends start-up there; the window opens all the same.
    // The document starts with no lines, empty picture slots and no skin loaded.
    errors_.Run([this] {
        setWindowTitle(QString::fromLatin1(ProgramCaption));
        propertyEditor_->PaintColorViewGrey();
        propertyEditor_->ShowCategoryNames();
        session_.LoadAssets();
    });
}

void TMainFrm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (placed_)
        return;
    placed_ = true;
    // The canvas is made only when asked for, or when it was open last time.
    if (CanvasWindow::WasOpen())
        Canvas1Click();
    if (const QScreen* desktop = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(desktop->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TMainFrm::Open1Click()
{
    files_->Open();
}

void TMainFrm::OpenPath(const QString& path)
{
    files_->OpenPath(path);
}

void TMainFrm::OpenRecent(const QString& file)
{
    files_->OpenRecent(file);
}

void TMainFrm::ShowTitle()
{
    setWindowTitle(SkinWindowTitle(session_));
    setWindowModified(session_.IsModified());
}

void TMainFrm::Newskin1Click()
{
    files_->NewSkin();
}

void TMainFrm::Saveas1Click()
{
    errors_.Run([this] { files_->Saving().SaveAs(); });
}

void TMainFrm::Save1Click()
{
    errors_.Run([this] { files_->Saving().Save(); });
}

void TMainFrm::Exit1Click()
{
    errors_.Run([this] { close(); });
}

void TMainFrm::About1Click()
{
    errors_.Run([this] {
        if (about_ != nullptr)
            dialogs_->ShowModal(*about_);
    });
}

void TMainFrm::AutoSaveTimer()
{
    // A tick that comes while the previous tick's error box is still open is dropped,
    // so a lasting failure shows one box, not a pile of them.
    if (autosaveRunning_)
        return;
    autosaveRunning_ = true;
    errors_.Run([this] { session_.Autosave(); });
    autosaveRunning_ = false;
}

void TMainFrm::Allstates1Click()
{
    errors_.Run([this] { windows_->ShowAllStates(); });
}

void TMainFrm::Changessincesaved1Click()
{
    errors_.Run([this] { windows_->CompareWithSaved(); });
}

void TMainFrm::Comparewith1Click()
{
    errors_.Run([this] {
        if (const std::optional<QString> folder = dialogs_->ChooseCompareFolder())
            windows_->CompareWith(*folder);
    });
}

void TMainFrm::Exportallstates1Click()
{
    errors_.Run([this] { ShowWritten(ExportAllStates(session_, *dialogs_)); });
}

void TMainFrm::closeEvent(QCloseEvent* event)
{
    const bool mayClose = files_->MayLeaveSkin();
    // The working copy keeps the last state, so nothing typed since the last
    // autosave is lost with the window.
    errors_.Run([this] { session_.Autosave(); });
    event->setAccepted(mayClose);
}

void TMainFrm::Canvas1Click()
{
    windows_->ToggleCanvas(canvasAction_);
}

void TMainFrm::History1Click()
{
    windows_->ShowHistory();
}

void TMainFrm::Sampletexts1Click()
{
    windows_->ShowSampleTexts();
}
