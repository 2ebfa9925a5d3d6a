#pragma once

class QDialog;

namespace fmb {

// Runs a dialog modally and returns its result code (QDialog::Accepted, QDialog::Rejected or the
// value the dialog passed to done()). The program runs every sub-dialog through this port, so a
// test can play the user's part inside the dialog without a nested event loop.
class ModalRunner {
public:
    virtual ~ModalRunner() = default;
    virtual int RunModal(QDialog& dialog) = 0;
};

} // namespace fmb
