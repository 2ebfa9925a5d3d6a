#include "index/CCsvOut.h"

#include "index/FolderWalk.h"
#include "index/FoundFiles.h"
#include "jobs/JobMonitor.h"
#include "platform/Cp932.h"
#include "platform/ErrorText.h"
#include "platform/FolderListing.h"
#include "platform/PathText.h"
#include "platform/ReadOnlyMark.h"

#include <atomic>
#include <filesystem>
#include <optional>
#include <span>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace fmb {
namespace {

constexpr std::size_t kWriteBufferSize = 1 << 18;
// The scan hands the files it finds to the writing in runs of this many, and waits when this many
// runs are waiting.
constexpr std::size_t kRunFiles = 4096;
constexpr std::size_t kRunsInFlight = 4;
// The writing tells its watcher of its rows, and asks whether to stop, once per this many files.
constexpr std::size_t kFilesPerReport = 256;
// The warning names at most this many rows; a tree of badly named files would otherwise give a
// message no one can read.
constexpr std::size_t kWarningRowsShown = 10;

enum class Quoting {
    InsideQuotes, // a part of the path cell, which is quoted whole: quotes doubled only
    WhenNeeded,   // a whole cell: quoted when it holds a comma, a quote or a line break
    Amount,       // the amount cell: a number as it stands, anything else as a whole cell
};

bool IsAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// The written CP932 forms of the texts of one column. A column's texts repeat from row to row
// (the rows of one file, the files of one folder, the counterparties and remarks of a year), so
// each text is encoded and quoted once while it stays in one of the encoder's slots. A column
// without slots (the file names, each different) encodes every text it is given.
class ColumnEncoder {
public:
    // slots: how many recent texts are kept (a power of two, or none).
    ColumnEncoder(std::size_t slots, Quoting quoting) : m_slots(slots), m_quoting(quoting) {}

    // The written form of utf8, valid until the next call; lossy is set when a character had no
    // CP932 form.
    std::string_view Write(std::string_view utf8, bool& lossy) {
        if (m_slots.empty()) {
            lossy = !Encode(utf8, m_written) || lossy;
            return m_written;
        }
        Slot& slot = m_slots.size() == 1
                         ? m_slots.front()
                         : m_slots[std::hash<std::string_view>{}(utf8) & (m_slots.size() - 1)];
        if (!slot.valid || utf8 != slot.utf8) {
            slot.valid = true;
            slot.utf8 = utf8;
            slot.ok = Encode(utf8, slot.written);
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

    // written := the written form of utf8; false when a character had no CP932 form. Texts of
    // ASCII alone, such as dates and amounts, are the same in both.
    bool Encode(std::string_view utf8, std::string& written) const {
        written.clear();
        if (IsAscii(utf8)) {
            Append(written, utf8);
            return true;
        }
        const cp932::Encoded encoded = cp932::Encode(utf8);
        Append(written, encoded.bytes);
        return encoded.Ok();
    }

    void Append(std::string& written, std::string_view bytes) const {
        switch (m_quoting) {
        case Quoting::InsideQuotes:
            AppendQuotesDoubled(written, bytes);
            break;
        case Quoting::WhenNeeded:
            AppendWrittenCell(written, bytes, false);
            break;
        case Quoting::Amount:
            AppendAmountCell(written, bytes);
            break;
        }
    }

    std::vector<Slot> m_slots;
    Quoting m_quoting;
    std::string m_written; // the written form, for a column without slots
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
        m_path.assign(1, '"');
        // A relative path can begin with any folder's name.
        if (StartsAsFormula(path)) {
            m_path.push_back('\'');
        }
        m_path.append(m_pathFolder.Write(path.substr(0, split), lossy))
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
    // Types, dates, amounts and folders come in runs; counterparties, type prefixes and remarks
    // recur; names differ.
    ColumnEncoder m_type{1, Quoting::WhenNeeded}, m_date{1, Quoting::WhenNeeded},
        m_company{kRecentTexts, Quoting::WhenNeeded}, m_amount{1, Quoting::Amount},
        m_prefix{kRecentTexts, Quoting::WhenNeeded}, m_remark{kRecentTexts, Quoting::WhenNeeded},
        m_pathFolder{1, Quoting::InsideQuotes}, m_pathName{0, Quoting::InsideQuotes};
    std::string m_path;
    std::array<std::string_view, 7> m_cells;
};

std::string OpenFailedMessage(const std::string& path, const std::string& reason) {
    return "索引簿ファイルを作成できませんでした。\n\n" + path + "\n\n" + reason;
}

std::string OpenFailedMessage(const std::string& path, const std::error_code& error) {
    return OpenFailedMessage(path, DescribeError(error));
}

std::string WriteFailedMessage(const std::string& path, const std::error_code& error) {
    return "索引簿ファイルへの書き込みに失敗しました。\n\n" + path + "\n\n" + DescribeError(error) +
           "\n\n以前の索引簿ファイルはそのまま残っています。";
}

// Why the book may not be written at path (after following a link there); nothing when it may.
// The book only ever replaces a file of its own kind: never a folder or a device, and never a
// file kept read-only (a stored document named as the book, or a book the user locked), which
// the permission bits alone would not keep a privileged user from replacing.
std::optional<std::string> RefuseToReplace(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status)) {
        return std::nullopt;
    }
    if (fs::is_directory(status)) {
        return DescribeError(std::make_error_code(std::errc::is_a_directory));
    }
    if (IsReadOnlyFile(status)) {
        return "読み取り専用のファイルがあるため、置き換えられません。";
    }
    if (!fs::is_regular_file(status)) {
        return "通常のファイルではないため、置き換えられません。";
    }
    return std::nullopt;
}

// Where the book is written: the path, or the file a link there leads to, so that the link
// stays and leads to the new book.
std::string BookFile(const std::string& outputPath, std::error_code& error) {
    namespace fs = std::filesystem;
    const fs::path path = ToFsPath(outputPath);
    if (!fs::is_symlink(fs::symlink_status(path, error))) {
        error.clear();
        return outputPath;
    }
    const fs::path target = fs::weakly_canonical(path, error);
    return error ? outputPath : FromFsPath(target);
}

std::string CancelledMessage(const std::string& path) {
    return "索引簿の出力を中止しました。\n\n" + path +
           "\n\n索引簿ファイルは書き込んでいません。以前の索引簿ファイルがあれば、そのまま残って"
           "います。";
}

std::string MissingTargetMessage(const std::string& target, const std::error_code& error) {
    return "リスト化対象フォルダが見つかりません。\n\n" + target + "\n\n" + DescribeError(error) +
           "\n\n索引簿ファイルは作成していません。";
}

std::string UnreadableFoldersNote(const ScanReport& report) {
    return "\n\n読み取れなかったフォルダが " + std::to_string(report.unreadableFolders) +
           " 個あります。その中の書類は索引簿に載っていません。\n\n最初のフォルダ: " +
           report.firstUnreadable + "\n" + DescribeError(report.firstError);
}

// The lines with characters CSV's code page cannot hold: how many, and the first few.
class LossyRows {
public:
    void Add(std::size_t lineNumber, const std::string& path) {
        if (m_shown.size() < kWarningRowsShown) {
            m_shown.emplace_back(lineNumber, path);
        }
        ++m_count;
    }

    // The warning telling of them; empty when there are none.
    std::string Warning() const {
        if (m_count == 0) {
            return {};
        }
        std::string text = "次の行には CSV の文字コード (Shift_JIS) で表せない文字があるため、"
                           "その文字を「?」に置き換えて出力しました。\n";
        for (const auto& [lineNumber, path] : m_shown) {
            text += "\n" + std::to_string(lineNumber) + "行目: " + path;
        }
        if (m_count > m_shown.size()) {
            text += "\nほか " + std::to_string(m_count - m_shown.size()) + " 行";
        }
        return text;
    }

private:
    std::vector<std::pair<std::size_t, std::string>> m_shown;
    std::size_t m_count = 0;
};

// The lines of the rows of the files found, numbered from the book's second line on.
class BookRows {
public:
    // linkBase empty: full paths; otherwise the folder the paths are made relative to.
    explicit BookRows(std::string_view linkBase) : m_linkBase(linkBase) {}

    // Appends the lines of the rows of one file, each with its line feed, to out.
    void AppendLines(const ScanEntry& entry, std::string& out) {
        BuildRows(entry, m_linkBase, m_parsed, m_rows);
        AppendFileLines(m_rows, entry.fullPath, out);
    }

    // Appends the lines of rows that share every cell but the amount (the rows of one file, at
    // the full path shownPath), each with its line feed, to out.
    void AppendFileLines(std::span<const CLineOne> rows, std::string_view shownPath,
                         std::string& out) {
        if (rows.empty()) {
            return;
        }
        MakeCells(rows.front(), m_cells);
        bool fileLossy = false;
        m_encoder.SetFile(m_cells, fileLossy);
        for (const CLineOne& row : rows) {
            ++m_lineNumber;
            bool lossy = fileLossy;
            AppendIndexBookLine(out, m_encoder.Write(row.amount, lossy), m_lineNumber);
            out.push_back('\n');
            if (lossy) {
                m_lossy.Add(m_lineNumber, std::string(shownPath));
            }
        }
    }

    std::size_t Count() const { return m_lineNumber - 1; }
    const LossyRows& Lossy() const { return m_lossy; }

private:
    std::string_view m_linkBase;
    ParsedName m_parsed;
    std::vector<CLineOne> m_rows;
    IndexBookCells m_cells;
    LineEncoder m_encoder;
    LossyRows m_lossy;
    std::size_t m_lineNumber = 1; // the header's
};

// Scans folder on this thread (which receives the progress) and hands every file found to
// writeRows, in scan order, on a thread of its own: the scan waits for the disk to list the
// folders, the writing for the processor to make the lines. The scan ends early once writeRows
// returns false.
ScanReport ScanWhileWriting(const std::string& folder, const ScanProgress& progress,
                            const ScanVisitor& writeRows) {
    FoundFilesQueue queue(kRunsInFlight);
    std::atomic<bool> stopped = false;
    std::jthread writer([&] {
        FoundFiles run;
        while (queue.Take(run)) {
            run.ForEach([&](const ScanEntry& entry) {
                if (!stopped && !writeRows(entry)) {
                    stopped = true;
                }
                return !stopped;
            });
        }
    });
    // Closed however the scan ends, so that the writer finishes before it is joined.
    struct CloseAtEnd {
        FoundFilesQueue& queue;
        ~CloseAtEnd() { queue.Close(); }
    } closeAtEnd{queue};
    FoundFiles found;
    const ScanReport report = ScanFolder(
        folder,
        [&](const ScanEntry& entry) {
            found.Add(entry);
            if (found.Size() == kRunFiles) {
                queue.Put(found);
            }
            return !stopped;
        },
        progress);
    queue.Put(found);
    return report;
}

} // namespace

ExportResult CCsvOut::Output(std::string outputPath, std::string targetFolder, std::string linkBase,
                             JobMonitor* monitor) {
    ExportResult result;
    // An empty folder text would name the current folder or the root of the drive, and the run
    // would list far more than any fiscal year.
    if (targetFolder.empty()) {
        result.message = kNoTargetFolderMessage;
        return result;
    }
    // A mistyped folder would otherwise give a book of the header alone, in place of the old one.
    std::error_code error;
    if (!OpenFolder::Open(targetFolder, error).IsOpen()) {
        result.message = MissingTargetMessage(targetFolder, error);
        return result;
    }
    if (auto refusal = OpenBook(outputPath)) {
        result.message = std::move(*refusal);
        return result;
    }
    BookRows rows(linkBase);
    const auto cancelled = [monitor] { return monitor && monitor->CancelRequested(); };
    // The monitor hears of each folder and of the rows every kFilesPerReport files, and is asked
    // whether to stop as often: a book of a million rows pays for thousands of reports, not
    // millions.
    std::size_t foldersReported = 0;
    const ScanProgress onEntry = [&](std::size_t, std::size_t foldersSeen) {
        if (foldersSeen == foldersReported) {
            return true;
        }
        for (; monitor && foldersReported < foldersSeen; ++foldersReported) {
            monitor->AddFolderDone();
        }
        foldersReported = foldersSeen;
        return !cancelled();
    };
    std::size_t rowsReported = 0;
    const auto reportRows = [&] {
        if (monitor) {
            monitor->AddItemsDone(rows.Count() - rowsReported);
        }
        rowsReported = rows.Count();
    };
    std::size_t filesUnreported = 0;
    const ScanReport scan = ScanWhileWriting(targetFolder, onEntry, [&](const ScanEntry& entry) {
        rows.AppendLines(entry, m_pending);
        if (++filesUnreported == kFilesPerReport) {
            filesUnreported = 0;
            reportRows();
            if (cancelled()) {
                return false;
            }
        }
        return m_pending.size() < kWriteBufferSize || FlushPending();
    });
    reportRows();
    // A stop asked for at any time before the book is replaced keeps the book as it was.
    if (cancelled()) {
        m_pending.clear();
        FinishWriting();
        m_book.reset();
        result.cancelled = true;
        result.message = CancelledMessage(outputPath);
        return result;
    }
    if (const std::error_code writeError = CloseBook()) {
        result.message = WriteFailedMessage(outputPath, writeError);
        return result;
    }
    result.ok = true;
    result.rowsWritten = rows.Count();
    result.unreadableFolders = scan.unreadableFolders;
    result.message = kExportDoneMessage;
    if (scan.unreadableFolders != 0) {
        result.message += UnreadableFoldersNote(scan);
    }
    result.warning = rows.Lossy().Warning();
    return result;
}

ExportResult CCsvOut::OutputFiles(std::string outputPath, std::span<const CLineOne> rows,
                                  std::span<const std::string> fullPaths) {
    ExportResult result;
    if (auto refusal = OpenBook(outputPath)) {
        result.message = std::move(*refusal);
        return result;
    }
    BookRows lines({});
    std::size_t first = 0;
    for (std::size_t i = 1; i <= rows.size(); ++i) {
        if (i < rows.size() && fullPaths[i] == fullPaths[first]) {
            continue;
        }
        lines.AppendFileLines(rows.subspan(first, i - first), fullPaths[first], m_pending);
        if (m_pending.size() >= kWriteBufferSize) {
            FlushPending();
        }
        first = i;
    }
    if (const std::error_code writeError = CloseBook()) {
        result.message = WriteFailedMessage(outputPath, writeError);
        return result;
    }
    result.ok = true;
    result.rowsWritten = lines.Count();
    result.message = kExportDoneMessage;
    result.warning = lines.Lossy().Warning();
    return result;
}

std::optional<std::string> CCsvOut::OpenBook(const std::string& outputPath) {
    std::error_code error;
    const std::string bookFile = BookFile(outputPath, error);
    if (error) {
        return OpenFailedMessage(outputPath, error);
    }
    if (const auto refusal = RefuseToReplace(ToFsPath(bookFile))) {
        return OpenFailedMessage(outputPath, *refusal);
    }
    // The lines go into a new file beside the book as they are made; the book itself is
    // replaced only when all of them are written.
    const std::filesystem::path book = ToFsPath(bookFile);
    m_book.emplace(book.parent_path(), error);
    if (!error) {
        error = m_book->TakePermissionsOf(book);
    }
    if (error) {
        m_book.reset();
        return OpenFailedMessage(outputPath, error);
    }
    m_bookPath = book;
    m_pending.clear();
    m_writer.emplace(*m_book);
    WriteLine(cp932::Encode(IndexBookHeader()).bytes);
    return std::nullopt;
}

std::error_code CCsvOut::CloseBook() {
    FlushPending();
    std::error_code error = FinishWriting();
    if (!error) {
        error = m_book->WriteThrough();
    }
    if (!error) {
        error = m_book->ReplaceAs(m_bookPath);
    }
    // A new file that did not become the book removes itself here.
    m_book.reset();
    return error;
}

void CCsvOut::WriteLine(std::string_view line) {
    m_pending.append(line);
    m_pending.push_back('\n');
    if (m_pending.size() >= kWriteBufferSize) {
        FlushPending();
    }
}

bool CCsvOut::FlushPending() {
    return m_writer->Put(m_pending);
}

std::error_code CCsvOut::FinishWriting() {
    const std::error_code error = m_writer->Finish();
    m_writer.reset();
    return error;
}

} // namespace fmb
