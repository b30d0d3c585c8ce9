#pragma once
// The About box: the program's name and version and its credits, shown modally
// from the main window's menu. One hidden instance lives for the whole run.
#include <QDialog>

class QLabel;
class QPushButton;

// The main window's caption and the About box's version line.
inline constexpr char ProgramCaption[] = "Vellumark v" VELLUMARK_VERSION;

class TAbout : public QDialog {
    Q_OBJECT

public:
    explicit TAbout(QWidget* parent = nullptr);

public slots:
    void sButton1Click();

private:
    void FormCreate();

    QLabel* ProgVer;
    QLabel* sLabel1;
    QPushButton* sButton1;
};
