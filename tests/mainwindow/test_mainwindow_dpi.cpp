// The real main window moved between display scales by WM_DPICHANGED, as
// Windows sends it when the window reaches a monitor of another scale: the
// window, the controls, their fonts and skin pictures follow, the mouse rules
// use the scaled rectangles, and back at 96 DPI everything is as it was.
#include "tests/mainwindow/MainWindowStart.h"
#include "app/PictureKinds.h"
#include "app/uMain.h"
#include "platform/FileIO.h"
#include "png/PngGraphic.h"
#include "ui/Application.h"
#include "ui/DisplayDpi.h"
#include "ui/RgbaPicture.h"

#include <gtest/gtest.h>
#include <richedit.h>

#include <map>

namespace tabulon {

// Found by argument-dependent lookup from inside the test macros.
bool operator==(const TRect& a, const TRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
void PrintTo(const TRect& r, std::ostream* out) {
    *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace {

class MainWindowScale : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        CreateMainWindow();
        MainFrm->Show();
    }
    void TearDown() override { MoveTo(96, 100, 100); }

    // What Windows sends: the new DPI twice, and a suggested rectangle.
    static void MoveTo(int dpi, int left, int top) {
        RECT suggested{left, top, left + 584 * dpi / 96, top + 382 * dpi / 96};
        ::SendMessageW(MainFrm->Handle(), kWmDpiChanged, MAKEWPARAM(dpi, dpi),
                       reinterpret_cast<LPARAM>(&suggested));
    }
    static RECT WindowRect() {
        RECT r;
        ::GetWindowRect(MainFrm->Handle(), &r);
        return r;
    }
    static LRESULT Send(UINT msg, WPARAM keys, int x, int y) {
        return ::SendMessageW(MainFrm->Handle(), msg, keys, MAKELPARAM(x, y));
    }
    static TRect Bounds(const TControl* c) { return c->BoundsRect(); }
    // The editor's default character height in twips (1/1440 inch at the
    // screen's 96 DPI here: a pixel is 15 twips).
    static LONG EditorFontTwips() {
        CHARFORMAT2W format{};
        format.cbSize = sizeof(format);
        ::SendMessageW(MainFrm->rdtMain->Handle(), EM_GETCHARFORMAT, SCF_DEFAULT,
                       reinterpret_cast<LPARAM>(&format));
        return format.yHeight;
    }
    static std::map<std::string, TRect> AllBounds() {
        std::map<std::string, TRect> all;
        for (TControl* c : std::initializer_list<TControl*>{MainFrm->shpBG,
                                                            MainFrm->imgBG,
                                                            MainFrm->imgLogo,
                                                            MainFrm->img_close_normal,
                                                            MainFrm->img_close_highlight,
                                                            MainFrm->img_close_down,
                                                            MainFrm->img_mini_normal,
                                                            MainFrm->img_mini_highlight,
                                                            MainFrm->img_mini_down,
                                                            MainFrm->lblDateTime,
                                                            MainFrm->lblSet,
                                                            MainFrm->imgAppToDesk,
                                                            MainFrm->btn4,
                                                            MainFrm->btn3,
                                                            MainFrm->pnlLeft,
                                                            MainFrm->shpLeft,
                                                            MainFrm->imgAddToDesk,
                                                            MainFrm->pnlWeb,
                                                            MainFrm->pngRight,
                                                            MainFrm->shpRight,
                                                            MainFrm->rdtMain})
            all[c->Name()] = c->BoundsRect();
        return all;
    }
};

TEST_F(MainWindowScale, At144DpiEverythingIsOneAndAHalfTimesAsLarge) {
    ASSERT_EQ(MainFrm->Dpi(), 96) << "the test prefix runs at 96 DPI";
    MoveTo(144, 40, 30);
    EXPECT_EQ(MainFrm->Dpi(), 144);
    const RECT r = WindowRect();
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right - r.left, 876);
    EXPECT_EQ(r.bottom - r.top, 573);
    // Worked out by hand: edges times 1.5, halves rounded up.
    EXPECT_EQ(Bounds(MainFrm->shpBG), (TRect{0, 0, 876, 573}));
    EXPECT_EQ(Bounds(MainFrm->imgBG), (TRect{2, 2, 875, 572}));
    EXPECT_EQ(Bounds(MainFrm->img_close_normal), (TRect{816, 2, 875, 32}));
    EXPECT_EQ(Bounds(MainFrm->img_close_highlight), (TRect{816, 2, 875, 32}));
    EXPECT_EQ(Bounds(MainFrm->img_mini_normal), (TRect{773, 2, 815, 32}));
    EXPECT_EQ(Bounds(MainFrm->img_mini_highlight), (TRect{771, 2, 813, 32}));
    EXPECT_EQ(Bounds(MainFrm->imgLogo), (TRect{15, 29, 315, 114}));
    EXPECT_EQ(Bounds(MainFrm->pngRight), (TRect{324, 120, 866, 554}));
    EXPECT_EQ(Bounds(MainFrm->rdtMain), (TRect{3, 2, 540, 432}));
    EXPECT_EQ(MainFrm->shpBG->PenWidth, 2);
    // Windows of their own moved with them.
    RECT editor;
    ::GetWindowRect(MainFrm->rdtMain->Handle(), &editor);
    EXPECT_EQ(editor.right - editor.left, 537);
    EXPECT_EQ(editor.left - r.left, 327);
    // Fonts: the editor's 15 px asks for 22.5, rounded to 23; the labels grew.
    EXPECT_NEAR(EditorFontTwips(), 23 * 15, 10);
    EXPECT_EQ(MainFrm->lblSet->Font().height, 18);
    EXPECT_GT(MainFrm->lblSet->Height(), 12 * 3 / 2 - 1);
    EXPECT_EQ(MainFrm->lblSet->Left(), 657);
    // The browser draws its page at the system's 96 DPI: zoomed to the monitor's.
    EXPECT_EQ(MainFrm->webLink.Zoom(), 150);
    MoveTo(120, 40, 30);
    EXPECT_EQ(MainFrm->webLink.Zoom(), 125);
}

TEST_F(MainWindowScale, SkinPicturesUseTheirVariantOrAreResampledToTheBox) {
    MoveTo(144, 40, 30);
    // The 150 % caption picture fits its box exactly and is the stored PNG.
    const TGraphic* close = MainFrm->img_close_normal->Picture().Graphic();
    ASSERT_NE(close, nullptr);
    EXPECT_NE(dynamic_cast<const TPngGraphic*>(close), nullptr);
    EXPECT_EQ(close->Width(), 59);
    EXPECT_EQ(close->Height(), 30);
    // The logo's box is 300 x 85, its variant 300 x 86: resampled to the box.
    const TGraphic* logo = MainFrm->imgLogo->Picture().Graphic();
    ASSERT_NE(logo, nullptr);
    EXPECT_NE(dynamic_cast<const TRgbaPicture*>(logo), nullptr);
    EXPECT_EQ(logo->Width(), 300);
    EXPECT_EQ(logo->Height(), 85);

    MoveTo(120, 40, 30);
    // 125 %: between the stored sizes, the larger one is shrunk to the box.
    close = MainFrm->img_close_normal->Picture().Graphic();
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(Bounds(MainFrm->img_close_normal), (TRect{680, 1, 729, 26}));
    EXPECT_EQ(close->Width(), 49);
    EXPECT_EQ(close->Height(), 25);
    const auto* rgba = dynamic_cast<const TRgbaPicture*>(close);
    ASSERT_NE(rgba, nullptr);
    EXPECT_TRUE(rgba->Transparent()) << "the caption picture keeps its alpha";
    // The flat background stays one flat colour through the resampling.
    const auto* bg = dynamic_cast<const TRgbaPicture*>(MainFrm->imgBG->Picture().Graphic());
    ASSERT_NE(bg, nullptr);
    EXPECT_EQ(bg->Width(), 728); // 1.25 .. 728.75
    for (size_t i = 0; i < bg->Pixels().size(); i += 4 * 997)
        ASSERT_EQ(bg->Pixels()[i] * 65536 + bg->Pixels()[i + 1] * 256 + bg->Pixels()[i + 2],
                  0xD8E3F3);
}

TEST_F(MainWindowScale, TheMouseRulesUseTheScaledRectangles) {
    MoveTo(192, 10, 10);
    // (1140, 20) lies in the close button at 200 % (1088 .. 1166), far outside
    // the 96-DPI window.
    Send(WM_MOUSEMOVE, 0, 900, 20);
    Send(WM_MOUSEMOVE, 0, 1140, 20);
    EXPECT_TRUE(MainFrm->img_close_highlight->Visible());
    Send(WM_MOUSEMOVE, 0, 1060, 20); // the minimise button: 1030 .. 1086
    EXPECT_TRUE(MainFrm->img_mini_highlight->Visible());
    EXPECT_FALSE(MainFrm->img_close_highlight->Visible());
    Send(WM_MOUSEMOVE, 0, 900, 20);
    EXPECT_TRUE(MainFrm->img_mini_normal->Visible());
}

TEST_F(MainWindowScale, BackAt96DpiEveryControlIsWhereItWas) {
    const auto before = AllBounds();
    const RECT windowBefore = WindowRect();
    MoveTo(168, windowBefore.left, windowBefore.top);
    EXPECT_EQ(WindowRect().right - WindowRect().left, 1022);
    EXPECT_EQ(MainFrm->webLink.Zoom(), 175);
    MoveTo(96, windowBefore.left, windowBefore.top);
    EXPECT_EQ(MainFrm->webLink.Zoom(), 100);
    const auto after = AllBounds();
    for (const auto& [name, bounds] : before)
        EXPECT_TRUE(after.at(name) == bounds) << name;
    const RECT r = WindowRect();
    EXPECT_EQ(r.right - r.left, 584);
    EXPECT_EQ(r.bottom - r.top, 382);
    EXPECT_EQ(MainFrm->shpBG->PenWidth, 1);
    EXPECT_NEAR(EditorFontTwips(), 15 * 15, 10);
    const TGraphic* close = MainFrm->img_close_normal->Picture().Graphic();
    ASSERT_NE(dynamic_cast<const TPngGraphic*>(close), nullptr);
    EXPECT_EQ(close->Width(), 39);
}

} // namespace
} // namespace tabulon

namespace tabulon {
namespace {

int positionChanges = 0;

LRESULT CALLBACK CountPositionChanges(int code, WPARAM wp, LPARAM lp) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && sent->hwnd == MainFrm->Handle() &&
        sent->message == WM_WINDOWPOSCHANGED)
        ++positionChanges;
    return ::CallNextHookEx(nullptr, code, wp, lp);
}

// A resize and then a move could leave the window straddling two monitors in
// between, and Windows would move it back: one move only, to the suggested
// rectangle, whose size the window gave when asked.
TEST_F(MainWindowScale, TakesTheSuggestedRectangleInOneMove) {
    SIZE asked{};
    ::SendMessageW(MainFrm->Handle(), kWmGetDpiScaledSize, 192, reinterpret_cast<LPARAM>(&asked));
    EXPECT_EQ(asked.cx, 1168);
    EXPECT_EQ(asked.cy, 764);
    HHOOK hook =
        ::SetWindowsHookExW(WH_CALLWNDPROC, &CountPositionChanges, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    positionChanges = 0;
    MoveTo(192, 200, 150);
    ::UnhookWindowsHookEx(hook);
    EXPECT_EQ(positionChanges, 1);
    const RECT r = WindowRect();
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.top, 150);
    EXPECT_EQ(r.right - r.left, 1168);
}

} // namespace
} // namespace tabulon
