#include "index/CCsvOut.h"

#include "platform/Cp932.h"
#include "platform/ErrorText.h"
#include "platform/FolderChain.h"
#include "platform/FolderListing.h"
#include "platform/PathText.h"
#include "platform/ReadOnlyMark.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

namespace fmb {
namespace {

constexpr std::size_t kStorePieceSize = 1 << 20;
constexpr std::size_t kWriteBufferSize = 1 << 18;
// The warning names at most this many rows; a tree of badly named files would otherwise give a
// message no one can read.
constexpr std::size_t kWarningRowsShown = 10;

struct ScanWalk {
    const ScanVisitor& onFile;
    const ScanProgress& progress;
    std::size_t seen = 0;
    FolderChain chain;
    ScanEntry entry; // reused for every file, so that its texts keep their storage
};

// folder: the folder being listed as the caller spells it, with a trailing separator.
// typeFolder: the first folder below the scanned folder on the way here; empty at the top.
void ScanInto(ScanWalk& walk, const std::string& folder, const std::string& typeFolder) {
    walk.chain.Enter(ToFsPath(folder));
    // A folder that cannot be read contributes what was listed before the failure.
    ListFolder(folder, [&](std::string_view name, EntryKind kind) {
        ++walk.seen;
        if (walk.progress) {
            walk.progress(walk.seen);
        }
        if (kind == EntryKind::File) {
            walk.entry.typeFolder = typeFolder;
            walk.entry.fileName = name;
            walk.entry.fullPath.assign(folder).append(name);
            walk.onFile(walk.entry);
            return true;
        }
        std::string subfolder = folder;
        subfolder.append(name).push_back(kPathSeparator);
        // A folder link back up the walk is skipped: its files are being listed already.
        if (kind == EntryKind::FolderLink && walk.chain.Holds(ToFsPath(subfolder))) {
            return true;
        }
        ScanInto(walk, subfolder, typeFolder.empty() ? std::string(name) : typeFolder);
        return true;
    });
    walk.chain.Leave();
}

enum class Quoting {
    InsideQuotes, // a part of the path cell, which is quoted whole: quotes doubled only
    WhenNeeded,   // a whole cell: quoted when it holds a comma, a quote or a line break
};

// The written CP932 forms of the texts of one column. A column's texts repeat from row to row
// (the rows of one file, the files of one folder, the counterparties and remarks of a year), so
// each text is encoded and quoted once while it stays in one of the encoder's slots.
class ColumnEncoder {
public:
    // slots: how many recent texts are kept (a power of two).
    ColumnEncoder(std::size_t slots, Quoting quoting) : m_slots(slots), m_quoting(quoting) {}

    // The written form of utf8, valid until the next call; lossy is set when a character had no
    // CP932 form.
    std::string_view Write(std::string_view utf8, bool& lossy) {
        Slot& slot = m_slots.size() == 1
                         ? m_slots.front()
                         : m_slots[std::hash<std::string_view>{}(utf8) & (m_slots.size() - 1)];
        if (!slot.valid || utf8 != slot.utf8) {
            const cp932::Encoded encoded = cp932::Encode(utf8);
            slot.valid = true;
            slot.ok = encoded.Ok();
            slot.utf8 = utf8;
            slot.written.clear();
            if (m_quoting == Quoting::InsideQuotes) {
                AppendQuotesDoubled(slot.written, encoded.bytes);
            } else {
                AppendWrittenCell(slot.written, encoded.bytes, false);
            }
        }
        lossy = lossy || !slot.ok;
        return slot.written;
    }

private:
    struct Slot {
        bool valid = false;
        bool ok = true;
        std::string utf8;
        std::string written;
    };
    std::vector<Slot> m_slots;
    Quoting m_quoting;
};

// Writes the cells of the lines of one file, one encoder per column. The path is encoded as
// its folder part (shared by the files of a folder) and its name.
class LineEncoder {
public:
    // Takes the cells the rows of a file share; lossy is set when a character had no CP932
    // form.
    void SetFile(const IndexBookCells& cells, bool& lossy) {
        const std::string_view path = cells.path;
        const auto split = path.rfind(kPathSeparator) + 1; // 0 when there is no separator
        m_path.assign(1, '"')
            .append(m_pathFolder.Write(path.substr(0, split), lossy))
            .append(m_pathName.Write(path.substr(split), lossy))
            .push_back('"');
        m_cells[0] = m_type.Write(cells.type, lossy);
        m_cells[1] = m_date.Write(cells.date, lossy);
        m_cells[2] = m_company.Write(cells.company, lossy);
        m_cells[4] = m_prefix.Write(cells.typePrefix, lossy);
        m_cells[5] = m_remark.Write(cells.remark, lossy);
        m_cells[6] = m_path;
    }

    // The written cells A to G of the file's row with this amount, valid until the next call.
    const std::array<std::string_view, 7>& Write(std::string_view amount, bool& lossy) {
        m_cells[3] = m_amount.Write(amount, lossy);
        return m_cells;
    }

private:
    static constexpr std::size_t kRecentTexts = 64;
    // Types, dates, amounts, folders and names come in runs; counterparties, type prefixes and
    // remarks recur.
    ColumnEncoder m_type{1, Quoting::WhenNeeded}, m_date{1, Quoting::WhenNeeded},
        m_company{kRecentTexts, Quoting::WhenNeeded}, m_amount{1, Quoting::WhenNeeded},
        m_prefix{kRecentTexts, Quoting::WhenNeeded}, m_remark{kRecentTexts, Quoting::WhenNeeded},
        m_pathFolder{1, Quoting::InsideQuotes}, m_pathName{1, Quoting::InsideQuotes};
    std::string m_path;
    std::array<std::string_view, 7> m_cells;
};

std::string OpenFailedMessage(const std::string& path, const std::error_code& error) {
    return "索引簿ファイルを作成できませんでした。\n\n" + path + "\n\n" + DescribeError(error);
}

std::string WriteFailedMessage(const std::string& path, const std::error_code& error) {
    return "索引簿ファイルへの書き込みに失敗しました。\n\n" + path + "\n\n" + DescribeError(error);
}

// True when a file kept read-only stands at the path: a stored document named as the book, or a
// book the user locked.
bool IsProtected(const std::string& path) {
    std::error_code error;
    return IsReadOnlyFile(std::filesystem::status(ToFsPath(path), error));
}

std::error_code LastError() {
    return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
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

// What the scan found, kept compact until the book is written: each folder once, each file as
// its folder and its name, the names in large pieces of text (a view into a piece stays valid,
// and nothing is copied as the pieces are added).
class ScannedTree {
public:
    void Add(const ScanEntry& entry) {
        const std::string_view prefix =
            std::string_view(entry.fullPath)
                .substr(0, entry.fullPath.size() - entry.fileName.size());
        if (m_folders.empty() || m_folders.back().prefix != prefix ||
            m_folders.back().typeFolder != entry.typeFolder) {
            m_folders.push_back({std::string(prefix), entry.typeFolder});
        }
        m_files.push_back({m_folders.size() - 1, Keep(entry.fileName)});
    }

    // Calls visit(entry) for every file added, in the order they were added.
    template <typename Visit> void ForEach(Visit visit) const {
        ScanEntry entry;
        for (const File& file : m_files) {
            const Folder& folder = m_folders[file.folder];
            entry.typeFolder = folder.typeFolder;
            entry.fileName = file.name;
            entry.fullPath.assign(folder.prefix).append(file.name);
            if (!visit(entry)) {
                return;
            }
        }
    }

private:
    struct Folder {
        std::string prefix; // the folder's path as the scan spells it, with a trailing separator
        std::string typeFolder;
    };
    struct File {
        std::size_t folder; // index into m_folders
        std::string_view name;
    };

    std::string_view Keep(std::string_view text) {
        if (m_pieces.empty() || m_pieces.back().capacity() - m_pieces.back().size() < text.size()) {
            m_pieces.emplace_back();
            m_pieces.back().reserve(std::max(kStorePieceSize, text.size()));
        }
        std::string& piece = m_pieces.back();
        const std::size_t start = piece.size();
        piece.append(text);
        return std::string_view(piece).substr(start);
    }

    std::vector<Folder> m_folders;
    std::vector<File> m_files;
    std::vector<std::string> m_pieces;
};

void CCsvOut::ScanFolder(const std::string& folder, const ScanVisitor& onFile,
                         const ScanProgress& progress) {
    if (folder.empty()) {
        return;
    }
    ScanWalk walk{onFile, progress, 0, {}, {}};
    ScanInto(walk, WithTrailingSeparator(folder), {});
}

ExportResult CCsvOut::Output(std::string outputPath, std::string targetFolder, std::string linkBase,
                             const ScanProgress& progress) {
    ExportResult result;
    // An empty folder text would name the current folder or the root of the drive, and the run
    // would list far more than any fiscal year.
    if (targetFolder.empty()) {
        result.message = kNoTargetFolderMessage;
        return result;
    }

    ScannedTree tree;
    ScanFolder(
        targetFolder, [&](const ScanEntry& entry) { tree.Add(entry); }, progress);

    // Only now is the file touched: a long scan leaves an existing index book as it was.
    if (IsProtected(outputPath)) {
        result.message =
            OpenFailedMessage(outputPath, std::make_error_code(std::errc::permission_denied));
        return result;
    }
    errno = 0;
    m_file.open(ToFsPath(outputPath), std::ios::binary | std::ios::trunc);
    if (!m_file.is_open()) {
        result.message = OpenFailedMessage(outputPath, LastError());
        return result;
    }
    WriteLine(cp932::Encode(IndexBookHeader()).bytes);
    std::vector<std::pair<std::size_t, std::string>> lossyRows;
    const std::size_t rows = WriteRows(tree, linkBase, lossyRows);
    FlushPending();
    m_file.close();
    // A failed write ends the run; the lines written before it stay in the file.
    if (!m_file) {
        result.message = WriteFailedMessage(outputPath, LastError());
        return result;
    }
    result.ok = true;
    result.rowsWritten = rows;
    result.message = kExportDoneMessage;
    if (!lossyRows.empty()) {
        result.warning = LossyWarning(lossyRows);
    }
    return result;
}

std::size_t CCsvOut::WriteRows(const ScannedTree& tree, std::string_view linkBase,
                               std::vector<std::pair<std::size_t, std::string>>& lossyRows) {
    ParsedName parsed;
    std::vector<CLineOne> rows;
    IndexBookCells cells;
    LineEncoder encoder;
    std::size_t lineNumber = 1; // the header's
    tree.ForEach([&](const ScanEntry& entry) {
        BuildRows(entry, linkBase, parsed, rows);
        if (rows.empty()) {
            return true;
        }
        // The rows of a file differ only in their amounts.
        MakeCells(rows.front(), cells);
        bool fileLossy = false;
        encoder.SetFile(cells, fileLossy);
        for (const CLineOne& row : rows) {
            ++lineNumber;
            bool lossy = fileLossy;
            AppendIndexBookLine(m_pending, encoder.Write(row.amount, lossy), lineNumber);
            EndLine();
            if (lossy) {
                lossyRows.emplace_back(lineNumber, entry.fullPath);
            }
        }
        return static_cast<bool>(m_file);
    });
    return lineNumber - 1;
}

void CCsvOut::WriteLine(std::string_view line) {
    m_pending.append(line);
    EndLine();
}

void CCsvOut::EndLine() {
    m_pending.push_back('\n');
    if (m_pending.size() >= kWriteBufferSize) {
        FlushPending();
    }
}

void CCsvOut::FlushPending() {
    m_file.write(m_pending.data(), static_cast<std::streamsize>(m_pending.size()));
    m_pending.clear();
}

} // namespace fmb
