#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/MessageBoxes.h"
#include "files/FileChooser.h"
#include "files/IniFile.h"
#include "files/ReferenceFile.h"

namespace tarvo {

inline constexpr const char* kStripSection = "Strip";
inline constexpr const char* kReferenceKey = "REFERENCE";
inline constexpr const char* kToleranceKey = "TOLERANCE";
inline constexpr const char* kReferenceTitle = "Reference";

// Told when the reference or the tolerance changed.
class ReferenceObserver {
  public:
    virtual ~ReferenceObserver() = default;
    virtual void referenceChanged() = 0;
};

// The strip today's readings are held against, the same for the whole
// program: chosen with "Reference...", dropped with "No reference", kept in
// Tarvo.ini ([Strip] REFERENCE and TOLERANCE) and read again at start-up.
// The file is read once when chosen; the Strip window compares with what was
// read, so a file changed later changes nothing until it is chosen again.
class ChosenReference {
  public:
    explicit ChosenReference(IniFile& ini);
    ChosenReference(const ChosenReference&) = delete;
    ChosenReference& operator=(const ChosenReference&) = delete;

    // At start-up: the tolerance, written back so the file shows it, and the
    // reference. A reference that reads no more is told and dropped.
    void load(MessageBoxes& messages);
    // Asks for a file through the Open dialog. One that is no reference is
    // refused with a message naming the file and the line, and the earlier
    // reference stays.
    void choose(FileChooser& chooser, MessageBoxes& messages);
    void drop();

    // Null while there is none.
    const StripReference* reference() const { return reference_ ? &*reference_ : nullptr; }
    double tolerance() const { return tolerance_; }

    void addObserver(ReferenceObserver* observer);
    void removeObserver(ReferenceObserver* observer);

  private:
    FileDialogRequest openRequest() const;
    void changed();

    IniFile& ini_;
    std::optional<StripReference> reference_;
    double tolerance_;
    std::vector<ReferenceObserver*> observers_;
};

}  // namespace tarvo
