#pragma once

#include <optional>
#include <string>

namespace fmb {

// The desktop's file and folder choosers. Each is modal and returns the chosen path in the
// platform's native form (UTF-8, native separators), or nothing when the user cancelled.
class PickerPort {
public:
    virtual ~PickerPort() = default;
    // An existing file to open, any type ("All Files").
    virtual std::optional<std::string> PickOpenFile() = 0;
    // The same, starting in initialFolder.
    virtual std::optional<std::string> PickOpenFileIn(const std::string& initialFolder) = 0;
    // An existing folder; the chooser starts in initialFolder (the current folder when empty).
    virtual std::optional<std::string> PickFolder(const std::string& initialFolder) = 0;
};

} // namespace fmb
