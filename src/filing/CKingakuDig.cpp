#include "filing/CKingakuDig.h"

#include "filing/AmountText.h"
#include "platform/KeyFilter.h"
#include "res/ControlIds.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <span>

namespace fmb {

using namespace ids::kingaku;

namespace {

constexpr int kRows = 6;

const char* const kMarker = "←";

int Index(int row) {
    return row - 1;
}

} // namespace

CKingakuDig::CKingakuDig(const Environment& env, const AmountList& amounts, QWidget* parent)
    : TemplateDialog(DialogId::Kingaku, parent), m_env(env), m_amounts(amounts) {
    for (int row = 1; row <= kRows; ++row) {
        auto* edit = Control<QLineEdit>(kAmountEdits[Index(row)]);
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, [this, row] { OnAmountChanged(row); });
    }
    for (const KeypadButton& button : kKeypadButtons) {
        connect(Control<QPushButton>(button.controlId), &QPushButton::clicked, this,
                [this, &button] { OnKeypad(button); });
    }
    InstallCommonKeyFilter(*this);
    OnInitDialog();
}

void CKingakuDig::OnInitDialog() {
    m_target = 1;
    ShowTargetMarker(1);
    // Setting each text runs its change handler, which fills the views and the amount list.
    for (int row = 1; row <= kRows; ++row) {
        Control<QLineEdit>(kAmountEdits[Index(row)])
            ->setText(QString::fromStdString(m_amounts[Index(row)]));
    }
    Control<QLineEdit>(kAmountEdits[0])->setFocus();
}

bool CKingakuDig::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        for (int row = 1; row <= kRows; ++row) {
            if (watched == ControlWidget(kAmountEdits[Index(row)])) {
                m_target = row;
                ShowTargetMarker(row);
            }
        }
    }
    return TemplateDialog::eventFilter(watched, event);
}

void CKingakuDig::ShowTargetMarker(int row) {
    for (int id : kMarkers)
        Control<QLabel>(id)->clear();
    Control<QLabel>(kMarkers[Index(row)])->setText(QString::fromUtf8(kMarker));
}

void CKingakuDig::OnAmountChanged(int row) {
    auto* edit = Control<QLineEdit>(kAmountEdits[Index(row)]);
    const LimitedAmount limited = LimitAmount(edit->text().toStdString());
    if (limited.wasTooLong) {
        m_env.messages.Notice(kAmountTooLongMessage);
        // The shortened text comes back through this handler, which shows it.
        edit->setText(QString::fromStdString(limited.text));
        return;
    }
    Control<QLineEdit>(kViews[Index(row)])
        ->setText(QString::fromStdString(FormatThousands(limited.text)));
    RefreshAmountList();
}

void CKingakuDig::RefreshAmountList() {
    QString list;
    for (int id : kViews) {
        const QString view = Control<QLineEdit>(id)->text();
        if (!view.isEmpty())
            list += QLatin1Char('[') + view + QLatin1Char(']');
    }
    Control<QLineEdit>(kAmountList)->setText(list);
}

void CKingakuDig::OnKeypad(const KeypadButton& button) {
    auto* edit = Control<QLineEdit>(kAmountEdits[Index(m_target)]);
    edit->setText(QString::fromStdString(PressKeypad(edit->text().toStdString(), button)));
}

void CKingakuDig::accept() {
    for (int row = 1; row <= kRows; ++row)
        m_amounts[Index(row)] = Control<QLineEdit>(kAmountEdits[Index(row)])->text().toStdString();
    const ExtraAmountTexts extra = JoinExtraAmounts(std::span(m_amounts).subspan(1));
    m_extraPlain = extra.plain;
    m_extraComma = extra.comma;
    TemplateDialog::accept();
}

} // namespace fmb
