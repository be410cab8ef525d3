// Waits for a top-level window with the given title, prints the full path of
// the program that owns it, and closes it. Exits 1 when none appears in time.
//   find_window.exe TITLE SECONDS
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fputs("usage: find_window TITLE SECONDS\n", stderr);
        return 2;
    }
    const int tenths = 10 * std::wcstol(argv[2], nullptr, 10);
    HWND window = nullptr;
    for (int i = 0; i < tenths && !window; ++i) {
        window = FindWindowW(nullptr, argv[1]);
        if (!window) Sleep(100);
    }
    if (!window) {
        std::fwprintf(stderr, L"no window titled \"%ls\"\n", argv[1]);
        return 1;
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, pid);
    wchar_t path[MAX_PATH] = L"";
    DWORD size = MAX_PATH;
    if (process) QueryFullProcessImageNameW(process, 0, path, &size);
    std::wprintf(L"%ls\n", path);
    PostMessageW(window, WM_CLOSE, 0, 0);
    const bool ended = process && WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    if (!ended) std::fputs("the program did not end when its window was closed\n", stderr);
    return ended ? 0 : 1;
}
