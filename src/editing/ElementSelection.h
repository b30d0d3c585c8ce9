#pragma once
// Which elements are selected: every one of them, the primary one the property
// editor shows, and whether that one was picked as the right soft label (the
// left one's text drawn mirrored) rather than as its own text.
#include "SkinFormat.h"

#include <optional>
#include <string>
#include <vector>

// An element of the description file: its category and key.
struct ElementRef {
    SkinCategory category = SkinCategory::Strings;
    std::string key;
    bool operator==(const ElementRef&) const = default;
};

class ElementSelection {
public:
    const std::optional<ElementRef>& Primary() const { return primary_; }
    // Every selected element, the primary one first; empty when none is.
    const std::vector<ElementRef>& Elements() const { return elements_; }
    // The primary element is the right soft label.
    bool PrimaryMirrored() const { return mirrored_; }

    // Selects elements (each once) with primary as the one shown; primary is added
    // when missing. Without a primary nothing is selected. Returns whether anything
    // changed.
    bool Set(std::vector<ElementRef> elements, const std::optional<ElementRef>& primary, bool mirrored);

private:
    std::optional<ElementRef> primary_;
    std::vector<ElementRef> elements_;
    bool mirrored_ = false;
};
