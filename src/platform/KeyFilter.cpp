#include "platform/KeyFilter.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>

namespace fmb {
namespace {

class CommonKeyFilter final : public QObject {
public:
    explicit CommonKeyFilter(QDialog& dialog) : QObject(&dialog), m_dialog(dialog) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &m_dialog || event->type() != QEvent::KeyPress)
            return false;
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            return true; // dropped: QDialog::keyPressEvent never sees it
        default:
            return false;
        }
    }

private:
    QDialog& m_dialog;
};

} // namespace

void InstallCommonKeyFilter(QDialog& dialog) {
    dialog.installEventFilter(new CommonKeyFilter(dialog));
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

} // namespace fmb
