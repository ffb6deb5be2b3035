// 图片框1 as built from the stored form: what it paints by draw mode, its frame
// kinds, its properties, and that replacing its picture leaks nothing.
#include <windows.h>

#include <cstdlib>
#include <vector>

#include "base/WinHandles.h"
#include "tests/unit/PictureTestImages.h"
#include "tests/win/Rendering.h"
#include "tests/win/WinTestSupport.h"
#include "ui/components/Component.h"
#include "ui/pictures/Picture.h"
#include "ui/pictures/PictureDraw.h"

namespace qelvane::wintest {
namespace {

using namespace prop::picbox;
constexpr COLORREF kGreen = RGB(0, 255, 0);  // appears nowhere in the QR code

// Pixels as 0x00RRGGBB, top row first.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

std::uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// What the box paints for WM_PRINTCLIENT, as 0x00RRGGBB.
Capture Render(HWND box) {
    const Rendered r = PrintClient(box);
    Capture c{r.width, r.height, {}};
    for (COLORREF p : r.pixels) c.pixels.push_back(Rgb(p));
    return c;
}

std::uint32_t PixelOf(const DecodedPicture& p, int x, int y) {
    const std::uint8_t* b = &p.bgra[(static_cast<std::size_t>(y) * p.width + x) * 4];
    return (std::uint32_t{b[2]} << 16) | (std::uint32_t{b[1]} << 8) | b[0];
}

// Counts pixels of `colour` inside [x0, x1) x [y0, y1).
int CountColour(const Capture& c, std::uint32_t colour, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += c.At(x, y) == colour;
    return n;
}

bool IsRed(std::uint32_t px) { return ((px >> 16) & 0xFF) > 160 && ((px >> 8) & 0xFF) < 110 && (px & 0xFF) < 110; }

class PicBoxTest : public MainWindowTest {
protected:
    HWND Box() const { return Native(kPicBox); }
    std::vector<std::uint8_t> PictureBytes() const {
        const auto* ref = reinterpret_cast<const ByteBlockRef*>(
            static_cast<std::uintptr_t>(GetProperty(kMainWindowId, kPicBox, kPicture, -1)));
        if (!ref || !ref->data) return {};
        return {ref->data, ref->data + ref->size};
    }
    void SetPicture(const std::vector<std::uint8_t>& bytes) const {
        ByteBlockRef ref{bytes.data(), static_cast<std::uint32_t>(bytes.size())};
        SetProperty(kMainWindowId, kPicBox, kPicture, -1, reinterpret_cast<std::uintptr_t>(&ref));
    }
    DecodedPicture Qr() const {
        const std::vector<std::uint8_t> bytes = PictureBytes();
        std::optional<DecodedPicture> p = DecodePicture(bytes.data(), bytes.size());
        return p ? *p : DecodedPicture{};
    }
};

TEST_F(PicBoxTest, QrCodeIsStretchedOverTheWholeBoxWithoutBorder) {
    EXPECT_EQ(Get(kPicBox, kDrawMode), 1);
    EXPECT_EQ(Get(kPicBox, kBorder), 0);
    EXPECT_EQ(GetWindowLongW(Box(), GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE), 0);
    Set(kPicBox, kBackColor, kGreen);
    const Capture c = Render(Box());
    ASSERT_EQ(c.width, 95);
    ASSERT_EQ(c.height, 95);
    EXPECT_EQ(CountColour(c, Rgb(kGreen), 0, 0, 95, 95), 0) << "the background shows through";

    // The whole code is there, scaled by 95/226: each pixel is close to the source pixel it maps onto,
    // and the three red finder squares sit near three corners.
    const DecodedPicture qr = Qr();
    ASSERT_EQ(qr.width, 226);
    long long error = 0;
    for (int y = 0; y < 95; ++y)
        for (int x = 0; x < 95; ++x) {
            const std::uint32_t want = PixelOf(qr, (2 * x + 1) * 226 / 190, (2 * y + 1) * 226 / 190);
            const std::uint32_t got = c.At(x, y);
            for (int shift : {0, 8, 16}) error += std::abs(int((want >> shift) & 0xFF) - int((got >> shift) & 0xFF));
        }
    EXPECT_LT(error / (95 * 95 * 3), 40) << "mean channel difference from the scaled-down code";
    EXPECT_TRUE(IsRed(c.At(13, 13)));
    EXPECT_TRUE(IsRed(c.At(81, 13)));
    EXPECT_TRUE(IsRed(c.At(13, 81)));
    EXPECT_FALSE(IsRed(c.At(81, 81)));
}

TEST_F(PicBoxTest, DrawModeZeroShowsTheTopLeftAtFullSize) {
    Set(kPicBox, kDrawMode, 0);
    EXPECT_EQ(Get(kPicBox, kDrawMode), 0);
    const Capture c = Render(Box());
    const DecodedPicture qr = Qr();
    ASSERT_EQ(qr.width, 226);
    int different = 0;
    for (int y = 0; y < 95; ++y)
        for (int x = 0; x < 95; ++x) different += c.At(x, y) != PixelOf(qr, x, y);
    EXPECT_EQ(different, 0);
}

TEST_F(PicBoxTest, DrawModeTwoFitsAndCentres) {
    // A square code in a square box fits exactly: the same as stretching it.
    const Capture stretched = Render(Box());
    Set(kPicBox, kDrawMode, 2);
    EXPECT_EQ(Get(kPicBox, kDrawMode), 2);
    EXPECT_EQ(Render(Box()).pixels, stretched.pixels);

    Set(kPicBox, kBackColor, kGreen);
    // Smaller than the box: own size, centred.
    const auto small = testimages::MakePng(60, 40, [](int x, int y) { return 0xFF000000u | (x * 4 << 16) | (y * 6); });
    SetPicture(small);
    Capture c = Render(Box());
    const DecodedPicture smallPicture = *DecodePicture(small.data(), small.size());
    int different = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) different += c.At(17 + x, 27 + y) != PixelOf(smallPicture, x, y);
    EXPECT_EQ(different, 0);
    EXPECT_EQ(CountColour(c, Rgb(kGreen), 0, 0, 95, 95), 95 * 95 - 60 * 40);

    // Wider than the box: 300 x 100 shrinks by 95/300 to 95 x 31, at y = (95 - 31) / 2.
    const auto wide = testimages::MakePng(300, 100, [](int, int) { return 0xFF0000FFu; });
    SetPicture(wide);
    c = Render(Box());
    EXPECT_EQ(CountColour(c, Rgb(kGreen), 0, 0, 95, 32), 95 * 32);
    EXPECT_EQ(CountColour(c, 0x0000FF, 0, 32, 95, 63), 95 * 31);
    EXPECT_EQ(CountColour(c, Rgb(kGreen), 0, 63, 95, 95), 95 * 32);
}

TEST_F(PicBoxTest, TransparentPixelsAreBlendedOverTheBackColour) {
    Set(kPicBox, kDrawMode, 0);
    Set(kPicBox, kBackColor, RGB(10, 200, 30));
    // Left half opaque red, right half red at alpha 100, bottom row fully transparent.
    const auto png = testimages::MakePng(20, 10, [](int x, int y) {
        if (y == 9) return 0x00FF0000u;
        return x < 10 ? 0xFFFF0000u : 0x64FF0000u;
    });
    SetPicture(png);
    const Capture c = Render(Box());
    EXPECT_EQ(c.At(3, 3), 0xFF0000u);
    // (100 * 255 + 155 * 10) / 255 = 106, (155 * 200) / 255 = 121, (155 * 30) / 255 = 18
    EXPECT_EQ(c.At(15, 3), (106u << 16) | (121u << 8) | 18u);
    EXPECT_EQ(c.At(5, 9), Rgb(RGB(10, 200, 30)));
    EXPECT_EQ(c.At(50, 50), Rgb(RGB(10, 200, 30)));
}

TEST_F(PicBoxTest, BytesThatAreNoPictureShowOnlyTheBackground) {
    Set(kPicBox, kBackColor, kGreen);
    const std::vector<std::vector<std::uint8_t>> notPictures{
        {},
        {0xFF, 0xD8, 0xFF, 0xE0, 0x00},  // fewer than eight bytes
        {'p', 'r', 'i', 'c', 'e', ' ', 'l', 'i', 's', 't', '\r', '\n'},
        {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'},  // cut short
    };
    for (const auto& bytes : notPictures) {
        SetPicture(bytes);
        EXPECT_EQ(PictureBytes(), bytes) << "the bytes are kept as given";
        EXPECT_EQ(CountColour(Render(Box()), Rgb(kGreen), 0, 0, 95, 95), 95 * 95);
    }
}

// A background brush the system refuses leaves what lies beneath, rather than filling with
// whatever brush the DC holds.
TEST_F(PicBoxTest, ABackgroundBrushThatCannotBeMadeLeavesTheBackgroundUnpainted) {
    SetPicture({});
    testing::FailCreationNumber(1);
    Set(kPicBox, kBackColor, kGreen);
    const std::string refused = testing::RefusedCreation() ? testing::RefusedCreation() : "";
    testing::FailCreationNumber(0);
    EXPECT_EQ(refused, "picture box's background");
    EXPECT_EQ(CountColour(Render(Box()), 0, 0, 0, 95, 95), 95 * 95) << "Render prefills with black";
}

TEST_F(PicBoxTest, BorderKindsSetTheFrameStylesAndClamp) {
    struct Case {
        int border;
        DWORD ex;
        DWORD style;
    };
    constexpr DWORD kExBits = WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE;
    for (const Case& k : {Case{1, WS_EX_CLIENTEDGE, 0}, Case{2, WS_EX_DLGMODALFRAME, 0}, Case{3, WS_EX_STATICEDGE, 0},
                          Case{4, WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME, 0}, Case{5, 0, WS_BORDER},
                          Case{0, 0, 0}, Case{9, 0, WS_BORDER}, Case{-3, 0, 0}}) {
        SCOPED_TRACE(k.border);
        Set(kPicBox, kBorder, k.border);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(Box(), GWL_EXSTYLE)) & kExBits, k.ex);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(Box(), GWL_STYLE)) & WS_BORDER, k.style);
    }
    EXPECT_EQ(Get(kPicBox, kBorder), 0);
    // The frame is recomputed at once: the client area shrinks inside it, the window keeps its place.
    Set(kPicBox, kBorder, 5);
    RECT client;
    GetClientRect(Box(), &client);
    EXPECT_EQ(client.right, 93);
    EXPECT_EQ(client.bottom, 93);
    Set(kPicBox, kBorder, 1);
    GetClientRect(Box(), &client);
    EXPECT_EQ(client.right, 91);
    const RECT r = RectInParent(Box());
    EXPECT_EQ(r.left, 383);
    EXPECT_EQ(r.top, 263);
    EXPECT_EQ(r.right - r.left, 95);
}

TEST_F(PicBoxTest, OwnPropertiesReadBackClampedAndStored) {
    Set(kPicBox, kDrawMode, 7);
    EXPECT_EQ(Get(kPicBox, kDrawMode), 2);
    Set(kPicBox, kDrawMode, -1);
    EXPECT_EQ(Get(kPicBox, kDrawMode), 0);
    EXPECT_EQ(Get(kPicBox, kPlayAnimation), 1);
    Set(kPicBox, kPlayAnimation, 0);
    EXPECT_EQ(Get(kPicBox, kPlayAnimation), 0);
    Set(kPicBox, kBackColor, RGB(1, 2, 3));
    EXPECT_EQ(Get(kPicBox, kBackColor), static_cast<std::int32_t>(RGB(1, 2, 3)));
    EXPECT_EQ(GetText(kPicBox, kDataSource), "");
    SetText(kPicBox, kDataSource, "数据源1");
    SetText(kPicBox, kDataColumn, "图片");
    EXPECT_EQ(GetText(kPicBox, kDataSource), "数据源1");
    EXPECT_EQ(GetText(kPicBox, kDataColumn), "图片");
    const std::vector<std::uint8_t> qr = PictureBytes();
    EXPECT_EQ(SniffPicture(qr.data(), qr.size()), PictureFormat::Jpeg);
}

TEST_F(PicBoxTest, RepaintsOnlyWhatChanged) {
    UpdateWindow(Box());
    RECT dirty;
    Set(kPicBox, kDrawMode, 1);  // unchanged
    EXPECT_FALSE(GetUpdateRect(Box(), &dirty, FALSE));
    Set(kPicBox, kDrawMode, 0);  // changed: painted at once
    EXPECT_FALSE(GetUpdateRect(Box(), &dirty, FALSE));
    Set(kPicBox, kBackColor, RGB(1, 2, 3));
    EXPECT_TRUE(GetUpdateRect(Box(), &dirty, FALSE));
    UpdateWindow(Box());
    SetPicture(PictureBytes());
    EXPECT_TRUE(GetUpdateRect(Box(), &dirty, FALSE));
}

TEST_F(PicBoxTest, ClickingTheBoxRunsNothing) {
    SendMessageW(Box(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40));
    SendMessageW(Box(), WM_LBUTTONUP, 0, MAKELPARAM(40, 40));
    SendMessageW(Box(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(40, 40));
    Pump();
    EXPECT_EQ(routineCalls, (std::array<int, 3>{0, 0, 0}));
}

TEST_F(PicBoxTest, ReplacingThePictureAThousandTimesKeepsNoHandles) {
    const std::vector<std::uint8_t> qr = PictureBytes();
    const auto badge = testimages::MakePng(77, 22, [](int x, int) { return 0xFF000000u | x; });
    Render(Box());
    const int bitmaps = LiveHandles(HandleKind::Bitmap), brushes = LiveHandles(HandleKind::Brush),
              windows = LiveHandles(HandleKind::Window);
    for (int i = 0; i < 1000; ++i) {
        SetPicture(i % 2 ? badge : qr);  // the badge last
        if (i % 100 == 0) {
            Render(Box());
            Pump();
        }
    }
    for (int i = 0; i < 50; ++i) Set(kPicBox, kBackColor, RGB(i, 0, 0));
    Render(Box());
    Pump();
    EXPECT_EQ(LiveHandles(HandleKind::Bitmap), bitmaps);
    EXPECT_EQ(LiveHandles(HandleKind::Brush), brushes);
    EXPECT_EQ(LiveHandles(HandleKind::Window), windows);
    EXPECT_EQ(PictureBytes(), badge);
}

// ---- Drawing and bitmaps without a picture box ----

// A 32-bit memory bitmap of w x h to draw into, read back as 0x00RRGGBB.
class Canvas {
public:
    Canvas(int w, int h, COLORREF fill) : w_(w), h_(h) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        dib_ = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, dib_);
        HBRUSH brush = CreateSolidBrush(fill);
        RECT all{0, 0, w, h};
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(dib_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    std::uint32_t At(int x, int y) const {
        GdiFlush();
        return static_cast<const std::uint32_t*>(bits_)[y * w_ + x] & 0xFFFFFF;
    }

private:
    int w_, h_;
    HDC dc_;
    HBITMAP dib_;
    HGDIOBJ old_;
    void* bits_ = nullptr;
};

TEST(PictureDrawTest, OwnSizeStretchAndTheCallersStretchModeKept) {
    const auto png = testimages::MakePng(2, 2, [](int x, int y) { return (x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u; });
    const DecodedPicture p = *DecodePicture(png.data(), png.size());
    Canvas canvas(20, 20, RGB(0, 0, 255));
    SetStretchBltMode(canvas.Dc(), BLACKONWHITE);
    DrawPicture(p, canvas.Dc(), 3, 4, -1, -1, RGB(0, 255, 0));
    EXPECT_EQ(GetStretchBltMode(canvas.Dc()), BLACKONWHITE);
    EXPECT_EQ(canvas.At(3, 4), 0x000000u);
    EXPECT_EQ(canvas.At(4, 4), 0xFFFFFFu);
    EXPECT_EQ(canvas.At(3, 5), 0xFFFFFFu);
    EXPECT_EQ(canvas.At(5, 4), 0x0000FFu) << "own size: two pixels wide";
    EXPECT_EQ(canvas.At(3, 6), 0x0000FFu);
    // Width -1 with a given height: own width, stretched height.
    DrawPicture(p, canvas.Dc(), 10, 0, -1, 8, RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(12, 0), 0x0000FFu);
    EXPECT_EQ(canvas.At(10, 0), 0x000000u);
    EXPECT_EQ(canvas.At(10, 7), 0xFFFFFFu) << "the picture's second row, four times as high";
    EXPECT_EQ(canvas.At(11, 7), 0x000000u);
}

TEST(PictureDrawTest, PictureToBitmapGivesOwnSizeAndBlendsOverWhite) {
    const int before = LiveHandles(HandleKind::Bitmap);
    const auto png = testimages::MakePng(4, 3, [](int x, int) { return x < 2 ? 0xFF102030u : 0x00102030u; });
    {
        UniqueBitmap bitmap = PictureToBitmap(png.data(), png.size());
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(LiveHandles(HandleKind::Bitmap), before + 1);
        BITMAP info{};
        ASSERT_TRUE(GetObjectW(bitmap.get(), sizeof info, &info));
        EXPECT_EQ(info.bmWidth, 4);
        EXPECT_EQ(info.bmHeight, 3);
        Canvas canvas(4, 3, RGB(0, 0, 0));
        HDC source = CreateCompatibleDC(canvas.Dc());
        HGDIOBJ old = SelectObject(source, bitmap.get());
        BitBlt(canvas.Dc(), 0, 0, 4, 3, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        EXPECT_EQ(canvas.At(1, 2), 0x102030u);
        EXPECT_EQ(canvas.At(2, 0), 0xFFFFFFu) << "transparent over white";
    }
    EXPECT_EQ(LiveHandles(HandleKind::Bitmap), before);
    const std::uint8_t text[] = "not a picture at all";
    EXPECT_FALSE(PictureToBitmap(text, sizeof text));
    EXPECT_FALSE(PictureToBitmap(nullptr, 0));
    EXPECT_EQ(LiveHandles(HandleKind::Bitmap), before);
}

}  // namespace
}  // namespace qelvane::wintest
