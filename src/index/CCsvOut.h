#pragma once

#include "index/BlockWriter.h"
#include "index/IndexBook.h"
#include "platform/TemporaryFile.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

namespace fmb {

class JobMonitor;

// What one export run did; the caller shows message (and warning, when there is one).
struct ExportResult {
    bool ok = false;
    bool cancelled = false;      // the user stopped it: no book was written, an old one stays
    std::size_t rowsWritten = 0; // rows in the written file; 0 when the run failed
    // Folders left out of a written book because they could not be read; message tells of them.
    std::size_t unreadableFolders = 0;
    std::string message; // the end message, or why the run failed (naming the file)
    std::string warning; // rows whose texts the CSV's code page cannot hold; or empty
};

inline constexpr std::string_view kExportDoneMessage = "出力処理を終了しました。";
// Why a run with an empty target folder writes nothing.
inline constexpr std::string_view kNoTargetFolderMessage =
    "リスト化対象フォルダが指定されていません。\n索引簿にするフォルダ（年度）を指定してください。";

// The worker of one index-book export run: it writes the rows of each file as the scan finds
// it into a new file beside the book, which replaces the book when every line is written.
class CCsvOut {
public:
    // Writes the index book of targetFolder to outputPath, replacing the file there whole once
    // the book is complete; a run that fails leaves it as it was. linkBase empty writes full
    // paths; otherwise a folder ending in a separator from which the paths are made relative.
    // The scan runs on the calling thread; the rows are made and written on a thread of the
    // run's own meanwhile. A monitor sees the folders walked and the rows written, and may stop
    // the run: the new file is then removed, the book stays as it was, and the result is
    // cancelled.
    ExportResult Output(std::string outputPath, std::string targetFolder, std::string linkBase,
                        JobMonitor* monitor = nullptr);

    // Writes the index book of chosen files to outputPath, with the checks and the one-step
    // replacing of Output: rows in their order, fullPaths[i] the full path of the file of rows[i]
    // (rows of one file follow each other and share every cell but the amount).
    ExportResult OutputFiles(std::string outputPath, std::span<const CLineOne> rows,
                             std::span<const std::string> fullPaths);

    // Writes one line (CP932 bytes) followed by a line feed to the new book.
    void WriteLine(std::string_view line);

private:
    // Checks where the book goes, creates the new file beside it and writes the header; why
    // it cannot be written, naming outputPath, or nothing.
    std::optional<std::string> OpenBook(const std::string& outputPath);
    // Writes what is pending and replaces the book with the new file; on failure the new file
    // is removed and the book stays as it was.
    std::error_code CloseBook();
    // Hands the pending lines to the writing; false once a write has failed.
    bool FlushPending();
    // Waits for the writing to end; the first write failure, if any.
    std::error_code FinishWriting();

    std::optional<TemporaryFile> m_book; // the new book, beside the one it replaces
    std::filesystem::path m_bookPath;    // the book the new file replaces
    std::optional<BlockWriter> m_writer; // writes the book's blocks during the run
    std::string m_pending; // lines not yet handed to the writing, written in large blocks
};

} // namespace fmb
