#include "DialogTest.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace fmb::test {

QLineEdit& EditOf(QDialog& dialog, int id) {
    return *ControlOf<QLineEdit>(dialog, id);
}

std::string TextOf(QDialog& dialog, int id) {
    return EditOf(dialog, id).text().toStdString();
}

void SetTextOf(QDialog& dialog, int id, const std::string& text) {
    EditOf(dialog, id).setText(QString::fromStdString(text));
}

void ClickOn(QDialog& dialog, int id) {
    ControlOf<QPushButton>(dialog, id)->click();
}

bool ClickAndWaitForJob(QDialog& dialog, int id) {
    QPushButton& button = *ControlOf<QPushButton>(dialog, id);
    button.click();
    return QTest::qWaitFor([&] { return button.isEnabled(); }, 60'000);
}

bool ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

} // namespace fmb::test
