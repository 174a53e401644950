#include "app/strip/ChosenReference.h"

#include <algorithm>
#include <cstdio>

#include "app/strip/ReferenceChecks.h"
#include "files/FilePath.h"
#include "files/Saving.h"
#include "files/Settings.h"
#include "res/Texts.h"

namespace tarvo {

namespace {

// The widest a tolerance may be: beyond it every patch of a strip would pass.
constexpr double kWidestTolerance = 1.0;

const std::vector<FileFilter> kReferenceFilters = {
    {"Fiery (*.cm1)", "*.cm1"}, {"CGATS (*.txt)", "*.txt"}, {"All files (*.*)", "*.*"}};

// A tolerance that is no number, or none a strip can be held to, gives the
// usual one.
double toleranceOf(const std::optional<std::string>& text) {
    const auto value = text ? writtenNumber(*text) : std::nullopt;
    if (!value || *value < 0 || *value > kWidestTolerance) {
        return kReferenceTolerance;
    }
    return *value;
}

std::string toleranceText(double tolerance) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", tolerance);
    return text;
}

}  // namespace

ChosenReference::ChosenReference(IniFile& ini) : ini_(ini), tolerance_(kReferenceTolerance) {}

void ChosenReference::load(MessageBoxes& messages) {
    tolerance_ = toleranceOf(ini_.value(kStripSection, kToleranceKey));
    ini_.write(kStripSection, kToleranceKey, toleranceText(tolerance_));
    const std::string path = ini_.value(kStripSection, kReferenceKey).value_or("");
    reference_.reset();
    if (!path.empty()) {
        ReferenceRead read = loadReference(path);
        if (read.reference) {
            reference_ = std::move(read.reference);
        } else {
            ini_.write(kStripSection, kReferenceKey, "");
            messages.show(referenceRefusal(path, *read.problem), text::kProgramName);
        }
    }
    changed();
}

FileDialogRequest ChosenReference::openRequest() const {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.title = kReferenceTitle;
    request.filters = kReferenceFilters;
    std::string start = ini_.value(kStripSection, kReferenceKey).value_or("");
    if (start.empty()) {
        start =
            ini_.readString(kGenericSection, "FILEPATH", kStoredPathFallback, kStoredPathBuffer);
    }
    const PathParts parts = splitPath(start);
    request.initialFolder = parts.drive + parts.folder;
    return request;
}

void ChosenReference::choose(FileChooser& chooser, MessageBoxes& messages) {
    const std::string path = chooser.choose(openRequest());
    if (path.empty()) {
        return;
    }
    ReferenceRead read = loadReference(path);
    if (!read.reference) {
        messages.show(referenceRefusal(path, *read.problem), text::kProgramName);
        return;
    }
    reference_ = std::move(read.reference);
    ini_.write(kStripSection, kReferenceKey, path);
    changed();
}

void ChosenReference::drop() {
    reference_.reset();
    ini_.write(kStripSection, kReferenceKey, "");
    changed();
}

void ChosenReference::addObserver(ReferenceObserver* observer) {
    observers_.push_back(observer);
}

void ChosenReference::removeObserver(ReferenceObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void ChosenReference::changed() {
    // A copy: an observer may stop observing while it is told.
    const auto observers = observers_;
    for (ReferenceObserver* observer : observers) {
        observer->referenceChanged();
    }
}

}  // namespace tarvo
