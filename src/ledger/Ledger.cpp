#include "ledger/Ledger.h"

#include "ledger/LedgerFolder.h"
#include "platform/Clock.h"
#include "platform/ErrorText.h"
#include "platform/FileHash.h"
#include "platform/FolderLock.h"
#include "platform/PathText.h"

#include <algorithm>
#include <fstream>

namespace fmb {
namespace {

// How long an append waits for another computer's append to end.
constexpr std::chrono::seconds kLockWait{15};
// The last line of a ledger is looked for in this many bytes at its end.
constexpr std::streamoff kTailBytes = 64 * 1024;

// The end of the file: its last line (without a line feed) and whether the file ends with one.
struct Tail {
    std::string lastLine;
    bool endsWithLineFeed = true;
};

std::error_code ReadTail(const std::filesystem::path& file, Tail& tail) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    if (!in) {
        return std::make_error_code(std::errc::io_error);
    }
    const std::streamoff size = in.tellg();
    std::streamoff start = std::max<std::streamoff>(0, size - kTailBytes);
    for (;;) {
        std::string bytes(static_cast<std::size_t>(size - start), '\0');
        in.seekg(start);
        if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
            return std::make_error_code(std::errc::io_error);
        }
        tail.endsWithLineFeed = bytes.empty() || bytes.back() == '\n';
        if (!tail.endsWithLineFeed || bytes.empty()) {
            bytes.push_back('\n');
        }
        const std::size_t end = bytes.size() - 1;
        const std::size_t begin = bytes.rfind('\n', end == 0 ? 0 : end - 1);
        if (begin != std::string::npos && end > 0) {
            tail.lastLine = bytes.substr(begin + 1, end - begin - 1);
            return {};
        }
        if (start == 0) {
            tail.lastLine = bytes.substr(0, end);
            return {};
        }
        start = 0; // a line longer than the tail: read it all
    }
}

std::string ChainOfLine(std::string_view line) {
    if (line.empty() || line.starts_with("#")) {
        return FirstChainValue();
    }
    const std::size_t tab = line.rfind('\t');
    return std::string(tab == std::string_view::npos ? line : line.substr(tab + 1));
}

} // namespace

Ledger::Ledger(std::string storageRoot) : m_root(WithTrailingSeparator(storageRoot)) {}

std::filesystem::path Ledger::FolderPath() const {
    return ToFsPath(m_root + std::string(kLedgerFolderName));
}

std::filesystem::path Ledger::FilePath() const {
    return FolderPath() / ToFsPath(kLedgerFileName);
}

std::filesystem::path Ledger::KeptFolderPath() const {
    return FolderPath() / ToFsPath(kKeptFolderName);
}

std::string Ledger::FileText() const {
    return FromFsPath(FilePath());
}

LedgerContents Ledger::Read() const {
    LedgerContents contents;
    std::error_code error;
    contents.exists = std::filesystem::exists(FilePath(), error);
    if (!contents.exists) {
        return contents;
    }
    std::ifstream in(FilePath(), std::ios::binary);
    if (!in) {
        contents.error = std::make_error_code(std::errc::permission_denied);
        return contents;
    }
    std::string line;
    std::size_t number = 0;
    std::string previous = FirstChainValue();
    while (std::getline(in, line)) {
        ++number;
        if (number == 1) {
            if (line != LedgerHeaderLine()) {
                contents.brokenLines.push_back(number);
            }
            continue;
        }
        std::optional<LedgerRecord> record = ParseRecordLine(line);
        if (!record) {
            contents.brokenLines.push_back(number);
            continue;
        }
        if (ChainValue(previous, ContentOfLine(line)) != record->chain) {
            contents.brokenLines.push_back(number);
        }
        previous = record->chain;
        contents.records.push_back(std::move(*record));
        contents.recordLines.push_back(number);
    }
    if (in.bad()) {
        contents.error = std::make_error_code(std::errc::io_error);
    }
    return contents;
}

std::error_code Ledger::Append(LedgerRecord& record) const {
    std::error_code error;
    std::filesystem::create_directory(FolderPath(), error);
    if (error) {
        return error;
    }
    const auto lock =
        FolderLock::Acquire(FolderPath() / ToFsPath(kLedgerLockName), kLockWait, error);
    if (!lock) {
        return error;
    }
    std::string bytes;
    Tail tail;
    if (std::filesystem::file_size(FilePath(), error) > 0 && !error) {
        if ((error = ReadTail(FilePath(), tail))) {
            return error;
        }
        if (!tail.endsWithLineFeed) {
            bytes += '\n'; // a line cut short by a crash stays apart; verification reports it
        }
    } else {
        // A new ledger (or an empty one) begins with its header line.
        bytes = LedgerHeaderLine() + '\n';
    }
    if (record.time.empty()) {
        record.time = LocalTimestamp();
    }
    record.computer = ComputerName();
    record.chain = ChainValue(ChainOfLine(tail.lastLine), RecordContent(record));
    bytes += RecordLine(record) + '\n';
    return AppendDurably(FilePath(), bytes);
}

std::string Ledger::RelativePath(const std::string& fullPath) const {
    // Both as the file system resolves them, so that a path given relative to the current
    // folder, or through a link to the root, is still found under the root.
    const auto resolved = [](const std::string& text) {
        std::error_code error;
        std::filesystem::path path = std::filesystem::weakly_canonical(ToFsPath(text), error);
        return error ? ToFsPath(text).lexically_normal() : path;
    };
    const std::filesystem::path root = resolved(m_root);
    const std::filesystem::path full = resolved(fullPath);
    const std::filesystem::path relative = full.lexically_relative(root);
    if (relative.empty() || relative == "." || *relative.begin() == "..") {
        return {};
    }
    std::string text = FromFsPath(relative);
    std::replace(text.begin(), text.end(), kPathSeparator, '/');
    return text;
}

std::string Ledger::FullPath(std::string_view relativePath) const {
    std::string path = m_root;
    for (const char c : relativePath) {
        path.push_back(c == '/' ? kPathSeparator : c);
    }
    return path;
}

LedgerState::LedgerState(const std::vector<LedgerRecord>& records) {
    for (const LedgerRecord& record : records) {
        if (!record.earlierPath.empty()) {
            m_live.erase(record.earlierPath);
        }
        if (!record.keptPath.empty()) {
            m_kept.push_back({record.keptPath, record.earlierSize, record.earlierSha256, &record});
        }
        if (!record.path.empty()) {
            m_live[record.path] = {record.path, record.size, record.sha256, &record};
        }
    }
}

const RecordedDocument* LedgerState::LiveAt(const std::string& relativePath) const {
    const auto found = m_live.find(relativePath);
    return found == m_live.end() ? nullptr : &found->second;
}

const RecordedDocument* LedgerState::WithContent(const std::string& sha256) const {
    for (const auto& [path, document] : m_live) {
        if (document.sha256 == sha256) {
            return &document;
        }
    }
    return nullptr;
}

const RecordedDocument* LedgerState::WithFields(const std::string& date, const std::string& company,
                                                const std::string& amount,
                                                const std::string& extra) const {
    for (const auto& [path, document] : m_live) {
        const LedgerRecord& r = *document.record;
        if (r.date == date && r.company == company && r.amount == amount && r.extra == extra) {
            return &document;
        }
    }
    return nullptr;
}

std::string LedgerWriteFailedMessage(const Ledger& ledger, const std::error_code& error) {
    return "台帳に記録できませんでした。\n\n" + ledger.FileText() + "\n" + DescribeError(error);
}

} // namespace fmb
