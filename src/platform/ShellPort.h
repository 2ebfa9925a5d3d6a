#pragma once

#include <string>

namespace fmb {

// The desktop's "open": the program associated with a document, the file browser for a folder,
// the web browser for a web address. The result is not reported: the desktop alone decides what
// the user sees when the target is missing or has no program.
class ShellPort {
public:
    virtual ~ShellPort() = default;
    // A file or folder given by its path (absolute, or relative to the current folder).
    virtual void OpenPath(const std::string& path) = 0;
    // A web address such as "https://example.com/page.html".
    virtual void OpenUrl(const std::string& url) = 0;
};

} // namespace fmb
