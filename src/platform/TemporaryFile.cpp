#include "platform/TemporaryFile.h"

#include "platform/FileIo.h"
#include "platform/FolderListing.h"
#include "platform/PathText.h"
#include "platform/TemporaryName.h"

#include <utility>

namespace fmb {
namespace {

// Random names clash only by accident; a few tries get past one.
constexpr int kCreationTries = 8;

} // namespace

TemporaryFile::TemporaryFile(const std::filesystem::path& folder, std::error_code& error) {
    for (int attempt = 0; attempt < kCreationTries; ++attempt) {
        m_path = folder / MakeTemporaryName();
        m_file = CreateNewFile(m_path, error);
        if (m_file != kNoFile || error != std::errc::file_exists) {
            break;
        }
    }
    if (error) {
        m_path.clear();
    }
}

TemporaryFile::~TemporaryFile() {
    RemoveUnpublished();
}

std::error_code TemporaryFile::Close() {
    if (m_file == kNoFile) {
        return {};
    }
    return CloseFile(std::exchange(m_file, kNoFile));
}

void TemporaryFile::RemoveUnpublished() {
    Close();
    if (!m_published && !m_path.empty()) {
        RemoveOwnFile(m_path);
    }
    m_path.clear();
}

std::error_code TemporaryFile::Write(std::string_view bytes) {
    return WriteAll(m_file, bytes);
}

std::error_code TemporaryFile::TakePermissionsOf(const std::filesystem::path& existing) {
    return fmb::TakePermissionsOf(existing, m_file);
}

std::error_code TemporaryFile::PublishAs(const std::filesystem::path& final, PublishMethod first) {
    if (std::error_code error = Close()) {
        return error;
    }
    const std::error_code error = PublishWithoutReplacing(m_path, final, first);
    m_published = !error;
    return error;
}

std::error_code TemporaryFile::WriteThrough() {
    return FlushToDisk(m_file);
}

std::error_code TemporaryFile::ReplaceAs(const std::filesystem::path& final) {
    if (std::error_code error = Close()) {
        return error;
    }
    const std::error_code error = ReplaceInOneStep(m_path, final);
    m_published = !error;
    return error;
}

void RemoveStaleTemporaries(const std::string& folder) {
    namespace fs = std::filesystem;
    const std::string prefix = WithTrailingSeparator(folder);
    const auto now = fs::file_time_type::clock::now();
    ListFolder(folder, [&](std::string_view name, EntryKind kind) {
        if (kind != EntryKind::File || !IsTemporaryName(name)) {
            return true;
        }
        const fs::path path = ToFsPath(prefix + std::string(name));
        std::error_code error;
        if (!fs::is_regular_file(fs::symlink_status(path, error))) {
            return true;
        }
        const auto written = fs::last_write_time(path, error);
        if (!error && now - written > kStaleTemporaryAge) {
            RemoveOwnFile(path);
        }
        return true;
    });
}

} // namespace fmb
