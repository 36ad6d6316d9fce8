#ifndef MVPR_TESTS_WIN_FORMFIXTURE_H
#define MVPR_TESTS_WIN_FORMFIXTURE_H

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "FormProbe.h"
#include "app/FormSelect.h"
#include "win/MessageBox.h"
#include "ScopedSeam.h"

namespace mvpr::test {

// Records every message box and answers them in turn (OK / the next queued answer).
class BoxRecorder {
  public:
    BoxRecorder() = default;
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;

    std::vector<win::MessageRequest> boxes;
    std::vector<win::MsgAnswer> answers;

  private:
    ScopedSeam<&win::SetMessageSeam> seam_{[this](const win::MessageRequest& r) {
        boxes.push_back(r);
        if (answers.empty())
            return r.buttons == win::MsgButtons::Ok ? win::MsgAnswer::Ok : win::MsgAnswer::Cancel;
        const auto a = answers.front();
        answers.erase(answers.begin());
        return a;
    }};
};

// A main window in a temporary program folder with its own registry keys.
class FormTest : public ::testing::Test {
  protected:
    void SetUp() override {}
    void TearDown() override {
        form.reset();
        Pump();
    }

    // Creates and first shows the window; adjust `config` before.
    void Open() {
        config.places.programDir = dir.path();
        config.places.registryPrefix = registry.prefix();
        config.isMainWindow = false;
        // The first start backs up the machine's logo.sys in the drive root, which tests running
        // beside this one install over for a while: it is read while none of them holds it.
        const DriveRootLock settled;
        form = std::make_unique<TFormSelect>(config);
        ASSERT_NE(form->CreateForm(), nullptr);
        form->Show(SW_SHOWNOACTIVATE);
        Pump();
    }

    // The window's state and handlers as the tests reach them.
    FormSelectProbe Probe() const { return FormSelectProbe(*form); }

    void Click(ScreenCategory c) {
        SendMessageA(Probe().ButtonOf(c).hwnd(), BM_CLICK, 0, 0);
        Pump();
    }
    // A key as the event loop sees it: posted to the focused control, then through the loop's share.
    void PressKey(HWND focus, UINT vk, bool ctrl = false) {
        SetFocus(focus);
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageA(focus, WM_KEYDOWN, vk, 1);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (form->PreTranslateMessage(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    }
    std::string Text(SelectCtl id) { return WindowText(form->Control(id)); }
    bool Visible(HWND h) { return (GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) != 0; }
    bool Visible(SelectCtl id) { return Visible(form->Control(id)); }
    bool Enabled(SelectCtl id) { return IsWindowEnabled(form->Control(id)) != FALSE; }

    TempDir dir;
    RegistrySandbox registry;
    BoxRecorder boxes;
    FormSelectConfig config;
    std::unique_ptr<TFormSelect> form;
};

}  // namespace mvpr::test

#endif
