// The dialog templates as data: ids, tab orders and rectangles hang together.
#include "res/DialogTemplates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace fmb {
namespace {

const DialogId kAllDialogs[] = {DialogId::Filing,  DialogId::Setting, DialogId::SyainEdit,
                                DialogId::Kingaku, DialogId::CsvOut,  DialogId::Menu,
                                DialogId::CopyDir, DialogId::Correct, DialogId::Verify};

bool TakesFocus(ControlKind kind) {
    return kind != ControlKind::Static && kind != ControlKind::Bitmap &&
           kind != ControlKind::EtchedLine && kind != ControlKind::GroupBox &&
           kind != ControlKind::ProgressBar;
}

TEST(DialogTemplates, IdsAreDistinctAndTabOrdersListEveryFocusableControlOnce) {
    for (DialogId id : kAllDialogs) {
        const DialogTemplate& dialog = GetDialogTemplate(id);
        SCOPED_TRACE(static_cast<int>(id));
        EXPECT_EQ(dialog.id, id);

        std::set<int> ids;
        std::vector<int> focusable;
        for (const ControlTemplate& control : dialog.controls) {
            EXPECT_TRUE(ids.insert(control.id).second) << "id " << control.id << " twice";
            if (TakesFocus(control.kind)) {
                EXPECT_GT(control.id, 0) << "a control that takes the focus needs an id";
                focusable.push_back(control.id);
            }
            EXPECT_EQ(control.kind == ControlKind::Bitmap, control.bitmap != 0) << control.id;
        }
        if (!dialog.tabOrder.empty()) {
            std::vector<int> listed(dialog.tabOrder.begin(), dialog.tabOrder.end());
            std::sort(listed.begin(), listed.end());
            std::sort(focusable.begin(), focusable.end());
            EXPECT_EQ(listed, focusable);
        }
    }
}

TEST(DialogTemplates, ControlsLieInsideTheirDialog) {
    for (DialogId id : kAllDialogs) {
        const DialogTemplate& dialog = GetDialogTemplate(id);
        for (const ControlTemplate& control : dialog.controls) {
            // The filing window's separator runs past its right edge, as drawn.
            if (control.kind == ControlKind::EtchedLine)
                continue;
            const DluRect& r = control.rect;
            EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.width > 0 && r.height > 0 &&
                        r.x + r.width <= dialog.width && r.y + r.height <= dialog.height)
                << "dialog " << static_cast<int>(id) << " control " << control.id;
        }
    }
}

} // namespace
} // namespace fmb
