#include "FakePorts.h"

#include "DialogTest.h"

#include <QDialog>

#include <gtest/gtest.h>

namespace fmb::test {

FakeMessages::~FakeMessages() {
    if (!m_answers.empty())
        ADD_FAILURE() << m_answers.size() << " queued message answer(s) never asked for";
}

void FakeMessages::Notice(const std::string& text) {
    m_log.push_back({Kind::Notice, text});
}

bool FakeMessages::Question(const std::string& text) {
    return Ask(Kind::Question, text);
}

bool FakeMessages::CautiousQuestion(const std::string& text) {
    return Ask(Kind::CautiousQuestion, text);
}

bool FakeMessages::Ask(Kind kind, const std::string& text) {
    m_log.push_back({kind, text});
    if (m_answers.empty()) {
        ADD_FAILURE() << "unexpected question (no answer queued): " << text;
        return false;
    }
    Answer answer = std::move(m_answers.front());
    m_answers.pop_front();
    if (answer.whileOpen)
        answer.whileOpen();
    return answer.ok;
}

std::vector<std::string> FakeMessages::Texts() const {
    std::vector<std::string> texts;
    texts.reserve(m_log.size());
    for (const Shown& shown : m_log)
        texts.push_back(shown.text);
    return texts;
}

std::vector<std::string> FakeMessages::TakeTexts() {
    std::vector<std::string> texts = Texts();
    m_log.clear();
    return texts;
}

FakePickers::~FakePickers() {
    if (!m_answers.empty())
        ADD_FAILURE() << m_answers.size() << " queued chooser answer(s) never asked for";
}

std::optional<std::string> FakePickers::PickOpenFile() {
    m_log.push_back({Kind::File, ""});
    return Take(Kind::File);
}

std::optional<std::string> FakePickers::PickOpenFileIn(const std::string& initialFolder) {
    m_log.push_back({Kind::File, initialFolder});
    return Take(Kind::File);
}

std::optional<std::string> FakePickers::PickFolder(const std::string& initialFolder) {
    m_log.push_back({Kind::Folder, initialFolder});
    return Take(Kind::Folder);
}

std::optional<std::string> FakePickers::Take(Kind kind) {
    const char* what = kind == Kind::File ? "file chooser" : "folder chooser";
    if (m_answers.empty()) {
        ADD_FAILURE() << "unexpected " << what << " (no answer queued)";
        return std::nullopt;
    }
    Answer answer = m_answers.front();
    m_answers.pop_front();
    if (answer.kind != kind) {
        ADD_FAILURE() << "a " << what << " was opened, but the next queued answer is for the "
                      << (kind == Kind::File ? "folder chooser" : "file chooser");
        return std::nullopt;
    }
    return answer.chosen;
}

FakeModalRunner::~FakeModalRunner() {
    for (const Expected& expected : m_expected)
        ADD_FAILURE() << "dialog " << expected.className << " was expected but never run";
}

void FakeModalRunner::Queue(std::string className, Handler handler) {
    m_expected.push_back({std::move(className), std::move(handler)});
}

int FakeModalRunner::RunModal(QDialog& dialog) {
    const std::string className = dialog.metaObject()->className();
    m_log.push_back(className);
    if (m_expected.empty()) {
        ADD_FAILURE() << "unexpected modal run of " << className << " (no handler queued)";
        return QDialog::Rejected;
    }
    Expected expected = std::move(m_expected.front());
    m_expected.pop_front();
    if (expected.className != className) {
        ADD_FAILURE() << "modal run of " << className << ", but " << expected.className
                      << " was expected";
        return QDialog::Rejected;
    }

    // Shown and active, as exec() leaves it, so that focus and keys work in the handler.
    dialog.setResult(QDialog::Rejected);
    if (!ShowActive(dialog))
        ADD_FAILURE() << className << " did not become the active window";
    expected.handler(dialog);
    if (dialog.isVisible()) {
        ADD_FAILURE() << "the handler left " << className << " open; it must close the dialog";
        dialog.hide();
        dialog.setResult(QDialog::Rejected);
    }
    return dialog.result();
}

} // namespace fmb::test
