#pragma once

#include "platform/Environment.h"
#include "platform/TemplateDialog.h"

#include <array>
#include <string>

namespace fmb {

struct KeypadButton;

// The multiple-amounts dialog: up to six amounts of one source file that holds several invoices
// of the same type, date and company. Each row shows the amount as typed and, beside it, with
// thousands separators; the line below lists them all in brackets. The dialog's own keypad writes
// into the amount edit that last had the focus (marked "←").
//
// The caller sets m_amounts, runs the dialog, and after OK takes m_amounts and the two extra-amount
// texts; after Cancel (or the close box) it takes nothing:
//
//   CKingakuDig dialog(m_env, this);
//   dialog.m_amounts = {amount, extra...};
//   if (m_env.modal.RunModal(dialog) != QDialog::Rejected) { ... dialog.m_extraPlain ... }
class CKingakuDig final : public TemplateDialog {
    Q_OBJECT

public:
    explicit CKingakuDig(const Environment& env, QWidget* parent = nullptr);

    // OK(戻る): takes the six amounts as they stand and the extra-amount texts of amounts 2 to 6.
    void accept() override;

    std::array<std::string, 6> m_amounts; // amounts 1 to 6, without separators
    std::string m_extraPlain;             // [amount] for each filled amount 2 to 6
    std::string m_extraComma;             // the same with thousands separators

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Fills the edits from m_amounts when the dialog first shows, after the caller has set them.
    void OnInitDialog();
    void ShowTargetMarker(int row);
    void OnAmountChanged(int row);
    void RefreshAmountList();
    void OnKeypad(const KeypadButton& button);

    Environment m_env;
    int m_target = 1; // row (1-6) the keypad writes into
    bool m_initialised = false;
};

} // namespace fmb
