#pragma once

#include "platform/Clock.h"

#include <optional>
#include <string>
#include <string_view>

// What the index export dialog decides from its fields before it runs an export.
namespace fmb {

// Shown each time the dialog opens while the settings join the name's fields with "_": such
// names with a single amount hold no date the index book could read.
inline constexpr std::string_view kUnderscoreNamesWarning =
    "※設定ダイアログの ファイル名区切り文字「_」がON　になっています。\n\n"
    "　索引簿CSV出力には対応していません！！";
// Asked when relative links are wanted but the target folder does not lie in the output folder.
inline constexpr std::string_view kFullPathQuestion =
    "相対パスで出力できません。フルパスにします。よろしいですか？";

// Asked before a running export is stopped (中止, or closing the dialog).
inline constexpr std::string_view kStopExportQuestion =
    "索引簿の出力を中止しますか？\n\n索引簿ファイルは書き込まれず、以前の索引簿ファイルが"
    "あれば、そのまま残ります。";

// The default file name for a target folder chosen today: its last component followed by
// "_索引簿(作成日YYYYMMDD).csv", e.g. 2022年度_索引簿(作成日20240105).csv.
std::string DefaultIndexBookName(std::string_view targetFolder, const Clock& clock);

// The CSV file's path: the output folder and the file name with one separator between them.
std::string IndexBookPath(std::string_view outputFolder, std::string_view fileName);

enum class ExportField { Target, OutputFolder, FileName };

struct ExportRefusal {
    ExportField focus;   // the field to correct
    std::string message; // shown as it stands
};

// Why an export with these fields must not start: an empty target folder (it would name the
// current folder or the whole drive), an empty or relative output folder (the book would land
// in whatever folder the program happens to run in), an empty file name. Nothing when it may.
std::optional<ExportRefusal> CheckExportFields(std::string_view target,
                                               std::string_view outputFolder,
                                               std::string_view fileName);

// How the paths in the book are written.
struct LinkChoice {
    std::string linkBase;      // empty: full paths; otherwise the folder they are relative to
    bool askFullPaths = false; // relative links are impossible: ask before writing full paths
};

// relative: the box "リンク先を相対パスで出力" is ticked. The links are relative to the output
// folder (with a trailing separator) when the target folder lies in it, that is when the target
// text begins with it exactly, letter case included; otherwise the user is asked whether full
// paths will do.
LinkChoice ChooseLinks(std::string_view target, std::string_view outputFolder, bool relative);

} // namespace fmb
