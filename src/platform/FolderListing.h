#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <system_error>

namespace fmb {

enum class EntryKind {
    File,       // anything that is not a folder (a link to a file counts as a file)
    Folder,     // a folder
    FolderLink, // a link to a folder
};

// Calls visit(name, kind) for every entry of folder (a UTF-8 path text) in the order the file
// system returns them, "." and ".." left out; visit returns false to stop the listing. The
// result tells why the folder could not be listed or read to its end; empty otherwise.
std::error_code ListFolder(const std::string& folder,
                           const std::function<bool(std::string_view name, EntryKind kind)>& visit);

} // namespace fmb
