// vellumark-skin sheet: the ten previews of a skin (five play states side by side,
// repetition one above all) on one PNG, each framed and labelled under it, so an
// author sees every state at a glance. Each preview is one DrawPreview.
#include "CliCommand.h"

#include "PreviewRenderer.h"
#include "PreviewSteps.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

constexpr int Margin = 8;      // around and between the cells
constexpr int LabelGap = 3;    // between a preview's frame and its label
constexpr int FramedWidth = ScreenWidth + 2;   // the preview inside a one-pixel frame,
constexpr int FramedHeight = ScreenHeight + 2; // as the editor shows it

struct SheetJob {
    PreviewJob job;
    int volumeLevel = 5;
};

SheetJob ReadSheetJob(const CommandContext& context)
{
    SheetJob sheet;
    sheet.job = ReadPreviewJob(context, "sheet");
    if (context.parser.isSet(QStringLiteral("volume"))) {
        const QString value = context.parser.value(QStringLiteral("volume"));
        const std::optional<int> level = VolumeLevel(value);
        if (!level)
            throw UsageError("invalid --volume " + Quoted(value) + " (0 to 9)");
        sheet.volumeLevel = *level;
    }
    return sheet;
}

QImage DrawSheet(const SkinDocument& document, int volumeLevel)
{
    const QFont labelFont = PreviewFont(DefaultFontSize, 0);
    const int labelHeight = QFontMetrics(labelFont).height();
    const int columns = static_cast<int>(PlayStateNames.size());
    const int rows = static_cast<int>(RepeatNames.size());
    const int cellWidth = FramedWidth + Margin;
    const int cellHeight = FramedHeight + LabelGap + labelHeight + Margin;

    QImage sheet(Margin + columns * cellWidth, Margin + rows * cellHeight, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setFont(labelFont);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const PreviewSettings settings{column, row, /*volumeShown*/ true, volumeLevel};
            QImage preview = NewPreviewSurface();
            DrawPreview(preview, document.Model, document.Pictures, document.LangLines, settings);

            const int left = Margin + column * cellWidth;
            const int top = Margin + row * cellHeight;
            painter.setPen(Qt::black);
            painter.drawRect(left, top, FramedWidth - 1, FramedHeight - 1);
            painter.drawImage(left + 1, top + 1, preview);
            const QString label = QString::fromLatin1(PlayStateNames[static_cast<std::size_t>(column)])
                                  + QStringLiteral(" / ") + QString::fromLatin1(RepeatNames[static_cast<std::size_t>(row)]);
            painter.drawText(QRect(left, top + FramedHeight + LabelGap, FramedWidth, labelHeight),
                             Qt::AlignHCenter | Qt::AlignTop, label);
        }
    }
    return sheet;
}

} // namespace

std::vector<QCommandLineOption> SheetOptions()
{
    std::vector<QCommandLineOption> options = PreviewJobOptions();
    options.insert(options.begin() + 1, QCommandLineOption(QStringLiteral("volume"),
                                                           QStringLiteral("volume level 0 to 9 (default 5)"),
                                                           QStringLiteral("N")));
    return options;
}

int RunSheet(CommandContext& context)
{
    const SheetJob sheet = ReadSheetJob(context); // UsageError goes to main
    return RunDrawing(context, [&] {
        const QImage drawn = DrawSheet(LoadPreviewDocument(sheet.job), sheet.volumeLevel);
        WritePng(ScaledImage(drawn, sheet.job.scale), sheet.job.output);
    });
}
