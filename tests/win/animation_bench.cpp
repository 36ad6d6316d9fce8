// Not a test: what one frame of a screen's colour animation costs against a plain redraw of the
// same picture, at the preview panel's size and the full screen's. Prints the figures; run it under
// Wine (or on Windows) by hand: animation_bench.exe [frames]
#include <cstdio>
#include <cstdlib>

#include "imaging/ColourAnimation_win.h"
#include "imaging/ScreenRule.h"

using namespace mvpr;

namespace {
ColourAnimation* g_animation = nullptr;

LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        if (g_animation) g_animation->Paint(dc, 0, 0);
        EndPaint(h, &ps);
        return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;
    return DefWindowProcA(h, msg, wp, lp);
}

Picture StockLike() {
    Picture p = *Picture::Create(kScreenWidth, kScreenHeight, 8);
    for (int i = 0; i < 256; ++i)
        p.Palette()[static_cast<std::size_t>(i)] =
            Bgra{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 3),
                 static_cast<std::uint8_t>(255 - i), 0};
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x)
            p.Row(y)[x] = static_cast<std::uint8_t>(y >= 380 ? 236 + (x / 4) % 20 : (x + y) % 236);
    return p;
}

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b, LARGE_INTEGER f) {
    return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

// Waits until the display has taken everything drawn so far.
void Sync(HWND h) {
    GdiFlush();
    HDC dc = GetDC(h);
    GetPixel(dc, 0, 0);
    ReleaseDC(h, dc);
}
}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(10, std::atoi(argv[1])) : 300;
    WNDCLASSA wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "AnimationBench";
    RegisterClassA(&wc);
    const Picture screen = StockLike();
    const SIZE sizes[] = {{160, 100}, {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}};
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    for (const SIZE s : sizes) {
        HWND h = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, s.cx, s.cy,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        ColourAnimation animation;
        g_animation = &animation;
        if (!animation.Load(screen, ColourCycle{236}, s.cx, s.cy)) return 1;
        animation.Play(h);  // its timer is never dispatched here: only the loops below draw
        UpdateWindow(h);
        Sync(h);
        double redraw = 1e9, frame = 1e9;
        for (int round = 0; round < 3; ++round) {  // the best of three, against other load
            LARGE_INTEGER a, b, c;
            QueryPerformanceCounter(&a);
            for (int i = 0; i < frames; ++i) {
                InvalidateRect(h, nullptr, FALSE);
                UpdateWindow(h);
            }
            Sync(h);
            QueryPerformanceCounter(&b);
            for (int i = 0; i < frames; ++i) animation.Step();
            Sync(h);
            QueryPerformanceCounter(&c);
            redraw = std::min(redraw, Seconds(a, b, f) / frames);
            frame = std::min(frame, Seconds(b, c, f) / frames);
        }
        std::printf("%ldx%ld%s: plain redraw %.3f ms, animation frame %.3f ms, ratio %.2f\n", s.cx, s.cy,
                    animation.UsesPaletteManager() ? " (palette manager)" : "", redraw * 1e3, frame * 1e3,
                    frame / redraw);
        g_animation = nullptr;
        animation.Clear();
        DestroyWindow(h);
    }
    return 0;
}
