#include "platform/FolderListing.h"

#ifdef _WIN32
#include "platform/PathText.h"

#include <filesystem>
#else
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace fmb {

#ifdef _WIN32

std::error_code ListFolder(const std::string& folder,
                           const std::function<bool(std::string_view, EntryKind)>& visit) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator it(ToFsPath(folder), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        const EntryKind kind = !it->is_directory(typeError) ? EntryKind::File
                               : it->is_symlink(typeError)  ? EntryKind::FolderLink
                                                            : EntryKind::Folder;
        if (!visit(FromFsPath(it->path().filename()), kind)) {
            return {};
        }
    }
    return error;
}

#else

namespace {

// The kind of an entry whose type the listing did not tell, or that is a link.
EntryKind KindOf(const std::string& folder, const char* name, unsigned char type) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/') {
        path.push_back('/');
    }
    path.append(name);
    struct stat info {};
    if (type == DT_UNKNOWN) {
        if (lstat(path.c_str(), &info) != 0) {
            return EntryKind::File;
        }
        if (!S_ISLNK(info.st_mode)) {
            return S_ISDIR(info.st_mode) ? EntryKind::Folder : EntryKind::File;
        }
    }
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? EntryKind::FolderLink
                                                                   : EntryKind::File;
}

struct DirCloser {
    DIR* dir;
    ~DirCloser() { closedir(dir); }
};

} // namespace

// readdir with the type it reports saves a status call per entry, which matters for trees of
// a hundred thousand files.
std::error_code ListFolder(const std::string& folder,
                           const std::function<bool(std::string_view, EntryKind)>& visit) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return {errno, std::generic_category()};
    }
    const DirCloser closer{dir};
    while (true) {
        errno = 0;
        const dirent* entry = readdir(dir);
        if (entry == nullptr) {
            return errno == 0 ? std::error_code{} : std::error_code{errno, std::generic_category()};
        }
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
            continue;
        }
        const EntryKind kind = entry->d_type == DT_DIR   ? EntryKind::Folder
                               : entry->d_type == DT_REG ? EntryKind::File
                               : entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN
                                   ? KindOf(folder, name, entry->d_type)
                                   : EntryKind::File;
        if (!visit(name, kind)) {
            return {};
        }
    }
}

#endif

} // namespace fmb
