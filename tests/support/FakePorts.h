#pragma once

#include "platform/Environment.h"
#include "support/FixedClock.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QDialog;

namespace fmb::test {

// Fakes of the ports for widget tests. They stand in for the person at the screen: each answer is
// queued by the test before the action that asks for it, and everything the program showed or
// asked is recorded in order. A call with no answer queued fails the test (ADD_FAILURE) and gets
// the safe answer (Cancel, nothing chosen, dialog rejected); an answer still queued when the fake
// is destroyed fails the test too, since the program never asked what the test expected.

// Message boxes.
class FakeMessages final : public MessagePort {
public:
    enum class Kind { Notice, Question, CautiousQuestion };
    struct Shown {
        Kind kind;
        std::string text;
    };

    FakeMessages() = default;
    FakeMessages(const FakeMessages&) = delete;
    FakeMessages& operator=(const FakeMessages&) = delete;
    ~FakeMessages() override;

    // The user's answer to the next question: true for OK, false for Cancel. whileOpen, when
    // given, runs while the question is open, before the answer: a real message box runs an
    // event loop of its own, so the window's timers and a running job's progress go on; the
    // test can wait for them there (QTest::qWaitFor).
    void QueueAnswer(bool ok, std::function<void()> whileOpen = {}) {
        m_answers.push_back({ok, std::move(whileOpen)});
    }

    void Notice(const std::string& text) override;
    bool Question(const std::string& text) override;
    bool CautiousQuestion(const std::string& text) override;

    const std::vector<Shown>& Log() const { return m_log; }
    // The texts of every notice and question so far, in order.
    std::vector<std::string> Texts() const;
    // Texts(), then forgets them, so a test can check one step at a time.
    std::vector<std::string> TakeTexts();

private:
    struct Answer {
        bool ok;
        std::function<void()> whileOpen;
    };
    bool Ask(Kind kind, const std::string& text);

    std::deque<Answer> m_answers;
    std::vector<Shown> m_log;
};

// The desktop's "open". It opens everything asked, unless the test says that nothing opens (no
// program for the file, no browser).
class FakeShell final : public ShellPort {
public:
    enum class Kind { Path, Url };
    struct Opened {
        Kind kind;
        std::string target;
        bool operator==(const Opened&) const = default;
    };

    void SetOpens(bool opens) { m_opens = opens; }

    bool OpenPath(const std::string& path) override {
        m_log.push_back({Kind::Path, path});
        return m_opens;
    }
    bool OpenUrl(const std::string& url) override {
        m_log.push_back({Kind::Url, url});
        return m_opens;
    }

    const std::vector<Opened>& Log() const { return m_log; }

private:
    bool m_opens = true;
    std::vector<Opened> m_log;
};

// The file and folder choosers. The queue is shared and ordered: a file answer given to a folder
// chooser (or the other way round) fails the test.
class FakePickers final : public PickerPort {
public:
    enum class Kind { File, Folder };
    struct Call {
        Kind kind;
        std::string initialFolder; // empty for the file chooser without a starting folder
        bool operator==(const Call&) const = default;
    };

    FakePickers() = default;
    FakePickers(const FakePickers&) = delete;
    FakePickers& operator=(const FakePickers&) = delete;
    ~FakePickers() override;

    // What the user chooses in the next file chooser; std::nullopt for Cancel.
    void QueueFile(std::optional<std::string> chosen) { m_answers.push_back({Kind::File, chosen}); }
    // What the user chooses in the next folder chooser; std::nullopt for Cancel.
    void QueueFolder(std::optional<std::string> chosen) {
        m_answers.push_back({Kind::Folder, chosen});
    }

    std::optional<std::string> PickOpenFile() override;
    std::optional<std::string> PickOpenFileIn(const std::string& initialFolder) override;
    std::optional<std::string> PickFolder(const std::string& initialFolder) override;

    const std::vector<Call>& Log() const { return m_log; }

private:
    struct Answer {
        Kind kind;
        std::optional<std::string> chosen;
    };
    std::optional<std::string> Take(Kind kind);

    std::deque<Answer> m_answers;
    std::vector<Call> m_log;
};

// Modal runs. For each dialog the program is expected to run, the test queues the dialog's class
// name (as Q_OBJECT gives it, e.g. "fmb::CKingakuDig") and a handler that plays the user: it finds
// controls, types, clicks, and finally closes the dialog as a user would (a button that calls
// accept()/reject()/done(), or dialog.close() for the close box). RunModal shows the dialog, makes
// it the active window, calls the handler, and returns the dialog's result, as exec() would once
// the dialog has closed.
// A handler that leaves the dialog open fails the test, and the dialog is hidden as rejected.
// Dialogs the handler opens in turn take the next handlers in the queue.
class FakeModalRunner final : public ModalRunner {
public:
    using Handler = std::function<void(QDialog&)>;

    FakeModalRunner() = default;
    FakeModalRunner(const FakeModalRunner&) = delete;
    FakeModalRunner& operator=(const FakeModalRunner&) = delete;
    ~FakeModalRunner() override;

    void Queue(std::string className, Handler handler);

    int RunModal(QDialog& dialog) override;

    // Class names of the dialogs run so far, in the order they were started.
    const std::vector<std::string>& Log() const { return m_log; }

private:
    struct Expected {
        std::string className;
        Handler handler;
    };
    std::deque<Expected> m_expected;
    std::vector<std::string> m_log;
};

// One of each fake and a fixed clock, with the Environment a dialog under test takes.
//
//   TempDir dir;
//   FakePlatform fake({2024, 1, 5});
//   CSettingDlg dlg(fake.Env(dir.Text(true)));
struct FakePlatform {
    explicit FakePlatform(LocalDate today = {2024, 1, 5}) : clock(today) {}

    Environment Env(std::string settingsFolder) {
        return {messages, shell, pickers, modal, clock, std::move(settingsFolder)};
    }

    FakeMessages messages;
    FakeShell shell;
    FakePickers pickers;
    FakeModalRunner modal;
    FixedClock clock;
};

} // namespace fmb::test
