// The program's entry: splash, main window, event loop.
#include <memory>
#include <string>
#include <vector>

#include "app/AboutBox.h"
#include "app/FormOpstartScherm.h"
#include "app/FormSelect.h"
#include "imaging/PixelPath_win.h"
#include "system/ProgramInfo_win.h"
#include "app/FormPreview.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    using namespace mvpr;
    DecidePixelPath();  // before any picture is scaled
    // The splash is on screen before anything else is loaded.
    auto splash = std::make_unique<TFormOpstartScherm>();
    splash->CreateForm(GetExePath());
    splash->ShowAndPaint();

    FormSelectConfig config;
    for (int i = 1; i < __argc; ++i) config.parameters.emplace_back(__argv[i]);
    TFormSelect form(std::move(config));
    if (!form.CreateForm()) return 1;
    form.Show(showCommand);  // FormShow loads settings and lists, the splash still showing
    std::unique_ptr<TAboutBox> about;
    TFormPreview preview(form);
    if (!form.Terminated()) {
        form.SetVersionTexts(splash->VersionText(), splash->BuildText());
        if (preview.CreateForm()) form.SetFullScreenPreview([&preview] { preview.ShowPreview(); });
        about = std::make_unique<TAboutBox>(form.VersionText(), form.BuildText());
        form.SetAboutBox(about.get());
    }
    splash->Close();
    splash.reset();
    if (form.Terminated()) return 0;

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (preview.PreTranslateMessage(msg) || form.PreTranslateMessage(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
