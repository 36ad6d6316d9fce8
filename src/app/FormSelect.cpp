// TFormSelect: creation, layout, message dispatch and the first showing.
#include "app/FormSelect.h"

#include <exception>

#include "app/AboutBox.h"
#include "app/AppTexts.h"
#include "app/CommandLine.h"
#include "app/FormSelectLayout.h"
#include "system/ProgramInfo_win.h"
#include "win/Fonts.h"
#include "lists/DisplayStyle.h"
#include "win/FilterText.h"
#include "win/Help.h"
#include "win/Menus.h"
#include "win/MessageBox.h"

namespace mvpr {

namespace {
constexpr DWORD kFormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;

int CompareNames(const std::string& a, const std::string& b) {
    return lstrcmpA(a.c_str(), b.c_str());
}

// lstrcmpA compares as CompareStringA in the user's locale, whose order these keys give.
bool LocaleSortKey(std::string_view name, std::string& keys) {
    name = name.substr(0, name.find('\0'));  // as far as lstrcmpA reads it
    if (name.size() > 0x100000) return false;
    // A counted string of length 0 is refused; the empty one is spelt with its terminator.
    const char* text = name.empty() ? "" : name.data();
    const int length = name.empty() ? -1 : static_cast<int>(name.size());
    const std::size_t at = keys.size();
    // Room for most keys at once, so that a name takes one call and no string of its own.
    int room = static_cast<int>(name.size()) * 4 + 32;
    keys.resize(at + static_cast<std::size_t>(room));
    int made = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text, length, keys.data() + at, room);
    if (made == 0) {
        room = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text, length, nullptr, 0);
        if (room > 0) {
            keys.resize(at + static_cast<std::size_t>(room));
            made = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text, length, keys.data() + at, room);
        }
    }
    if (made <= 0) {
        keys.resize(at);
        return false;
    }
    keys.resize(at + static_cast<std::size_t>(made));
    return true;
}

// One axis of a place: an edge anchored to the far side keeps its distance to it.
void Span(int at, int length, int designed, LONG clientLength, bool nearEdge, bool farEdge, LONG& low,
          LONG& high) {
    if (!farEdge) {
        low = win::Scaled(at);
        high = low + win::Scaled(length);
        return;
    }
    high = clientLength - win::Scaled(designed - at - length);
    low = nearEdge ? win::Scaled(at) : high - win::Scaled(length);
}

}  // namespace

RECT PlaceOf(const ControlRow& row, SIZE client) {
    RECT r{};
    Span(row.x, row.w, kSelectClientWidth, client.cx, row.anchors & kAnchorLeft, row.anchors & kAnchorRight,
         r.left, r.right);
    Span(row.y, row.h, kSelectClientHeight, client.cy, row.anchors & kAnchorTop, row.anchors & kAnchorBottom,
         r.top, r.bottom);
    return r;
}

TFormSelect::TFormSelect(FormSelectConfig config)
    : config_(std::move(config)),
      lists_{CategoryList(&CompareNames, &LocaleSortKey), CategoryList(&CompareNames, &LocaleSortKey),
             CategoryList(&CompareNames, &LocaleSortKey), CategoryList(&CompareNames, &LocaleSortKey)} {
    for (const auto& info : kCategories)
        views_[CategoryIndex(info.category)] = std::make_unique<CategoryListView>(
            lists_[CategoryIndex(info.category)], info.category == ScreenCategory::Wall);
}

TFormSelect::~TFormSelect() = default;

int TFormSelect::Scaled(int v) const {
    return win::Scaled(v);
}

HWND TFormSelect::CreateForm() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    RegisterClassOnce(kClassName, CS_DBLCLKS, GetSysColorBrush(COLOR_BTNFACE),
                      LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MVPR)));
    HINSTANCE inst = GetModuleHandleA(nullptr);
    accelMain_ = LoadAcceleratorsA(inst, MAKEINTRESOURCEA(IDR_ACCEL_MAIN));
    accelFile_ = LoadAcceleratorsA(inst, MAKEINTRESOURCEA(IDR_ACCEL_POPMFILE));
    accelSelected_ = LoadAcceleratorsA(inst, MAKEINTRESOURCEA(IDR_ACCEL_POPMSELECTED));
    HMENU menu = LoadMenuA(inst, MAKEINTRESOURCEA(IDR_MAINMENU1));
    RECT r{0, 0, Scaled(kSelectClientWidth), Scaled(kSelectClientHeight)};
    AdjustWindowRectEx(&r, kFormStyle, menu != nullptr, WS_EX_CONTROLPARENT);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const POINT at = win::CenterInWorkArea(w, h);
    HWND hwnd = Create(kClassName, std::string(kMainCaption).c_str(), kFormStyle, WS_EX_CONTROLPARENT, at.x,
                       at.y, w, h, nullptr, menu);
    if (!hwnd && menu) DestroyMenu(menu);
    return hwnd;
}

void TFormSelect::SetVersionTexts(const std::string& version, const std::string& build) {
    versionText_ = version;
    buildText_ = build;
    win::SetText(hwnd(), std::string(kMainCaption) + " " + versionText_);
}

HWND TFormSelect::AddControl(const char* cls, const char* text, DWORD style, DWORD exStyle, SelectCtl id,
                             RECT b) {
    HWND h = CreateWindowExA(exStyle, cls, text, WS_CHILD | style, b.left, b.top, b.right - b.left,
                             b.bottom - b.top, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id(id))),
                             GetModuleHandleA(nullptr), nullptr);
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    return h;
}

HWND TFormSelect::AddLabel(const char* text, SelectCtl id, int x, int y, DWORD style) {
    // Labels size themselves to their text, as the layout has them.
    win::WindowDc dc(hwnd());
    win::Selected f(dc.get(), font_.get());
    SIZE size{};
    GetTextExtentPoint32A(dc.get(), text, lstrlenA(text), &size);
    return AddControl("STATIC", text, style | SS_NOPREFIX, 0, id,
                      RECT{Scaled(x), Scaled(y), Scaled(x) + size.cx, Scaled(y) + size.cy});
}

void TFormSelect::CreateControls() {
    font_.reset(win::CreateUiFont(false));
    boldFont_.reset(win::CreateUiFont(true));
    hints_.Create(hwnd());
    notice_.Create(hwnd());

    RECT client{};
    GetClientRect(hwnd(), &client);
    const auto at = [&client](SelectCtl id) { return PlaceOf(RowOf(id), SIZE{client.right, client.bottom}); };
    for (const ControlRow& row : kSelectLayout) {
        const RECT place = at(row.id);
        switch (row.kind) {
            case ControlKind::CategoryButton: {
                const auto i = static_cast<std::size_t>(Id(row.id) - Id(SelectCtl::sbtnStart));
                buttons_[i].CreateButton(hwnd(), Id(row.id), place, std::string(kCategories[i].caption), 1);
                HighlightButton(kCategories[i].category, false);
                // The buttons take no focus; Ctrl+1 to Ctrl+4 press them from the keyboard.
                hints_.Set(buttons_[i].hwnd(),
                           std::string(kCategories[i].caption) + " (Ctrl+" + std::to_string(i + 1) + ")");
                break;
            }
            case ControlKind::Label: AddLabel(row.text, row.id, row.x, row.y, row.style); break;
            case ControlKind::Counter: {
                win::WindowDc dc(hwnd());
                win::Selected f(dc.get(), font_.get());
                SIZE size{};
                GetTextExtentPoint32A(dc.get(), row.text, lstrlenA(row.text), &size);
                const int right = Scaled(row.x) + size.cx;
                AddControl("STATIC", row.text, row.style | SS_NOPREFIX, 0, row.id,
                           RECT{right - Scaled(row.w), Scaled(row.y), right, Scaled(row.y) + size.cy});
                break;
            }
            case ControlKind::Browser:
                // The browser makes its four controls at once, where its first row stands.
                if (row.id == SelectCtl::DriveComboBox1)
                    browser_.Create(
                        hwnd(),
                        FileBrowserLayout{Id(SelectCtl::DriveComboBox1), Id(SelectCtl::DirectoryListBox1),
                                          Id(SelectCtl::FileListBox1), Id(SelectCtl::FilterComboBox1),
                                          at(SelectCtl::DriveComboBox1), at(SelectCtl::DirectoryListBox1),
                                          at(SelectCtl::FileListBox1), at(SelectCtl::FilterComboBox1)},
                        font_.get());
                break;
            case ControlKind::PreviewPanel:
                pnlPreview_.CreatePanel(hwnd(), Id(row.id), place,
                                        win::PanelStyle{.outer = win::Bevel::Lowered}, font_.get());
                break;
            case ControlKind::PreviewName:
                pnlPreviewName_.CreatePanel(
                    pnlPreview_.hwnd(), Id(row.id), place,
                    win::PanelStyle{.caption = row.text, .ellipsis = DT_PATH_ELLIPSIS}, font_.get());
                break;
            case ControlKind::PreviewPicture:
                imgPreview_.CreateBox(pnlPreview_.hwnd(), Id(row.id), place, false);
                CreatePreviewPlaceholder();
                break;
            case ControlKind::Plain: AddControl(row.cls, row.text, row.style, 0, row.id, place); break;
            case ControlKind::CategoryList:
                views_[static_cast<std::size_t>(Id(row.id) - Id(SelectCtl::ListStart))]->Create(
                    hwnd(), Id(row.id), place, font_.get());
                break;
            case ControlKind::ExtendStrip:
                pnlExtend_.CreatePanel(
                    hwnd(), Id(row.id), place,
                    win::PanelStyle{.cursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32645) /* IDC_SIZENS */)},
                    font_.get());
                break;
        }
    }
    buttons_[0].SetDown(true);
    HighlightButton(ScreenCategory::Start, true);
    SendMessageA(Control(SelectCtl::chkbStartUpRun), BM_SETCHECK, BST_CHECKED, 0);
    for (auto name : kDisplayStyles)
        SendMessageA(Control(SelectCtl::CBStyle), CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(std::string(name).c_str()));

    HINSTANCE inst = GetModuleHandleA(nullptr);
    popMFile_.reset(LoadMenuA(inst, MAKEINTRESOURCEA(IDR_POPMFILE)));
    popMSelected_.reset(LoadMenuA(inst, MAKEINTRESOURCEA(IDR_POPMSELECTED)));
    popMFileInfo_.reset(LoadMenuA(inst, MAKEINTRESOURCEA(IDR_POPMFILEINFO)));
    popMFileInfoLayout_.reset(LoadMenuA(inst, MAKEINTRESOURCEA(IDR_POPMFILEINFO)));
    // The file list's pop-up keeps its last two entries for their shortcut only.
    RemoveMenu(PopMFile(), IDM_VIEWFULLSCREEN1, MF_BYCOMMAND);
    RemoveMenu(PopMFile(), IDM_N_FILELIST2, MF_BYCOMMAND);
    ArrangeTabOrder();
    controlsReady_ = true;
}

void TFormSelect::ArrangeTabOrder() {
    // Tab follows the order of the windows among their siblings.
    const SelectCtl order[] = {SelectCtl::DriveComboBox1, SelectCtl::DirectoryListBox1,
                               SelectCtl::FileListBox1,   SelectCtl::FilterComboBox1,
                               SelectCtl::BtnAdd,         SelectCtl::btnRemove,
                               SelectCtl::chkbStartUpRun, SelectCtl::ListStart,
                               SelectCtl::ListWait,       SelectCtl::ListShut,
                               SelectCtl::ListWall,       SelectCtl::pnlPreview,
                               SelectCtl::CBStyle,        SelectCtl::PnlExtend};
    HWND after = HWND_TOP;
    for (auto id : order) {
        HWND h = GetDlgItem(hwnd(), Id(id));
        SetWindowPos(h, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = h;
    }
}

void TFormSelect::FollowClientSize() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    for (const ControlRow& row : kSelectLayout) {
        if ((row.anchors & (kAnchorRight | kAnchorBottom)) == 0) continue;
        const RECT r = PlaceOf(row, SIZE{client.right, client.bottom});
        MoveWindow(Control(row.id), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
}

void TFormSelect::FormCreate() {
    autoPreview_ = false;
    listsModified_ = false;
    uninstalled_ = false;
    current_ = ScreenCategory::Start;
    places_ = MachinePlaces(config_.places);
    FollowClientSize();
    helpFile_ = places_.ProgramFile(kHelpFileName);
}

void TFormSelect::RunStep(const char* step, void (TFormSelect::*fn)()) {
    if (config_.stepHook) config_.stepHook(step);
    (this->*fn)();
}

void TFormSelect::FormShow() {
    commandLineUninstall_ = HasUninstallSwitch(config_.parameters);
    if (commandLineUninstall_) {
        Uninstall2Click();
        terminated_ = true;  // whatever the answer: nothing is loaded, shown or written
        return;
    }
    try {
        RunStep("LoadSettings", &TFormSelect::LoadSettings);
        RunStep("LoadScreenLists", &TFormSelect::LoadScreenLists);
        win::SpeedButton& button = ButtonOf(current_);
        button.SetDown(true);
        Change_Screen_Button(button.hwnd());
        win::SetMenuItemVisible(PopMFileInfo(), GetSubMenu(popMFileInfoLayout_.get(), 0),
                                IDM_SETASCURRENTWALLPAPER1, current_ == ScreenCategory::Wall);
        win::SetMenuItemVisible(PopMFileInfo(), GetSubMenu(popMFileInfoLayout_.get(), 0),
                                IDM_SETASCURRENTSCREEN1, current_ != ScreenCategory::Wall);
        autoPreview_ = true;
    } catch (const std::exception& e) {
        // The window still opens, with what was loaded until the failing step.
        win::ReportUnhandled(hwnd(), e.what());
    }
}

void TFormSelect::Show(int showCommand) {
    FormShow();
    if (terminated_) return;
    ShowWindow(hwnd(), showCommand);
    UpdateWindow(hwnd());
}

void TFormSelect::FormDestroy() {
    win::QuitHelp(hwnd(), helpFile_);
}

bool TFormSelect::PreTranslateMessage(MSG& msg) {
    if (!hwnd() || (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd))) return false;
    if (msg.message == WM_KEYDOWN) {
        const bool ctrl = GetKeyState(VK_CONTROL) < 0;
        if (msg.wParam == VK_RETURN && msg.hwnd == browser_.DirectoryList() && !ctrl) {
            browser_.OpenChosenFolder();  // as a double click does
            return true;
        }
        if (ctrl && msg.wParam >= '1' && msg.wParam <= '4' && GetKeyState(VK_MENU) >= 0) {
            SendMessageA(buttons_[msg.wParam - '1'].hwnd(), BM_CLICK, 0, 0);
            return true;
        }
    }
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
        // The focused control, or one around it, may own a pop-up menu whose shortcuts come first.
        for (HWND h = msg.hwnd; h && h != hwnd(); h = GetParent(h)) {
            HACCEL popup =
                h == browser_.FileList() ? accelFile_ : (CategoryOfList(h) ? accelSelected_ : nullptr);
            if (popup && TranslateAcceleratorA(hwnd(), popup, &msg)) return true;
        }
        if (accelMain_ && TranslateAcceleratorA(hwnd(), accelMain_, &msg)) return true;
    }
    return IsDialogMessageA(hwnd(), &msg) != FALSE;
}

void TFormSelect::Close1Click() {
    autoPreview_ = false;  // list changes while closing show nothing
    SendMessageA(hwnd(), WM_CLOSE, 0, 0);
}

void TFormSelect::PnlExtendClick() {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    const int left = r.left;
    ShowWindow(hwnd(), IsZoomed(hwnd()) ? SW_RESTORE : SW_MAXIMIZE);
    GetWindowRect(hwnd(), &r);
    if (r.left != left)
        SetWindowPos(hwnd(), nullptr, left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFormSelect::FormResize() {
    if (IsZoomed(hwnd()) || IsIconic(hwnd())) return;
    RECT r{};
    GetWindowRect(hwnd(), &r);
    normalWidth_ = r.right - r.left;
}

void TFormSelect::Help2Click() {
    win::ShowHelpContents(hwnd(), helpFile_);
}

void TFormSelect::About1Click() {
    if (aboutBox_) aboutBox_->ShowModal(hwnd());
}

HWND TFormSelect::Control(SelectCtl id) const {
    if (HWND h = GetDlgItem(hwnd(), Id(id))) return h;
    // The preview panel holds its name strip and picture.
    return GetDlgItem(pnlPreview_.hwnd(), Id(id));
}

void TFormSelect::ShowPopup(HMENU menu, HWND owner, LPARAM screenPoint) {
    POINT p{static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
    if (screenPoint == -1) {  // from the keyboard: at the control's top-left corner
        RECT r{};
        GetWindowRect(owner, &r);
        p = POINT{r.left + 8, r.top + 8};
    }
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, p.x, p.y, 0, hwnd(), nullptr);
}

void TFormSelect::OnCommand(int id, int code, HWND control) {
    if (control && browser_.HandleCommand(control, static_cast<WORD>(code))) return;
    if (control && CategoryOfButton(control)) {
        if (code == BN_CLICKED) Change_Screen_Button(control);
        return;
    }
    if (control) {  // notifications of the window's own controls
        switch (id) {
            case Id(SelectCtl::BtnAdd): BtnAddClick(); break;
            case Id(SelectCtl::btnRemove): btnRemoveClick(); break;
            case Id(SelectCtl::chkbStartUpRun): Runrandomizeratstartup1Click(control); break;
            case Id(SelectCtl::CBStyle):
                if (code == CBN_SELCHANGE) CBStyleChange();
                break;
            case Id(SelectCtl::pnlPreview):
                if (code == win::Panel::kDoubleClicked) pnlPreviewDblClick();
                break;
            case Id(SelectCtl::ImgPreview):
                if (code == STN_DBLCLK) ImgPreviewDblClick();
                break;
            case Id(SelectCtl::PnlExtend):
                if (code == win::Panel::kClicked) PnlExtendClick();
                break;
            default: break;
        }
        return;
    }
    if (config_.commandHook) config_.commandHook(id);
    switch (static_cast<SelectCmd>(id)) {
        case SelectCmd::Save1: SaveToFile(); break;
        case SelectCmd::Close1: Close1Click(); break;
        case SelectCmd::Runrandomizeratstartup1: Runrandomizeratstartup1Click(nullptr); break;
        case SelectCmd::ErrorReportOn1: ChangeErrorReport(); break;
        case SelectCmd::PlayAnimations1: PlayAnimations1Click(); break;
        case SelectCmd::PreviewNone1:
        case SelectCmd::PreviewChooseOnly1:
        case SelectCmd::PreviewSelectedOnly1:
        case SelectCmd::PreviewBoth1: ChangePreviewOn(static_cast<SelectCmd>(id)); break;
        case SelectCmd::Removenonexistingfiles1: Removenonexistingfiles1Click(); break;
        case SelectCmd::MakeScreen1:
        case SelectCmd::MakeScreen2: MakeScreen1Click(); break;
        case SelectCmd::OriginalScreens1: OriginalScreens1Click(); break;
        case SelectCmd::Uninstall2: Uninstall2Click(); break;
        case SelectCmd::Help2: Help2Click(); break;
        case SelectCmd::About1: About1Click(); break;
        case SelectCmd::CheckScreens1: CheckScreens1Click(); break;
        case SelectCmd::FullScreenPreview2: ImgPreviewDblClick(); break;
        case SelectCmd::Setascurrent1: SetasCurrentClick(); break;
        case SelectCmd::Refresh1: Refresh1Click(); break;
        case SelectCmd::Add2: break;     // shortcut only, no command
        case SelectCmd::Remove2: break;  // shortcut only, no command
        case SelectCmd::Add1: BtnAddClick(); break;
        case SelectCmd::SelectAll1: btnAllFilesClick(); break;
        case SelectCmd::InvertSelection1: BtnInvFilesClick(); break;
        case SelectCmd::Refresh2: break;  // shortcut only, no command
        case SelectCmd::ViewFullScreen1: ImgPreviewDblClick(); break;
        case SelectCmd::View2: ImgPreviewDblClick(); break;
        case SelectCmd::Remove1: btnRemoveClick(); break;
        case SelectCmd::Findfile1: Findfile1Click(); break;
        case SelectCmd::SelectAll2: btnAllSelectClick(); break;
        case SelectCmd::InvertSelection2: btnInvSelectClick(); break;
        case SelectCmd::SetascurrentScreen1: SetasCurrentClick(); break;
        case SelectCmd::Setascurrentwallpaper1: SetasCurrentClick(); break;
        case SelectCmd::FullScreenPreview1: ImgPreviewDblClick(); break;
        case SelectCmd::Size: SizeClick(); break;
    }
}

LRESULT TFormSelect::OnNotify(const NMHDR& h) {
    for (auto& view : views_) {
        LRESULT result = 0;
        bool changed = false;
        if (!view->HandleNotify(h, result, changed)) continue;
        if (changed) LstVSelectedChange(h.hwndFrom);
        return result;
    }
    if (h.code == NM_CLICK && CategoryOfList(h.hwndFrom)) ViewSelected(h.hwndFrom);
    return 0;
}

LRESULT TFormSelect::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // The purge lets the window repaint; a command sent meanwhile (from another thread or
    // program) would change the lists under it, so it goes to the back of the queue instead.
    if (purging_ && (msg == WM_COMMAND || msg == WM_CLOSE || msg == WM_CONTEXTMENU || msg == WM_DROPFILES)) {
        PostMessageA(hwnd(), msg, wp, lp);
        return 0;
    }
    switch (msg) {
        case WM_CREATE:
            CreateControls();
            FormCreate();
            DragAcceptFiles(hwnd(), TRUE);
            return 0;
        case WM_COMMAND: OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)); return 0;
        case WM_INITMENUPOPUP: EnableMakeScreen(reinterpret_cast<HMENU>(wp)); break;
        case WM_DROPFILES: FormDropFiles(reinterpret_cast<HDROP>(wp)); return 0;
        case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lp));
        case WM_DRAWITEM:
            if (browser_.HandleDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
            break;
        case WM_MEASUREITEM:
            if (browser_.HandleMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) return TRUE;
            break;
        case WM_CONTEXTMENU: {
            HWND from = reinterpret_cast<HWND>(wp);
            if (from == browser_.FileList()) {
                ShowPopup(PopMFile(), from, lp);
            } else if (CategoryOfList(from)) {
                PopMSelectedPopup();
                ShowPopup(PopMSelected(), from, lp);
            } else if (from == Control(SelectCtl::ImgPreview)) {
                PopMFileInfoPopup();
                ShowPopup(PopMFileInfo(), from, lp);
            } else {
                break;
            }
            return 0;
        }
        case WM_SIZE:
            FollowClientSize();
            FormResize();
            return 0;
        case WM_GETMINMAXINFO: {
            // Maximising grows only the height: the width and the left edge stay.
            auto& mm = *reinterpret_cast<MINMAXINFO*>(lp);
            RECT r{};
            if (normalWidth_ > 0 && GetWindowRect(hwnd(), &r)) {
                HMONITOR mon = MonitorFromWindow(hwnd(), MONITOR_DEFAULTTONEAREST);
                MONITORINFO mi{sizeof mi};
                const int originX = GetMonitorInfoA(mon, &mi) ? mi.rcMonitor.left : 0;
                mm.ptMaxSize.x = normalWidth_;
                mm.ptMaxPosition.x = r.left - originX;
            }
            return 0;
        }
        case WM_CLOSE: {
            bool canClose = true;
            FormCloseQuery(canClose);
            if (!canClose) return 0;
            FormClose();
            DestroyWindow(hwnd());
            return 0;
        }
        case WM_PAINT:
            return PaintWith([this](HDC dc) {
                // The etched line under the menu bar that separates the window from its menu.
                RECT r{};
                GetClientRect(hwnd(), &r);
                r.bottom = 2;
                DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP);
            });
        case WM_DESTROY:
            FormDestroy();
            if (config_.isMainWindow) PostQuitMessage(0);
            return 0;
        default: break;
    }
    return Default(msg, wp, lp);
}

}  // namespace mvpr
