// scripts/check-vendor-change builds the program from a price list with another vendor's data
// and runs these against it, with what it expects in the environment: every key in its place,
// and the QR code as the screen shows it, for a QR decoder to read. In the usual runs they have
// nothing to check.
#include <oleacc.h>

#include <algorithm>
#include <cstdio>

#include "tests/e2e/LinkRecording.h"
#include "tests/e2e/PriceWindow.h"

namespace e2e {
namespace {

std::wstring Env(const wchar_t* name) {
    const wchar_t* value = _wgetenv(name);
    return value ? value : L"";
}

// A string of the program's version record, in its first translation.
std::wstring VersionString(const std::wstring& file, const wchar_t* name) {
    DWORD ignored = 0;
    std::vector<std::uint8_t> data(GetFileVersionInfoSizeW(file.c_str(), &ignored));
    if (data.empty() || !GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(data.size()), data.data())) return {};
    WORD* translation = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &size) ||
        size < 4)
        return {};
    wchar_t path[128];
    swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translation[0], translation[1], name);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(data.data(), path, reinterpret_cast<void**>(&value), &size) || !value) return {};
    return value;
}

std::wstring AccessibleName(HWND hwnd) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object))))
        return L"<no accessible object>";
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring out = SUCCEEDED(object->get_accName(self, &name)) && name ? std::wstring(name, SysStringLen(name)) : L"";
    SysFreeString(name);
    object->Release();
    return out;
}

class VendorChangeTest : public RecordedLinksTest {
protected:
    static void SetUpTestSuite() { CoInitialize(nullptr); }
    static void TearDownTestSuite() { CoUninitialize(); }
};

TEST_F(VendorChangeTest, EveryKeyReachesItsPlace) {
    const std::wstring qq = Env(L"QELVANE_EXPECT_QQ");
    if (qq.empty()) GTEST_SKIP() << "only against a program built from another vendor's price list";
    const std::wstring web = Env(L"QELVANE_EXPECT_WEB_HOST"), order = Env(L"QELVANE_EXPECT_ORDER_HOST");

    EXPECT_EQ(WindowText(window_), L"Qelvane QQ：" + qq + L" " + web);
    EXPECT_EQ(VersionString(ProgramPath(), L"CompanyName"), Env(L"QELVANE_EXPECT_VENDOR_NAME"));
    HWND qr = FindChild(window_, L"Qelvane.PicBox");
    ASSERT_NE(qr, nullptr);
    EXPECT_EQ(AccessibleName(qr), Env(L"QELVANE_EXPECT_QR_NAME"));

    const std::wstring caption = Env(L"QELVANE_EXPECT_CAPTION3");
    ASSERT_NE(Radio(caption), nullptr) << "no radio box captioned " << Escaped(caption);
    EXPECT_EQ(WindowText(Radio(caption)), caption);
    CheckRadio(caption);
    RefreshAndExpect(Env(L"QELVANE_EXPECT_PRICE3"));

    ClickCentre(chat_);
    std::vector<Request> got = AwaitRequests(1);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], Request{L"tencent://message/?uin=" + qq + L"&Site=https://" + web + L"&Menu=yes"});
    ClickCentre(order_);
    got = AwaitRequests(2);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_TRUE(std::count(got.begin(), got.end(), Request{L"http://" + order + L"/"}) == 1)
        << "the order link is the vendor's";
}

// The whole window as the screen shows it, written as a 24-bit BMP to QELVANE_QR_SHOT once the
// picture box has drawn its picture.
TEST_F(VendorChangeTest, TheScreenShowsTheQrCode) {
    const std::wstring shot = Env(L"QELVANE_QR_SHOT");
    if (shot.empty()) GTEST_SKIP() << "only for scripts/check-vendor-change";
    HWND qr = FindChild(window_, L"Qelvane.PicBox");
    ASSERT_NE(qr, nullptr);
    RECT box{}, outer{};
    GetWindowRect(qr, &box);
    GetWindowRect(window_, &outer);
    const int w = outer.right - outer.left, h = outer.bottom - outer.top;
    // Drawn once some pixel inside the box is dark.
    std::vector<COLORREF> pixels;
    const bool drawn = WaitFor([&] {
        pixels = ScreenPixels(outer);
        for (int y = box.top - outer.top; y < box.bottom - outer.top; ++y)
            for (int x = box.left - outer.left; x < box.right - outer.left; ++x) {
                const COLORREF p = pixels.empty() ? 0xFFFFFF : pixels[static_cast<std::size_t>(y * w + x)];
                if (GetRValue(p) + GetGValue(p) + GetBValue(p) < 300) return true;
            }
        return false;
    });
    EXPECT_TRUE(drawn) << "the picture box shows no code";
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    // A 24-bit BMP: rows bottom up, blue, green, red, each row padded to four bytes.
    const int stride = (w * 3 + 3) & ~3;
    BITMAPINFOHEADER info{sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB};
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof file + sizeof info + stride * h), 0, 0,
                          sizeof file + sizeof info};
    std::vector<std::uint8_t> out(reinterpret_cast<const std::uint8_t*>(&file),
                                  reinterpret_cast<const std::uint8_t*>(&file) + sizeof file);
    out.insert(out.end(), reinterpret_cast<const std::uint8_t*>(&info),
               reinterpret_cast<const std::uint8_t*>(&info) + sizeof info);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const COLORREF p = pixels[static_cast<std::size_t>(y * w + x)];
            out.insert(out.end(), {GetBValue(p), GetGValue(p), GetRValue(p)});
        }
        out.resize(out.size() + static_cast<std::size_t>(stride - w * 3), 0);
    }
    EXPECT_TRUE(WriteBytes(shot, out)) << "cannot write " << Escaped(shot);
}

}  // namespace
}  // namespace e2e
