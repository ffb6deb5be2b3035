// The window under the user's colour scheme: in a high-contrast theme, black or white, every
// part of ours draws in the scheme's pairs; on a dark scheme no text of the form's colours
// reads below 4.5 : 1; a change of scheme while the window is open reaches the screen at
// once, leaks nothing, and coming back to the default draws exactly what it drew before.
#include <array>
#include <optional>
#include <utility>

#include "tests/unit/PictureTestImages.h"
#include "tests/win/SuperBtnSupport.h"
#include "ui/system/ColourContrast.h"
#include "ui/Testing.h"

namespace qelvane::wintest {
namespace {

constexpr std::array kElements = {COLOR_BTNFACE,  COLOR_BTNTEXT,   COLOR_GRAYTEXT,    COLOR_HIGHLIGHT,
                                  COLOR_HIGHLIGHTTEXT, COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNSHADOW,
                                  COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_HOTLIGHT};
using Colours = std::array<COLORREF, kElements.size()>;

// Windows' own "High Contrast Black" and "High Contrast White", and a dark scheme of the kind
// Wine users set, without high contrast.
constexpr Colours kContrastBlack = {RGB(0, 0, 0),       RGB(255, 255, 255), RGB(63, 242, 0),   RGB(26, 235, 255),
                                    RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255), RGB(128, 128, 128),
                                    RGB(255, 255, 255), RGB(192, 192, 192), RGB(255, 255, 255), RGB(255, 255, 0)};
constexpr Colours kContrastWhite = {RGB(255, 255, 255), RGB(0, 0, 0),       RGB(96, 0, 0),     RGB(55, 0, 110),
                                    RGB(255, 255, 255), RGB(255, 255, 255), RGB(0, 0, 0),      RGB(128, 128, 128),
                                    RGB(0, 0, 0),       RGB(192, 192, 192), RGB(0, 0, 0),      RGB(0, 0, 159)};
constexpr Colours kDark = {RGB(32, 32, 32),    RGB(230, 230, 230), RGB(140, 140, 140), RGB(0, 90, 180),
                           RGB(255, 255, 255), RGB(24, 24, 24),    RGB(230, 230, 230), RGB(16, 16, 16),
                           RGB(80, 80, 80),    RGB(56, 56, 56),    RGB(0, 0, 0),       RGB(120, 170, 255)};

Colours Current() {
    Colours c{};
    for (std::size_t i = 0; i < kElements.size(); ++i) c[i] = GetSysColor(kElements[i]);
    return c;
}

constexpr COLORREF Face(const Colours& c) { return c[0]; }
constexpr COLORREF Text(const Colours& c) { return c[1]; }

int Count(const Rendered& r, COLORREF colour) {
    int n = 0;
    for (COLORREF p : r.pixels) n += p == colour;
    return n;
}

// The highest contrast of any pixel against `background`: what the eye gets of the text.
double BestContrast(const Rendered& r, COLORREF background) {
    double best = 1.0;
    for (COLORREF p : r.pixels) best = std::max(best, ContrastRatio(p, background));
    return best;
}

// A part of the window's client area as it is on screen.
Rendered Part(HWND window, HWND part) {
    const Rendered all = OnScreen(window);
    RECT r;
    GetWindowRect(part, &r);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
    Rendered out;
    out.width = r.right - r.left;
    out.height = r.bottom - r.top;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) out.pixels.push_back(all.At(x, y));
    return out;
}

class ColourSchemeTest : public MainWindowTest {
protected:
    void SetUp() override {
        saved_ = Current();
        MainWindowTest::SetUp();
        if (HasFatalFailure()) return;
        SetForegroundWindow(Main());
        ParkPointer();
        Pump();
    }
    void TearDown() override {
        Apply(saved_, false);
        testing::ForceHighContrast(std::nullopt);
        MainWindowTest::TearDown();
    }

    // The system colours set as the user's settings dialog does (the window hears of it by
    // WM_SYSCOLORCHANGE), and high contrast on or off.
    void Apply(const Colours& colours, bool highContrast) {
        testing::ForceHighContrast(highContrast);
        SetSysColors(static_cast<int>(kElements.size()), kElements.data(), colours.data());
        Pump();
    }

    // What the radio box is told to draw with when it asks its parent.
    struct Asked {
        COLORREF text, back, brush;
    };
    Asked AskColours(HWND radio) {
        UniqueDc dc(CreateCompatibleDC(nullptr));
        const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(radio), WM_CTLCOLORBTN,
                                                                 reinterpret_cast<WPARAM>(dc.get()),
                                                                 reinterpret_cast<LPARAM>(radio)));
        LOGBRUSH lb{};
        GetObjectW(brush, sizeof lb, &lb);
        return {GetTextColor(dc.get()), GetBkColor(dc.get()), lb.lbColor};
    }

    Colours saved_{};
};

TEST_F(ColourSchemeTest, InAContrastThemeEveryPartDrawsInTheSchemesPairs) {
    SetText(kLabel, prop::label::kCaption, "价格：30元一百个微信真人粉丝");
    for (const auto& [name, scheme] : {std::pair{"black", kContrastBlack}, std::pair{"white", kContrastWhite}}) {
        SCOPED_TRACE(name);
        Apply(scheme, true);

        const Rendered label = Part(Main(), Native(kLabel));
        EXPECT_GT(Count(label, Text(scheme)), 40) << "the price in the button-text colour";
        EXPECT_GE(BestContrast(label, Face(scheme)), kMinTextContrast);

        for (const auto& page : kRadios)
            for (std::uint32_t id : page) {
                const Asked a = AskColours(Native(id));
                EXPECT_EQ(a.text, Text(scheme)) << std::hex << id;
                EXPECT_EQ(a.back, Face(scheme));
                EXPECT_EQ(a.brush, Face(scheme));
            }
        const Rendered radio = Part(Main(), Native(kRadios[0][1]));
        EXPECT_GT(Count(radio, Text(scheme)), 40) << "the caption of 单选框2 on the screen";

        // The ordering button: button text on the face, a frame round it, the red gone.
        HWND order = Native(kSuperBtn2);
        const Rendered normal = Render(order, 0);
        EXPECT_GT(Count(normal, Text(scheme)), 40);
        EXPECT_EQ(Count(normal, RGB(255, 0, 0)), 0);
        for (int y = 0; y < normal.height; ++y) {
            ASSERT_EQ(normal.At(0, y), Text(scheme)) << "left edge, row " << y;
            ASSERT_EQ(normal.At(normal.width - 1, y), Text(scheme)) << "right edge, row " << y;
        }
        EXPECT_EQ(normal.At(normal.width / 2, 2), Face(scheme));
        // Pressed: highlight text on the highlight.
        const Rendered pressed = Render(order, ODS_SELECTED);
        EXPECT_GT(Count(pressed, scheme[4]), 40);
        EXPECT_EQ(pressed.At(pressed.width / 2, 4), scheme[3]);
        // Focused: a focus line of button text three pixels in, on every side.
        const Rendered focused = Render(order, ODS_FOCUS);
        EXPECT_EQ(focused.At(focused.width / 2, 4), Text(scheme));
        EXPECT_EQ(focused.At(4, focused.height / 2), Text(scheme));
        // Disabled: the caption in grey text, not embossed.
        const Rendered disabled = Render(order, ODS_DISABLED);
        EXPECT_GT(Count(disabled, scheme[2]), 40);

        // The QQ button keeps its picture and shows its extent.
        const Rendered chat = Render(Native(kSuperBtn1), 0);
        EXPECT_EQ(chat.At(0, chat.height / 2), Text(scheme));

        // The QR code stays dark on light: its border is white, whatever the face.
        const Rendered qr = Part(Main(), Native(kPicBox));
        for (const auto& [x, y] : {std::pair{2, 2}, std::pair{qr.width - 3, 2}, std::pair{2, qr.height - 3}})
            EXPECT_GT(RelativeLuminance(qr.At(x, y)), 0.8) << x << "," << y;
    }
}

TEST_F(ColourSchemeTest, ASmallPictureSitsOnWhiteInAContrastTheme) {
    Apply(kContrastBlack, true);
    const std::vector<std::uint8_t> png = testimages::MakePng(20, 20, [](int, int) { return 0xFF000000u; });
    ByteBlockRef ref{png.data(), static_cast<std::uint32_t>(png.size())};
    SetProperty(kMainWindowId, kPicBox, prop::picbox::kPicture, -1, reinterpret_cast<std::uintptr_t>(&ref));
    Set(kPicBox, prop::picbox::kDrawMode, 2);
    Pump();
    const Rendered box = Part(Main(), Native(kPicBox));
    EXPECT_EQ(box.At(2, 2), RGB(255, 255, 255));
    EXPECT_EQ(box.At(box.width / 2, box.height / 2), RGB(0, 0, 0));
}

TEST_F(ColourSchemeTest, OnADarkSchemeNoTextReadsBelowTheMeasure) {
    SetText(kLabel, prop::label::kCaption, "价格：10元一百个微信关注");
    Apply(kDark, false);
    const Rendered label = Part(Main(), Native(kLabel));
    EXPECT_GT(Count(label, Text(kDark)), 40) << "black on a dark face gives way to the button text";
    const Asked a = AskColours(Native(kRadios[0][1]));
    EXPECT_EQ(a.text, Text(kDark));
    EXPECT_EQ(a.back, Face(kDark));
    // Red on this face is 4.1 : 1: the caption takes the button text too.
    const Rendered order = Render(Native(kSuperBtn2), 0);
    EXPECT_EQ(Count(order, RGB(255, 0, 0)), 0);
    EXPECT_GT(Count(order, Text(kDark)), 40);

    // The contrast theme's colours without the flag are a dark scheme too: red on black reads
    // 5.25 : 1 and stays, the black label text does not.
    Apply(kContrastBlack, false);
    EXPECT_GT(Count(Render(Native(kSuperBtn2), 0), RGB(255, 0, 0)), 40);
    EXPECT_GT(Count(Part(Main(), Native(kLabel)), RGB(255, 255, 255)), 40);
}

TEST_F(ColourSchemeTest, ASwitchWhileOpenReachesTheScreenAndLeaksNothing) {
    SetText(kLabel, prop::label::kCaption, "价格：10元一百个微信关注");
    Pump();
    const Rendered before = OnScreen(Main());
    Apply(kContrastBlack, true);
    Apply(saved_, false);
    // Both counts follow a whole repaint in the default scheme. Wine makes a system colour's
    // brush and pen anew at first use after each colour change, so a count taken while part of
    // the window still waits for its paint is short of those.
    const auto repainted = [&] {
        RedrawWindow(Main(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
    };
    repainted();
    const int gdi = LiveGdiObjects();
    const std::string kinds = qelvane::testing::GdiObjectKinds();
    const int brushes = LiveHandles(HandleKind::Brush), bitmaps = LiveHandles(HandleKind::Bitmap);
    for (int i = 0; i < 10; ++i) {
        Apply(i % 2 ? kDark : kContrastWhite, i % 2 == 0);
        // Each of the three messages a switch brings makes the window follow.
        SendMessageW(Main(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        SendMessageW(Main(), WM_THEMECHANGED, 0, 0);
        Pump();
    }
    Apply(kDark, false);
    EXPECT_GT(Count(Part(Main(), Native(kLabel)), Text(kDark)), 40) << "the switch reached the screen";

    Apply(saved_, false);
    EXPECT_EQ(OnScreen(Main()), before) << "back on the default scheme, the window is drawn as before";
    repainted();
    EXPECT_EQ(LiveGdiObjects(), gdi) << "before: " << kinds << "; after: " << qelvane::testing::GdiObjectKinds();
    EXPECT_EQ(LiveHandles(HandleKind::Brush), brushes);
    EXPECT_EQ(LiveHandles(HandleKind::Bitmap), bitmaps);
}

}  // namespace
}  // namespace qelvane::wintest
