// TFormSelect: the preview panel and the file information.
#include "app/FormSelect.h"
#include "app/PreviewTexts.h"
#include "imaging/DibSection_win.h"
#include "app/LoadPicture_win.h"
#include "imaging/Thumbnail_win.h"
#include "lists/DisplayStyle.h"
#include "imaging/ScreenRule.h"
#include "win/Busy.h"
#include "win/Menus.h"
#include "win/MessageBox.h"

namespace mvpr {

namespace {
constexpr COLORREF kWrongSizeColor = RGB(255, 0, 0);

bool ChooseShown(int mode) {
    return mode == 10 || mode == 30;
}
bool SelectedShown(int mode) {
    return mode == 20 || mode == 30;
}
}  // namespace

void TFormSelect::CreatePreviewPlaceholder() {
    // What the hidden preview holds before its first picture: a quiet grey with a frame.
    auto picture = Picture::Create(160, 100, 24);
    if (!picture) return;
    for (int y = 0; y < 100; ++y) {
        std::uint8_t* row = picture->Row(y);
        for (int x = 0; x < 160; ++x) {
            const bool frame = x < 2 || y < 2 || x >= 158 || y >= 98;
            const auto shade = static_cast<std::uint8_t>(frame ? 128 : 200 + (y * 40) / 100);
            row[x * 3] = row[x * 3 + 1] = row[x * 3 + 2] = shade;
        }
    }
    // The small picture is made once per load, at the box's size in pixels.
    previewPicture_.SetOnChange([this] {
        RECT box{};
        GetClientRect(imgPreview_.hwnd(), &box);
        imgPreview_.SetBitmap(MakeThumbnail(previewPicture_.Handle(), box.right, box.bottom));
        UpdatePreviewAnimation();
    });
    imgPreview_.SetPainter([this](HDC dc) { return previewAnimation_.Paint(dc, 0, 0); });
    previewPicture_.Assign(CreateDibSection(*picture), picture->Format());
    previewFromBitmapReader_ = false;
}

void TFormSelect::UpdatePreviewAnimation() {
    previewAnimation_.Clear();
    const auto& cycle = previewPicture_.Cycle();
    if (cycle && IsScreenCategory(current_) && PlayAnimations()) {
        RECT box{};
        GetClientRect(imgPreview_.hwnd(), &box);
        // Index-exact at the box's size, from the bitmap the preview holds: nothing decoded again.
        const auto indexed = PictureFromDibSection(previewPicture_.Handle());
        if (indexed && previewAnimation_.Load(*indexed, *cycle, box.right, box.bottom))
            previewAnimation_.Play(imgPreview_.hwnd());
    }
    InvalidateRect(imgPreview_.hwnd(), nullptr, FALSE);
}

void TFormSelect::EnterNoSelectionState() {
    pnlPreviewName_.SetCaption(std::string(kNoFileSelected));
    ShowWindow(imgPreview_.hwnd(), SW_HIDE);
    hints_.Set(imgPreview_.hwnd(), "");
    pnlPreviewName_.SetColor(GetSysColor(COLOR_BTNFACE));
    previewDecoded_ = false;
}

void TFormSelect::LoadPreview(const std::string& path) {
    win::WaitCursor wait;
    const LoadOutcome outcome = LoadPicture(path, previewPicture_, current_);
    // A zero-length screen file is an empty bitmap; an empty answer of the library is no picture.
    previewDecoded_ =
        outcome == LoadOutcome::Loaded || (outcome == LoadOutcome::Emptied && IsScreenCategory(current_));
    // The picture of the file before must not stand for this one: not on screen, not when judged.
    if (!previewDecoded_ && !previewPicture_.Empty()) previewPicture_.Clear();
    // A screen file judged later may use this outcome only if the bitmap reader made it.
    previewFromBitmapReader_ = IsScreenCategory(current_);
}

void TFormSelect::SetSizeHint() {
    hints_.Set(imgPreview_.hwnd(), previewDecoded_
                                       ? SizeHintText(previewPicture_.Width(), previewPicture_.Height())
                                       : std::string(kUnreadableHint));
}

void TFormSelect::ViewChooseBox() {
    EnableWindow(Control(SelectCtl::BtnAdd), browser_.SelectedFileCount() > 0);
    if (!ChooseShown(previewMode_)) return;
    const int focused = browser_.FocusedFile();
    if (browser_.SelectedFileCount() == 0 || focused < 0) {
        EnterNoSelectionState();
    } else {
        ShowWindow(imgPreview_.hwnd(), SW_SHOW);
        const std::string path =
            JoinPath(browser_.Directory(), browser_.FileName(static_cast<std::size_t>(focused)));
        if (path != PreviewCaption()) {
            LoadPreview(path);
            SetSizeHint();
            pnlPreviewName_.SetCaption(path);
            const bool wrongSize = IsScreenCategory(current_) &&
                                   !HasScreenSize(previewPicture_.Width(), previewPicture_.Height());
            pnlPreviewName_.SetColor(wrongSize ? kWrongSizeColor : GetSysColor(COLOR_BTNFACE));
        }
    }
    hints_.Set(pnlPreviewName_.hwnd(), PreviewCaption());
}

void TFormSelect::ViewSelected(HWND) {
    const CategoryList& list = CurrentList();
    if (SelectedShown(previewMode_)) {
        if (list.AnySelected()) {
            ShowWindow(imgPreview_.hwnd(), SW_SHOW);
            const std::size_t row = list.Focused() ? *list.Focused() : *list.FirstSelected();
            const std::string path = list[row].FullPath();
            if (path != PreviewCaption()) LoadPreview(path);
            SetSizeHint();
            pnlPreviewName_.SetCaption(path);
        }
        hints_.Set(pnlPreviewName_.hwnd(), PreviewCaption());
        pnlPreviewName_.SetColor(GetSysColor(COLOR_BTNFACE));
    }
    if (current_ == ScreenCategory::Wall) {
        // Follow the style of the selected wallpaper without running the style change.
        const AutoPreviewOff quiet(*this);
        if (auto first = list.FirstSelected())
            if (auto index = DisplayStyleIndex(list[*first].style)) SetStylePicker(static_cast<int>(*index));
    }
}

void TFormSelect::ImgPreviewDblClick() {
    if (!IsWindowVisible(imgPreview_.hwnd()) || !previewDecoded_) {
        pnlPreviewDblClick();
        return;
    }
    if (fullScreenPreview_) fullScreenPreview_();
}

void TFormSelect::pnlPreviewDblClick() {
    win::ShowMessage(hwnd(), win::MsgKind::Information, kNoPreviewAvailable, win::MsgButtons::Ok);
}

void TFormSelect::PopMFileInfoPopup() {
    // The entry shows the picture's size, as its hint does.
    const std::string caption = hints_.Get(imgPreview_.hwnd());
    ModifyMenuA(PopMFileInfo(), IDM_SIZE, MF_BYCOMMAND | MF_STRING, IDM_SIZE, caption.c_str());
}

void TFormSelect::SizeClick(HWND owner) {
    const bool unreadable = !previewDecoded_ && PreviewCaption() != kNoFileSelected;
    win::ShowMessage(
        owner ? owner : hwnd(), win::MsgKind::Information,
        unreadable
            ? UnreadableInfoText(PreviewCaption(), previewFromBitmapReader_ ? "bitmap" : "picture")
            : FileInfoText(previewPicture_.Width(), previewPicture_.Height(), previewPicture_.Format()) +
                  (previewPicture_.Cycle() ? AnimatedInfoLine(*previewPicture_.Cycle()) : std::string()),
        win::MsgButtons::Ok);
}

}  // namespace mvpr
