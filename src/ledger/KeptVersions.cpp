#include "ledger/KeptVersions.h"

#include "filing/CopyIntoStorage.h"
#include "filing/ExclusiveFileCopy.h"
#include "ledger/LedgerFolder.h"
#include "platform/FilePublish.h"
#include "platform/PathText.h"

namespace fmb {
namespace {

// 2026-12-10T14:18:22+09:00 gives 20261210-141822.
std::string CompactTime(const std::string& timestamp) {
    std::string compact;
    for (const char c : timestamp.substr(0, 19)) {
        if (c >= '0' && c <= '9') {
            compact.push_back(c);
        } else if (c == 'T') {
            compact.push_back('-');
        }
    }
    return compact;
}

} // namespace

std::string KeptPathFor(const Ledger& ledger, const std::string& relativePath,
                        const std::string& timestamp) {
    const std::size_t slash = relativePath.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : relativePath.substr(0, slash + 1);
    const std::string name = relativePath.substr(slash == std::string::npos ? 0 : slash + 1);
    const std::string base = std::string(kLedgerFolderName) + "/" + std::string(kKeptFolderName) +
                             "/" + folder + CompactTime(timestamp);
    // Two versions taken out in one second get distinct names.
    std::string kept = base + "_" + name;
    for (int n = 2; std::filesystem::exists(ToFsPath(ledger.FullPath(kept))); ++n) {
        kept = base + "-" + std::to_string(n) + "_" + name;
    }
    return kept;
}

std::error_code MoveUnchanged(const std::string& from, const std::string& to,
                              const ContentDigest& expected) {
    const std::string folder = FromFsPath(ToFsPath(to).parent_path());
    std::error_code error;
    if (!std::filesystem::is_directory(ToFsPath(folder), error) && !CreateFolderChain(folder)) {
        return std::make_error_code(std::errc::io_error);
    }
    error = PublishWithoutReplacing(ToFsPath(from), ToFsPath(to));
    if (error != std::errc::cross_device_link) {
        return error;
    }
    error =
        CopyFileExclusive(ToFsPath(from), ToFsPath(to),
                          [&expected](const ContentDigest& copied) { return copied == expected; });
    if (error == std::errc::operation_canceled) {
        return std::make_error_code(std::errc::io_error); // the copy is not what the record says
    }
    if (!error) {
        std::filesystem::remove(ToFsPath(from), error);
    }
    return error;
}

} // namespace fmb
