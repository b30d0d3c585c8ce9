#pragma once
// The picture of another kind than GIF that is to replace one of the skin's, shown
// before it is taken: the original beside the GIF it becomes, zoomed over a
// checkerboard, with what the conversion cost (colours, colour error, pixels
// made transparent) and its choices. OK takes the GIF; Cancel nothing.
#include "GifConversion.h"

#include <QDialog>
#include <QImage>

#include <optional>

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QSpinBox;

// What the dialog was last left with, for the next one.
struct ImportChoices {
    int colors = MaxGifColors;
    bool dither = false;
    bool keepColors = false; // map onto the replaced picture's palette
    int zoom = 0;             // 0: as large as fits
};

class TPictureImportDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int MinZoom = 2;
    static constexpr int MaxZoom = 8;

    // replaced: the colours of the GIF being replaced; none when it has none to keep.
    TPictureImportDialog(const QImage& original, const QString& sourceName, const QString& pictureName,
                         std::optional<GifColors> replaced, const ImportChoices& choices, QWidget* parent = nullptr);

    ImportChoices Choices() const;
    // The GIF the choices give; none when they give none (the summary says why).
    const std::optional<ConvertedGif>& Converted() const { return converted_; }

private:
    void Convert();
    void ShowPictures();

    QImage original_;
    std::optional<GifColors> replaced_;
    std::optional<ConvertedGif> converted_;
    QLabel* originalView_ = nullptr;
    QLabel* convertedView_ = nullptr;
    QSpinBox* zoom_ = nullptr;
    QSpinBox* colors_ = nullptr;
    QCheckBox* dither_ = nullptr;
    QCheckBox* keepColors_ = nullptr;
    QLabel* summary_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};
