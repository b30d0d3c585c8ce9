#include "StatesSheet.h"

#include "PreviewFont.h"
#include "SkinError.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cstdint>

namespace {

constexpr int FramedWidth = ScreenWidth + 2; // the preview inside a one-pixel frame,
constexpr int FramedHeight = ScreenHeight + 2; // as the editor shows it
constexpr int Columns = static_cast<int>(PlayStateNames.size());
constexpr int Rows = static_cast<int>(RepeatNames.size());

QFont LabelFont()
{
    return PreviewFont(DefaultFontSize, 0);
}

// Where the drawing of a play state and repetition mode can differ from that of
// play state 0 and repetition 0: under the pictures of the buttons whose picture
// differs (0 and playState), either picture of each, and under both repetition icons
// when the mode differs. Limited to the surface.
QRegion AreaApartFromFirst(const TSkinModel& model, const PictureSlots& pictures, int playState, int repetition)
{
    QRegion area;
    const auto add = [&](PictureIndex position, PictureShown shown) {
        const QImage& picture = pictures[static_cast<std::size_t>(PictureAt(position, shown))];
        const TPicturePos& at = model.PicturePositions[static_cast<std::size_t>(position)];
        const auto limit = [](std::int64_t value, int size) {
            return static_cast<int>(std::clamp<std::int64_t>(value, 0, size));
        };
        const int left = limit(at.X, ScreenWidth), top = limit(at.Y, ScreenHeight);
        const int right = limit(std::int64_t{at.X} + picture.width(), ScreenWidth);
        const int bottom = limit(std::int64_t{at.Y} + picture.height(), ScreenHeight);
        if (right > left && bottom > top)
            area += QRect(left, top, right - left, bottom - top);
    };
    if (playState != 0) {
        for (const int button : {0, playState}) {
            const auto position = static_cast<PictureIndex>(BackwardPos + button);
            add(position, PictureShown::ButtonEnabled);
            add(position, PictureShown::ButtonDisabled);
        }
    }
    if (repetition != 0) {
        add(RepetitionOnePos, PictureShown::RepetitionOne);
        add(RepetitionAllPos, PictureShown::RepetitionAll);
    }
    return area;
}

} // namespace

SheetLayout::SheetLayout() : labelHeight(QFontMetrics(LabelFont()).height()) {}

QSize SheetLayout::Size() const
{
    return QSize(Margin + Columns * (FramedWidth + Margin),
                 Margin + Rows * (FramedHeight + LabelGap + labelHeight + Margin));
}

QRect SheetLayout::PreviewRect(int playState, int repetition) const
{
    const int left = Margin + playState * (FramedWidth + Margin);
    const int top = Margin + repetition * (FramedHeight + LabelGap + labelHeight + Margin);
    return QRect(left + 1, top + 1, ScreenWidth, ScreenHeight);
}

QString PlayStateWord(int playState)
{
    return QString::fromLatin1(PlayStateNames[static_cast<std::size_t>(playState)]).toLower();
}

QString SheetLabel(int playState, int repetition)
{
    return PlayStateWord(playState) + QStringLiteral(" / ")
        + QString::fromLatin1(RepeatNames[static_cast<std::size_t>(repetition)]);
}

QImage DrawStatesSheet(const SkinDocument& document, const PreviewSettings& base)
{
    return DrawStatesSheet(document, document.LangLines, base);
}

QImage DrawStatesSheet(const SkinDocument& document, const TextLines& langLines, const PreviewSettings& base)
{
    QImage sheet;
    PreviewCache cache;
    DrawStatesSheet(sheet, document, langLines, base, cache);
    return sheet;
}

void DrawStatesSheet(QImage& sheet, const SkinDocument& document, const TextLines& langLines,
                     const PreviewSettings& base, PreviewCache& cache)
{
    const SheetLayout layout;
    const bool framed = sheet.size() == layout.Size() && sheet.format() == QImage::Format_RGB32;
    if (!framed) {
        sheet = QImage(layout.Size(), QImage::Format_RGB32);
        sheet.fill(Qt::white);
    }
    // Each cell is a drawing on a fresh white surface, drawn straight into the sheet.
    // The cells differ only where the state's pictures lie: the first is drawn whole,
    // the others are copies of it drawn again within that area alone.
    uchar* const bits = sheet.bits();
    const auto cell = [&](int playState, int repetition) {
        const QRect inner = layout.PreviewRect(playState, repetition);
        return QImage(bits + inner.top() * sheet.bytesPerLine() + inner.left() * 4, ScreenWidth, ScreenHeight,
                      sheet.bytesPerLine(), QImage::Format_RGB32);
    };
    const QImage first = cell(0, 0);
    for (int row = 0; row < Rows; ++row) {
        for (int column = 0; column < Columns; ++column) {
            PreviewSettings settings = base;
            settings.playState = column;
            settings.repetition = row;
            QImage preview = cell(column, row);
            if (row == 0 && column == 0) {
                preview.fill(Qt::white);
                DrawPreview(preview, document.Model, document.Pictures, langLines, settings, nullptr, &cache);
                continue;
            }
            for (int y = 0; y < ScreenHeight; ++y)
                std::copy_n(first.constScanLine(y), ScreenWidth * 4, preview.scanLine(y));
            const QRegion area = AreaApartFromFirst(document.Model, document.Pictures, column, row);
            if (area.isEmpty())
                continue;
            for (const QRect& part : area)
                for (int y = part.top(); y <= part.bottom(); ++y)
                    std::fill_n(reinterpret_cast<QRgb*>(preview.scanLine(y)) + part.left(), part.width(),
                                qRgb(255, 255, 255));
            const std::vector<QRect> parts(area.begin(), area.end());
            DrawPreview(preview, document.Model, document.Pictures, langLines, settings, nullptr, &cache, &parts);
        }
    }
    if (framed)
        return;
    QPainter painter(&sheet);
    painter.setFont(LabelFont());
    painter.setPen(Qt::black);
    for (int row = 0; row < Rows; ++row) {
        for (int column = 0; column < Columns; ++column) {
            const QRect frame = layout.PreviewRect(column, row).adjusted(-1, -1, 1, 1);
            painter.drawRect(frame.left(), frame.top(), FramedWidth - 1, FramedHeight - 1);
            painter.drawText(QRect(frame.left(), frame.bottom() + 1 + SheetLayout::LabelGap, FramedWidth,
                                   layout.labelHeight),
                             Qt::AlignHCenter | Qt::AlignTop, SheetLabel(column, row));
        }
    }
}

QImage ScaledImage(const QImage& image, int factor)
{
    const QImage source = image.convertToFormat(QImage::Format_RGB32);
    if (factor == 1)
        return source;
    QImage scaled(source.width() * factor, source.height() * factor, QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(scaled.scanLine(y * factor));
        for (int x = 0; x < source.width(); ++x)
            std::fill_n(out + x * factor, factor, in[x]);
        for (int copy = 1; copy < factor; ++copy)
            std::copy_n(out, scaled.width(), reinterpret_cast<QRgb*>(scaled.scanLine(y * factor + copy)));
    }
    return scaled;
}
