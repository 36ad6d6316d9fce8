#include "app/MakeScreenDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "app/MakeScreenTexts.h"
#include "imaging/BmpCodec.h"
#include "imaging/DibSection_win.h"
#include "imaging/ScreenRule.h"
#include "res/resource.h"
#include "win/Busy.h"
#include "win/Files.h"
#include "win/MessageBox.h"

namespace mvpr {

namespace {
constexpr int kPreviewSide = 1024;  // the preview's picture is made from at most this many pixels a side
constexpr double kArrowSteps = 16;  // an arrow key moves the crop by this part of its size

TMakeScreenDialog::SaveAsSeam& SaveAsSeamSlot() {
    static TMakeScreenDialog::SaveAsSeam seam;
    return seam;
}
TMakeScreenDialog::ShownSeam& ShownSeamSlot() {
    static TMakeScreenDialog::ShownSeam seam;
    return seam;
}

// The hand says the picture can be moved; systems before Windows 2000 have none.
HCURSOR PreviewCursor() {
    static const HCURSOR hand = [] {
        HCURSOR c = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649) /* IDC_HAND */);
        return c ? c : LoadCursorA(nullptr, MAKEINTRESOURCEA(32512) /* IDC_ARROW */);
    }();
    return hand;
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH * 4] = {};
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return n > 0 && n < sizeof full ? std::string(full, n) : path;
}

// The same file under any spelling: case, relative parts, long or short names.
bool SameFile(const std::string& a, const std::string& b) {
    const std::string fa = FullPath(a), fb = FullPath(b);
    if (lstrcmpiA(fa.c_str(), fb.c_str()) == 0) return true;
    char sa[MAX_PATH * 4] = {}, sb[MAX_PATH * 4] = {};
    const DWORD na = GetShortPathNameA(fa.c_str(), sa, sizeof sa);
    const DWORD nb = GetShortPathNameA(fb.c_str(), sb, sizeof sb);
    return na > 0 && na < sizeof sa && nb > 0 && nb < sizeof sb && lstrcmpiA(sa, sb) == 0;
}
}  // namespace

TMakeScreenDialog::SaveAsSeam TMakeScreenDialog::SetSaveAsSeam(SaveAsSeam seam) {
    return std::exchange(SaveAsSeamSlot(), std::move(seam));
}
TMakeScreenDialog::ShownSeam TMakeScreenDialog::SetShownSeam(ShownSeam seam) {
    return std::exchange(ShownSeamSlot(), std::move(seam));
}

TMakeScreenDialog::TMakeScreenDialog(ScreenSource source, std::string sourcePath)
    : source_(std::move(source)), sourcePath_(std::move(sourcePath)) {}

std::string TMakeScreenDialog::SuggestedPath(const std::string& sourcePath) {
    const std::size_t slash = sourcePath.find_last_of("\\/:");
    const std::size_t dot = sourcePath.find_last_of('.');
    const std::string stem = dot != std::string::npos && (slash == std::string::npos || dot > slash)
                                 ? sourcePath.substr(0, dot)
                                 : sourcePath;
    const std::string plain = stem + ".bmp";
    return lstrcmpiA(plain.c_str(), sourcePath.c_str()) == 0 ? stem + std::string(kScreenSuffix) + ".bmp"
                                                             : plain;
}

std::optional<std::string> TMakeScreenDialog::ShowModal(HWND owner) {
    saved_.reset();
    RunModal(owner, IDD_MAKESCREEN);
    return saved_;
}

void TMakeScreenDialog::OnInit() {
    TakePlace(IDC_MS_PREVIEW, [this](RECT bounds) {
        return previewBox_.CreateBox(dlg(), IDC_MS_PREVIEW, bounds, true, WS_TABSTOP | WS_GROUP);
    });
    previewBox_.SetPainter([this](HDC dc) {
        PaintPreview(previewBox_.hwnd(), dc);
        return true;
    });
    auto smaller = source_.Reduced(kPreviewSide);
    preview_ = smaller ? std::move(*smaller) : source_;
    CheckRadioButton(dlg(), IDC_MS_FIT, IDC_MS_FILL,
                     options_.fit == ScreenFit::Fit ? IDC_MS_FIT : IDC_MS_FILL);
    CheckDlgButton(dlg(), IDC_MS_DITHER, options_.dither ? BST_CHECKED : BST_UNCHECKED);
    InitMovingBar();
    OptionsChanged();
    if (ShownSeamSlot()) ShownSeamSlot()(dlg());
}

void TMakeScreenDialog::OptionsChanged() {
    options_.fit = IsDlgButtonChecked(dlg(), IDC_MS_FILL) == BST_CHECKED ? ScreenFit::Fill : ScreenFit::Fit;
    options_.dither = IsDlgButtonChecked(dlg(), IDC_MS_DITHER) == BST_CHECKED;
    EnableWindow(GetDlgItem(dlg(), IDC_MS_BARS), options_.fit == ScreenFit::Fit);
    ReadMovingBar();
    // Only a crop can be moved.
    ShowWindow(GetDlgItem(dlg(), IDC_MS_HINT), options_.fit == ScreenFit::Fill ? SW_SHOW : SW_HIDE);
    const auto screen = preview_.Make(options_);
    previewBitmap_.reset(screen ? CreateDibSection(*screen) : nullptr);
    ShowAnimation(screen);
    InvalidateRect(GetDlgItem(dlg(), IDC_MS_PREVIEW), nullptr, FALSE);
}

// --- the moving bar ----------------------------------------------------------------------------

void TMakeScreenDialog::InitMovingBar() {
    SetDlgItemInt(dlg(), IDC_MS_BARCOLOURS, static_cast<UINT>(bar_.colours), FALSE);
    SetDlgItemInt(dlg(), IDC_MS_BARHEIGHT, static_cast<UINT>(bar_.height), FALSE);
    // A screen that animates keeps its own cycle; a bar would take its entries.
    if (source_.OwnCycle()) {
        EnableWindow(GetDlgItem(dlg(), IDC_MS_MOVINGBAR), FALSE);
        SetDlgItemTextA(dlg(), IDC_MS_BARNOTE, KeptCycleNote(source_.OwnCycle()->first).c_str());
    }
}

void TMakeScreenDialog::ReadMovingBar() {
    const bool on = !source_.OwnCycle() && IsDlgButtonChecked(dlg(), IDC_MS_MOVINGBAR) == BST_CHECKED;
    for (int id : {IDC_MS_BARCOLOURSLABEL, IDC_MS_BARCOLOURS, IDC_MS_BARHEIGHTLABEL, IDC_MS_BARHEIGHT,
                   IDC_MS_BARFROM, IDC_MS_BARTO})
        EnableWindow(GetDlgItem(dlg(), id), on);
    BOOL read = FALSE;
    const UINT colours = GetDlgItemInt(dlg(), IDC_MS_BARCOLOURS, &read, FALSE);
    if (read)
        bar_.colours = std::clamp(static_cast<int>(std::min(colours, 256U)), MovingBar::kMinColours,
                                  MovingBar::kMaxColours);
    const UINT height = GetDlgItemInt(dlg(), IDC_MS_BARHEIGHT, &read, FALSE);
    if (read) bar_.height = std::clamp(static_cast<int>(std::min(height, 1000U)), 1, MovingBar::kMaxHeight);
    options_.movingBar = on ? std::optional<MovingBar>(bar_) : std::nullopt;
    if (!source_.OwnCycle())
        SetDlgItemTextA(dlg(), IDC_MS_BARNOTE, on ? BarNote(256 - bar_.colours).c_str() : "");
}

void TMakeScreenDialog::PickBarColour(Bgra& colour) {
    static COLORREF custom[16] = {};
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = dlg();
    cc.rgbResult = RGB(colour.r, colour.g, colour.b);
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&cc)) return;
    colour = Bgra{GetBValue(cc.rgbResult), GetGValue(cc.rgbResult), GetRValue(cc.rgbResult), 0};
    OptionsChanged();
}

void TMakeScreenDialog::ShowAnimation(const std::optional<Picture>& screen) {
    animation_.Clear();
    const auto cycle = preview_.Cycle(options_);
    HWND preview = GetDlgItem(dlg(), IDC_MS_PREVIEW);
    const RECT r = ScreenRect(preview);
    if (screen && cycle && animation_.Load(*screen, *cycle, r.right - r.left, r.bottom - r.top))
        animation_.Play(preview);
}

RECT TMakeScreenDialog::ScreenRect(HWND preview) const {
    RECT c{};
    GetClientRect(preview, &c);
    const int w = c.right - 4, h = c.bottom - 4;  // a frame of 2 pixels for the focus
    const int fw = std::min(w, h * 4 / 3), fh = fw * 3 / 4;
    const int x = 2 + (w - fw) / 2, y = 2 + (h - fh) / 2;
    return RECT{x, y, x + fw, y + fh};
}

void TMakeScreenDialog::PaintPreview(HWND preview, HDC dc) {
    RECT c{};
    GetClientRect(preview, &c);
    FillRect(dc, &c, GetSysColorBrush(COLOR_3DDKSHADOW));
    const RECT r = ScreenRect(preview);
    if (animation_.Loaded()) {
        animation_.Paint(dc, r.left, r.top);
    } else if (previewBitmap_) {
        win::UniqueDc memory(CreateCompatibleDC(dc));
        win::Selected bitmap(memory.get(), previewBitmap_.get());
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory.get(), 0, 0, kScreenWidth,
                   kScreenHeight, SRCCOPY);
    }
    if (GetFocus() == preview) {
        RECT f = c;
        InflateRect(&f, -1, -1);
        DrawFocusRect(dc, &f);
    }
}

void TMakeScreenDialog::MoveCrop(double dx, double dy) {
    const double w = source_.Width(), h = source_.Height();
    options_.centreX += dx / w;
    options_.centreY += dy / h;
    // Kept where the crop can be, so a move back answers at once.
    if (const auto l = LayOutScreen(source_.Width(), source_.Height(), options_)) {
        options_.centreX = (l->srcX + l->srcWidth / 2.0) / w;
        options_.centreY = (l->srcY + l->srcHeight / 2.0) / h;
    }
    OptionsChanged();
}

std::optional<LRESULT> TMakeScreenDialog::HandlePreview(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    const auto layout = LayOutScreen(source_.Width(), source_.Height(), options_);
    const bool fill = options_.fit == ScreenFit::Fill && layout;
    switch (msg) {
        case WM_GETDLGCODE: return DLGC_WANTARROWS;
        case WM_KEYDOWN: {
            if (!fill) break;
            const double sx = layout->srcWidth / kArrowSteps, sy = layout->srcHeight / kArrowSteps;
            switch (wp) {
                case VK_LEFT: MoveCrop(-sx, 0); return 0;
                case VK_RIGHT: MoveCrop(sx, 0); return 0;
                case VK_UP: MoveCrop(0, -sy); return 0;
                case VK_DOWN: MoveCrop(0, sy); return 0;
                default: break;
            }
            break;
        }
        case WM_SETCURSOR:
            if (LOWORD(lp) != HTCLIENT) break;
            SetCursor(PreviewCursor());
            return TRUE;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:  // a quick second press starts a drag as well
            SetFocus(h);
            SetCapture(h);
            dragging_ = true;
            dragFrom_ = POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            return 0;
        case WM_MOUSEMOVE: {
            if (!dragging_ || !fill) return 0;
            const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            const RECT r = ScreenRect(h);
            // The picture follows the mouse: the crop moves the other way.
            const double dx =
                -(p.x - dragFrom_.x) * static_cast<double>(layout->srcWidth) / std::max(1L, r.right - r.left);
            const double dy = -(p.y - dragFrom_.y) * static_cast<double>(layout->srcHeight) /
                              std::max(1L, r.bottom - r.top);
            dragFrom_ = p;
            if (dx != 0 || dy != 0) MoveCrop(dx, dy);
            return 0;
        }
        case WM_LBUTTONUP:
            if (dragging_) ReleaseCapture();
            return 0;
        case WM_CAPTURECHANGED: dragging_ = false; return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: InvalidateRect(h, nullptr, FALSE); return 0;
        default: break;
    }
    return std::nullopt;
}

LRESULT TMakeScreenDialog::Preview::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (const auto answer = dialog_.HandlePreview(hwnd(), msg, wp, lp)) return *answer;
    return PictureBox::HandleMessage(msg, wp, lp);
}

void TMakeScreenDialog::ChooseBars() {
    static COLORREF custom[16] = {};
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = dlg();
    cc.rgbResult = RGB(options_.bars.r, options_.bars.g, options_.bars.b);
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&cc)) return;
    options_.bars = Bgra{GetBValue(cc.rgbResult), GetGValue(cc.rgbResult), GetRValue(cc.rgbResult), 0};
    OptionsChanged();
}

std::optional<std::string> TMakeScreenDialog::AskSaveAs() {
    const std::string suggested = SuggestedPath(sourcePath_);
    if (SaveAsSeamSlot()) return SaveAsSeamSlot()(suggested);
    const std::size_t slash = suggested.find_last_of('\\');
    const std::string folder = slash == std::string::npos ? std::string() : suggested.substr(0, slash + 1);
    char file[MAX_PATH * 4] = {};
    lstrcpynA(file, suggested.c_str() + (slash == std::string::npos ? 0 : slash + 1), sizeof file);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;  // the size Windows 95 and 98 know
    ofn.hwndOwner = dlg();
    ofn.lpstrFilter = kSaveScreenFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = kSaveScreenTitle;
    ofn.lpstrDefExt = "bmp";
    ofn.Flags =
        OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOREADONLYRETURN | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameA(&ofn)) return std::nullopt;
    return std::string(file);
}

bool TMakeScreenDialog::SaveScreen() {
    const auto target = AskSaveAs();
    if (!target || target->empty()) return false;
    if (SameFile(*target, sourcePath_)) {
        win::ShowMessage(dlg(), win::MsgKind::Error, SaveOverSourceMessage(*target), win::MsgButtons::Ok);
        return false;
    }
    const auto bytes = [this] {
        win::WaitCursor wait;
        const auto screen = source_.Make(options_);
        return screen ? EncodeScreen(*screen, source_.Cycle(options_)) : std::nullopt;
    }();
    if (!bytes) {
        win::ShowMessage(dlg(), win::MsgKind::Error,
                         SaveErrorMessage(*target, win::SystemErrorText(ERROR_NOT_ENOUGH_MEMORY)),
                         win::MsgButtons::Ok);
        return false;
    }
    const win::ReplaceResult written = win::ReplaceFileWith(
        *target, std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    if (written.status != win::ReplaceStatus::Done) {
        win::ShowMessage(dlg(), win::MsgKind::Error,
                         SaveErrorMessage(*target, win::SystemErrorText(written.error)), win::MsgButtons::Ok);
        return false;
    }
    saved_ = *target;
    return true;
}

INT_PTR TMakeScreenDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case IDOK:
                    if (SaveScreen()) EndDialog(dlg(), IDOK);
                    return TRUE;
                case IDCANCEL: EndDialog(dlg(), IDCANCEL); return TRUE;
                case IDC_MS_FIT:
                case IDC_MS_DITHER:
                    if (HIWORD(wp) == BN_CLICKED) OptionsChanged();
                    return TRUE;
                case IDC_MS_FILL:
                    if (HIWORD(wp) != BN_CLICKED) return TRUE;
                    OptionsChanged();
                    // The arrow keys would walk the radio group back to Fit: they belong to the
                    // crop now. Posted, so the click that chose Fill has finished moving the focus.
                    if (options_.fit == ScreenFit::Fill)
                        PostMessageA(dlg(), WM_NEXTDLGCTL,
                                     reinterpret_cast<WPARAM>(GetDlgItem(dlg(), IDC_MS_PREVIEW)), TRUE);
                    return TRUE;
                case IDC_MS_BARS:
                    if (HIWORD(wp) == BN_CLICKED) ChooseBars();
                    return TRUE;
                case IDC_MS_MOVINGBAR:
                    if (HIWORD(wp) == BN_CLICKED) OptionsChanged();
                    return TRUE;
                case IDC_MS_BARCOLOURS:
                case IDC_MS_BARHEIGHT:
                    if (HIWORD(wp) == EN_CHANGE && options_.movingBar) OptionsChanged();
                    // Left with a number out of range: it shows the one used.
                    if (HIWORD(wp) == EN_KILLFOCUS)
                        SetDlgItemInt(
                            dlg(), LOWORD(wp),
                            static_cast<UINT>(LOWORD(wp) == IDC_MS_BARCOLOURS ? bar_.colours : bar_.height),
                            FALSE);
                    return TRUE;
                case IDC_MS_BARFROM:
                case IDC_MS_BARTO:
                    if (HIWORD(wp) == BN_CLICKED)
                        PickBarColour(LOWORD(wp) == IDC_MS_BARFROM ? bar_.from : bar_.to);
                    return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}

}  // namespace mvpr
