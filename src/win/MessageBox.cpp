#include "win/MessageBox.h"

#include <utility>

namespace mvpr::win {

namespace {
MessageSeam& Seam() {
    static MessageSeam seam;
    return seam;
}

UINT IconOf(MsgKind kind) {
    switch (kind) {
        case MsgKind::Warning: return MB_ICONWARNING;
        case MsgKind::Error: return MB_ICONERROR;
        case MsgKind::Information: return MB_ICONINFORMATION;
        case MsgKind::Confirmation: return MB_ICONQUESTION;
    }
    return 0;
}

UINT ButtonsOf(MsgButtons b) {
    switch (b) {
        case MsgButtons::Ok: return MB_OK;
        case MsgButtons::YesNo: return MB_YESNO;
        case MsgButtons::YesNoCancel: return MB_YESNOCANCEL;
    }
    return MB_OK;
}

MsgAnswer AnswerOf(int id) {
    switch (id) {
        case IDOK: return MsgAnswer::Ok;
        case IDYES: return MsgAnswer::Yes;
        case IDNO: return MsgAnswer::No;
        case IDCANCEL: return MsgAnswer::Cancel;
        default: return MsgAnswer::None;
    }
}
}  // namespace

std::string_view KindTitle(MsgKind kind) {
    switch (kind) {
        case MsgKind::Warning: return "Warning";
        case MsgKind::Error: return "Error";
        case MsgKind::Information: return "Information";
        case MsgKind::Confirmation: return "Confirm";
    }
    return {};
}

MsgAnswer ShowMessage(HWND owner, MsgKind kind, std::string_view text, MsgButtons buttons,
                      MessageCaption caption) {
    MessageRequest req{
        owner,
        kind,
        std::string(text),
        buttons,
        std::string(caption == MessageCaption::ApplicationTitle ? kApplicationTitle : KindTitle(kind)),
        IconOf(kind) | ButtonsOf(buttons) | (owner ? 0u : MB_TASKMODAL)};
    if (Seam()) return Seam()(req);
    return AnswerOf(MessageBoxA(owner, req.text.c_str(), req.caption.c_str(), req.type));
}

MessageSeam SetMessageSeam(MessageSeam seam) {
    return std::exchange(Seam(), std::move(seam));
}

}  // namespace mvpr::win
