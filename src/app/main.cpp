// The desktop program: the filing window over the Qt ports, with the settings beside the
// executable.
#include "app/CFumibakoApp.h"
#include "platform/ExeFolder.h"
#include "platform/QtPorts.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication application(argc, argv);

    // Qt's own texts (the file chooser, the calendar's menus) in Japanese, when installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    fmb::QtPlatform platform(fmb::GetExeFolder());
    fmb::CFumibakoApp app(platform.Env());
    return app.InitInstance();
}
