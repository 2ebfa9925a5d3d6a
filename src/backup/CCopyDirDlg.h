#pragma once

#include "platform/Environment.h"
#include "platform/TemplateDialog.h"
#include "settings/CFMBData.h"

class QLineEdit;

namespace fmb {

// "保存データコピー": copies the contents of the storage root, or of one fiscal-year folder, into
// a new backup folder (destination folder / backup folder name), with their folder structure.
// It reads FMB_Setting.ini when it opens and writes no settings. It keeps the standard keys:
// Esc closes it, and Enter closes it through the hidden OK unless a push button has the focus.
//
//   CCopyDirDlg dlg(m_env, this);
//   m_env.modal.RunModal(dlg);
class CCopyDirDlg final : public TemplateDialog {
    Q_OBJECT

public:
    explicit CCopyDirDlg(const Environment& env, QWidget* parent = nullptr);

private:
    void OnInitDialog();
    void OnBrowseSource();
    void OnBrowseDestination();
    void OnExecute();

    Environment m_env;
    CFMBData m_data;
    QLineEdit& m_source;
    QLineEdit& m_destination;
    QLineEdit& m_name;
};

} // namespace fmb
