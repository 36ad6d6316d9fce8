#include <vector>

#include "FormFixture.h"
#include "app/PreviewTexts.h"
#include "imaging/BmpCodec.h"
#include "app/FormPreview.h"
#include "imaging/ScreenConverter.h"
#include "imaging/ScreenRule.h"

namespace mvpr::test {
namespace {

constexpr int kFirst = 236;

// A screen like the stock one: a still picture, a bar of cycling entries along the bottom and a
// few cycling dots above it. Neighbouring cycling entries differ, so every frame changes each
// cycling pixel.
Picture AnimatedScreen() {
    Picture p = *Picture::Create(kScreenWidth, kScreenHeight, 8);
    for (int i = 0; i < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        p.Palette()[static_cast<std::size_t>(i)] =
            i < kFirst ? Bgra{v, static_cast<std::uint8_t>(v / 2), static_cast<std::uint8_t>(255 - v), 0}
                       : Bgra{static_cast<std::uint8_t>((i - kFirst) * 12),
                              static_cast<std::uint8_t>(i % 2 ? 255 : 0),
                              static_cast<std::uint8_t>(255 - (i - kFirst) * 12), 0};
    }
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x)
            p.Row(y)[x] = static_cast<std::uint8_t>(y >= 380                   ? kFirst + (x / 4) % 20
                                                    : x % 40 < 8 && y % 40 < 8 ? 250
                                                                               : (x + y) % kFirst);
    return p;
}

// What a window shows, read back from the screen.
std::vector<COLORREF> Shown(HWND window, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    win::UniqueBitmap dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    win::UniqueDc memory(CreateCompatibleDC(nullptr));
    win::Selected keep(memory.get(), dib.get());
    HDC dc = GetDC(window);
    BitBlt(memory.get(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    GdiFlush();
    const auto* px = static_cast<const std::uint32_t*>(bits);
    std::vector<COLORREF> out(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = px[i] & 0xFFFFFF;  // 0x00RRGGBB
    return out;
}

// Steps the animation frame by frame through its test hook and checks what the window shows:
// each pixel is the current colour of the entry nearest-neighbour scaling gives it, and from
// one frame to the next exactly the pixels of cycling entries change.
void CheckFrames(HWND window, ColourAnimation& animation, const Picture& screen, int frames) {
    const int w = animation.Width(), h = animation.Height();
    RECT client{};
    GetClientRect(window, &client);
    ASSERT_EQ(client.right, w);
    ASSERT_EQ(client.bottom, h);
    auto entry = [&](int x, int y) {
        return screen.Row(NearestSource(y, h, screen.Height()))[NearestSource(x, w, screen.Width())];
    };
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    std::vector<COLORREF> before = Shown(window, w, h);
    for (int f = 0; f <= frames; ++f) {
        SCOPED_TRACE("frame " + std::to_string(animation.Frame()));
        std::size_t wrong = 0, changed = 0, stillChanged = 0, cycling = 0;
        const std::vector<COLORREF> now = f == 0 ? before : Shown(window, w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::size_t i =
                    static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x);
                const int e = entry(x, y);
                const Bgra c = animation.Colours()[static_cast<std::size_t>(e)];
                wrong += now[i] != static_cast<COLORREF>(c.r << 16 | c.g << 8 | c.b);
                cycling += e >= kFirst;
                if (now[i] != before[i]) (e >= kFirst ? changed : stillChanged)++;
            }
        EXPECT_EQ(wrong, 0u);
        EXPECT_EQ(stillChanged, 0u);
        if (f > 0) {
            EXPECT_EQ(changed, cycling);
        }
        before = now;
        animation.Step();
    }
}

class Animation : public FormTest {
  protected:
    void SetUp() override {
        Open();
        SetWindowPos(form->hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        preview = std::make_unique<TFormPreview>(*form);
        ASSERT_NE(preview->CreateForm(), nullptr);
        form->SetFullScreenPreview([this] { preview->ShowPreview(); });
    }
    void TearDown() override {
        preview.reset();
        FormTest::TearDown();
    }
    void Command(HWND to, int id) {
        SendMessageA(to, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        Pump();
    }
    // Lists the file in a category and selects it, so the panel previews it.
    void Preview(ScreenCategory c, const std::vector<std::uint8_t>& file) {
        Click(c);
        const std::string pics = dir / "pics";
        CreateDirectoryA(pics.c_str(), nullptr);
        ASSERT_TRUE(WriteFile(pics + "\\logo.bmp", std::string(file.begin(), file.end())));
        Probe().ListOf(c).AddMany({{"logo.bmp", pics, "Centred", false}});
        Probe().ViewOf(c).Sync();
        ListView_SetItemState(Probe().ViewOf(c).hwnd(), 0, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        Pump();
    }
    std::unique_ptr<TFormPreview> preview;
};

TEST_F(Animation, AnAnimatedScreenPlaysInThePanelAndFullScreenUntilSwitchedOff) {
    const Picture screen = AnimatedScreen();
    Preview(ScreenCategory::Start, *EncodeScreen(screen, ColourCycle{kFirst}));
    ColourAnimation& panel = Probe().PreviewAnimation();
    ASSERT_TRUE(panel.Loaded());
    EXPECT_TRUE(panel.Playing());
    form->SizeClick();
    ASSERT_FALSE(boxes.boxes.empty());
    EXPECT_EQ(boxes.boxes.back().text,
              "Size : 320 X 400\n\rBits per pixel : 8\n\rAnimated : colours 236 to 255\n\r");
    {
        SCOPED_TRACE("panel");
        CheckFrames(form->Control(SelectCtl::ImgPreview), panel, screen, 3);
    }

    Command(form->hwnd(), IDM_FULLSCREENPREVIEW2);
    ColourAnimation& full = preview->Animation();
    ASSERT_TRUE(full.Loaded());
    EXPECT_TRUE(full.Playing());
    {
        SCOPED_TRACE("full screen");
        CheckFrames(preview->ImgPreview(), full, screen, 2);
    }
    Command(preview->hwnd(), IDM_RETURNTOMAIN1);

    // Switched off, the panel and the full-screen window show the still picture.
    Command(form->hwnd(), IDM_PLAYANIMATIONS1);
    EXPECT_FALSE(form->PlayAnimations());
    EXPECT_FALSE(panel.Loaded());
    Command(form->hwnd(), IDM_FULLSCREENPREVIEW2);
    EXPECT_FALSE(full.Loaded());
    Command(preview->hwnd(), IDM_RETURNTOMAIN1);
    Command(form->hwnd(), IDM_PLAYANIMATIONS1);
    EXPECT_TRUE(panel.Loaded());

    // The wallpaper category never animates; a still screen does not either.
    Click(ScreenCategory::Wall);
    EXPECT_FALSE(panel.Loaded());
    Preview(ScreenCategory::Wait, *EncodeScreen(screen, std::nullopt));
    EXPECT_FALSE(panel.Loaded());
    boxes.boxes.clear();
    form->SizeClick();
    ASSERT_FALSE(boxes.boxes.empty());
    EXPECT_EQ(boxes.boxes.back().text, "Size : 320 X 400\n\rBits per pixel : 8\n\r");
}

}  // namespace
}  // namespace mvpr::test
