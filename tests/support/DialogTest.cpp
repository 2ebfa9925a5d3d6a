#include "DialogTest.h"

#include <QApplication>
#include <QTest>

namespace fmb::test {

bool ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

} // namespace fmb::test
