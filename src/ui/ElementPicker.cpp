#include "ElementPicker.h"

#include "ChoiceList.h"
#include "ErrorReporter.h"
#include "Placement.h"
#include "SkinError.h"

#include <QComboBox>

ElementPicker::ElementPicker(EditingSession& session, const ErrorReporter& errors, QWidget* page)
    : QObject(page), session_(session), errors_(errors)
{
    CurList = Place(new QComboBox(page), "CurList", 0, 8, 113, 22);
    for (const char* category : {"Strings", "Pictures", "Objects"})
        CurList->addItem(QString::fromLatin1(category));
    CurList->setCurrentIndex(0);
    SkinItems = Place(new ChoiceList(page), "SkinItems", 0, 32, 113, 237);

    connect(CurList, &QComboBox::activated, this, &ElementPicker::CurListChange);
    // A new selection, by mouse or keys, shows the element; so does a click on the
    // entry that was already selected, which reads its line again.
    connect(SkinItems, &ChoiceList::Chosen, this, &ElementPicker::SkinItemsClick);
    connect(&session_, &EditingSession::SelectionChanged, this, &ElementPicker::ShowSessionSelection);
}

void ElementPicker::ShowCategoryNames()
{
    const auto category = Category();
    if (!category)
        return;
    listed_ = category;
    SkinItems->clear();
    for (const char* key : ElementKeys(*category))
        SkinItems->addItem(QString::fromLatin1(key));
    // Nothing is selected now: no field may show an element that is not.
    emit NamesShown();
}

void ElementPicker::CurListChange()
{
    if (Category() == listed_)
        return; // the category shown chosen again
    errors_.Run([this] {
        ShowCategoryNames();
        // Choosing a category clears the selection, for every view.
        session_.Select(std::nullopt);
    });
}

void ElementPicker::SkinItemsClick()
{
    const std::optional<std::string> key = SelectedKey();
    if (!key)
        return;
    const bool selected = errors_.Run([&] {
        if (const auto category = Category())
            session_.Select(ElementRef{*category, *key});
    });
    if (selected)
        emit Chosen();
}

void ElementPicker::ShowSessionSelection()
{
    const auto& selection = session_.Selection();
    if (!selection && SelectedItem() >= 0) { // cleared elsewhere
        SkinItems->clearSelection();
        SkinItems->setCurrentRow(-1);
        emit NamesShown();
        return;
    }
    if (!selection || selection->category == SkinCategory::Settings)
        return;
    const auto category = Category();
    if (category && *category == selection->category && SelectedKey() == selection->key)
        return;
    errors_.Run([&] {
        // As the user would: choose the category, then click the element. The click
        // selects in the session what it has selected, which changes nothing there.
        CurList->setCurrentIndex(static_cast<int>(selection->category));
        if (listed_ != selection->category)
            ShowCategoryNames();
        const auto found = SkinItems->findItems(
            QString::fromLatin1(selection->key.data(), static_cast<qsizetype>(selection->key.size())), Qt::MatchExactly);
        if (!found.isEmpty())
            SkinItems->setCurrentItem(found.front());
    });
}

std::optional<SkinCategory> ElementPicker::Category() const
{
    switch (CurList->currentIndex()) {
    case 0: return SkinCategory::Strings;
    case 1: return SkinCategory::Pictures;
    case 2: return SkinCategory::Objects;
    default: return std::nullopt;
    }
}

int ElementPicker::SelectedItem() const
{
    return SkinItems->SelectedRow();
}

QString ElementPicker::SelectedName() const
{
    const int row = SelectedItem();
    if (row < 0)
        ThrowListIndexError(row);
    return SkinItems->item(row)->text();
}

std::optional<std::string> ElementPicker::SelectedKey() const
{
    if (SelectedItem() < 0)
        return std::nullopt;
    return SelectedName().toLatin1().toStdString();
}
