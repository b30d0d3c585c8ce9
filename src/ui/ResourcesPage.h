#pragma once
// The page "Resources": the fifteen pictures of the open skin's working copy, shown
// one at a time and replaced from GIF files the user picks. Only wiring: the files
// are the workspace's business, the preview the main window's.
#include <QWidget>

class PictureView;
class QListWidget;
class QPushButton;
class TMainFrm;

class TResourcesPage : public QWidget {
    Q_OBJECT

public:
    // Fills the main window's page "Resources".
    explicit TResourcesPage(TMainFrm& window);

    // The selected entry, whose index is its picture's number; -1 when none is.
    int SelectedIndex() const;

public slots:
    void ImgListBoxClick();
    void Button1Click();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TMainFrm& window_;
    QListWidget* ImgListBox = nullptr;
    QPushButton* Button1 = nullptr;
    PictureView* ViewSources = nullptr;
};
