#include "app/CMenuDlg.h"

#include "backup/CCopyDirDlg.h"
#include "index/CCsvOutDlg2.h"
#include "ledger/CCorrectDlg.h"
#include "ledger/CVerifyDlg.h"
#include "platform/DesktopOpen.h"
#include "res/ControlIds.h"
#include "settings/CSettingDlg.h"

#include <QPushButton>

#include <string>
#include <string_view>

namespace fmb {

using namespace ids::menu;

namespace {

// The product's web host; the pages' paths below it are fixed.
constexpr std::string_view kWebHost = "fumibako.jp";
constexpr std::string_view kManualPage = "/fumibako/tukaikata001.html";
constexpr std::string_view kInfoPage = "/fumibako/fmbinfo.html";

std::string WebAddress(std::string_view page) {
    return "https://" + std::string(kWebHost) + std::string(page);
}

} // namespace

CMenuDlg::CMenuDlg(const Environment& env, QWidget* parent)
    : TemplateDialog(DialogId::Menu, parent), m_env(env) {
    connect(Control<QPushButton>(kSettingsButton), &QPushButton::clicked, this,
            [this] { RunSubDialog<CSettingDlg>(); });
    connect(Control<QPushButton>(kIndexExportButton), &QPushButton::clicked, this,
            [this] { RunSubDialog<CCsvOutDlg2>(); });
    connect(Control<QPushButton>(kBackupButton), &QPushButton::clicked, this,
            [this] { RunSubDialog<CCopyDirDlg>(); });
    connect(Control<QPushButton>(kCorrectButton), &QPushButton::clicked, this,
            [this] { RunSubDialog<CCorrectDlg>(); });
    connect(Control<QPushButton>(kVerifyButton), &QPushButton::clicked, this,
            [this] { RunSubDialog<CVerifyDlg>(); });
    connect(Control<QPushButton>(kManualButton), &QPushButton::clicked, this,
            [this] { OpenUrlOrTell(m_env, WebAddress(kManualPage)); });
    connect(Control<QPushButton>(kWebSiteButton), &QPushButton::clicked, this,
            [this] { OpenUrlOrTell(m_env, WebAddress(kInfoPage)); });
    connect(Control<QPushButton>(kBackButton), &QPushButton::clicked, this, [this] { accept(); });
}

template <class Dialog> void CMenuDlg::RunSubDialog() {
    Dialog dialog(m_env, this);
    m_env.modal.RunModal(dialog);
}

} // namespace fmb
