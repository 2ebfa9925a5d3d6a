// The file-name parser and the index book on arbitrary names: parsing never crashes or hangs,
// and a stored file of any name gives a book whose every line reads back as eight cells, one
// line for each amount of a name with a date.
#include "FuzzCheck.h"

#include "index/CCsvOut.h"
#include "index/FileNameParse.h"
#include "platform/TemporaryName.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Scratch {
    fs::path target; // the folder the book lists
    fs::path type;   // a type folder in it
    fs::path book;
};

const Scratch& Folders() {
    static const Scratch scratch = [] {
        std::string folder = fs::temp_directory_path() / "fumibako-fuzz-XXXXXX";
        FUZZ_CHECK(::mkdtemp(folder.data()) != nullptr);
        Scratch s{fs::path(folder) / "2024年度", fs::path(folder) / "2024年度" / "請求書", {}};
        s.book = fs::path(folder) / "book.csv";
        fs::create_directories(s.type);
        return s;
    }();
    return scratch;
}

// The records of a CSV text: cells split at commas outside double quotes, records at line
// feeds outside them; "" inside quotes is one quote. The bytes are CP932, in which none of
// these characters can be the second byte of a double-byte character.
std::vector<std::vector<std::string>> ReadCsv(std::string_view text) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string cell;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cell.push_back('"');
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cell.push_back(c);
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            record.push_back(std::move(cell));
            cell.clear();
        } else if (c == '\n') {
            record.push_back(std::move(cell));
            cell.clear();
            records.push_back(std::move(record));
            record.clear();
        } else {
            cell.push_back(c);
        }
    }
    FUZZ_CHECK(!quoted);
    FUZZ_CHECK(cell.empty() && record.empty()); // the last line is ended
    return records;
}

// A name the file system can hold: no separator, no NUL, not a dot name, at most 255 bytes.
bool IsStorableName(std::string_view name) {
    return !name.empty() && name.size() <= 255 && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view name(reinterpret_cast<const char*>(data), size);
    fmb::ParsedName parsed;
    fmb::ParseFileName(name, parsed);
    FUZZ_CHECK(!parsed.amounts.empty());
    if (!IsStorableName(name)) {
        return 0;
    }

    const Scratch& scratch = Folders();
    const fs::path file = scratch.type / fs::path(std::string(name));
    {
        std::ofstream created(file, std::ios::binary);
        FUZZ_CHECK(created.good());
    }
    fmb::CCsvOut worker;
    const fmb::ExportResult result = worker.Output(scratch.book, scratch.target, "");
    fs::remove(file);
    FUZZ_CHECK(result.ok);

    std::ifstream book(scratch.book, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(book), std::istreambuf_iterator<char>()};
    const auto records = ReadCsv(bytes);
    const std::size_t rows =
        parsed.date.empty() || fmb::IsTemporaryName(name) ? 0 : parsed.amounts.size();
    FUZZ_CHECK(records.size() == 1 + rows);
    FUZZ_CHECK(result.rowsWritten == rows);
    for (const auto& record : records) {
        FUZZ_CHECK(record.size() == 8);
    }
    return 0;
}
