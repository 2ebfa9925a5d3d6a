#pragma once

#include "index/IndexBook.h"

#include <cstddef>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fmb {

// Called once for every directory entry the scan meets, with the number met so far; the export
// dialog keeps its window responsive with it and may show the count.
using ScanProgress = std::function<void(std::size_t entriesSeen)>;

// What one export run did; the caller shows message (and warning, when there is one).
struct ExportResult {
    bool ok = false;
    std::size_t rowsWritten = 0; // rows in the written file; 0 when the run failed
    std::string message; // the end message, or why the run failed (naming the file)
    std::string warning; // rows whose texts the CSV's code page cannot hold; empty when none
};

inline constexpr std::string_view kExportDoneMessage = "出力処理を終了しました。";

// The worker of one index-book export run; owns the output file while the run writes it.
class CCsvOut {
public:
    CCsvOut();
    ~CCsvOut();
    CCsvOut(const CCsvOut&) = delete;
    CCsvOut& operator=(const CCsvOut&) = delete;

    // Walks folder depth first in the file system's order and appends one entry for every file
    // found, hidden ones included. Folder links are followed unless they lead back up the walk.
    // A folder that cannot be read contributes nothing.
    static void ScanFolder(const std::string& folder, std::vector<ScanEntry>& entries,
                           const ScanProgress& progress = {});

    // Scans targetFolder, builds the rows and only then writes the index book to outputPath,
    // replacing the file whole. linkBase empty writes full paths; otherwise a folder ending in
    // a separator from which the paths are made relative.
    ExportResult Output(std::string outputPath, std::string targetFolder, std::string linkBase,
                        const ScanProgress& progress = {});

    // Writes one line (CP932 bytes) followed by a line feed to the open file.
    void WriteLine(std::string_view line);

private:
    std::unique_ptr<char[]> m_buffer;
    std::ofstream m_file;
};

} // namespace fmb
