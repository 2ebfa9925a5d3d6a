// The INI reader on arbitrary files: reading never crashes, a key that is set reads back after
// the save, and the keys that were not set keep their values.
#include "FuzzCheck.h"

#include "platform/IniFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

// One file for the whole run, in a folder of its own.
const std::filesystem::path& FilePath() {
    static const std::filesystem::path path = [] {
        std::string folder = (std::filesystem::temp_directory_path() / "fumibako-fuzz-XXXXXX");
        FUZZ_CHECK(::mkdtemp(folder.data()) != nullptr);
        return std::filesystem::path(folder) / "FMB_Setting.ini";
    }();
    return path;
}

// Keys the program reads, and keys a hand-edited file may repeat in other spellings.
constexpr const char* kReadKeys[][2] = {
    {"SETTING", "COPY_SAKI_DIR"},
    {"SETTING", "NEND_END_M"},
    {"setting", "kugiri_ber_flg"},
    {"SYURUI", "SIZE"},
    {"SYURUI_001", "SYURUI_NAME"},
    {"SYURUI_001", "SYA_NAME_001"},
    {"", ""},
    {"a", "b"},
};
constexpr std::size_t kSetKey = 1; // SETTING, NEND_END_M

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path& path = FilePath();
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    fmb::IniFile ini(path);
    std::string before[std::size(kReadKeys)];
    for (std::size_t i = 0; i < std::size(kReadKeys); ++i) {
        before[i] = ini.Get(kReadKeys[i][0], kReadKeys[i][1]);
        FUZZ_CHECK(before[i].size() <= 3 * fmb::IniFile::kMaxValueBytes);
    }

    FUZZ_CHECK(ini.Set("SETTING", "NEND_END_M", "7"));
    FUZZ_CHECK(ini.Set("NEW_SECTION", "KEY", "値"));
    FUZZ_CHECK(ini.Save());
    const fmb::IniFile saved(path);
    FUZZ_CHECK(saved.Get("setting", "nend_end_m") == "7");
    FUZZ_CHECK(saved.Get("new_section", "key") == "値");
    for (std::size_t i = 0; i < std::size(kReadKeys); ++i) {
        if (i != kSetKey) {
            FUZZ_CHECK(saved.Get(kReadKeys[i][0], kReadKeys[i][1]) == before[i]);
        }
    }
    return 0;
}
