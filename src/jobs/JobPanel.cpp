#include "jobs/JobPanel.h"

#include "jobs/ProgressText.h"
#include "platform/MessagePort.h"
#include "platform/TemplateDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <utility>

namespace fmb {
namespace {

constexpr const char* kStopping = "中止しています…";

} // namespace

JobPanel::JobPanel(TemplateDialog& dialog, MessagePort& messages, Controls controls, TextOf textOf,
                   std::string cancelQuestion)
    : m_dialog(dialog), m_messages(messages), m_controls(std::move(controls)),
      m_textOf(std::move(textOf)), m_cancelQuestion(std::move(cancelQuestion)),
      m_text(*dialog.Control<QLabel>(m_controls.text)),
      m_currentItem(m_controls.currentItem ? dialog.Control<QLabel>(m_controls.currentItem)
                                           : nullptr),
      m_bar(*dialog.Control<QProgressBar>(m_controls.bar)),
      m_cancel(*dialog.Control<QPushButton>(m_controls.cancel)) {
    m_cancel.setEnabled(false);
    connect(&m_cancel, &QPushButton::clicked, this, &JobPanel::OnCancelClicked);
    connect(&m_runner, &JobRunner::progress, this, &JobPanel::ShowProgress);
    connect(&m_runner, &JobRunner::finished, this, &JobPanel::OnFinished);
}

void JobPanel::Start(JobRunner::Work work, std::function<void()> finished) {
    if (IsRunning())
        return;
    m_finished = std::move(finished);
    m_closeWhenDone = false;
    SetLocked(true);
    m_runner.Start(std::move(work));
}

bool JobPanel::MayClose() {
    if (!IsRunning())
        return true;
    if (m_runner.ConfirmCancel(m_messages, m_cancelQuestion) && IsRunning()) {
        m_closeWhenDone = true;
        m_cancel.setEnabled(false);
    }
    return false;
}

void JobPanel::OnCancelClicked() {
    if (m_runner.ConfirmCancel(m_messages, m_cancelQuestion))
        m_cancel.setEnabled(false);
}

void JobPanel::ShowProgress(const JobSnapshot& snapshot) {
    const bool stopping = snapshot.cancelRequested && IsRunning();
    m_text.setText(
        QString::fromUtf8(stopping ? kStopping : m_textOf(snapshot, m_runner.ElapsedSeconds())));
    if (m_currentItem) {
        const QString item = QString::fromStdString(snapshot.currentItem);
        m_currentItem->setText(
            m_currentItem->fontMetrics().elidedText(item, Qt::ElideMiddle, m_currentItem->width()));
        m_currentItem->setToolTip(item);
    }
    if (const auto permille = PermilleDone(snapshot)) {
        m_bar.setRange(0, 1000);
        m_bar.setValue(*permille);
    } else {
        m_bar.setRange(0, 0); // moves to and fro while the total is unknown
    }
}

void JobPanel::OnFinished() {
    SetLocked(false);
    // A job without a total (the export) leaves the bar moving: full when done, empty when
    // stopped.
    if (m_bar.maximum() == 0) {
        m_bar.setRange(0, 1000);
        m_bar.setValue(m_runner.Snapshot().cancelRequested ? 0 : 1000);
    }
    if (m_currentItem) {
        m_currentItem->clear();
        m_currentItem->setToolTip({});
    }
    if (m_finished)
        std::exchange(m_finished, {})();
    if (std::exchange(m_closeWhenDone, false))
        m_dialog.reject();
}

void JobPanel::SetLocked(bool locked) {
    for (int id : m_controls.locked)
        m_dialog.Control<QWidget>(id)->setEnabled(!locked);
    m_cancel.setEnabled(locked);
    if (locked)
        m_cancel.setFocus();
}

} // namespace fmb
