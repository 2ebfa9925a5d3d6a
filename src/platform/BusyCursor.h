#pragma once

#include <QApplication>
#include <QCursor>

namespace fmb {

// The wait cursor over every window of the program while it lives; the cursor before it comes
// back however the work ends.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace fmb
