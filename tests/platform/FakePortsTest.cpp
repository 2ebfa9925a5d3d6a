// The fakes the widget tests stand on: they answer from the queue, record everything, and fail
// the test on a call nobody expected.
#include "support/FakePorts.h"
#include "platform/TemplateDialog.h"
#include "res/ControlIds.h"
#include "support/DialogTest.h"

#include <QPushButton>

#include <gmock/gmock.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace fmb::test {
namespace {

using testing::ElementsAre;

TEST(FakeMessages, AnswersQuestionsInOrderAndRecordsEveryText) {
    FakeMessages messages;
    messages.QueueAnswer(true);
    messages.QueueAnswer(false);

    Reporter& reporter = messages; // core code reports through the same port
    reporter.Notify("保存しました。");
    EXPECT_TRUE(messages.Question("よろしいですか？"));
    messages.Notice("一行目\n二行目");
    EXPECT_FALSE(messages.Question("もう一度？"));

    EXPECT_THAT(messages.Texts(),
                ElementsAre("保存しました。", "よろしいですか？", "一行目\n二行目", "もう一度？"));
    EXPECT_EQ(messages.Log()[1].kind, FakeMessages::Kind::Question);
    EXPECT_EQ(messages.Log()[2].kind, FakeMessages::Kind::Notice);
    EXPECT_EQ(messages.TakeTexts().size(), 4u);
    EXPECT_TRUE(messages.Texts().empty());
}

TEST(FakeMessages, AnUnexpectedQuestionFailsAndIsCancelled) {
    FakeMessages messages;
    bool answer = true;
    EXPECT_NONFATAL_FAILURE(answer = messages.Question("削除しますか？"),
                            "unexpected question (no answer queued): 削除しますか？");
    EXPECT_FALSE(answer);
}

TEST(FakeMessages, AnAnswerNeverAskedForFails) {
    EXPECT_NONFATAL_FAILURE(
        {
            FakeMessages messages;
            messages.QueueAnswer(true);
        },
        "1 queued message answer(s) never asked for");
}

TEST(FakeShell, RecordsPathsAndAddressesAndAnswersAsTold) {
    FakeShell shell;
    EXPECT_TRUE(shell.OpenPath("/data/書類/2024年度"));
    EXPECT_TRUE(shell.OpenUrl("https://example.com/page.html"));
    shell.SetOpens(false);
    EXPECT_FALSE(shell.OpenPath("/data/a.xyz"));
    EXPECT_FALSE(shell.OpenUrl("https://example.com/"));
    EXPECT_THAT(
        shell.Log(),
        ElementsAre(FakeShell::Opened{FakeShell::Kind::Path, "/data/書類/2024年度"},
                    FakeShell::Opened{FakeShell::Kind::Url, "https://example.com/page.html"},
                    FakeShell::Opened{FakeShell::Kind::Path, "/data/a.xyz"},
                    FakeShell::Opened{FakeShell::Kind::Url, "https://example.com/"}));
}

TEST(FakePickers, AnswersInOrderAndRecordsTheInitialFolders) {
    FakePickers pickers;
    pickers.QueueFile("/in/a.pdf");
    pickers.QueueFolder(std::nullopt);
    pickers.QueueFolder("/out");

    EXPECT_EQ(pickers.PickOpenFile(), "/in/a.pdf");
    EXPECT_EQ(pickers.PickFolder("/start"), std::nullopt);
    EXPECT_EQ(pickers.PickFolder(""), "/out");
    EXPECT_THAT(pickers.Log(), ElementsAre(FakePickers::Call{FakePickers::Kind::File, ""},
                                           FakePickers::Call{FakePickers::Kind::Folder, "/start"},
                                           FakePickers::Call{FakePickers::Kind::Folder, ""}));
}

TEST(FakePickers, UnexpectedOrMismatchedCallsFailAndChooseNothing) {
    FakePickers pickers;
    std::optional<std::string> chosen = "x";
    EXPECT_NONFATAL_FAILURE(chosen = pickers.PickFolder("/a"), "unexpected folder chooser");
    EXPECT_EQ(chosen, std::nullopt);

    pickers.QueueFile("/in/a.pdf");
    chosen = "x";
    EXPECT_NONFATAL_FAILURE(chosen = pickers.PickFolder("/a"),
                            "the next queued answer is for the file chooser");
    EXPECT_EQ(chosen, std::nullopt);

    EXPECT_NONFATAL_FAILURE(
        {
            FakePickers unused;
            unused.QueueFolder("/never");
        },
        "never asked for");
}

// A dialog class of its own, so the runner sees a class name.
class MenuLikeDialog final : public TemplateDialog {
    Q_OBJECT
public:
    explicit MenuLikeDialog(QWidget* parent = nullptr) : TemplateDialog(DialogId::Menu, parent) {
        connect(Control<QPushButton>(ids::menu::kBackButton), &QPushButton::clicked, this,
                &QDialog::accept);
    }
};

TEST(FakeModalRunner, RunsTheHandlerOnTheShownDialogAndReturnsItsResult) {
    FakeModalRunner modal;
    bool wasVisible = false;
    modal.Queue("fmb::test::MenuLikeDialog", [&](QDialog& dialog) {
        wasVisible = dialog.isVisible() && dialog.isActiveWindow();
        ControlOf<QPushButton>(dialog, ids::menu::kBackButton)->click();
    });
    modal.Queue("fmb::test::MenuLikeDialog", [](QDialog& dialog) { dialog.close(); });

    MenuLikeDialog first;
    EXPECT_EQ(modal.RunModal(first), QDialog::Accepted);
    EXPECT_TRUE(wasVisible);
    MenuLikeDialog second;
    EXPECT_EQ(modal.RunModal(second), QDialog::Rejected);
    EXPECT_THAT(modal.Log(), ElementsAre("fmb::test::MenuLikeDialog", "fmb::test::MenuLikeDialog"));
}

TEST(FakeModalRunner, ADialogOpenedFromAHandlerTakesTheNextHandler) {
    FakeModalRunner modal;
    int innerResult = -1;
    modal.Queue("fmb::test::MenuLikeDialog", [&](QDialog& outer) {
        MenuLikeDialog inner(&outer);
        innerResult = modal.RunModal(inner);
        outer.reject();
    });
    modal.Queue("fmb::test::MenuLikeDialog", [](QDialog& inner) { inner.accept(); });

    MenuLikeDialog outer;
    EXPECT_EQ(modal.RunModal(outer), QDialog::Rejected);
    EXPECT_EQ(innerResult, QDialog::Accepted);
    EXPECT_EQ(modal.Log().size(), 2u);
}

TEST(FakeModalRunner, UnexpectedRunsAndOpenDialogsFail) {
    FakeModalRunner modal;
    MenuLikeDialog dialog;
    int result = QDialog::Accepted;
    EXPECT_NONFATAL_FAILURE(result = modal.RunModal(dialog),
                            "unexpected modal run of fmb::test::MenuLikeDialog");
    EXPECT_EQ(result, QDialog::Rejected);

    modal.Queue("fmb::CSettingDlg", [](QDialog& d) { d.accept(); });
    EXPECT_NONFATAL_FAILURE(result = modal.RunModal(dialog), "but fmb::CSettingDlg was expected");
    EXPECT_EQ(result, QDialog::Rejected);

    modal.Queue("fmb::test::MenuLikeDialog", [](QDialog&) {});
    EXPECT_NONFATAL_FAILURE(result = modal.RunModal(dialog), "left fmb::test::MenuLikeDialog open");
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());

    EXPECT_NONFATAL_FAILURE(
        {
            FakeModalRunner unused;
            unused.Queue("fmb::CMenuDlg", [](QDialog&) {});
        },
        "dialog fmb::CMenuDlg was expected but never run");
}

TEST(FakePlatform, MakesAnEnvironmentOfItsFakes) {
    FakePlatform fake({2024, 1, 5});
    const Environment env = fake.Env("/settings/");
    EXPECT_EQ(&env.messages, &fake.messages);
    EXPECT_EQ(&env.modal, &fake.modal);
    EXPECT_EQ(env.clock.Today().day, 5);
    EXPECT_EQ(env.settingsFolder, "/settings/");
}

} // namespace
} // namespace fmb::test

#include "FakePortsTest.moc"
