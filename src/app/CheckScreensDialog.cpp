#include "app/CheckScreensDialog.h"

#include <utility>
#include <algorithm>

#include "res/resource.h"
#include "win/Busy.h"
#include "win/Files.h"
#include "win/Fonts.h"
#include "win/MessageBox.h"
#include "win/Window.h"

namespace mvpr {

namespace {

constexpr char kColumnScreen[] = "Screen";
constexpr char kColumnFinding[] = "Finding";

TCheckScreensDialog::ShownSeam& ShownSeamSlot() {
    static TCheckScreensDialog::ShownSeam seam;
    return seam;
}

// One coloured mark per severity, in the order of Severity: green, blue, amber, red.
constexpr COLORREF kMarkColours[] = {RGB(0, 150, 60), RGB(40, 100, 210), RGB(230, 160, 0), RGB(210, 30, 30)};

HIMAGELIST MakeMarks(HWND list) {
    const int side = win::Scaled(16);
    HIMAGELIST marks = ImageList_Create(side, side, ILC_COLOR24, 4, 0);
    if (!marks) return nullptr;
    win::WindowDc screen(list);
    win::UniqueDc dc(CreateCompatibleDC(screen.get()));
    win::UniqueBitmap strip(CreateCompatibleBitmap(screen.get(), side * 4, side));
    {
        win::Selected bitmap(dc.get(), strip.get());
        RECT all{0, 0, side * 4, side};
        FillRect(dc.get(), &all, GetSysColorBrush(COLOR_WINDOW));
        win::Selected pen(dc.get(), GetStockObject(NULL_PEN));
        for (int i = 0; i < 4; ++i) {
            win::UniqueBrush brush(CreateSolidBrush(kMarkColours[i]));
            win::Selected b(dc.get(), brush.get());
            const int inset = side / 5;
            Ellipse(dc.get(), i * side + inset, inset, (i + 1) * side - inset + 1, side - inset + 1);
        }
    }
    ImageList_Add(marks, strip.get(), nullptr);
    return marks;
}

}  // namespace

TCheckScreensDialog::ShownSeam TCheckScreensDialog::SetShownSeam(ShownSeam seam) {
    return std::exchange(ShownSeamSlot(), std::move(seam));
}

void TCheckScreensDialog::ShowModal(HWND owner) {
    RunModal(owner, IDD_CHECKSCREENS);
}

void TCheckScreensDialog::OnInit() {
    list_ = GetDlgItem(dlg(), IDC_CS_LIST);
    SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    marks_ = MakeMarks(list_);
    if (marks_) SendMessageA(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(marks_));
    RECT client{};
    GetClientRect(list_, &client);
    const int screenWidth = win::Scaled(120);
    const char* headers[] = {kColumnScreen, kColumnFinding};
    const int widths[] = {screenWidth, std::max<int>(screenWidth, client.right - screenWidth)};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNA c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        c.pszText = const_cast<char*>(headers[i]);
        c.cx = widths[i];
        c.iSubItem = i;
        SendMessageA(list_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&c));
    }
    CheckAgainClick();
    if (ShownSeamSlot()) ShownSeamSlot()(dlg());
}

void TCheckScreensDialog::CheckAgainClick() {
    {
        win::WaitCursor wait;
        facts_ = GatherCheckFacts(places_);
        findings_ = CheckScreens(facts_);
    }
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t i = 0; i < findings_.size(); ++i) {
        const Finding& f = findings_[i];
        const std::string subject(SubjectText(f.subject));
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>(subject.c_str());
        item.iImage = static_cast<int>(f.severity);
        SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        LVITEMA text{};
        text.iSubItem = 1;
        text.pszText = const_cast<char*>(f.text.c_str());
        SendMessageA(list_, LVM_SETITEMTEXTA, i, reinterpret_cast<LPARAM>(&text));
    }
    // The first finding with a fix is where the user most likely goes; otherwise the first row.
    const auto withFix = std::find_if(findings_.begin(), findings_.end(),
                                      [](const Finding& f) { return f.fix != CheckFix::None; });
    const int first = findings_.empty()
                          ? -1
                          : static_cast<int>(withFix == findings_.end() ? 0 : withFix - findings_.begin());
    if (first >= 0) {
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list_, LVM_SETITEMSTATE, first, reinterpret_cast<LPARAM>(&state));
        SendMessageA(list_, LVM_ENSUREVISIBLE, first, FALSE);
    }
    SelectionChanged();
}

int TCheckScreensDialog::Selected() const {
    const int i =
        static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return i >= 0 && static_cast<std::size_t>(i) < findings_.size() ? i : -1;
}

void TCheckScreensDialog::SelectionChanged() {
    const int i = Selected();
    // The whole sentence, which the list's column may cut.
    SetDlgItemTextA(dlg(), IDC_CS_DETAIL, i < 0 ? "" : findings_[static_cast<std::size_t>(i)].text.c_str());
    EnableWindow(GetDlgItem(dlg(), IDC_CS_FIX),
                 i >= 0 && findings_[static_cast<std::size_t>(i)].fix != CheckFix::None);
}

void TCheckScreensDialog::FixClick() {
    const int i = Selected();
    if (i < 0) return;
    const CheckFix fix = findings_[static_cast<std::size_t>(i)].fix;
    if (fix == CheckFix::None) return;
    // The machine may have changed since the list was made: a fix is offered only for what is there now.
    CheckFacts now = GatherCheckFacts(places_);
    const auto findings = CheckScreens(now);
    if (std::none_of(findings.begin(), findings.end(), [fix](const Finding& f) { return f.fix == fix; })) {
        CheckAgainClick();
        return;
    }
    facts_ = std::move(now);
    const std::string aside =
        fix == CheckFix::MoveLogoAside
            ? LogoAsidePath(places_.programDir,
                            [](const std::string& p) {
                                return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES;
                            })
            : std::string();
    if (win::ShowMessage(dlg(), win::MsgKind::Confirmation, FixQuestion(fix, facts_, aside),
                         win::MsgButtons::YesNo) != win::MsgAnswer::Yes)
        return;
    FixOutcome outcome;
    {
        win::WaitCursor wait;
        outcome =
            fix == CheckFix::MoveLogoAside
                ? MoveLogoAside(facts_, aside)
                : SwitchMsDosOn(facts_, fix == CheckFix::SwitchLogoOn ? MsDosKey::Logo : MsDosKey::BootGui);
    }
    win::ShowMessage(dlg(), outcome.done ? win::MsgKind::Information : win::MsgKind::Error, outcome.message,
                     win::MsgButtons::Ok);
    CheckAgainClick();
}

INT_PTR TCheckScreensDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case IDCANCEL: EndDialog(dlg(), IDCANCEL); return TRUE;
                case IDC_CS_FIX:
                    if (HIWORD(wp) == BN_CLICKED) FixClick();
                    return TRUE;
                case IDC_CS_AGAIN:
                    if (HIWORD(wp) == BN_CLICKED) CheckAgainClick();
                    return TRUE;
                default: return FALSE;
            }
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lp);
            if (header->idFrom == IDC_CS_LIST && header->code == LVN_ITEMCHANGED) SelectionChanged();
            if (header->idFrom == IDC_CS_LIST && header->code == NM_DBLCLK &&
                IsWindowEnabled(GetDlgItem(dlg(), IDC_CS_FIX)))
                FixClick();
            return FALSE;
        }
        default: return FALSE;
    }
}

}  // namespace mvpr
