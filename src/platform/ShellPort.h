#pragma once

#include <string>

namespace fmb {

// The desktop's "open": the program associated with a document, the file browser for a folder,
// the web browser for a web address. Each call answers whether the desktop took the target, so
// the program can tell the user when nothing opens.
class ShellPort {
public:
    virtual ~ShellPort() = default;
    // A file or folder given by its path (absolute, or relative to the current folder). False for
    // an empty path, a path where nothing stands, and a file no program opens.
    virtual bool OpenPath(const std::string& path) = 0;
    // A web address such as "https://example.com/page.html". False when no browser takes it.
    virtual bool OpenUrl(const std::string& url) = 0;
};

} // namespace fmb
