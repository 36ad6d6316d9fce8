#include "win/ModalDialog.h"

#include <exception>
#include <optional>
#include <string>

namespace mvpr::win {

INT_PTR ModalDialog::RunModal(HWND owner, int templateId) {
    paintFailed_ = false;
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner,
                                           &ModalDialog::Procedure, reinterpret_cast<LPARAM>(this));
    dlg_ = nullptr;
    // The controls that used them are gone now.
    fonts_.clear();
    bitmaps_.clear();
    return result;
}

ModalDialog* ModalDialog::FromHandle(HWND dlg) {
    return dlg ? reinterpret_cast<ModalDialog*>(GetWindowLongPtrA(dlg, DWLP_USER)) : nullptr;
}

INT_PTR ModalDialog::HandleMessage(UINT, WPARAM, LPARAM) {
    return FALSE;
}

void ModalDialog::Failed(UINT msg, std::string_view what) {
    if (msg == WM_PAINT) {
        // A box over the dialog makes it paint, and fail, again.
        if (paintFailed_) return;
        paintFailed_ = true;
    }
    ReportUnhandled(dlg_, what);
}

HWND ModalDialog::TakePlace(int id, const std::function<HWND(RECT)>& make) {
    HWND placeholder = GetDlgItem(dlg_, id);
    if (!placeholder) return nullptr;
    RECT bounds{};
    GetWindowRect(placeholder, &bounds);
    MapWindowPoints(nullptr, dlg_, reinterpret_cast<POINT*>(&bounds), 2);
    HWND made = make(bounds);
    // Right behind the placeholder in the z-order, which is the order of the Tab key.
    if (made) SetWindowPos(made, placeholder, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DestroyWindow(placeholder);
    return made;
}

HFONT ModalDialog::Keep(UniqueFont font) {
    fonts_.push_back(std::move(font));
    return fonts_.back().get();
}

HBITMAP ModalDialog::Keep(UniqueBitmap bitmap) {
    bitmaps_.push_back(std::move(bitmap));
    return bitmaps_.back().get();
}

INT_PTR CALLBACK ModalDialog::Procedure(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    ModalDialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<ModalDialog*>(lp);
        self->dlg_ = dlg;
        SetWindowLongPtrA(dlg, DWLP_USER, lp);
    } else {
        self = FromHandle(dlg);
    }
    if (!self) return FALSE;
    std::optional<std::string> failure;
    try {
        if (msg == WM_INITDIALOG) {
            self->OnInit();
            return TRUE;
        }
        return self->HandleMessage(msg, wp, lp);
    } catch (...) {
        failure = CurrentFailureText();
    }
    if (msg == WM_PAINT) ValidateRect(dlg, nullptr);
    try {
        self->Failed(msg, *failure);
    } catch (...) {
    }
    return msg == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace mvpr::win
