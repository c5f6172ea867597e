// Drives a running Windows program from outside, as a person or a screen
// reader would: finds a top-level window by its title, reads its controls
// through UI Automation (the window tree Qt gives to assistive technology),
// clicks a control by its name with the real mouse, and closes windows.
//
//   uia-driver wait TITLE SECONDS      wait until a window of that title exists
//   uia-driver gone TITLE SECONDS      wait until no window of that title exists
//   uia-driver dump TITLE              print the tree: depth, control type, name
//   uia-driver click TITLE NAME        click the centre of the control named NAME
//   uia-driver close TITLE             ask the window to close (WM_CLOSE)
//
// Texts are UTF-8 on the command line and in the output. The UI Automation
// client functions are looked up at run time: the MinGW-w64 headers and import
// libraries do not declare them.
#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using HUIANODE = void *;
using HUIAPATTERNOBJECT = void *;

struct UiaCondition {
    int conditionType; // 0: the true condition
};
struct UiaCacheRequest {
    UiaCondition *pViewCondition;
    int scope; // TreeScope_Element = 1
    int *pProperties;
    int cProperties;
    int *pPatterns;
    int cPatterns;
    int automationElementMode; // AutomationElementMode_Full = 1
};

constexpr int kBoundingRectangle = 30001;
constexpr int kControlType = 30003;
constexpr int kName = 30005;
constexpr int kAutomationId = 30011;
constexpr int kNavigateNextSibling = 1;
constexpr int kNavigateFirstChild = 3;

struct Uia {
    HRESULT(WINAPI *nodeFromHandle)(HWND, HUIANODE *) = nullptr;
    HRESULT(WINAPI *getPropertyValue)(HUIANODE, int, VARIANT *) = nullptr;
    HRESULT(WINAPI *navigate)(HUIANODE, int, UiaCondition *, UiaCacheRequest *, SAFEARRAY **, BSTR *) = nullptr;
    HRESULT(WINAPI *nodeFromVariant)(VARIANT *, HUIANODE *) = nullptr;
    BOOL(WINAPI *nodeRelease)(HUIANODE) = nullptr;

    template <typename F>
    static void resolve(HMODULE dll, const char *name, F &function)
    {
        // Through void *: the real signature is known here, not to FARPROC.
        function = reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddress(dll, name)));
    }

    bool load()
    {
        HMODULE dll = LoadLibraryW(L"uiautomationcore.dll");
        if (!dll)
            return false;
        resolve(dll, "UiaNodeFromHandle", nodeFromHandle);
        resolve(dll, "UiaGetPropertyValue", getPropertyValue);
        resolve(dll, "UiaNavigate", navigate);
        resolve(dll, "UiaHUiaNodeFromVariant", nodeFromVariant);
        resolve(dll, "UiaNodeRelease", nodeRelease);
        return nodeFromHandle && getPropertyValue && navigate && nodeFromVariant && nodeRelease;
    }
};
Uia uia;

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

std::wstring StringProperty(HUIANODE node, int property)
{
    VARIANT v;
    VariantInit(&v);
    std::wstring out;
    if (SUCCEEDED(uia.getPropertyValue(node, property, &v)) && v.vt == VT_BSTR && v.bstrVal)
        out.assign(v.bstrVal, SysStringLen(v.bstrVal));
    VariantClear(&v);
    return out;
}

long IntProperty(HUIANODE node, int property)
{
    VARIANT v;
    VariantInit(&v);
    long out = 0;
    if (SUCCEEDED(uia.getPropertyValue(node, property, &v)) && v.vt == VT_I4)
        out = v.lVal;
    VariantClear(&v);
    return out;
}

// Left, top, width, height in screen pixels; false when the control has none.
bool Bounds(HUIANODE node, double rect[4])
{
    VARIANT v;
    VariantInit(&v);
    bool ok = false;
    if (SUCCEEDED(uia.getPropertyValue(node, kBoundingRectangle, &v)) && v.vt == (VT_ARRAY | VT_R8)
        && v.parray) {
        double *data = nullptr;
        if (SUCCEEDED(SafeArrayAccessData(v.parray, reinterpret_cast<void **>(&data)))) {
            LONG lower = 0, upper = -1;
            SafeArrayGetLBound(v.parray, 1, &lower);
            SafeArrayGetUBound(v.parray, 1, &upper);
            if (upper - lower + 1 >= 4) {
                for (int i = 0; i < 4; ++i)
                    rect[i] = data[i];
                ok = true;
            }
            SafeArrayUnaccessData(v.parray);
        }
    }
    VariantClear(&v);
    return ok;
}

HUIANODE Navigate(HUIANODE node, int direction)
{
    UiaCondition all{0};
    UiaCacheRequest request{&all, 1, nullptr, 0, nullptr, 0, 1};
    SAFEARRAY *data = nullptr;
    BSTR structure = nullptr;
    HUIANODE next = nullptr;
    if (SUCCEEDED(uia.navigate(node, direction, &all, &request, &data, &structure)) && data) {
        LONG index[2] = {0, 0};
        VARIANT v;
        VariantInit(&v);
        if (SUCCEEDED(SafeArrayGetElement(data, index, &v)))
            uia.nodeFromVariant(&v, &next);
        VariantClear(&v);
    }
    if (data)
        SafeArrayDestroy(data);
    if (structure)
        SysFreeString(structure);
    return next;
}

struct Control {
    int depth;
    long type;
    std::wstring name;
    std::wstring automationId;
    double rect[4];
    bool hasRect;
};

void Walk(HUIANODE node, int depth, std::vector<Control> &out)
{
    Control c{depth, IntProperty(node, kControlType), StringProperty(node, kName),
              StringProperty(node, kAutomationId), {0, 0, 0, 0}, false};
    c.hasRect = Bounds(node, c.rect);
    out.push_back(c);
    if (depth > 30)
        return;
    for (HUIANODE child = Navigate(node, kNavigateFirstChild); child;) {
        Walk(child, depth + 1, out);
        HUIANODE sibling = Navigate(child, kNavigateNextSibling);
        uia.nodeRelease(child);
        child = sibling;
    }
}

bool Tree(const std::wstring &title, std::vector<Control> &out)
{
    HWND hwnd = FindTopLevel(title);
    if (!hwnd) {
        std::fprintf(stderr, "no window \"%s\"\n", Utf8(title).c_str());
        return false;
    }
    HUIANODE root = nullptr;
    const HRESULT hr = uia.nodeFromHandle(hwnd, &root);
    if (FAILED(hr) || !root) {
        std::fprintf(stderr, "UI Automation gives no tree for \"%s\" (0x%08lx)\n", Utf8(title).c_str(),
                     static_cast<unsigned long>(hr));
        return false;
    }
    Walk(root, 0, out);
    uia.nodeRelease(root);
    return true;
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

int Usage()
{
    std::fprintf(stderr, "usage: uia-driver wait|gone TITLE SECONDS | dump TITLE | click TITLE NAME | close TITLE\n");
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
    if (command == "close") {
        HWND hwnd = FindTopLevel(title);
        if (!hwnd) {
            std::fprintf(stderr, "no window \"%s\"\n", args[1].c_str());
            return 1;
        }
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return 0;
    }

    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (!uia.load()) {
        std::fprintf(stderr, "the UI Automation client functions are missing\n");
        return 1;
    }
    std::vector<Control> tree;
    if (!Tree(title, tree))
        return 1;

    if (command == "dump") {
        for (const Control &c : tree) {
            std::printf("%d\t%ld\t%s\t%s", c.depth, c.type, Utf8(c.name).c_str(), Utf8(c.automationId).c_str());
            if (c.hasRect)
                std::printf("\t%.0f,%.0f,%.0f,%.0f", c.rect[0], c.rect[1], c.rect[2], c.rect[3]);
            std::printf("\n");
        }
        return 0;
    }
    if (command == "click" && args.size() > 2) {
        const std::wstring name = Wide(args[2].c_str());
        for (const Control &c : tree) {
            if (c.depth > 0 && c.name == name && c.hasRect && c.rect[2] > 0 && c.rect[3] > 0) {
                SetForegroundWindow(FindTopLevel(title));
                Click(c.rect[0] + c.rect[2] / 2, c.rect[1] + c.rect[3] / 2);
                return 0;
            }
        }
        std::fprintf(stderr, "\"%s\" has no control named \"%s\"\n", args[1].c_str(), args[2].c_str());
        return 1;
    }
    return Usage();
}
