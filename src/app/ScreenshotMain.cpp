// fumibako-screenshot FILE.png: draws the filing window with a filled-in entry into a PNG file,
// for the README. It works in a temporary settings folder with a storage root, the default
// document types and a few companies, and files nothing.
#include "app/CFumibakoDlg.h"
#include "platform/ListBox.h"
#include "platform/QtPorts.h"
#include "settings/CFMBData.h"
#include "settings/CFMBSyameiData.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <string>

namespace {

// The date of the example in the README.
class ExampleClock final : public fmb::Clock {
public:
    fmb::LocalDate Today() const override { return {2022, 12, 31}; }
};

std::string Native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdString();
}

bool PrepareSettings(const QTemporaryDir& dir) {
    const QString root = dir.filePath(QStringLiteral("書類"));
    const QString scans = dir.filePath(QStringLiteral("scan"));
    if (!QDir().mkpath(root) || !QDir().mkpath(scans))
        return false;
    QFile source(scans + QStringLiteral("/doc001.pdf"));
    if (!source.open(QIODevice::WriteOnly))
        return false;

    const std::string folder = Native(dir.path()) + QDir::separator().toLatin1();
    fmb::CFMBData settings(folder);
    settings.ReadIni(); // the values of a first start
    settings.COPY_SAKI_DIR = Native(root);
    fmb::CFMBSyameiData types(folder);
    types.SetDefaultTypes();
    types.ExtendTypes();
    types.SetCompanyNames(1, {"〇〇商事(株)", "(株)いろは物産", "さくら電機(株)", "(有)山田商店"});
    return settings.WriteIni() == 0 && types.WriteIni() == 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fumibako-screenshot FILE.png\n");
        return 2;
    }
    QTemporaryDir dir;
    if (!dir.isValid() || !PrepareSettings(dir)) {
        std::fprintf(stderr, "fumibako-screenshot: cannot prepare a settings folder\n");
        return 1;
    }

    fmb::QtMessages messages;
    fmb::QtShell shell;
    fmb::QtPickers pickers;
    fmb::QtModalRunner modal;
    ExampleClock clock;
    const std::string folder = Native(dir.path()) + QDir::separator().toLatin1();
    fmb::CFumibakoDlg window({messages, shell, pickers, modal, clock, folder});
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "fumibako-screenshot: the window did not show\n");
        return 1;
    }

    // The entry of the README's example, made with the window's own controls.
    window.Control<QLineEdit>(1000)->setText(
        QString::fromStdString(Native(dir.filePath(QStringLiteral("scan/doc001.pdf")))));
    window.Control<QAbstractButton>(1042)->click(); // 請求書(控)
    window.Control<QAbstractButton>(1071)->click(); // 本日
    fmb::ListBox* companies = window.Control<fmb::ListBox>(1002);
    const QList<QListWidgetItem*> example =
        companies->findItems(QStringLiteral("〇〇商事(株)"), Qt::MatchExactly);
    if (!example.isEmpty())
        companies->setCurrentItem(example.first());
    for (int key : {1009, 1013, 1015, 1015}) // 5 0 00 00
        window.Control<QAbstractButton>(key)->click();
    window.Control<QLineEdit>(1056)->setFocus();
    QTest::qWait(200);

    const QString target = QString::fromLocal8Bit(argv[1]);
    if (!window.grab().save(target, "PNG")) {
        std::fprintf(stderr, "fumibako-screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
