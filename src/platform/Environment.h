#pragma once

#include "platform/Clock.h"
#include "platform/MessagePort.h"
#include "platform/ModalRunner.h"
#include "platform/PickerPort.h"
#include "platform/ShellPort.h"

#include <string>

namespace fmb {

// Everything a dialog needs from outside the program: the ports through which it reaches the user
// and the desktop, the clock, and the folder holding the two INI files. Each dialog takes one in
// its constructor, keeps a copy, and hands it on to the dialogs it opens. The program makes one
// from the Qt ports (QtPlatform); tests make one from fakes (test::FakePlatform).
struct Environment {
    MessagePort& messages;
    ShellPort& shell;
    PickerPort& pickers;
    ModalRunner& modal;
    const Clock& clock;
    // Folder of FMB_Setting.ini and FMB_Corp.ini, ending in the path separator.
    std::string settingsFolder;
};

} // namespace fmb
