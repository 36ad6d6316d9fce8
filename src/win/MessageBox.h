#ifndef MVPR_WIN_MESSAGEBOX_H
#define MVPR_WIN_MESSAGEBOX_H

#include <functional>
#include <string>
#include <string_view>

#include "win/Texts.h"
#include "win/Win32.h"

namespace mvpr::win {

// The four kinds of box; each has its standard title and icon.
enum class MsgKind { Warning, Error, Information, Confirmation };
enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgAnswer { None, Ok, Yes, No, Cancel };
// Boxes of the general error handler carry the application title instead of the kind's.
enum class MessageCaption { Kind, ApplicationTitle };

struct MessageRequest {
    HWND owner;
    MsgKind kind;
    std::string text;
    MsgButtons buttons;
    std::string caption;
    UINT type;  // the MessageBoxA flags the box is shown with
};

std::string_view KindTitle(MsgKind kind);

// Every box of the program goes through here.
MsgAnswer ShowMessage(HWND owner, MsgKind kind, std::string_view text, MsgButtons buttons,
                      MessageCaption caption = MessageCaption::Kind);

// Tests answer the boxes themselves: while a seam is set, it is called instead of MessageBoxA.
using MessageSeam = std::function<MsgAnswer(const MessageRequest&)>;
MessageSeam SetMessageSeam(MessageSeam seam);  // returns the seam it replaces

}  // namespace mvpr::win

#endif
