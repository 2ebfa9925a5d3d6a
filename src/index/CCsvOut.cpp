#include "index/CCsvOut.h"

#include "platform/Cp932.h"
#include "platform/ErrorText.h"
#include "platform/FolderChain.h"
#include "platform/PathText.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace fmb {
namespace {

constexpr std::size_t kWriteBufferSize = 1 << 16;
// The warning names at most this many rows; a tree of badly named files would otherwise give a
// message no one can read.
constexpr std::size_t kWarningRowsShown = 10;

struct ScanWalk {
    std::vector<ScanEntry>& entries;
    const ScanProgress& progress;
    std::size_t seen = 0;
    FolderChain chain;
};

// prefix: the folder being listed as the caller spells it, with a trailing separator.
// typeFolder: the first folder below the scanned folder on the way here; empty at the top.
void ScanInto(ScanWalk& walk, const fs::path& folder, const std::string& prefix,
              const std::string& typeFolder) {
    std::error_code error;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    if (error) {
        return;
    }
    walk.chain.Enter(folder);
    for (; it != fs::directory_iterator(); it.increment(error)) {
        ++walk.seen;
        if (walk.progress) {
            walk.progress(walk.seen);
        }
        const fs::directory_entry& entry = *it;
        std::string name = FromFsPath(entry.path().filename());
        std::error_code typeError;
        if (entry.is_directory(typeError)) {
            // A folder link back up the walk is skipped: its files are being listed already.
            if (!(entry.is_symlink(typeError) && walk.chain.Holds(entry.path()))) {
                ScanInto(walk, entry.path(), prefix + name + kPathSeparator,
                         typeFolder.empty() ? name : typeFolder);
            }
            continue;
        }
        std::string fullPath = prefix + name;
        walk.entries.push_back(ScanEntry{typeFolder, std::move(name), std::move(fullPath)});
    }
    walk.chain.Leave();
}

std::string OpenFailedMessage(const std::string& path, const std::error_code& error) {
    return "索引簿ファイルを作成できませんでした。\n\n" + path + "\n\n" + DescribeError(error);
}

std::string WriteFailedMessage(const std::string& path, const std::error_code& error) {
    return "索引簿ファイルへの書き込みに失敗しました。\n\n" + path + "\n\n" +
           DescribeError(error);
}

std::error_code LastError(std::errc fallback) {
    return std::error_code(errno != 0 ? errno : static_cast<int>(fallback),
                           std::generic_category());
}

std::string LossyWarning(const std::vector<std::pair<std::size_t, std::string>>& lossy) {
    std::string text = "次の行には CSV の文字コード (Shift_JIS) で表せない文字があるため、"
                       "その文字を「?」に置き換えて出力しました。\n";
    for (std::size_t i = 0; i < lossy.size() && i < kWarningRowsShown; ++i) {
        text += "\n" + std::to_string(lossy[i].first) + "行目: " + lossy[i].second;
    }
    if (lossy.size() > kWarningRowsShown) {
        text += "\nほか " + std::to_string(lossy.size() - kWarningRowsShown) + " 行";
    }
    return text;
}

} // namespace

CCsvOut::CCsvOut() : m_buffer(new char[kWriteBufferSize]) {
    m_file.rdbuf()->pubsetbuf(m_buffer.get(), kWriteBufferSize);
}

CCsvOut::~CCsvOut() = default;

void CCsvOut::ScanFolder(const std::string& folder, std::vector<ScanEntry>& entries,
                         const ScanProgress& progress) {
    if (folder.empty()) {
        return;
    }
    ScanWalk walk{entries, progress, 0, {}};
    ScanInto(walk, ToFsPath(folder), WithTrailingSeparator(folder), {});
}

ExportResult CCsvOut::Output(std::string outputPath, std::string targetFolder,
                             std::string linkBase, const ScanProgress& progress) {
    ExportResult result;
    // An empty folder text would name the current folder or the root of the drive, and the run
    // would list far more than any fiscal year.
    if (targetFolder.empty()) {
        result.message = "リスト化対象フォルダが指定されていません。\n"
                         "索引簿にするフォルダ（年度）を指定してください。";
        return result;
    }
    std::vector<ScanEntry> entries;
    ScanFolder(targetFolder, entries, progress);
    const std::vector<CLineOne> rows = BuildRows(std::move(entries), linkBase);

    // Only now is the file touched: a long scan leaves an existing index book as it was.
    errno = 0;
    m_file.open(ToFsPath(outputPath), std::ios::binary | std::ios::trunc);
    if (!m_file.is_open()) {
        result.message = OpenFailedMessage(outputPath, LastError(std::errc::io_error));
        return result;
    }
    std::vector<std::pair<std::size_t, std::string>> lossy;
    WriteLine(cp932::Encode(IndexBookHeader()).bytes);
    for (std::size_t i = 0; i < rows.size() && m_file; ++i) {
        const std::size_t lineNumber = i + 2;
        const cp932::Encoded line = cp932::Encode(IndexBookLine(rows[i], lineNumber));
        if (!line.Ok()) {
            lossy.emplace_back(lineNumber, rows[i].path.empty() ? rows[i].company : rows[i].path);
        }
        WriteLine(line.bytes);
    }
    m_file.close();
    // A failed write ends the run; the lines that reached the file before it stay there.
    if (!m_file) {
        result.message = WriteFailedMessage(outputPath, LastError(std::errc::io_error));
        return result;
    }
    result.ok = true;
    result.rowsWritten = rows.size();
    result.message = kExportDoneMessage;
    if (!lossy.empty()) {
        result.warning = LossyWarning(lossy);
    }
    return result;
}

void CCsvOut::WriteLine(std::string_view line) {
    m_file.write(line.data(), static_cast<std::streamsize>(line.size()));
    m_file.put('\n');
}

} // namespace fmb
