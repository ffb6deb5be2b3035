// A DLL named like a system DLL that Windows does not protect, left beside the program (as in
// a download folder), must never be loaded. Wine prefers its own built-in DLLs, so the run is
// told to prefer one found on disk, as Windows does for such a DLL.
#include <string>

#include "tests/support/PreferDiskDll.h"

#include "tests/e2e/E2eDriver.h"

namespace e2e {
namespace {

TEST(DllPlantingTest, AWinmmLeftBesideTheProgramIsNeverLoaded) {
    TempFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    const std::wstring exe = folder.Path() + L"Qelvane (1).exe";  // as a second download names it
    const std::wstring planted = folder.Path() + L"winmm.dll";
    ASSERT_TRUE(CopyFileW(ProgramPath().c_str(), exe.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((ExeFolder() + L"PlantedDll.dll").c_str(), planted.c_str(), FALSE));

    const qelvane::testing::PreferDiskDll preferDisk(L"Qelvane (1).exe", L"winmm");
    ASSERT_TRUE(preferDisk.Ok());
    ParkPointer();
    Program program(exe, folder.Path());
    ASSERT_TRUE(program.Started()) << "CreateProcess failed with " << program.StartError();
    const HWND window = WaitForWindow(program.Pid(), false, kStartTimeout, program.Handle()).window;
    ASSERT_NE(window, nullptr) << "no main window";
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);

    EXPECT_EQ(GetFileAttributesW((planted + L".loaded").c_str()), INVALID_FILE_ATTRIBUTES)
        << "the winmm.dll beside the program was loaded";
}

}  // namespace
}  // namespace e2e
