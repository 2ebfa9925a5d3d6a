// The menu with its sub-dialogs run through the fake modal runner and the web pages through the
// fake shell.
#include "app/CMenuDlg.h"

#include "res/ControlIds.h"
#include "support/DialogTest.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

#include <QPushButton>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

namespace fmb {
namespace {

using namespace ids::menu;

using test::ClickOn;
using test::ControlOf;
using testing::ElementsAre;

class CMenuDlgTest : public ::testing::Test {
protected:
    int Run(std::function<void(QDialog&)> play) {
        m_fake.modal.Queue("fmb::CMenuDlg", std::move(play));
        CMenuDlg menu(m_fake.Env(m_settings.Text(true)));
        return m_fake.modal.RunModal(menu);
    }

    // A sub-dialog's run: it is the menu's child and the user closes it with closing.
    void ExpectSubDialog(const char* className, QDialog& menu,
                         std::function<void(QDialog&)> closing) {
        m_fake.modal.Queue(className, [&menu, closing](QDialog& d) {
            EXPECT_EQ(d.parentWidget(), &menu);
            closing(d);
        });
    }

    test::TempDir m_settings;
    test::FakePlatform m_fake{{2024, 1, 5}};
};

TEST_F(CMenuDlgTest, RunsEachSubDialogAndStaysOpen) {
    Run([&](QDialog& menu) {
        ExpectSubDialog("fmb::CSettingDlg", menu, [](QDialog& d) { ClickOn(d, ids::kCancel); });
        ClickOn(menu, kSettingsButton);
        EXPECT_TRUE(menu.isVisible());
        ExpectSubDialog("fmb::CCsvOutDlg2", menu, [](QDialog& d) { d.close(); });
        ClickOn(menu, kIndexExportButton);
        EXPECT_TRUE(menu.isVisible());
        ExpectSubDialog("fmb::CCopyDirDlg", menu,
                        [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); });
        ClickOn(menu, kBackupButton);
        EXPECT_TRUE(menu.isVisible());
        ClickOn(menu, kBackButton);
    });
    EXPECT_THAT(m_fake.modal.Log(), ElementsAre("fmb::CMenuDlg", "fmb::CSettingDlg",
                                                "fmb::CCsvOutDlg2", "fmb::CCopyDirDlg"));
    EXPECT_TRUE(m_fake.messages.Texts().empty());
}

TEST_F(CMenuDlgTest, OpensTheTwoWebPagesAndStaysOpen) {
    Run([&](QDialog& menu) {
        ClickOn(menu, kManualButton);
        ClickOn(menu, kWebSiteButton);
        EXPECT_TRUE(menu.isVisible());
        menu.close();
    });
    using Opened = test::FakeShell::Opened;
    constexpr auto kUrl = test::FakeShell::Kind::Url;
    EXPECT_THAT(m_fake.shell.Log(),
                ElementsAre(Opened{kUrl, "https://fumibako.jp/fumibako/tukaikata001.html"},
                            Opened{kUrl, "https://fumibako.jp/fumibako/fmbinfo.html"}));
    EXPECT_TRUE(m_fake.messages.Texts().empty());
}

TEST_F(CMenuDlgTest, APageNoBrowserOpensIsToldByItsAddress) {
    m_fake.shell.SetOpens(false);
    Run([&](QDialog& menu) {
        ClickOn(menu, kWebSiteButton);
        EXPECT_TRUE(menu.isVisible());
        menu.close();
    });
    EXPECT_THAT(m_fake.messages.Texts(),
                ElementsAre("「https://fumibako.jp/fumibako/fmbinfo.html」を開けませんでした。\n\n"
                            "Webブラウザが使えるか、確認してください。"));
}

TEST_F(CMenuDlgTest, BackClosesWithOkEscAndTheCloseBoxWithCancel) {
    EXPECT_EQ(Run([](QDialog& menu) { ClickOn(menu, kBackButton); }), QDialog::Accepted);
    EXPECT_EQ(Run([](QDialog& menu) {
                  ControlOf<QPushButton>(menu, kSettingsButton)->setFocus();
                  QTest::keyClick(ControlOf<QPushButton>(menu, kSettingsButton), Qt::Key_Escape);
              }),
              QDialog::Rejected);
    EXPECT_EQ(Run([](QDialog& menu) { menu.close(); }), QDialog::Rejected);
    EXPECT_TRUE(m_fake.shell.Log().empty());
}

} // namespace
} // namespace fmb
