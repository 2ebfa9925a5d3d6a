#pragma once

#include "index/IndexBook.h"

#include <cstddef>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fmb {

// Called once for every directory entry the scan meets, with the number met so far; the export
// dialog keeps its window responsive with it and may show the count.
using ScanProgress = std::function<void(std::size_t entriesSeen)>;
// Called once for every file the scan finds, in scan order. The entry is valid during the call.
using ScanVisitor = std::function<void(const ScanEntry& entry)>;

// What one export run did; the caller shows message (and warning, when there is one).
struct ExportResult {
    bool ok = false;
    std::size_t rowsWritten = 0; // rows in the written file; 0 when the run failed
    std::string message;         // the end message, or why the run failed (naming the file)
    std::string warning;         // rows whose texts the CSV's code page cannot hold; or empty
};

class ScannedTree; // what the scan found, kept until the book is written

inline constexpr std::string_view kExportDoneMessage = "出力処理を終了しました。";
// Why a run with an empty target folder writes nothing.
inline constexpr std::string_view kNoTargetFolderMessage =
    "リスト化対象フォルダが指定されていません。\n索引簿にするフォルダ（年度）を指定してください。";

// The worker of one index-book export run: it scans the whole folder, then writes the file.
class CCsvOut {
public:
    // Walks folder depth first in the file system's order and hands every file found, hidden
    // ones included, to onFile. Folder links are followed unless they lead back up the walk.
    // A folder that cannot be read contributes nothing.
    static void ScanFolder(const std::string& folder, const ScanVisitor& onFile,
                           const ScanProgress& progress = {});

    // Scans targetFolder; only then writes the index book to outputPath, replacing the file
    // whole. linkBase empty writes full paths; otherwise a folder ending in a separator from
    // which the paths are made relative.
    ExportResult Output(std::string outputPath, std::string targetFolder, std::string linkBase,
                        const ScanProgress& progress = {});

    // Writes one line (CP932 bytes) followed by a line feed to the open file.
    void WriteLine(std::string_view line);

private:
    // Writes the lines of the rows of every file found; returns how many. lossyRows receives
    // the number and file of each line with a character CP932 cannot hold.
    std::size_t WriteRows(const ScannedTree& tree, std::string_view linkBase,
                          std::vector<std::pair<std::size_t, std::string>>& lossyRows);
    // Ends the line being put together in m_pending.
    void EndLine();
    void FlushPending();

    std::ofstream m_file;
    std::string m_pending; // lines not yet handed to the file, written in large blocks
};

} // namespace fmb
