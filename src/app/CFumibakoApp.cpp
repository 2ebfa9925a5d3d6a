#include "app/CFumibakoApp.h"

#include "app/CFumibakoDlg.h"
#include "platform/Pictures.h"

#include <QApplication>

namespace fmb {

int CFumibakoApp::InitInstance() {
    // The name under which the desktop and Qt keep what they store for the program; the program's
    // own settings are the two INI files of its settings folder.
    QCoreApplication::setOrganizationName(QStringLiteral("Sorato"));
    QCoreApplication::setApplicationName(QStringLiteral("fumibako"));
    QApplication::setWindowIcon(AppIcon());

    // The filing window reads the settings and, on a first start, asks for them before it opens.
    // How it was closed does not matter: 終了 and the close box both end the program.
    CFumibakoDlg window(m_env);
    m_env.modal.RunModal(window);
    return 0;
}

} // namespace fmb
