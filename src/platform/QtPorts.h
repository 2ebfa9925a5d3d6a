#pragma once

#include "platform/Clock.h"
#include "platform/Environment.h"

#include <string>
#include <utility>

namespace fmb {

// The ports over Qt: the only place where the program shows a message box, a file or folder
// chooser, or asks the desktop to open something. Boxes and choosers are parented to the active
// window, so they stay in front of the filing window, which stays on top of other windows.
class QtMessages final : public MessagePort {
public:
    void Notice(const std::string& text) override;
    bool Question(const std::string& text) override;
    bool CautiousQuestion(const std::string& text) override;
};

class QtShell final : public ShellPort {
public:
    bool OpenPath(const std::string& path) override;
    bool OpenUrl(const std::string& url) override;
};

class QtPickers final : public PickerPort {
public:
    std::optional<std::string> PickOpenFile() override;
    std::optional<std::string> PickOpenFileIn(const std::string& initialFolder) override;
    std::optional<std::string> PickFolder(const std::string& initialFolder) override;
};

// The dialog's own nested event loop, until the dialog calls done().
class QtModalRunner final : public ModalRunner {
public:
    int RunModal(QDialog& dialog) override;
};

// One of each Qt port and the system clock, for the program's main().
class QtPlatform {
public:
    explicit QtPlatform(std::string settingsFolder) : m_settingsFolder(std::move(settingsFolder)) {}
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    Environment Env() {
        return {m_messages, m_shell, m_pickers, m_modal, m_clock, m_settingsFolder};
    }

private:
    QtMessages m_messages;
    QtShell m_shell;
    QtPickers m_pickers;
    QtModalRunner m_modal;
    SystemClock m_clock;
    std::string m_settingsFolder;
};

} // namespace fmb
