#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace revlane::platform {

inline constexpr char FolderPickerTitle[] = "Select the GTA installation to use...";

// Asks the user for an installation folder.
class FolderPicker {
public:
    virtual ~FolderPicker() = default;
    // The chosen folder in the system's own notation, or nothing when the user cancels.
    virtual std::optional<QString> PickFolder(QWidget* owner) = 0;
};

// The system's folder dialog, modal to its owner, starting at the top of the folder tree.
class DialogFolderPicker : public FolderPicker {
public:
    std::optional<QString> PickFolder(QWidget* owner) override;
};

}  // namespace revlane::platform
