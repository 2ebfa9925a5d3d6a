// Start-up of the desktop program: the filing window, run until the user closes it.
#include "app/CFumibakoApp.h"

#include "res/ControlIds.h"
#include "settings/CFMBData.h"
#include "support/DialogTest.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace fmb {
namespace {

using namespace ids::filing;

TEST(CFumibakoApp, RunsTheFilingWindowUntilItCloses) {
    test::TempDir dir;
    CFMBData settings(dir.Text(true));
    settings.COPY_SAKI_DIR = dir.Text();
    ASSERT_EQ(settings.WriteIni(), SaveResult::Saved);

    test::FakePlatform fake;
    bool shown = false;
    fake.modal.Queue("fmb::CFumibakoDlg", [&shown](QDialog& window) {
        shown = window.isVisible() && window.isActiveWindow();
        test::ControlOf<QLineEdit>(window, kRemarkField)->setText("half filled");
        test::ControlOf<QAbstractButton>(window, kExitButton)->click(); // 終了
    });
    CFumibakoApp app(fake.Env(dir.Text(true)));
    EXPECT_EQ(app.InitInstance(), 0);
    EXPECT_TRUE(shown);
    EXPECT_EQ(fake.modal.Log(), std::vector<std::string>{"fmb::CFumibakoDlg"});
    EXPECT_TRUE(fake.messages.Texts().empty());
    EXPECT_EQ(QCoreApplication::organizationName().toStdString(), "Sorato");
    EXPECT_FALSE(QApplication::windowIcon().isNull());
}

TEST(CFumibakoApp, AFirstStartRunsTheSettingsBeforeTheFilingWindow) {
    test::TempDir dir;
    test::FakePlatform fake;
    fake.modal.Queue("fmb::CSettingDlg", [](QDialog& dialog) { dialog.close(); });
    fake.modal.Queue("fmb::CFumibakoDlg", [](QDialog& window) { window.close(); });
    CFumibakoApp app(fake.Env(dir.Text(true)));
    EXPECT_EQ(app.InitInstance(), 0);
    EXPECT_EQ(fake.modal.Log(),
              (std::vector<std::string>{"fmb::CSettingDlg", "fmb::CFumibakoDlg"}));
    EXPECT_EQ(fake.messages.Texts(),
              std::vector<std::string>{"保存先フォルダが設定されていないので、設定してください。"});
}

} // namespace
} // namespace fmb
