// Windows only: the system's error codes read as the reasons users are told.
#include "platform/ErrorText.h"
#include "platform/WindowsSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace fmb {
namespace {

TEST(WindowsErrors, ReadAsTheReasonsUsersAreTold) {
    struct Case {
        DWORD code;
        const char* reason;
    };
    const Case cases[] = {
        {ERROR_FILE_NOT_FOUND, "ファイルまたはフォルダが見つかりません。"},
        {ERROR_PATH_NOT_FOUND, "ファイルまたはフォルダが見つかりません。"},
        {ERROR_ACCESS_DENIED, "アクセスが拒否されました。"},
        {ERROR_DISK_FULL, "ディスクの空き容量が足りません。"},
        {ERROR_HANDLE_DISK_FULL, "ディスクの空き容量が足りません。"},
        {ERROR_SHARING_VIOLATION, "ファイルが使用中です。"},
        {ERROR_LOCK_VIOLATION, "ファイルが使用中です。"},
        {ERROR_FILENAME_EXCED_RANGE, "パスが長すぎます。"},
        {ERROR_FILE_EXISTS, "同じ名前のファイルまたはフォルダがすでにあります。"},
        {ERROR_ALREADY_EXISTS, "同じ名前のファイルまたはフォルダがすでにあります。"},
        {ERROR_WRITE_PROTECT, "書き込みできないドライブです。"},
        {ERROR_CRC, "読み書きの途中でエラーが発生しました。"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DescribeError(windows::ErrorFromCode(c.code)), c.reason) << c.code;
    }
    // The publish step tells a taken name by this condition.
    EXPECT_EQ(windows::ErrorFromCode(ERROR_ALREADY_EXISTS), std::errc::file_exists);
}

TEST(WindowsErrors, OthersKeepTheSystemsWordingAndNumber) {
    const std::string reason = DescribeError(windows::ErrorFromCode(ERROR_BAD_FORMAT));
    EXPECT_NE(reason.find("（エラー番号 11）"), std::string::npos) << reason;
}

TEST(WindowsPaths, TakeTheLongPathPrefixAndNoTrailingSeparator) {
    EXPECT_EQ(windows::LongPath(L"C:\\書類\\2022年度\\"), L"\\\\?\\C:\\書類\\2022年度");
    EXPECT_EQ(windows::LongPath(L"C:/書類/./請求書(控)/../2022年度"), L"\\\\?\\C:\\書類\\2022年度");
    EXPECT_EQ(windows::LongPath(L"C:\\"), L"\\\\?\\C:\\");
    EXPECT_EQ(windows::LongPath(L"\\\\server\\share\\書類\\"), L"\\\\?\\UNC\\server\\share\\書類");
    EXPECT_EQ(windows::LongPath(L"//server/share/書類"), L"\\\\?\\UNC\\server\\share\\書類");
    EXPECT_EQ(windows::ToUtf8(windows::ToWide("ソ表能(株)")), "ソ表能(株)");
}

} // namespace
} // namespace fmb
