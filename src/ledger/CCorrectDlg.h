#pragma once

#include "filing/Composition.h"
#include "platform/Environment.h"
#include "platform/TemplateDialog.h"
#include "settings/CFMBData.h"

#include <string>

class QLineEdit;

namespace fmb {

// "訂正・削除": the sanctioned way to correct or delete a stored document. The user chooses the
// document in the storage root, sees its fields read back from its name, changes type, date,
// company, amounts or remark, or chooses a new file to replace its content, gives the reason and
// the person (prefilled from the settings), and presses 訂正 or 削除; each asks first. The
// earlier file is kept, unchanged, in the ledger's folder, and the change is recorded there.
//
//   CCorrectDlg dlg(m_env, this);            // the user chooses the document
//   CCorrectDlg dlg(m_env, this, storedPath); // opened on a document, from a search result
//   m_env.modal.RunModal(dlg);
class CCorrectDlg final : public TemplateDialog {
    Q_OBJECT

public:
    explicit CCorrectDlg(const Environment& env, QWidget* parent = nullptr,
                         const std::string& storedPath = {});

private:
    void OnChooseDocument();
    void OnChooseSource();
    void OnCorrect();
    void OnDelete();
    // Shows the name the corrected document would get.
    void ShowCorrectedName();
    void ShowDocument(const std::string& storedPath);
    FilingEntry Entry() const;
    std::string Text(int id) const;
    void SetText(int id, const std::string& text);
    // True when a document is chosen and the reason and person are given; otherwise tells the
    // user what is missing and puts the focus there.
    bool Ready();

    Environment m_env;
    CFMBData m_settings;
};

} // namespace fmb
