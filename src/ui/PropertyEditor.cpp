#include "PropertyEditor.h"

#include "ChoiceList.h"
#include "ColorSwatch.h"
#include "DialogService.h"
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

constexpr int ColorTextLength = 10; // "0x" and RRGGBBAA
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
    CreateControls(page);
    ConnectControls();
    FollowSession();
}

void PropertyEditor::CreateControls(QWidget* page)
{
    CurList = Place(DropDownList(page, std::array{"Strings", "Pictures", "Objects"}), "CurList", 0, 8, 113, 22);
    SkinItems = Place(new ChoiceList(page), "SkinItems", 0, 32, 113, 237);

    Caption(page, "XEditL", "X:", 115, 8);
    XEdit = Place(new NumberField(page), "XEdit", 128, 8, 57, 22);
    Caption(page, "YEditL", "Y:", 187, 8);
    YEdit = Place(new NumberField(page), "YEdit", 200, 8, 57, 22);
    WposL = Caption(page, "WposL", "W:", 115, 32);
    WPos = Place(new NumberField(page), "WPos", 128, 32, 57, 22);
    HposL = Caption(page, "HposL", "H:", 187, 32);
    HPos = Place(new NumberField(page), "HPos", 200, 32, 57, 22);

    ColorBox = Place(new QGroupBox(QStringLiteral("Color"), page), "ColorBox", 120, 56, 137, 57);
    ColorEdit = Place(new QLineEdit(QStringLiteral("0x00000000"), ColorBox), "ColorEdit", 8, 20, 81, 21);
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
    connect(CurList, &QComboBox::currentIndexChanged, this, &PropertyEditor::CurListChange);
    // A new selection, by mouse or keys, shows the element; so does a click on the
    // entry that was already selected, which reads its line again.
    connect(SkinItems, &ChoiceList::Chosen, this, &PropertyEditor::SkinItemsClick);

    for (QWidget* field : std::initializer_list<QWidget*>{XEdit, YEdit, WPos, HPos, ColorEdit})
        UndoKeys::PassToWindow(field);

    connect(XEdit, &NumberField::TextChanged, this, &PropertyEditor::XEditChange);
    connect(XEdit, &NumberField::KeyDown, this, &PropertyEditor::XEditKeyDown);
    connect(XEdit, &NumberField::KeyUp, this, &PropertyEditor::XEditKeyUp);
    connect(YEdit, &NumberField::TextChanged, this, &PropertyEditor::YEditChange);
    connect(YEdit, &NumberField::KeyDown, this, &PropertyEditor::YEditKeyDown);
    connect(WPos, &NumberField::TextChanged, this, &PropertyEditor::WPosChange);
    connect(WPos, &NumberField::KeyDown, this, &PropertyEditor::XEditKeyDown);
    connect(HPos, &NumberField::TextChanged, this, &PropertyEditor::HPosChange);
    connect(HPos, &NumberField::KeyDown, this, &PropertyEditor::YEditKeyDown);

    auto* colorKeys = new KeyNotifier(ColorEdit);
    connect(colorKeys, &KeyNotifier::KeyDown, this, &PropertyEditor::ColorEditKeyDown);
    connect(colorKeys, &KeyNotifier::KeyUp, this, &PropertyEditor::ColorEditKeyUp);
    connect(ColorEdit, &QLineEdit::textChanged, this, &PropertyEditor::ColorEditChange);
    connect(ColorView, &ColorSwatch::Clicked, this, &PropertyEditor::ColorViewClick);

    connect(FontBox, &QComboBox::currentIndexChanged, this, &PropertyEditor::FontBoxChange);
    connect(FstyleCB, &QComboBox::currentIndexChanged, this, &PropertyEditor::FstyleCBChange);
    connect(XPos, &QComboBox::currentIndexChanged, this, &PropertyEditor::XPosChange);
    connect(YPos, &QComboBox::currentIndexChanged, this, &PropertyEditor::YPosChange);
}

void PropertyEditor::FollowSession()
{
    // Typing into another control, or leaving the fields, starts a new undo step.
    connect(qApp, &QApplication::focusChanged, this, [this] { session_.Commit(); });
    // Another skin, an undo, a move on the canvas: the fields show the line as it is now.
    connect(&session_, &EditingSession::Changed, this, [this](const SkinChange& change) {
        if (writing_ || !Category() || SelectedItem() < 0)
            return;
        const std::string key = SkinText(SelectedName());
        if (change.Touches(key))
            ShowIfSelected(key);
    });
    connect(&session_, &EditingSession::SelectionChanged, this, &PropertyEditor::ShowSessionSelection);
}

void PropertyEditor::ShowIfSelected(const std::string& key)
{
    errors_.Run([&] {
        const auto category = Category();
        if (!category || SelectedItem() < 0 || SkinText(SelectedName()) != key || !session_.Document().SkinLoaded)
            return;
        // The same guard as a selection: the controls follow without writing back.
        EditEnabled = false;
        ShowItem();
        EditEnabled = true;
    });
}

void PropertyEditor::ShowSessionSelection()
{
    const auto& selection = session_.Selection();
    if (!selection && !followingSession_ && SelectedItem() >= 0) { // cleared elsewhere
        SkinItems->clearSelection();
        SkinItems->setCurrentRow(-1);
        ShowNoElement();
        return;
    }
    if (!selection || selection->category == SkinCategory::Settings || followingSession_)
        return;
    const auto category = Category();
    if (category && *category == selection->category && SelectedItem() >= 0
        && SkinText(SelectedName()) == selection->key)
        return;
    followingSession_ = true;
    errors_.Run([&] {
        // As the user would: choose the category, then click the element.
        CurList->setCurrentIndex(static_cast<int>(selection->category));
        const auto found = SkinItems->findItems(FromSkinText(selection->key), Qt::MatchExactly);
        if (!found.isEmpty())
            SkinItems->setCurrentItem(found.front());
    });
    followingSession_ = false;
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
    if (control->isVisibleTo(CurList->parentWidget()))
        control->setFocus(Qt::TabFocusReason);
}

void PropertyEditor::PaintColorViewGrey()
{
    ColorView->Fill(SwatchGrey);
}

void PropertyEditor::ShowCategoryNames()
{
    const auto category = Category();
    if (!category)
        return;
    SkinItems->clear();
    for (const char* key : ElementKeys(*category))
        SkinItems->addItem(QString::fromLatin1(key));
    // Nothing is selected now: no field may show an element that is not.
    ShowNoElement();
}

void PropertyEditor::ShowNoElement()
{
    EditEnabled = false; // the fields' own notifications must write nothing
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

void PropertyEditor::CurListChange()
{
    errors_.Run([this] {
        ShowCategoryNames();
        // Choosing a category clears the selection, for every view.
        if (!followingSession_)
            session_.Select(std::nullopt);
    });
}

void PropertyEditor::SkinItemsClick()
{
    errors_.Run([this] {
        if (SelectedItem() < 0)
            return;
        EditEnabled = false;
        if (const auto category = Category())
            session_.Select(ElementRef{*category, SkinText(SelectedName())});
        if (session_.Document().SkinLoaded)
            ShowItem();
        // Not reached when ShowItem fails: nothing is written back until a selection succeeds.
        EditEnabled = true;
    });
}

void PropertyEditor::ShowItem()
{
    const auto category = Category();
    if (!category)
        return;
    SetVisibility(*category);

    ItemValues values;
    try {
        values = ReadElementValues(session_.Document().Lines, *category, SkinText(SelectedName()));
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
    ColorEdit->setText(FromSkinText(color));
    ColorView->Fill(HexToColor(ColorText()));
}

void PropertyEditor::ItemEdited()
{
    if (!session_.Document().SkinLoaded || !EditEnabled)
        return;
    StoreItem(SelectedName());
}

void PropertyEditor::StoreItem(const QString& name)
{
    // A missing line throws before anything is parsed or drawn.
    const auto category = Category();
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
        std::vector<QColor> skinColours;
        const auto offer = [&](const std::string& text) {
            if (text.size() != ColorTextLength)
                return;
            const QColor colour = rgb(HexToColor(text));
            if (skinColours.size() < 16 && std::find(skinColours.begin(), skinColours.end(), colour) == skinColours.end())
                skinColours.push_back(colour);
        };
        const TSkinModel& model = session_.Document().Model;
        for (const TSkiStr& item : model.TextItems)
            offer(item.Color);
        for (const TSkiObject& object : model.SkinObjects)
            offer(object.Color);
        const auto chosen = dialogs_.PickColor(rgb(HexToColor(ColorText())), skinColours);
        if (!chosen)
            return;
        const RgbColor color = MakeRgb(chosen->red(), chosen->green(), chosen->blue());
        ColorView->Fill(color);
        ColorEdit->setText(QStringLiteral("0x") + FromSkinText(ColorToHex(color)) + QStringLiteral("00"));
        control_ = ColorControl;
        ItemEdited();
    });
}

void PropertyEditor::ColorEditChange()
{
    // Only the swatch follows the text, and only a complete colour; a failure to
    // paint it must not interrupt typing, so it is ignored.
    try {
        if (ColorEdit->text().size() == ColorTextLength)
            ColorView->Fill(HexToColor(ColorText()));
    } catch (...) {
    }
}

std::optional<SkinCategory> PropertyEditor::Category() const
{
    switch (CurList->currentIndex()) {
    case 0: return SkinCategory::Strings;
    case 1: return SkinCategory::Pictures;
    case 2: return SkinCategory::Objects;
    default: return std::nullopt;
    }
}

int PropertyEditor::SelectedItem() const
{
    return SkinItems->SelectedRow();
}

QString PropertyEditor::SelectedName() const
{
    const int row = SelectedItem();
    if (row < 0)
        ThrowListIndexError(row);
    return SkinItems->item(row)->text();
}

std::string PropertyEditor::ColorText() const
{
    return SkinText(ColorEdit->text());
}

void PropertyEditor::WriteBack(Control control)
{
    errors_.Run([this, control] {
        control_ = control;
        ItemEdited();
    });
}

// The write-back handlers of the event table: each only runs ItemEdited.
void PropertyEditor::XEditChange() { WriteBack(XControl); }
void PropertyEditor::XEditKeyDown() { WriteBack(XControl); }
void PropertyEditor::XEditKeyUp() { WriteBack(XControl); }
void PropertyEditor::YEditChange() { WriteBack(YControl); }
void PropertyEditor::YEditKeyDown() { WriteBack(YControl); }
void PropertyEditor::WPosChange() { WriteBack(WControl); }
void PropertyEditor::HPosChange() { WriteBack(HControl); }
void PropertyEditor::ColorEditKeyDown() { WriteBack(ColorControl); }
void PropertyEditor::ColorEditKeyUp() { WriteBack(ColorControl); }
void PropertyEditor::FontBoxChange() { WriteBack(FontControl); }
void PropertyEditor::FstyleCBChange() { WriteBack(StyleControl); }
void PropertyEditor::XPosChange() { WriteBack(AnchorControl); }
void PropertyEditor::YPosChange() { WriteBack(AnchorControl); }
