// Drives a running Windows program from outside, as a person would: waits for
// a top-level window by its title, clicks with the real mouse at a point of
// the screen, and asks windows to close.
//
//   window-driver wait TITLE SECONDS   wait until a visible window of that title exists
//   window-driver gone TITLE SECONDS   wait until none exists
//   window-driver click X Y            press and release the left button at X, Y (screen pixels)
//   window-driver close TITLE          ask the window to close (WM_CLOSE)
//   window-driver ended EXE SECONDS    wait until no process of that file name runs
//
// Titles are UTF-8 on the command line. What the windows show is read by the
// window-tree plugin inside the program (tree_probe.cpp): the UI Automation
// client of Wine 8 does not reach Qt's provider in another process.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const char *utf8)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), L'\0');
    if (n > 1)
        MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out.data(), n);
    return out;
}

std::string Utf8(const std::wstring &wide)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, out.data(), n, nullptr, nullptr);
    return out;
}

// Top-level windows whose title is exactly `title`, of any process.
HWND FindTopLevel(const std::wstring &title)
{
    struct Search {
        const std::wstring *title;
        HWND found;
    } search{&title, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto *s = reinterpret_cast<Search *>(param);
            wchar_t text[512];
            const int n = GetWindowTextW(hwnd, text, 512);
            if (IsWindowVisible(hwnd) && std::wstring(text, static_cast<std::size_t>(n)) == *s->title) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Click(double x, double y)
{
    const double width = GetSystemMetrics(SM_CXSCREEN);
    const double height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input[3] = {};
    for (INPUT &i : input) {
        i.type = INPUT_MOUSE;
        i.mi.dx = static_cast<LONG>((x + 0.5) * 65535.0 / width);
        i.mi.dy = static_cast<LONG>((y + 0.5) * 65535.0 / height);
    }
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input[0], sizeof(INPUT));
    Sleep(50);
    SendInput(2, &input[1], sizeof(INPUT));
}

bool WaitFor(const std::wstring &title, double seconds, bool present)
{
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    do {
        if ((FindTopLevel(title) != nullptr) == present)
            return true;
        Sleep(50);
    } while (GetTickCount64() < end);
    return false;
}

bool ProcessRuns(const std::wstring &exe)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
        found = lstrcmpiW(entry.szExeFile, exe.c_str()) == 0;
    CloseHandle(snapshot);
    return found;
}

int Usage()
{
    std::fprintf(stderr, "usage: window-driver wait|gone TITLE SECONDS | click X Y | close TITLE | ended EXE SECONDS\n");
    return 2;
}

} // namespace

int main()
{
    int argc = 0;
    wchar_t **wargv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(Utf8(wargv[i]));
    if (args.size() < 2)
        return Usage();
    const std::string &command = args[0];
    const std::wstring title = Wide(args[1].c_str());

    if (command == "wait" || command == "gone") {
        const double seconds = args.size() > 2 ? std::atof(args[2].c_str()) : 30;
        if (WaitFor(title, seconds, command == "wait"))
            return 0;
        std::fprintf(stderr, "window \"%s\" %s after %.0f s\n", args[1].c_str(),
                     command == "wait" ? "did not appear" : "is still open", seconds);
        return 1;
    }
    if (command == "ended") {
        const double seconds = args.size() > 2 ? std::atof(args[2].c_str()) : 10;
        const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
        while (ProcessRuns(title)) {
            if (GetTickCount64() >= end) {
                std::fprintf(stderr, "%s still runs after %.0f s\n", args[1].c_str(), seconds);
                return 1;
            }
            Sleep(50);
        }
        return 0;
    }
    if (command == "close") {
        HWND hwnd = FindTopLevel(title);
        if (!hwnd) {
            std::fprintf(stderr, "no window \"%s\"\n", args[1].c_str());
            return 1;
        }
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return 0;
    }

    if (command == "click" && args.size() > 2) {
        Click(std::atof(args[1].c_str()), std::atof(args[2].c_str()));
        return 0;
    }
    return Usage();
}
