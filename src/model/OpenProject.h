#pragma once

#include "InputFields.h"
#include "ProjectFile.h"

#include <filesystem>
#include <string>
#include <vector>

namespace slabwise {

class TMatData;

// The captions under which the input fields appear, so that a report about a
// file names each field as the user sees it.
namespace FieldCaption {
// The numeric inputs under the captions of the input list.
constexpr const char* Of(TInput input) {
    // The list's captions are whole literals, so the view ends where the text does.
    return InputField(input).FileCaptionOrCaption().data();
}
inline constexpr const char* Shape = "Shape";
inline constexpr const char* StripLength = Of(TInput::StripLength);
inline constexpr const char* StripWidth = Of(TInput::StripWidth);
inline constexpr const char* Thickness = Of(TInput::Thickness);
inline constexpr const char* ConcreteModulus = "Concrete Modulus, E";
inline constexpr const char* SubgradeModulus = Of(TInput::SubgradeModulus);
inline constexpr const char* AllowableBearing = Of(TInput::AllowableBearing);
inline constexpr const char* FullUniformLoad = Of(TInput::FullUniformLoad);
inline constexpr const char* EffWidthPercent = Of(TInput::EffWidthPercent);
inline constexpr const char* UseReinforcement = "Use Reinforcement";
inline constexpr const char* BarSystem = "Rebar Sizes";
inline constexpr const char* Fy = Of(TInput::Fy);
inline constexpr const char* Fc = Of(TInput::Fc);
inline constexpr const char* TopCover = Of(TInput::TopCover);
inline constexpr const char* TopBarSize = "Top Bar Size";
inline constexpr const char* TopBarsOverride = Of(TInput::TopBarsOverride);
inline constexpr const char* BottomCover = Of(TInput::BottomCover);
inline constexpr const char* BottomBarSize = "Bottom Bar Size";
inline constexpr const char* BotBarsOverride = Of(TInput::BotBarsOverride);
inline constexpr const char* ShearLoadFactor = Of(TInput::ShearLoadFactor);
inline constexpr const char* MomentLoadFactor = Of(TInput::MomentLoadFactor);
// Entries by zero-based index: "User point x1", "Distributed load #1".
std::string UserPoint(int index);
std::string DistLoad(int index);
std::string PointLoad(int index);
std::string Moment(int index);
} // namespace FieldCaption

// One value of a file that the program does not use as it stands.
struct TAdjustment {
    std::string Caption;
    std::string InFile;
    std::string Used;

    bool operator==(const TAdjustment&) const = default;
};

// Takes the inputs of a project just read exactly as the input fields take
// them: each value limited to its field's row (positions to the strip, a
// distributed load's end to its start and the strip), rounded to the decimals
// the field shows, NaN and infinite values read as 0 before limiting; a round
// mat's width is its length; a bar size the current bar table does not hold
// becomes the table's first bar; a date becomes a whole day the date field
// can show. Returns each change. (An end intensity is no input: the analysis
// sets it to the start intensity.)
std::vector<TAdjustment> ApplyInputLimits(TMatData& mat);

// A field the file does not hold and the value the project takes for it.
struct TFieldValue {
    std::string Caption;
    std::string Used;

    bool operator==(const TFieldValue&) const = default;
};

// What opening a file did not take from it as it stands.
struct TOpenReport {
    std::vector<std::string> NotRead;
    // The fields an older version of the file does not hold, with the
    // built-in values of the file's unit system they take (after the input
    // limits); they are never among Adjusted, which lists values of the file.
    std::vector<TFieldValue> NotInVersion;
    // The version text of the file, "0.1", for the line about NotInVersion.
    std::string FileVersion;
    std::vector<TAdjustment> Adjusted;

    bool Clean() const { return NotRead.empty() && NotInVersion.empty() && Adjusted.empty(); }
    // "Not in this version 0.1 file: Shape = Square/Rect; ... used", empty
    // when the file holds every field.
    std::string NotInVersionLine() const;
    // One line for the fields not read, one for the fields not in the
    // file's version, then one per adjustment.
    std::vector<std::string> Lines() const;
};

// Reads a project file all or nothing: into a model of its own, which then
// replaces `mat` with the input limits applied. When reading raises (foreign
// header, a field refused after the header, an unreadable file), `mat` is
// left exactly as it was.
TOpenReport OpenProject(TMatData& mat, const std::filesystem::path& fileName);

} // namespace slabwise
