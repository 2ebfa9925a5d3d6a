#pragma once

#include <optional>
#include <string>

namespace fmb {

// Where a window of the program stood and how large it was, kept in FMB_Preview.ini beside the
// other INI files (section "PREVIEW"), so that it opens there again.
struct WindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const WindowRect&) const = default;
};

class WindowPlace {
public:
    static constexpr const char* kFileName = "FMB_Preview.ini";

    // settingsFolder: the folder of the INI files, ending in the path separator.
    explicit WindowPlace(std::string settingsFolder);

    // The place last saved; nothing when none was, or the file holds no usable size.
    std::optional<WindowRect> Read() const;
    // False when the file could not be written; it then stays as it was.
    bool Save(const WindowRect& rect) const;

private:
    std::string m_settingsFolder;
};

} // namespace fmb
