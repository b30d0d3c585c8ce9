#include "PropertyEditor.h"

#include "ColorSwatch.h"
#include "DialogService.h"
#include "ElementPicker.h"
#include "ElementValues.h"
#include "ErrorReporter.h"
#include "ItemValueMapping.h"
#include "KeyNotifier.h"
#include "NumberField.h"
#include "Placement.h"
#include "SkinError.h"
#include "SkinNumbers.h"
#include "UndoKeys.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>

#include <algorithm>
#include <initializer_list>

namespace {

constexpr RgbColor SwatchGrey = 0x808080;

// Description lines are 8-bit text, one character per byte.
std::string SkinText(const QString& text)
{
    return text.toLatin1().toStdString();
}

QString FromSkinText(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

template <std::size_t N>
QComboBox* DropDownList(QWidget* parent, const std::array<const char*, N>& entries)
{
    auto* list = new QComboBox(parent);
    for (const char* entry : entries)
        list->addItem(QString::fromLatin1(entry));
    list->setCurrentIndex(0);
    return list;
}

QLabel* Caption(QWidget* parent, const char* name, const char* text, int left, int top)
{
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

void SetVisible(std::initializer_list<QWidget*> widgets, bool visible)
{
    for (QWidget* widget : widgets)
        widget->setVisible(visible);
}

} // namespace

PropertyEditor::PropertyEditor(EditingSession& session, DialogService& dialogs, const ErrorReporter& errors,
                               QWidget* page)
    : QObject(page), session_(session), dialogs_(dialogs), errors_(errors)
{
    setObjectName(QStringLiteral("PropertyEditor"));
    picker_ = new ElementPicker(session_, errors_, page);
    CreateControls(page);
    ConnectControls();
    FollowSession();
}

void PropertyEditor::CreateControls(QWidget* page)
{
    page_ = page;
    Caption(page, "XEditL", "X:", 115, 8);
    XEdit = Place(new NumberField(page), "XEdit", 128, 8, 57, 22);
    Caption(page, "YEditL", "Y:", 187, 8);
    YEdit = Place(new NumberField(page), "YEdit", 200, 8, 57, 22);
    WposL = Caption(page, "WposL", "W:", 115, 32);
    WPos = Place(new NumberField(page), "WPos", 128, 32, 57, 22);
    HposL = Caption(page, "HposL", "H:", 187, 32);
    HPos = Place(new NumberField(page), "HPos", 200, 32, 57, 22);

    ColorBox = Place(new QGroupBox(QStringLiteral("Color"), page), "ColorBox", 120, 56, 137, 57);
    ColorEdit = Place(new QLineEdit(ColorBox), "ColorEdit", 8, 20, 81, 21);
    // Given once the field has the window's font: a text given to the constructor is
    // laid out in the application's font first, which loads that face's glyphs for nothing.
    ColorEdit->setText(QStringLiteral("0x00000000"));
    ColorView = Place(new ColorSwatch(33, 33, ColorBox), "ColorView", 96, 16, 33, 33);

    FontBox = Place(DropDownList(page, FontEntries), "FontBox", 120, 120, 137, 22);
    FontStylegr = Place(new QGroupBox(QStringLiteral("Font Style"), page), "FontStylegr", 120, 144, 137, 49);
    FstyleCB = Place(DropDownList(FontStylegr, StyleEntries), "FstyleCB", 8, 19, 121, 22);
    AVHgrup = Place(new QGroupBox(QStringLiteral("(a_v|a_h)"), page), "AVHgrup", 120, 192, 137, 73);
    XPos = Place(DropDownList(AVHgrup, VerticalEntries), "XPos", 8, 19, 121, 22);
    YPos = Place(DropDownList(AVHgrup, HorizontalEntries), "YPos", 8, 43, 121, 22);
}

void PropertyEditor::ConnectControls()
{
    connect(picker_, &ElementPicker::NamesShown, this, &PropertyEditor::ShowNoElement);
    connect(picker_, &ElementPicker::Chosen, this, &PropertyEditor::SkinItemsClick);

    for (QWidget* field : std::initializer_list<QWidget*>{XEdit, YEdit, WPos, HPos, ColorEdit})
        UndoKeys::PassToWindow(field);

    connect(XEdit, &NumberField::Edited, this, &PropertyEditor::XEditChange);
    connect(XEdit, &NumberField::KeyDown, this, &PropertyEditor::XEditKeyDown);
    connect(XEdit, &NumberField::KeyUp, this, &PropertyEditor::XEditKeyUp);
    connect(YEdit, &NumberField::Edited, this, &PropertyEditor::YEditChange);
    connect(YEdit, &NumberField::KeyDown, this, &PropertyEditor::YEditKeyDown);
    connect(WPos, &NumberField::Edited, this, &PropertyEditor::WPosChange);
    connect(WPos, &NumberField::KeyDown, this, &PropertyEditor::XEditKeyDown);
    connect(HPos, &NumberField::Edited, this, &PropertyEditor::HPosChange);
    connect(HPos, &NumberField::KeyDown, this, &PropertyEditor::YEditKeyDown);

    auto* colorKeys = new KeyNotifier(ColorEdit);
    connect(colorKeys, &KeyNotifier::KeyDown, this, &PropertyEditor::ColorEditKeyDown);
    connect(colorKeys, &KeyNotifier::KeyUp, this, &PropertyEditor::ColorEditKeyUp);
    connect(ColorEdit, &QLineEdit::textEdited, this, &PropertyEditor::ColorEditChange);
    connect(ColorView, &ColorSwatch::Clicked, this, &PropertyEditor::ColorViewClick);

    connect(FontBox, &QComboBox::activated, this, &PropertyEditor::FontBoxChange);
    connect(FstyleCB, &QComboBox::activated, this, &PropertyEditor::FstyleCBChange);
    connect(XPos, &QComboBox::activated, this, &PropertyEditor::XPosChange);
    connect(YPos, &QComboBox::activated, this, &PropertyEditor::YPosChange);
}

void PropertyEditor::FollowSession()
{
    // Typing into another control, or leaving the fields, starts a new undo step.
    connect(qApp, &QApplication::focusChanged, this, [this] { session_.Commit(); });
    // Another skin, an undo, a move on the canvas: the fields show the line as it is now.
    connect(&session_, &EditingSession::Changed, this, [this](const SkinChange& change) {
        if (writing_ || !picker_->Category())
            return;
        if (const auto key = picker_->SelectedKey(); key && change.Touches(*key))
            ShowIfSelected(*key);
    });
}

void PropertyEditor::ShowIfSelected(const std::string& key)
{
    errors_.Run([&] {
        if (picker_->Category() && picker_->SelectedKey() == key && session_.Document().SkinLoaded)
            ShowAllowingWriteBack();
    });
}

void PropertyEditor::ShowAllowingWriteBack()
{
    // Left off when showing fails: no write-back follows a failed selection.
    EditEnabled = false;
    ShowItem();
    EditEnabled = true;
}

void PropertyEditor::FocusField(FieldId field)
{
    QWidget* control = nullptr;
    switch (field) {
    case FieldId::X: control = XEdit; break;
    case FieldId::Y: control = YEdit; break;
    case FieldId::W: control = WPos; break;
    case FieldId::H: control = HPos; break;
    case FieldId::Color: control = ColorEdit; break;
    case FieldId::FontId: control = FontBox; break;
    case FieldId::StyleCode: control = FstyleCB; break;
    case FieldId::Anchor: control = XPos; break;
    case FieldId::SecondColor:
    case FieldId::Setting: return; // no control: write-back writes them itself
    }
    if (control->isVisibleTo(page_))
        control->setFocus(Qt::TabFocusReason);
}

void PropertyEditor::PaintColorViewGrey()
{
    ColorView->Fill(SwatchGrey);
}

void PropertyEditor::ShowCategoryNames()
{
    picker_->ShowCategoryNames();
}

void PropertyEditor::ShowNoElement()
{
    EditEnabled = false; // no element shown: nothing to write back into
    for (NumberField* field : {XEdit, YEdit, WPos, HPos})
        field->SetText(QString());
    ColorEdit->clear();
    ColorView->Fill(SwatchGrey);
    for (QComboBox* list : {FontBox, FstyleCB, XPos, YPos})
        list->setCurrentIndex(-1);
    SetFieldsEnabled(false);
}

void PropertyEditor::SetFieldsEnabled(bool enabled)
{
    for (QWidget* control : std::initializer_list<QWidget*>{XEdit, YEdit, WPos, HPos, ColorEdit, ColorView, FontBox,
                                                            FstyleCB, XPos, YPos})
        control->setEnabled(enabled);
}

void PropertyEditor::SkinItemsClick()
{
    errors_.Run([this] {
        if (session_.Document().SkinLoaded)
            ShowAllowingWriteBack();
        else
            EditEnabled = true;
    });
}

void PropertyEditor::ShowItem()
{
    const auto category = picker_->Category();
    if (!category)
        return;
    SetVisibility(*category);

    ItemValues values;
    try {
        values = ReadElementValues(session_.Document().Lines, *category, SkinText(picker_->SelectedName()));
    } catch (const SkinError&) {
        ShowNoElement(); // not the values of the element shown before
        throw;
    }
    if (*category == SkinCategory::Settings)
        return; // no page shows the setting
    SetFieldsEnabled(true);
    // A list emptied while nothing was selected starts at its first entry again, as at
    // start-up, for a code that has no entry of its own.
    for (QComboBox* list : {FontBox, FstyleCB, XPos, YPos})
        if (list->currentIndex() < 0)
            list->setCurrentIndex(0);
    XEdit->SetValue(values.X);
    YEdit->SetValue(values.Y);
    if (*category == SkinCategory::Objects) {
        WPos->SetValue(values.W);
        HPos->SetValue(values.H);
    }
    if (*category == SkinCategory::Pictures)
        return;
    ShowColor(values.Color);
    if (*category != SkinCategory::Strings)
        return;
    if (const auto font = FontEntryOfId(values.FontId))
        FontBox->setCurrentIndex(*font);
    FstyleCB->setCurrentIndex(StyleEntryOfCode(values.StyleCode));
    if (const auto anchor = AnchorEntriesOf(values.Anchor)) {
        XPos->setCurrentIndex(anchor->vertical);
        YPos->setCurrentIndex(anchor->horizontal);
    }
}

void PropertyEditor::SetVisibility(SkinCategory category)
{
    const bool strings = category == SkinCategory::Strings;
    const bool objects = category == SkinCategory::Objects;
    SetVisible({FontBox, FontStylegr, AVHgrup}, strings);
    SetVisible({WPos, HPos, WposL, HposL}, objects);
    ColorBox->setVisible(strings || objects);
}

void PropertyEditor::ShowColor(const std::string& color)
{
    if (const QString text = FromSkinText(color); ColorEdit->text() != text)
        ColorEdit->setText(text); // an equal text is left alone, and with it the cursor
    ColorView->Fill(HexToColor(ColorText()));
}

void PropertyEditor::ItemEdited()
{
    if (!session_.Document().SkinLoaded || !EditEnabled)
        return;
    StoreItem(picker_->SelectedName());
}

void PropertyEditor::StoreItem(const QString& name)
{
    // A missing line throws before anything is parsed or drawn.
    const auto category = picker_->Category();
    if (!category)
        return;
    // The controls already show what is written: they must not be shown again.
    const QScopedValueRollback<bool> writing(writing_, true);
    session_.StoreElement(ElementRef{*category, SkinText(name)}, ControlValues(*category), control_);
}

ItemValues PropertyEditor::ControlValues(SkinCategory category) const
{
    ItemValues values;
    values.X = XEdit->Value();
    values.Y = YEdit->Value();
    if (category == SkinCategory::Strings) {
        values.Anchor = AnchorOfEntries(XPos->currentIndex(), YPos->currentIndex());
        values.FontId = FontIdOfEntry(FontBox->currentIndex());
        values.StyleCode = StyleCodeOfEntry(FstyleCB->currentIndex());
        values.Color = ColorText();
    } else if (category == SkinCategory::Objects) {
        values.W = WPos->Value();
        values.H = HPos->Value();
        values.Color = ColorText();
    }
    return values;
}

void PropertyEditor::ColorViewClick()
{
    errors_.Run([this] {
        // At the element's colour, with the colours the skin already uses at hand.
        const auto rgb = [](RgbColor color) { return QColor(RedOf(color), GreenOf(color), BlueOf(color)); };
        std::vector<QColor> skinColors;
        const auto offer = [&](const std::string& text) {
            if (text.size() != ColorWordLength)
                return;
            const QColor color = rgb(HexToColor(text));
            if (skinColors.size() < 16 && std::find(skinColors.begin(), skinColors.end(), color) == skinColors.end())
                skinColors.push_back(color);
        };
        const TSkinModel& model = session_.Document().Model;
        for (const TSkiStr& item : model.TextItems)
            offer(item.Color);
        for (const TSkiObject& object : model.SkinObjects)
            offer(object.Color);
        const auto chosen = dialogs_.PickColor(rgb(HexToColor(ColorText())), skinColors);
        if (!chosen)
            return;
        const RgbColor color = MakeRgb(chosen->red(), chosen->green(), chosen->blue());
        ColorView->Fill(color);
        ColorEdit->setText(FromSkinText(ColorWord(color)));
        control_ = MergeControl::Color;
        ItemEdited();
    });
}

void PropertyEditor::ColorEditChange()
{
    // Only the swatch follows the text, and only a complete colour; a failure to
    // paint it must not interrupt typing, so it is ignored.
    try {
        if (static_cast<std::size_t>(ColorEdit->text().size()) == ColorWordLength)
            ColorView->Fill(HexToColor(ColorText()));
    } catch (...) {
    }
}

std::string PropertyEditor::ColorText() const
{
    return SkinText(ColorEdit->text());
}

void PropertyEditor::WriteBack(int control)
{
    errors_.Run([this, control] {
        control_ = control;
        ItemEdited();
    });
}

// The write-back handlers of the fields: each only runs ItemEdited.
void PropertyEditor::XEditChange() { WriteBack(MergeControl::X); }
void PropertyEditor::XEditKeyDown() { WriteBack(MergeControl::X); }
void PropertyEditor::XEditKeyUp() { WriteBack(MergeControl::X); }
void PropertyEditor::YEditChange() { WriteBack(MergeControl::Y); }
void PropertyEditor::YEditKeyDown() { WriteBack(MergeControl::Y); }
void PropertyEditor::WPosChange() { WriteBack(MergeControl::W); }
void PropertyEditor::HPosChange() { WriteBack(MergeControl::H); }
void PropertyEditor::ColorEditKeyDown() { WriteBack(MergeControl::Color); }
void PropertyEditor::ColorEditKeyUp() { WriteBack(MergeControl::Color); }
void PropertyEditor::FontBoxChange() { WriteBack(MergeControl::Font); }
void PropertyEditor::FstyleCBChange() { WriteBack(MergeControl::Style); }
void PropertyEditor::XPosChange() { WriteBack(MergeControl::Anchor); }
void PropertyEditor::YPosChange() { WriteBack(MergeControl::Anchor); }
