#include "filing/CopyIntoStorage.h"

#include "filing/ExclusiveFileCopy.h"
#include "platform/Cp932.h"
#include "platform/ErrorText.h"
#include "platform/FileIo.h"
#include "platform/PathText.h"
#include "platform/TemporaryFile.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace fmb {
namespace {

constexpr const char* kNoSourcePathMessage = "コピー元ファイル名がありません";
constexpr const char* kNoStorageRootMessage =
    "コピー先が指定されていません\n「設定」ボタンを押下して、保存先フォルダを指定してください。";
constexpr const char* kNoDestinationFolderMessage = "コピー先が指定されていません\n";
constexpr const char* kNoFileNameMessage =
    "コピー先ファイル名はありません。\n日時、取引先、金額の入力を確認してください。";
constexpr const char* kSourceMissingMessage =
    "コピー元ファイルがありません。\n再度コピー元ファイルを指定してください";
constexpr const char* kStorageRootMissingMessage =
    "コピー先フォルダが存在しません\n「設定」ボタンを押下して、存在する保存先フォルダを指定してくだ"
    "さい。";
constexpr const char* kFolderCreationFailedMessage =
    "コピーに失敗しました。\n\n[ERR:32]コピー先フォルダの自動生成に失敗しました。";
constexpr const char* kNameTakenMessage =
    "コピー先に同じファイル名のファイルがあります。\n\n「備考」の文字列を変更することにより、ファ"
    "イル名を変更できます。";
constexpr const char* kDestinationTooLongMessage =
    "コピーに失敗しました。\n\n[ERR:03]コピー先フォルダ名 + コピー先ファイル名の文字数オーバーです";
constexpr const char* kSourceTooLongMessage =
    "コピーに失敗しました。\n\n[ERR:02]コピー元ファイル名（プルパス）の文字数オーバーです";
constexpr const char* kCopyFailedMessage = "コピーに失敗しました。[ERR:01]";
constexpr const char* kOutsideStorageReason =
    "コピー先フォルダへの経路にリンクがあり、保存先フォルダの外を指しています。";

// The platform's classic limit of a full path, terminator included.
constexpr std::size_t kClassicPathLimit = 260;

// The status of what stands at a path; none for nothing, or for a text that no path can hold.
std::optional<std::filesystem::file_status> StatusOf(const std::string& path,
                                                     bool followLinks = true) {
    if (path.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    const std::filesystem::path fsPath = ToFsPath(path);
    std::error_code error;
    const std::filesystem::file_status status =
        followLinks ? std::filesystem::status(fsPath, error)
                    : std::filesystem::symlink_status(fsPath, error);
    if (!std::filesystem::exists(status)) {
        return std::nullopt;
    }
    return status;
}

bool IsDirectory(const std::string& path) {
    const auto status = StatusOf(path);
    return status && std::filesystem::is_directory(*status);
}

bool IsRegularFile(const std::string& path) {
    const auto status = StatusOf(path);
    return status && std::filesystem::is_regular_file(*status);
}

bool IsPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find(kPathSeparator) == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

// True when the document would land where the folder and the name say: the folder lies in the
// storage root, no level below the root steps up or sideways ("." or ".."), and the name is one
// plain name. A type, company or remark spelled that way must never file a document elsewhere.
bool StaysInPlace(const std::string& storageRoot, const std::string& destinationFolder,
                  const std::string& fileName) {
    const std::string root = WithTrailingSeparator(storageRoot);
    const std::string folder = WithTrailingSeparator(destinationFolder);
    if (folder.compare(0, root.size(), root) != 0) {
        return false;
    }
    std::string_view below = std::string_view(folder).substr(root.size());
    while (!below.empty()) {
        const std::size_t end = below.find(kPathSeparator);
        const std::string_view level = below.substr(0, end);
        // An empty level (two separators in a row) names the same folder and is harmless.
        if (!level.empty() && !IsPlainName(level)) {
            return false;
        }
        below.remove_prefix(end + 1);
    }
    return IsPlainName(fileName);
}

// True when the folder, with every link on its way resolved, lies in the storage root's real
// location (the root itself may be a link). Levels that do not exist yet are taken as they are
// written; StaysInPlace has made sure they hold no "." or "..".
bool LiesInStorageRoot(const std::string& storageRoot, const std::string& folder) {
    std::error_code error;
    const std::filesystem::path root = std::filesystem::canonical(ToFsPath(storageRoot), error);
    if (error) {
        return false;
    }
    const std::filesystem::path real = std::filesystem::weakly_canonical(ToFsPath(folder), error);
    if (error) {
        return false;
    }
    auto level = real.begin();
    for (const auto& rootLevel : root) {
        if (level == real.end() || *level != rootLevel) {
            return false;
        }
        ++level;
    }
    return true;
}

// The folders one filing created, removed again when the filing fails: only those, deepest first,
// and only while they are empty (another program may have put something into one meanwhile).
class CreatedFolders {
public:
    std::vector<std::string>* List() { return &m_folders; }
    void RemoveEmpty() {
        for (auto folder = m_folders.rbegin(); folder != m_folders.rend(); ++folder) {
            std::error_code ignored; // a folder that is not empty stays, as it should
            std::filesystem::remove(ToFsPath(*folder), ignored);
        }
        m_folders.clear();
    }

private:
    std::vector<std::string> m_folders;
};

// True when the folder was made, or when the folder stands there now (another program may make
// it at the same moment).
bool MakeFolder(const std::string& path) {
    if (path.find('\0') != std::string::npos) {
        return false; // the system would make the folder named by the text before the NUL
    }
    std::error_code error;
    std::filesystem::create_directory(ToFsPath(path), error);
    return !error && IsDirectory(path);
}

} // namespace

bool CreateFolderChain(const std::string& folderPath, std::vector<std::string>* created) {
    std::string path = folderPath;
    while (EndsWithSeparator(path)) {
        path.pop_back();
    }
    path.push_back(kPathSeparator);

    // The search for the next separator starts one past the previous one, so a leading separator
    // never yields a level: the file-system root is never created.
    std::string prefix;
    std::size_t position = 0;
    std::optional<bool> lastCreation;
    while (prefix + kPathSeparator != path) {
        position = path.find(kPathSeparator, position + 1);
        prefix = path.substr(0, position);
        if (!StatusOf(prefix)) {
            lastCreation = MakeFolder(prefix);
            if (*lastCreation && created != nullptr) {
                created->push_back(prefix);
            }
        }
    }
    return lastCreation.value_or(false);
}

std::string StoredFilePath(const std::string& destinationFolder, const std::string& fileName) {
    return WithTrailingSeparator(destinationFolder) + fileName;
}

CopyResult CopyIntoStorage(std::string sourcePath, std::string storageRoot,
                           std::string destinationFolder, std::string fileName, Reporter& reporter,
                           FilingRecorder* recorder) {
    const auto refuse = [&reporter](CopyResult code, const std::string& message) {
        reporter.Notify(message);
        return code;
    };
    if (sourcePath.empty()) {
        return refuse(CopyResult::NoSourcePath, kNoSourcePathMessage);
    }
    if (storageRoot.empty()) {
        return refuse(CopyResult::NoStorageRoot, kNoStorageRootMessage);
    }
    if (destinationFolder.empty()) {
        return refuse(CopyResult::NoDestinationFolder, kNoDestinationFolderMessage);
    }
    if (fileName.empty()) {
        return refuse(CopyResult::NoFileName, kNoFileNameMessage);
    }
    // Only a file can be filed: a folder (or a device) at the source path counts as no file.
    if (!IsRegularFile(sourcePath)) {
        return refuse(CopyResult::SourceMissing, kSourceMissingMessage);
    }
    if (!IsDirectory(storageRoot)) {
        return refuse(CopyResult::StorageRootMissing, kStorageRootMissingMessage);
    }
    if (!StaysInPlace(storageRoot, destinationFolder, fileName)) {
        return refuse(CopyResult::CopyFailed, kCopyFailedMessage);
    }
    const auto failureWith = [](const std::string& reason) {
        return std::string(kCopyFailedMessage) + "\n" + reason;
    };
    if (!LiesInStorageRoot(storageRoot, destinationFolder)) {
        return refuse(CopyResult::CopyFailed, failureWith(kOutsideStorageReason));
    }
    CreatedFolders created;
    const auto undo = [&](CopyResult code, const std::string& message) {
        created.RemoveEmpty();
        return refuse(code, message);
    };
    if (!IsDirectory(destinationFolder) && !CreateFolderChain(destinationFolder, created.List())) {
        return undo(CopyResult::FolderCreationFailed, kFolderCreationFailedMessage);
    }
    const std::string storedPath = StoredFilePath(destinationFolder, fileName);
    if (StatusOf(storedPath, false)) {
        return undo(CopyResult::NameTaken, kNameTakenMessage);
    }
    // Temporaries a crashed filing left in this folder go once they are surely abandoned.
    RemoveStaleTemporaries(destinationFolder);
    ContentDigest content;
    PublishCheck mayPublish;
    if (recorder != nullptr) {
        mayPublish = [&](const ContentDigest& digest) {
            content = digest;
            return recorder->MayPublish(digest);
        };
    }
    const std::error_code error =
        CopyFileExclusive(ToFsPath(sourcePath), ToFsPath(storedPath), mayPublish);
    if (error == std::errc::operation_canceled && recorder != nullptr) {
        // The recorder has told why.
        created.RemoveEmpty();
        return CopyResult::NotPublished;
    }
    if (error == std::errc::file_exists) {
        // Another program took the name since the test above; nothing was overwritten.
        return undo(CopyResult::NameTaken, kNameTakenMessage);
    }
    if (error) {
        if (cp932::ByteLength(storedPath) > kClassicPathLimit) {
            return undo(CopyResult::CopyFailed, kDestinationTooLongMessage);
        }
        if (cp932::ByteLength(sourcePath) > kClassicPathLimit) {
            return undo(CopyResult::CopyFailed, kSourceTooLongMessage);
        }
        return undo(CopyResult::CopyFailed, failureWith(DescribeError(error)));
    }
    if (recorder != nullptr && !recorder->Record(storedPath, content)) {
        // The recorder has told why; an unrecorded document must not stay, read-only mark and
        // all (Windows will not delete a file that carries it).
        RemoveOwnFile(ToFsPath(storedPath));
        created.RemoveEmpty();
        return CopyResult::NotRecorded;
    }
    return CopyResult::Filed;
}

} // namespace fmb
