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
// The caller hands in the amounts it holds, runs the dialog, and after OK takes the amounts and the
// two extra-amount texts; after Cancel (or the close box) it takes nothing:
//
//   CKingakuDig dialog(m_env, {amount, extra...}, this);
//   if (m_env.modal.RunModal(dialog) != QDialog::Rejected) { ... dialog.ExtraPlain() ... }
class CKingakuDig final : public TemplateDialog {
    Q_OBJECT

public:
    using AmountList = std::array<std::string, 6>; // amounts 1 to 6, without separators

    CKingakuDig(const Environment& env, const AmountList& amounts, QWidget* parent = nullptr);

    // OK(戻る): takes the six amounts as they stand and the extra-amount texts of amounts 2 to 6.
    void accept() override;

    // After OK the amounts as the user left them; otherwise those handed in.
    const AmountList& Amounts() const { return m_amounts; }
    // After OK "[amount]" for each filled amount 2 to 6, without and with thousands separators;
    // otherwise empty.
    const std::string& ExtraPlain() const { return m_extraPlain; }
    const std::string& ExtraComma() const { return m_extraComma; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnInitDialog();
    void ShowTargetMarker(int row);
    void OnAmountChanged(int row);
    void RefreshAmountList();
    void OnKeypad(const KeypadButton& button);

    Environment m_env;
    AmountList m_amounts;
    std::string m_extraPlain;
    std::string m_extraComma;
    int m_target = 1; // row (1-6) the keypad writes into
};

} // namespace fmb
