#include "platform/QtPorts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace fmb {
namespace {

const char* const kTitle = "ふみばこ";

// The window a box or chooser belongs to: the innermost modal dialog, else the active window.
// Without an owner a box could open behind the filing window, which stays on top.
QWidget* Owner() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// A modal box with the program's title and the text as plain text (a path may hold '<' or '&').
// The buttons read "OK" and "キャンセル", as the messages that mention them expect.
bool RunBox(QMessageBox::Icon icon, const std::string& text, bool withCancel,
            bool cancelByDefault = false) {
    QMessageBox box(icon, QString::fromUtf8(kTitle), Q(text), QMessageBox::NoButton, Owner());
    box.setTextFormat(Qt::PlainText);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    if (withCancel) {
        QPushButton* cancel =
            box.addButton(QString::fromUtf8("キャンセル"), QMessageBox::RejectRole);
        box.setEscapeButton(cancel);
        if (cancelByDefault)
            box.setDefaultButton(cancel);
    } else {
        box.setEscapeButton(ok);
    }
    box.exec();
    return box.clickedButton() == ok;
}

std::optional<std::string> Chosen(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(path).toStdString();
}

} // namespace

void QtMessages::Notice(const std::string& text) {
    RunBox(QMessageBox::Information, text, false);
}

bool QtMessages::Question(const std::string& text) {
    return RunBox(QMessageBox::Question, text, true);
}

bool QtMessages::CautiousQuestion(const std::string& text) {
    return RunBox(QMessageBox::Warning, text, true, true);
}

bool QtShell::OpenPath(const std::string& path) {
    // Some desktops hand a missing file to a helper that fails without a word, and still answer
    // that it was opened; so what is not there is not handed over.
    const QFileInfo target(Q(path));
    if (path.empty() || !target.exists())
        return false;
    // The desktop opens URLs; a local path becomes a file URL, made absolute first because a
    // relative file URL means nothing to the desktop.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(target.absoluteFilePath()));
}

bool QtShell::OpenUrl(const std::string& url) {
    return QDesktopServices::openUrl(QUrl(Q(url)));
}

std::optional<std::string> QtPickers::PickOpenFile() {
    return Chosen(QFileDialog::getOpenFileName(Owner(), QString(), QString(),
                                               QStringLiteral("All Files (*)")));
}

std::optional<std::string> QtPickers::PickOpenFileIn(const std::string& initialFolder) {
    return Chosen(QFileDialog::getOpenFileName(Owner(), QString(), Q(initialFolder),
                                               QStringLiteral("All Files (*)")));
}

std::optional<std::string> QtPickers::PickFolder(const std::string& initialFolder) {
    return Chosen(QFileDialog::getExistingDirectory(Owner(), QString(), Q(initialFolder)));
}

int QtModalRunner::RunModal(QDialog& dialog) {
    return dialog.exec();
}

} // namespace fmb
