#include "InputFields.h"

#include <algorithm>

namespace slabwise {

namespace {

constexpr bool InTInputOrder() {
    for (size_t i = 0; i < InputFields.size(); ++i)
        if (static_cast<size_t>(InputFields[i].Input) != i) return false;
    return true;
}
static_assert(InTInputOrder(), "InputField(TInput) indexes the list");

// Exactly one way to the value, and a number only with an element.
constexpr bool OneWayToTheValue() {
    for (const TInputField& field : InputFields) {
        if ((field.Member == nullptr) == (field.Element == nullptr)) return false;
        if (field.Numbered() ? field.Count < 2 || field.Array.empty()
                             : field.Count != 1 || !field.Array.empty())
            return false;
    }
    return true;
}
static_assert(OneWayToTheValue());

// Two rows for one value would limit it twice; two under one key would let
// one hide the other in the JSON; two showing in one box would fight over it.
constexpr bool Distinct() {
    for (size_t i = 0; i < InputFields.size(); ++i)
        for (size_t k = i + 1; k < InputFields.size(); ++k) {
            const TInputField& a = InputFields[i];
            const TInputField& b = InputFields[k];
            if (a.Member && a.Member == b.Member) return false;
            if (a.Element && a.Element == b.Element) return false;
            if (a.Key == b.Key && a.Array == b.Array) return false;
            for (const TInputBox* x : {&a.Box, &a.SecondBox})
                for (const TInputBox* y : {&b.Box, &b.SecondBox})
                    if (!x->Empty() && x->Edit.Pattern == y->Edit.Pattern) return false;
        }
    return true;
}
static_assert(Distinct());

// The numbered rows of one array stand next to each other, with one count,
// so that ForEachInput reads them load by load; the JSON writes them as
// the keys of one element, so they stand together there too.
constexpr bool ArraysTogether() {
    for (size_t i = 0; i < InputFields.size(); ++i)
        for (size_t k = i + 1; k < InputFields.size(); ++k) {
            const TInputField& a = InputFields[i];
            const TInputField& b = InputFields[k];
            if (!a.Numbered() || a.Array != b.Array) continue;
            if (a.Count != b.Count) return false;
            for (size_t m = i + 1; m < k; ++m)
                if (InputFields[m].Array != a.Array) return false;
            const int low = std::min(a.JsonRank, b.JsonRank);
            const int high = std::max(a.JsonRank, b.JsonRank);
            for (const TInputField& c : InputFields)
                if (c.JsonRank > low && c.JsonRank < high && c.Array != a.Array) return false;
        }
    return true;
}
static_assert(ArraysTogether());

// Each rank once, and the JSON's stretches in order along the ranks.
constexpr bool JsonOrderSound() {
    for (const TInputField& a : InputFields) {
        if (a.JsonRank < 0 || a.JsonRank >= static_cast<int>(InputFields.size())) return false;
        for (const TInputField& b : InputFields) {
            if (&a != &b && a.JsonRank == b.JsonRank) return false;
            if (a.JsonRank < b.JsonRank && a.Group > b.Group) return false;
        }
    }
    return true;
}
static_assert(JsonOrderSound());

// A bound is read from values read before: every position after the strip
// length, a cover after the thickness, a load's end after its start.
constexpr bool BoundsReadFirst() {
    size_t length = InputFields.size();
    size_t thickness = InputFields.size();
    size_t width = InputFields.size();
    for (size_t i = 0; i < InputFields.size(); ++i) {
        const TInputField& field = InputFields[i];
        if (field.Input == TInput::StripLength) length = i;
        if (field.Input == TInput::Thickness) thickness = i;
        if (field.Input == TInput::StripWidth) width = i;
        switch (field.Bound) {
        case TInputBound::Row:
            break;
        case TInputBound::UpToLength:
            if (length > i) return false;
            break;
        case TInputBound::BelowThickness:
            if (thickness > i) return false;
            break;
        case TInputBound::UpToWidth:
            if (width > i) return false;
            break;
        case TInputBound::StartToLength: {
            if (length > i || !field.Numbered()) return false;
            bool start = false;
            for (size_t k = 0; k < i; ++k)
                start = start || (InputFields[k].Array == field.Array && InputFields[k].Tag == field.Tag &&
                                  InputFields[k].Bound == TInputBound::UpToLength);
            if (!start) return false;
            break;
        }
        }
    }
    return true;
}
static_assert(BoundsReadFirst());

// Where a caption takes the number: "Point Load ##, a", "User Point x#"; the
// "#" of "Override # of Top Bars" is no number.
constexpr bool HasNumberSlot(std::string_view caption) {
    return caption.find("##") != std::string_view::npos || caption.ends_with('#');
}

// A numbered input's captions and boxes carry its number, and only theirs;
// its column of boxes splits evenly over the unit labels.
constexpr bool NumbersWhereNumbered() {
    for (const TInputField& field : InputFields) {
        if (field.Tag < 1 || field.Tag > InputRangeCount) return false;
        const bool numbered = field.Numbered();
        if (HasNumberSlot(field.Caption) != numbered ||
            HasNumberSlot(field.FileCaptionOrCaption()) != numbered)
            return false;
        // The window shows every input.
        if (field.Box.Empty()) return false;
        for (const TInputBox* box : {&field.Box, &field.SecondBox}) {
            if (box->Empty()) continue;
            if ((box->Edit.Pattern.find('#') != std::string_view::npos) != numbered) return false;
            if (!box->Caption.Empty() &&
                (box->Caption.Pattern.find('#') != std::string_view::npos) != numbered)
                return false;
            const int labels = box->Units[1].empty() ? 1 : 2;
            if (field.Count % labels != 0) return false;
        }
    }
    return true;
}
static_assert(NumbersWhereNumbered());

} // namespace

std::string TControlName::For(int number) const {
    std::string name(Pattern);
    if (const size_t at = name.find('#'); at != std::string::npos)
        name.replace(at, 1, std::to_string(First + std::max(number, 1) - 1));
    return name;
}

std::string_view TInputBox::UnitLabel(int number, int count) const {
    if (Units[1].empty() || count < 2) return Units[0];
    return Units[static_cast<size_t>(std::max(number, 1) - 1 < count / 2 ? 0 : 1)];
}

std::string NumberedCaption(std::string_view caption, int number) {
    std::string text(caption);
    if (const size_t at = text.find("##"); at != std::string::npos)
        text.replace(at, 2, "#" + std::to_string(number));
    else if (HasNumberSlot(text))
        text.replace(text.size() - 1, 1, std::to_string(number));
    return text;
}

Real& InputValue(TMatData& mat, const TInputField& field, int number) {
    if (!field.Numbered()) return mat.*field.Member;
    return field.Element(mat, std::clamp(number, 1, field.Count) - 1);
}

Real InputValue(const TMatData& mat, const TInputField& field, int number) {
    // The element only names the value; nothing is written through it.
    return InputValue(const_cast<TMatData&>(mat), field, number);
}

std::string InputControl(TInput input, int number) {
    return InputField(input).Box.Edit.For(number);
}

std::string InputCaptionLabel(TInput input, int number) {
    const TControlName& caption = InputField(input).Box.Caption;
    return caption.Empty() ? std::string() : caption.For(number);
}

std::string InputUnitLabel(TInput input, int number) {
    const TInputField& field = InputField(input);
    return std::string(field.Box.UnitLabel(number, field.Count));
}

std::optional<TInputAt> InputOfControl(std::string_view control) {
    for (const TInputField& field : InputFields)
        for (const TInputBox* box : {&field.Box, &field.SecondBox}) {
            if (box->Empty()) continue;
            if (!field.Numbered()) {
                if (box->Edit.Pattern == control) return TInputAt{field.Input, 0};
                continue;
            }
            for (int number = 1; number <= field.Count; ++number)
                if (box->Edit.For(number) == control) return TInputAt{field.Input, number};
        }
    return std::nullopt;
}

std::array<const TInputField*, InputFields.size()> InputFieldsInJsonOrder() {
    std::array<const TInputField*, InputFields.size()> rows{};
    for (const TInputField& field : InputFields) rows[static_cast<size_t>(field.JsonRank)] = &field;
    return rows;
}

} // namespace slabwise
