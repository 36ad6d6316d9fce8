// TFormPreview: the full-screen preview and its display styles.
#include "app/FormPreview.h"

#include "app/FormSelect.h"
#include "imaging/DibSection_win.h"
#include "imaging/Resample.h"
#include "system/Wallpaper_win.h"
#include "win/Menus.h"

namespace mvpr {

namespace {
constexpr int kImageId = 1;

constexpr UINT Id(PreviewCmd c) {
    return static_cast<UINT>(c);
}

// Leaves a flag set for one scope.
class Flag {
  public:
    explicit Flag(bool& f) : f_(f) { f_ = true; }
    Flag(const Flag&) = delete;
    Flag& operator=(const Flag&) = delete;
    ~Flag() { f_ = false; }

  private:
    bool& f_;
};
}  // namespace

std::optional<Picture> PreviewSource(const TFormSelect& main) {
    // A file that could not be read leaves nothing to render, never an older picture.
    if (main.PreviewPicture().Empty() || !main.PreviewDecoded()) return std::nullopt;
    return ReadBitmapPixels(main.PreviewPicture().Handle());
}

DisplayStyle ChosenStyle(const TFormSelect& main) {
    return DisplayStyleOf(win::GetText(main.Control(SelectCtl::CBStyle))).value_or(DisplayStyle::Centred);
}

int ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}
int ScreenHeight() {
    return GetSystemMetrics(SM_CYSCREEN);
}

void SetWallpaperFrom(const TFormSelect& main, HWND owner, const Picture& work, DisplayStyle style) {
    const WallpaperOutcome outcome = SetCurrentWallpaper(work, DisplayStyleText(style), main.ProgramPlaces());
    if (!outcome.written) win::ReportUnhandled(owner, outcome.error);
}

// --- the window --------------------------------------------------------------------------------

HWND TFormPreview::CreateForm() {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    RegisterClassOnce(kClassName, 0, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BACKGROUND + 1)));
    // Owned by the main window, so it stays in front of it and goes with it.
    if (!Create(kClassName, kCaption, WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, ScreenWidth(), ScreenHeight(),
                main_.hwnd(), nullptr))
        return nullptr;
    image_.CreateBox(hwnd(), kImageId, RECT{}, true);
    image_.SetEmptyColor(COLOR_BACKGROUND);
    image_.SetPainter([this](HDC dc) { return animation_.Paint(dc, 0, 0); });
    hints_.Create(hwnd());
    popMPreview_.reset(LoadMenuA(inst, MAKEINTRESOURCEA(IDR_POPMPREVIEW)));
    popMPreviewLayout_.reset(LoadMenuA(inst, MAKEINTRESOURCEA(IDR_POPMPREVIEW)));
    accel_ = LoadAcceleratorsA(inst, MAKEINTRESOURCEA(IDR_ACCEL_POPMPREVIEW));
    return hwnd();
}

void TFormPreview::ShowPreview() {
    const unsigned before = activations_;
    ShowWindow(hwnd(), SW_SHOWMAXIMIZED);
    SetForegroundWindow(hwnd());
    // Shown while it was already the active window: no activation tells it to render anew.
    if (activations_ == before) FormActivate();
}

bool TFormPreview::PreTranslateMessage(MSG& msg) {
    if (!hwnd() || !IsWindowVisible(hwnd()) || (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)))
        return false;
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    return accel_ && TranslateAcceleratorA(hwnd(), accel_, &msg);
}

void TFormPreview::SetItemVisible(PreviewCmd item, bool visible) {
    win::SetMenuItemVisible(PopMPreview(), GetSubMenu(popMPreviewLayout_.get(), 0), Id(item), visible);
}

void TFormPreview::FormActivate() {
    if (activating_) return;  // maximising below may report the activation again
    Flag busy(activating_);
    ++activations_;
    if (!IsZoomed(hwnd())) ShowWindow(hwnd(), SW_MAXIMIZE);
    hints_.Set(image_.hwnd(), main_.HintOf(main_.Control(SelectCtl::ImgPreview)));
    const bool wall = main_.CurrentCategory() == ScreenCategory::Wall;
    for (PreviewCmd c : {PreviewCmd::Centred1, PreviewCmd::Stretched1, PreviewCmd::Tiled1,
                         PreviewCmd::Fit2Screen1, PreviewCmd::Mirror1})
        SetItemVisible(c, wall);
    SetItemVisible(PreviewCmd::SetascurrentScreen1, !wall);
    RenderStyle();
    CheckStyleItems();
}

void TFormPreview::Show(const Picture& picture, PixelRect where) {
    placement_ = where;
    win::UniqueBitmap bitmap;
    if (where.width == picture.Width() && where.height == picture.Height()) {
        bitmap.reset(CreateDibSection(picture));
    } else if (where.width > 0 && where.height > 0) {
        // Into the buffer kept from the last time: a screen-sized picture touches no fresh pages.
        if (ResampleInto(picture, where.width, where.height, scaled_))
            bitmap.reset(CreateDibSection(scaled_));
    }
    MoveWindow(image_.hwnd(), where.left, where.top, where.width, where.height, TRUE);
    image_.SetBitmap(std::move(bitmap));
}

bool TFormPreview::ShowAnimated(PixelRect where) {
    const auto& cycle = main_.PreviewPicture().Cycle();
    if (!cycle || !main_.PlayAnimations() || where.width <= 0 || where.height <= 0) return false;
    const auto indexed = PictureFromDibSection(main_.PreviewPicture().Handle());
    if (!indexed || !animation_.Load(*indexed, *cycle, where.width, where.height)) return false;
    placement_ = where;
    MoveWindow(image_.hwnd(), where.left, where.top, where.width, where.height, TRUE);
    image_.SetBitmap({});
    animation_.Play(image_.hwnd());
    return true;
}

void TFormPreview::RenderStyle() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    auto source = PreviewSource(main_);
    animation_.Clear();
    if (main_.CurrentCategory() != ScreenCategory::Wall) {
        SetItemVisible(PreviewCmd::SetascurrentWallpaper1, false);
        SetItemVisible(PreviewCmd::N2, false);
        // Stretched over the whole client area, proportions not kept.
        work_ = std::move(source);
        const PixelRect whole{0, 0, client.right, client.bottom};
        if (work_ && !ShowAnimated(whole)) Show(*work_, whole);
    } else {
        const DisplayStyle style = ChosenStyle(main_);
        if (!work_) work_.emplace();  // its memory is kept from one rendering to the next
        if (!source || !RenderWorkFileInto(*source, style, ScreenWidth(), ScreenHeight(), *work_))
            work_.reset();
        if (work_)
            Show(*work_, ViewPlacement(style, work_->Width(), work_->Height(), client.right, client.bottom,
                                       ScreenWidth(), ScreenHeight()));
        SetItemVisible(PreviewCmd::SetascurrentWallpaper1, true);
        SetItemVisible(PreviewCmd::N2, true);
    }
    if (!work_) {
        placement_ = {};
        image_.SetBitmap({});
    }
}

void TFormPreview::CheckStyleItems() {
    const std::string text = win::GetText(main_.Control(SelectCtl::CBStyle));
    for (std::size_t i = 0; i < kDisplayStyles.size(); ++i)
        win::CheckMenuItemById(PopMPreview(), IDM_CENTRED1 + static_cast<UINT>(i), text == kDisplayStyles[i]);
}

void TFormPreview::StyleClick(PreviewCmd sender) {
    // Only the picker moves: the selected wallpapers take the style on the way back.
    const int index = static_cast<int>(sender) - IDM_CENTRED1;
    SendMessageA(main_.Control(SelectCtl::CBStyle), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    CheckStyleItems();
    FormActivate();
}

void TFormPreview::Returntomain1Click() {
    if (main_.CurrentCategory() == ScreenCategory::Wall) main_.CBStyleChange();
    ShowWindow(hwnd(), SW_HIDE);
    if (IsWindowVisible(main_.hwnd())) SetForegroundWindow(main_.hwnd());
}

void TFormPreview::Fileinfo1Click() {
    // Owned by this window, the box gives the keyboard back here, not to the main window.
    main_.SizeClick(hwnd());
}

void TFormPreview::SetasCurrentClick() {
    if (main_.CurrentCategory() != ScreenCategory::Wall) {
        main_.SetCurrentScreen();
        return;
    }
    if (work_) SetWallpaperFrom(main_, hwnd(), *work_, ChosenStyle(main_));
}

void TFormPreview::OnCommand(int id) {
    switch (static_cast<PreviewCmd>(id)) {
        case PreviewCmd::Returntomain1: Returntomain1Click(); break;
        case PreviewCmd::Fileinfo1: Fileinfo1Click(); break;
        case PreviewCmd::Centred1:
        case PreviewCmd::Stretched1:
        case PreviewCmd::Tiled1:
        case PreviewCmd::Fit2Screen1:
        case PreviewCmd::Mirror1:
            // Hidden outside the wallpaper category, shortcuts included.
            if (main_.CurrentCategory() == ScreenCategory::Wall) StyleClick(static_cast<PreviewCmd>(id));
            break;
        case PreviewCmd::SetascurrentScreen1:
        case PreviewCmd::SetascurrentWallpaper1: SetasCurrentClick(); break;
        default: break;
    }
}

LRESULT TFormPreview::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE && IsWindowVisible(hwnd())) FormActivate();
            break;
        case WM_COMMAND:
            if (LOWORD(wp) == kImageId && HIWORD(wp) == STN_CLICKED)
                Returntomain1Click();
            else
                OnCommand(LOWORD(wp));
            return 0;
        case WM_CONTEXTMENU: {
            POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            if (lp == -1) p = POINT{8, 8};
            TrackPopupMenu(PopMPreview(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, p.x, p.y, 0, hwnd(), nullptr);
            return 0;
        }
        case WM_GETMINMAXINFO: {
            // Maximised means the whole screen, taskbar included.
            auto& mm = *reinterpret_cast<MINMAXINFO*>(lp);
            mm.ptMaxPosition = POINT{0, 0};
            mm.ptMaxSize = POINT{ScreenWidth(), ScreenHeight()};
            mm.ptMaxTrackSize = mm.ptMaxSize;
            return 0;
        }
        case WM_CLOSE: ShowWindow(hwnd(), SW_HIDE); return 0;
        default: break;
    }
    return Default(msg, wp, lp);
}

}  // namespace mvpr
