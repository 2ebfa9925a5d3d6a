#pragma once

#include "platform/Environment.h"
#include "platform/TemplateDialog.h"

namespace fmb {

// "MENU": the less frequent functions of the filing window: the settings, the index-book export,
// the backup copy, the correction or deletion of a stored document, the verification of the
// storage against its ledger, and two web pages. Each sub-dialog is made, run and destroyed on the
// spot, and the menu stays open until 戻る, Esc or its close box. What the sub-dialogs change, they
// save themselves; the caller reads the settings again once the menu is closed.
//
//   CMenuDlg menu(m_env, this);
//   m_env.modal.RunModal(menu);
class CMenuDlg final : public TemplateDialog {
    Q_OBJECT

public:
    explicit CMenuDlg(const Environment& env, QWidget* parent = nullptr);

private:
    template <class Dialog> void RunSubDialog();

    Environment m_env;
};

} // namespace fmb
