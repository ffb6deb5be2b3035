// The resources of the shipped program file, read as data: icon, manifest, version record.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "vendor/VendorData.h"
#include "tests/e2e/E2eDriver.h"

namespace e2e {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
constexpr WORD kChinesePrc = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

// ---- The file's resources ----

// Enumeration callbacks: nothing may unwind through the system's frames.
BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) {
    try {
        reinterpret_cast<std::vector<WORD>*>(param)->push_back(language);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

BOOL CALLBACK AddName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    try {
        auto* out = reinterpret_cast<std::vector<std::wstring>*>(param);
        out->push_back(IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name))
                                            : std::wstring(name));
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

class ExecutableResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << "cannot open " << Escaped(ProgramPath()) << " as data, error "
                                    << GetLastError();
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }

    std::vector<WORD> Languages(LPCWSTR type, LPCWSTR name) const {
        std::vector<WORD> found;
        EnumResourceLanguagesW(module_, type, name, &AddLanguage, reinterpret_cast<LONG_PTR>(&found));
        return found;
    }

    // Names of every resource of a type; numbers as "#N".
    std::vector<std::wstring> Names(LPCWSTR type) const {
        std::vector<std::wstring> found;
        EnumResourceNamesW(module_, type, &AddName, reinterpret_cast<LONG_PTR>(&found));
        return found;
    }

    Bytes Data(LPCWSTR type, LPCWSTR name, WORD language) const {
        HRSRC info = FindResourceExW(module_, type, name, language);
        if (!info) return {};
        HGLOBAL loaded = LoadResource(module_, info);
        const auto* data = static_cast<const std::uint8_t*>(loaded ? LockResource(loaded) : nullptr);
        return data ? Bytes(data, data + SizeofResource(module_, info)) : Bytes{};
    }

    HMODULE module_ = nullptr;
};

TEST_F(ExecutableResourcesTest, IconGroupHoldsOne32BitImageWithAlpha) {
    EXPECT_EQ(Languages(RT_GROUP_ICON, L"DEFAULT_ICON"), std::vector<WORD>{kNeutral});
    const Bytes group = Data(RT_GROUP_ICON, L"DEFAULT_ICON", kNeutral);
    ASSERT_EQ(group.size(), 6u + 14u) << "one entry";
    EXPECT_EQ(ReadU16(group, 0), 0);  // reserved
    EXPECT_EQ(ReadU16(group, 2), 1);  // icons, not cursors
    ASSERT_EQ(ReadU16(group, 4), 1);
    EXPECT_EQ(group[6], 32);      // width
    EXPECT_EQ(group[7], 32);      // height
    EXPECT_EQ(group[8], 0);       // colour count
    EXPECT_EQ(group[9], 0);
    EXPECT_EQ(ReadU16(group, 10), 1);   // planes
    EXPECT_EQ(ReadU16(group, 12), 32);  // bits per pixel
    EXPECT_EQ(ReadU32(group, 14), 4264u);
    const WORD imageId = ReadU16(group, 18);
    EXPECT_EQ(Names(RT_ICON), std::vector<std::wstring>{L"#" + std::to_wstring(imageId)})
        << "no other image (16 x 16 or low-colour) is carried";

    EXPECT_EQ(Languages(RT_ICON, MAKEINTRESOURCEW(imageId)), std::vector<WORD>{kNeutral});
    const Bytes image = Data(RT_ICON, MAKEINTRESOURCEW(imageId), kNeutral);
    ASSERT_EQ(image.size(), 4264u);
    EXPECT_EQ(ReadU32(image, 0), 40u);   // header size
    EXPECT_EQ(ReadU32(image, 4), 32u);   // width
    EXPECT_EQ(ReadU32(image, 8), 64u);   // height: colour rows and mask rows
    EXPECT_EQ(ReadU16(image, 12), 1);
    EXPECT_EQ(ReadU16(image, 14), 32);
    EXPECT_EQ(ReadU32(image, 16), 0u);   // no compression
    EXPECT_EQ(ReadU32(image, 20), 4096u);

    // Alpha with soft edges, and an AND mask that agrees with it (used where alpha is not).
    int clear = 0, soft = 0, opaque = 0, maskDisagrees = 0;
    for (int row = 0; row < 32; ++row)
        for (int x = 0; x < 32; ++x) {
            const std::uint8_t alpha = image[40 + (row * 32 + x) * 4 + 3];
            (alpha == 0 ? clear : alpha == 255 ? opaque : soft)++;
            const bool masked = image[40 + 4096 + row * 4 + x / 8] & (0x80 >> (x % 8));
            if ((alpha == 0) != masked) ++maskDisagrees;
        }
    EXPECT_GT(clear, 0) << "no transparent background";
    EXPECT_GT(opaque, 0);
    EXPECT_GT(soft, 0) << "no anti-aliased edge";
    EXPECT_EQ(maskDisagrees, 0);
}

// What the manifest says is checked with an XML parser by cmake/check-image, in the build and
// by its test; here, that Windows finds it where it looks.
TEST_F(ExecutableResourcesTest, OneManifestWhereWindowsLooksForIt) {
    EXPECT_EQ(Names(RT_MANIFEST), std::vector<std::wstring>{L"#1"});
    EXPECT_EQ(Languages(RT_MANIFEST, MAKEINTRESOURCEW(1)), std::vector<WORD>{kNeutral});
    const Bytes data = Data(RT_MANIFEST, MAKEINTRESOURCEW(1), kNeutral);
    const std::string xml(data.begin(), data.end());
    EXPECT_EQ(xml.rfind(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)", 0), 0u)
        << "UTF-8, standalone";
}

// One node of a version record: key, value bytes, children.
struct VersionNode {
    std::wstring key;
    WORD type = 0;  // 1 text, 0 binary
    Bytes value;
    std::vector<VersionNode> children;
};

std::size_t Align4(std::size_t at) { return (at + 3) & ~std::size_t{3}; }

// Parses the node at `at`; nullopt when its lengths do not fit.
std::optional<VersionNode> ParseVersionNode(const Bytes& b, std::size_t at, std::size_t limit) {
    const std::size_t length = ReadU16(b, at);
    if (length < 6 || at + length > limit) return std::nullopt;
    const std::size_t end = at + length;
    VersionNode node;
    const std::size_t valueLength = ReadU16(b, at + 2);
    node.type = ReadU16(b, at + 4);
    std::size_t p = at + 6;
    for (; p + 2 <= end && ReadU16(b, p) != 0; p += 2) node.key.push_back(static_cast<wchar_t>(ReadU16(b, p)));
    p = Align4(p + 2);
    const std::size_t valueBytes = node.type == 1 ? valueLength * 2 : valueLength;
    if (p + valueBytes > end) return std::nullopt;
    node.value.assign(b.begin() + static_cast<std::ptrdiff_t>(p), b.begin() + static_cast<std::ptrdiff_t>(p + valueBytes));
    for (p = Align4(p + valueBytes); p < end; ) {
        std::optional<VersionNode> child = ParseVersionNode(b, p, end);
        if (!child) return std::nullopt;
        p = Align4(p + ReadU16(b, p));
        node.children.push_back(std::move(*child));
    }
    return node;
}

std::wstring TextValue(const VersionNode& node) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < node.value.size(); i += 2) {
        const wchar_t c = static_cast<wchar_t>(ReadU16(node.value, i));
        if (c == 0) break;
        text.push_back(c);
    }
    return text;
}

TEST_F(ExecutableResourcesTest, VersionRecordIsChinesePrc302WithItsSevenStringsInOrder) {
    EXPECT_EQ(Names(RT_VERSION), std::vector<std::wstring>{L"#1"});
    EXPECT_EQ(Languages(RT_VERSION, MAKEINTRESOURCEW(1)), std::vector<WORD>{kChinesePrc});
    const Bytes data = Data(RT_VERSION, MAKEINTRESOURCEW(1), kChinesePrc);
    const std::optional<VersionNode> root = ParseVersionNode(data, 0, data.size());
    ASSERT_TRUE(root) << "the version record does not parse";
    EXPECT_EQ(root->key, L"VS_VERSION_INFO");

    ASSERT_EQ(root->value.size(), sizeof(VS_FIXEDFILEINFO));
    // Signature, structure version 1.0, file and product version 3.0.2.2, no flags, a Win32
    // application, no subtype and no date.
    std::array<DWORD, sizeof(VS_FIXEDFILEINFO) / sizeof(DWORD)> fixed;
    std::memcpy(fixed.data(), root->value.data(), sizeof fixed);
    EXPECT_EQ(fixed, (decltype(fixed){0xFEEF04BD, 0x00010000, 0x00030000, 0x00020002, 0x00030000, 0x00020002,
                                      0, 0, VOS__WINDOWS32, VFT_APP, 0, 0, 0}));

    ASSERT_EQ(root->children.size(), 2u);
    const VersionNode& stringInfo = root->children[0];
    EXPECT_EQ(stringInfo.key, L"StringFileInfo");
    ASSERT_EQ(stringInfo.children.size(), 1u) << "one string table";
    const VersionNode& table = stringInfo.children[0];
    EXPECT_EQ(table.key, L"080404B0");

    const std::wstring vendor = FromGbk(qelvane::vendor::kName);
    const std::vector<std::pair<std::wstring, std::wstring>> expected{
        {L"FileVersion", L"3.0.2.2"},
        {L"FileDescription", L"Qelvane"},
        {L"ProductName", L"Qelvane"},
        {L"ProductVersion", L"3.0.2.2"},
        {L"CompanyName", vendor},
        {L"LegalCopyright", L"版权所有 (C) " + vendor},
        {L"Comments", vendor + L"，客服 QQ：" + FromGbk(qelvane::vendor::kQqNumber) + L"，网站：" +
                          FromGbk(qelvane::vendor::kWebHost)},
    };
    std::vector<std::pair<std::wstring, std::wstring>> strings;
    for (const VersionNode& s : table.children) {
        EXPECT_EQ(s.type, 1) << Escaped(s.key);
        strings.emplace_back(s.key, TextValue(s));
    }
    ASSERT_EQ(strings.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(strings[i].first, expected[i].first) << "string " << i;
        EXPECT_EQ(strings[i].second, expected[i].second)
            << Escaped(strings[i].first) << " = " << Escaped(strings[i].second);
    }

    const VersionNode& varInfo = root->children[1];
    EXPECT_EQ(varInfo.key, L"VarFileInfo");
    ASSERT_EQ(varInfo.children.size(), 1u);
    EXPECT_EQ(varInfo.children[0].key, L"Translation");
    EXPECT_EQ(varInfo.children[0].value, (Bytes{0x04, 0x08, 0xB0, 0x04}));
}

// What the system's own version reader reports for the file (its file properties).
TEST_F(ExecutableResourcesTest, SystemReadsTheVersionAndLanguage) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(ProgramPath().c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<std::uint8_t> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(ProgramPath().c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00030000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00020002u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00030000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00020002u);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0804);
    EXPECT_EQ(translation[1], 0x04B0);

    wchar_t* text = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\080404B0\\ProductName",
                               reinterpret_cast<void**>(&text), &length));
    EXPECT_EQ(std::wstring(text), L"Qelvane");
}

}  // namespace
}  // namespace e2e
