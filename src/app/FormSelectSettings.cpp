// TFormSelect: settings in the registry and the randomizer's Run entry.
#include "app/FormSelect.h"
#include "win/Menus.h"

namespace mvpr {

void TFormSelect::LoadSettings() {}
void TFormSelect::FormClose() {}
bool TFormSelect::ReportAddErrors() const {
    return win::IsMenuItemCheckedById(MainMenu1(), IDM_ERRORREPORTON1);
}

void TFormSelect::ChangePreviewOn(SelectCmd sender) {
    // One group: the sender checked, the others not. The panel shows the new mode at its next update.
    const struct {
        SelectCmd entry;
        int mode;
    } group[] = {{SelectCmd::PreviewNone1, 0},
                 {SelectCmd::PreviewChooseOnly1, 10},
                 {SelectCmd::PreviewSelectedOnly1, 20},
                 {SelectCmd::PreviewBoth1, 30}};
    for (const auto& g : group) {
        win::CheckMenuItemById(MainMenu1(), static_cast<UINT>(Id(g.entry)), g.entry == sender);
        if (g.entry == sender) previewMode_ = g.mode;
    }
}

void TFormSelect::ChangeErrorReport() {
    win::CheckMenuItemById(MainMenu1(), IDM_ERRORREPORTON1, !ReportAddErrors());
}
void TFormSelect::Runrandomizeratstartup1Click(HWND) {}

}  // namespace mvpr
