// Message boxes, choosers, the desktop's "open" and modal runs go through the ports only, so every
// one of them can be answered and checked in the widget tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Source files under src/ that contain word, as paths relative to src/.
std::vector<std::string> FilesUsing(const std::string& word) {
    const fs::path root = FUMIBAKO_SOURCE_DIR;
    std::vector<std::string> found;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        const fs::path ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h"))
            continue;
        if (Read(entry.path()).find(word) != std::string::npos)
            found.push_back(entry.path().lexically_relative(root).generic_string());
    }
    return found;
}

TEST(PortUsage, OnlyTheQtPortsUseMessageBoxesChoosersAndTheDesktop) {
    for (const char* word : {"QMessageBox", "QFileDialog", "QDesktopServices"}) {
        EXPECT_EQ(FilesUsing(word), std::vector<std::string>{"platform/QtPorts.cpp"}) << word;
    }
}

// A dialog's exec() is a nested event loop no test can enter: dialogs are run through
// ModalRunner. Only its Qt implementation and the program's main() call exec().
TEST(PortUsage, OnlyTheModalRunnerAndMainCallExec) {
    for (const char* call : {".exec()", "->exec()"}) {
        for (const std::string& file : FilesUsing(call))
            EXPECT_TRUE(file == "platform/QtPorts.cpp" || file == "app/main.cpp") << file;
    }
    EXPECT_FALSE(FilesUsing(".exec()").empty()) << "the scan found nothing at all";
}

} // namespace
