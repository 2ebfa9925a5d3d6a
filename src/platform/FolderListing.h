#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace fmb {

enum class EntryKind {
    File,       // anything that is not a folder (a link to a file counts as a file)
    Folder,     // a folder
    FolderLink, // a link to a folder
};

using FolderVisitor = std::function<bool(std::string_view name, EntryKind kind)>;

// The longest path text, in bytes, that the platform's own calls and other programs accept. A
// walk through open folders can go deeper, but a path that long cannot be opened by anyone else.
extern const std::size_t kMaxPathBytes;

// A folder held open for a walk. Its subfolders are opened relative to it, so that a walk never
// looks up the same leading folders again and keeps its place however deep it goes.
class OpenFolder {
public:
    OpenFolder() = default;
    OpenFolder(OpenFolder&& other) noexcept;
    OpenFolder& operator=(OpenFolder&& other) noexcept;
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    ~OpenFolder();

    // Opens the folder at path (a UTF-8 path text), following links. error tells why it could
    // not be opened; the result is then closed.
    static OpenFolder Open(const std::string& path, std::error_code& error);

    // Opens the entry name of this folder as a folder, following a link.
    OpenFolder OpenSubfolder(const std::string& name, std::error_code& error) const;

    bool IsOpen() const;

    // True when both are the same folder on disk, however they were reached.
    bool IsSameFolderAs(const OpenFolder& other) const;

    // Calls visit(name, kind) for every entry in the order the file system returns them, "."
    // and ".." left out; visit returns false to stop the listing. The result tells why the
    // folder could not be read to its end; empty otherwise. Each call lists the folder anew;
    // visit must not list the same OpenFolder again.
    std::error_code List(const FolderVisitor& visit) const;

    // The size in bytes of the file name in this folder (a link is followed); 0 when it cannot
    // be told.
    std::uint64_t FileSize(const std::string& name) const;

private:
#ifdef _WIN32
    std::filesystem::path m_path;
#else
    struct Identity {
        std::uint64_t device = 0;
        std::uint64_t node = 0;
        bool operator==(const Identity&) const = default;
    };

    // Takes over fd, an open folder, or tells errno's error when fd is -1.
    static OpenFolder Adopt(int fd, std::error_code& error);
    // The device and node of the folder, read once when first asked; none when unreadable.
    std::optional<Identity> IdentityOf() const;

    int m_fd = -1;
    mutable std::optional<Identity> m_identity;
    mutable bool m_listed =
        false; // the descriptor has been read from, and is no longer at its start
#endif
};

// Lists the folder at folder (a UTF-8 path text) as OpenFolder::List does. The result also tells
// why the folder could not be opened.
std::error_code ListFolder(const std::string& folder, const FolderVisitor& visit);

} // namespace fmb
