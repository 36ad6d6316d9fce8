// Failures inside painting: the paint always ends, no box comes from inside it, and the general
// error handler shows each failure once, after the paint.
#include <gtest/gtest.h>

#include <stdexcept>

#include "FormFixture.h"
#include "win/Window.h"

namespace mvpr::test {
namespace {

class FailingPainter : public win::Window {
  public:
    HWND Make() {
        RegisterClassOnce("MVPRTestFailingPainter", 0, GetSysColorBrush(COLOR_WINDOW));
        return Create("MVPRTestFailingPainter", "", WS_POPUP | WS_VISIBLE, 0, 0, 0, 50, 50, nullptr, nullptr);
    }
    std::string failure = "paint broke";
    bool viaSend = false;  // fail in a message the paint sends
    int paints = 0;
    std::size_t boxesDuringPaint = 0;
    BoxRecorder* boxes = nullptr;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_PAINT)
            return PaintWith([this](HDC) {
                ++paints;
                if (viaSend) SendMessageA(hwnd(), WM_USER + 7, 0, 0);
                boxesDuringPaint = boxes->boxes.size();
                if (!viaSend) throw std::runtime_error(failure);
            });
        if (msg == WM_USER + 7) throw std::runtime_error(failure);
        return Default(msg, wp, lp);
    }
};

TEST(Painting, AFailureEndsThePaintAndIsReportedOnceAfterIt) {
    BoxRecorder boxes;
    for (const bool viaSend : {false, true}) {
        boxes.boxes.clear();
        FailingPainter w;
        w.boxes = &boxes;
        w.viaSend = viaSend;
        w.failure = viaSend ? "sent while painting" : "paint broke";
        ASSERT_TRUE(w.Make());
        for (int round = 0; round < 3; ++round) {
            InvalidateRect(w.hwnd(), nullptr, FALSE);
            UpdateWindow(w.hwnd());
            RECT still{};
            EXPECT_FALSE(GetUpdateRect(w.hwnd(), &still, FALSE)) << "the paint was ended";
            EXPECT_EQ(w.boxesDuringPaint, round == 0 ? 0u : 1u) << "no box from inside the paint";
            Pump();
        }
        EXPECT_EQ(w.paints, 3);
        ASSERT_EQ(boxes.boxes.size(), 1u) << viaSend;
        EXPECT_EQ(boxes.boxes[0].text, w.failure);
        EXPECT_EQ(boxes.boxes[0].kind, win::MsgKind::Error);
    }
}

}  // namespace
}  // namespace mvpr::test
