#include "PictureImportDialog.h"

#include "SkinError.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Each side of a view at most, before it scrolls.
constexpr int ViewSide = 400;

// picture at zoom, each pixel a block, over a checkerboard of 8-pixel squares that
// shows where it is transparent.
QPixmap Zoomed(const QImage& picture, int zoom)
{
    const QSize size = picture.size() * zoom;
    QImage canvas(size, QImage::Format_RGB32);
    QPainter painter(&canvas);
    constexpr int square = 8;
    for (int y = 0; y < size.height(); y += square)
        for (int x = 0; x < size.width(); x += square)
            painter.fillRect(x, y, square, square, ((x + y) / square) % 2 ? QColor(204, 204, 204) : Qt::white);
    painter.drawImage(QRect(QPoint(0, 0), size), picture); // nearest neighbour: no smoothing set
    painter.end();
    return QPixmap::fromImage(canvas);
}

QLabel* PictureLabel(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QScrollArea* Scrolled(QLabel* label, QWidget* parent)
{
    auto* area = new QScrollArea(parent);
    area->setWidget(label);
    area->setWidgetResizable(false);
    return area;
}

} // namespace

TPictureImportDialog::TPictureImportDialog(const QImage& original, const QString& sourceName,
                                           const QString& pictureName, std::optional<GifColors> replaced,
                                           const ImportChoices& choices, QWidget* parent)
    : QDialog(parent), original_(original.convertToFormat(QImage::Format_ARGB32)), replaced_(std::move(replaced))
{
    setObjectName(QStringLiteral("PictureImportDialog"));
    setWindowTitle(QStringLiteral("Replace %1 from %2").arg(pictureName, sourceName));

    originalView_ = PictureLabel("ImportOriginal", this);
    convertedView_ = PictureLabel("ImportConverted", this);
    auto* pictures = new QGridLayout;
    pictures->addWidget(new QLabel(QStringLiteral("%1 (%2x%3)").arg(sourceName).arg(original.width()).arg(original.height()),
                                   this), 0, 0);
    pictures->addWidget(new QLabel(QStringLiteral("As %1").arg(pictureName), this), 0, 1);
    pictures->addWidget(Scrolled(originalView_, this), 1, 0);
    pictures->addWidget(Scrolled(convertedView_, this), 1, 1);

    zoom_ = new QSpinBox(this);
    zoom_->setObjectName(QStringLiteral("ImportZoom"));
    zoom_->setRange(MinZoom, MaxZoom);
    zoom_->setSuffix(QStringLiteral("\u00d7"));
    const int fits = ViewSide / std::max({original.width(), original.height(), 1});
    zoom_->setValue(choices.zoom > 0 ? choices.zoom : std::clamp(fits, MinZoom, MaxZoom));
    colors_ = new QSpinBox(this);
    colors_->setObjectName(QStringLiteral("ImportColours"));
    colors_->setRange(MinGifColors, MaxGifColors);
    colors_->setValue(std::clamp(choices.colors, MinGifColors, MaxGifColors));
    colors_->setToolTip(QStringLiteral("Colours at most, the transparent one included"));
    dither_ = new QCheckBox(QStringLiteral("Dither"), this);
    dither_->setObjectName(QStringLiteral("ImportDither"));
    dither_->setChecked(choices.dither);
    dither_->setToolTip(QStringLiteral("Spread the error where colours are reduced; flat pixel art looks best without"));
    keepColors_ = new QCheckBox(QStringLiteral("Keep this picture's colours"), this);
    keepColors_->setObjectName(QStringLiteral("ImportKeepColours"));
    keepColors_->setToolTip(QStringLiteral("Map onto the colours of %1, in their order, with its transparent index")
                                 .arg(pictureName));
    keepColors_->setEnabled(replaced_.has_value());
    keepColors_->setChecked(replaced_.has_value() && choices.keepColors);

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->addRow(QStringLiteral("Zoom:"), zoom_);
    form->addRow(QStringLiteral("Colours:"), colors_);
    form->addRow(dither_);
    form->addRow(keepColors_);

    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("ImportSummary"));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->setObjectName(QStringLiteral("ImportButtons"));
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pictures, 1);
    layout->addLayout(form);
    layout->addWidget(summary_);
    layout->addWidget(buttons_);

    connect(zoom_, &QSpinBox::valueChanged, this, &TPictureImportDialog::ShowPictures);
    connect(colors_, &QSpinBox::valueChanged, this, &TPictureImportDialog::Convert);
    connect(dither_, &QCheckBox::toggled, this, &TPictureImportDialog::Convert);
    connect(keepColors_, &QCheckBox::toggled, this, &TPictureImportDialog::Convert);
    Convert();
}

ImportChoices TPictureImportDialog::Choices() const
{
    return {colors_->value(), dither_->isChecked(), keepColors_->isChecked(), zoom_->value()};
}

void TPictureImportDialog::Convert()
{
    ConversionOptions options;
    options.colors = colors_->value();
    options.dither = dither_->isChecked();
    if (keepColors_->isChecked())
        options.palette = replaced_;
    colors_->setEnabled(!keepColors_->isChecked()); // the palette's own count holds
    try {
        converted_ = ConvertToGif(original_, options);
        const ConvertedGif& gif = *converted_;
        summary_->setText(QStringLiteral("Colours: %1 \u2192 %2    Colour error (\u0394E OKLab): largest %3, mean %4\n"
                                         "Transparent pixels: %5")
                              .arg(gif.colorsBefore)
                              .arg(gif.colorsAfter)
                              .arg(gif.largestError, 0, 'f', 4)
                              .arg(gif.meanError, 0, 'f', 4)
                              .arg(gif.transparentPixels));
    } catch (const SkinError& error) {
        converted_.reset();
        summary_->setText(QString::fromLocal8Bit(error.what()));
    }
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(converted_.has_value());
    ShowPictures();
}

void TPictureImportDialog::ShowPictures()
{
    const int zoom = zoom_->value();
    originalView_->setPixmap(Zoomed(original_, zoom));
    if (converted_)
        convertedView_->setPixmap(Zoomed(converted_->picture, zoom));
    else
        convertedView_->clear();
    // Each view as large as its picture at this zoom, up to ViewSide; scrolled beyond.
    const QSize wanted = (original_.size() * zoom).boundedTo(QSize(ViewSide, ViewSide)) + QSize(4, 4);
    for (QLabel* view : {originalView_, convertedView_}) {
        view->adjustSize();
        if (auto* area = qobject_cast<QScrollArea*>(view->parentWidget()->parentWidget()))
            area->setMinimumSize(wanted.expandedTo(QSize(160, 160)));
    }
}
