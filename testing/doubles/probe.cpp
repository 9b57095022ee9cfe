// probe: reads the state of a running window the way a screen reader sees it and prints one
// JSON object (UTF-8) to stdout. Run it in the same Wine prefix as the program.
//
//   probe [--class NAME] [--title TEXT] [--wait MS] [--focus-name] [--dialog] [--menu-resource NAME]
//         [--minimize] [--activate] [--resize W H] [--set-text ID TEXT] [--clipboard]
//
// --set-text puts TEXT into control ID of the dialog (with --dialog) before it is read, as a
// user typing Japanese would through an input method; --clipboard adds the clipboard's text.
//
// The last three act on the window first, as a user or window manager would, then read it.
//
// Default: the top-level window of class "Tavlo". Exit code 0 when the window was found,
// 1 when not (the object then is {"found":false}), 2 on a usage error.
#include <windows.h>
#include <richedit.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "processcounts.h"

namespace {

// Spelled out: the IID_IAccessible of the import library resolves to the wrong data when linked
// statically.
const IID kIAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}
};

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    int bytes = WideCharToMultiByte(
        CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0)
        WideCharToMultiByte(
            CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], bytes, nullptr, nullptr);
    return out;
}

std::wstring Wide(const char* text) {
    int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring out(units > 0 ? units : 0, L'\0');
    if (units > 0) MultiByteToWideChar(CP_ACP, 0, text, -1, &out[0], units);
    if (!out.empty()) out.pop_back();
    return out;
}

// A JSON string literal from UTF-16 text.
std::string Json(const std::wstring& text) {
    std::string out = "\"";
    for (unsigned char c : Utf8(text)) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char escape[8];
                    snprintf(escape, sizeof escape, "\\u%04x", c);
                    out += escape;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

std::string Bool(bool value) { return value ? "true" : "false"; }

std::string Handle(HWND window) {
    char text[32];
    snprintf(text,
             sizeof text,
             "\"0x%llx\"",
             static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

// The window's text (works across processes for the standard controls).
// Rich Edit's text as a screen reader gets it from another process. Here WM_GETTEXT (and the
// ANSI length request) come back empty across processes for this class, so the range request
// (a message passed on as it is) is sent with a buffer placed in the program's own memory.
// The control cuts its ANSI output at as many bytes as it has characters, which leaves
// Japanese text short; so the text is asked for piece by piece, each from where the last ended.
std::wstring RichEditText(HWND window) {
    const LONG keep = 256;
    LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return std::wstring();
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process) return std::wstring();
    const SIZE_T capacity = 2 * keep + 4;
    char* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(TEXTRANGEA) + capacity, MEM_COMMIT, PAGE_READWRITE));
    std::string bytes;
    LONG pos = 0;
    while (remote && pos < length) {
        TEXTRANGEA range = {};
        range.chrg.cpMin = pos;
        range.chrg.cpMax = pos + keep;
        range.lpstrText = remote + sizeof(TEXTRANGEA);
        std::vector<char> buffer(capacity + 1, '\0');
        SIZE_T done = 0;
        if (!WriteProcessMemory(process, remote + sizeof(TEXTRANGEA), buffer.data(), capacity, &done) ||
            !WriteProcessMemory(process, remote, &range, sizeof range, &done))
            break;
        SendMessageA(window, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(remote));
        if (!ReadProcessMemory(process, remote + sizeof(TEXTRANGEA), buffer.data(), capacity, &done)) break;
        // Keep the whole characters that arrived (one or two bytes each) and ask for the rest.
        size_t at = 0;
        LONG characters = 0;
        while (buffer[at] != '\0') {
            size_t size = IsDBCSLeadByteEx(932, static_cast<BYTE>(buffer[at])) ? 2 : 1;
            if (size == 2 && buffer[at + 1] == '\0') break;  // a character cut in half
            at += size;
            ++characters;
        }
        if (characters == 0) break;
        bytes.append(buffer.data(), at);
        pos += characters;
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return Wide(bytes.c_str());
}

std::wstring TextOf(HWND window) {
    wchar_t cls[32] = L"";
    GetClassNameW(window, cls, 32);
    if (lstrcmpiW(cls, L"RICHEDIT") == 0) return RichEditText(window);
    LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return std::wstring();
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

bool IsListBox(HWND window) { return lstrcmpiW(ClassOf(window).c_str(), L"ListBox") == 0; }

std::string Size(const RECT& r) {
    return "{\"width\":" + std::to_string(r.right - r.left) +
           ",\"height\":" + std::to_string(r.bottom - r.top) + "}";
}

// Name, role and value of an accessible object, "null" when the window offers none.
std::string Accessible(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(
            window, static_cast<DWORD>(OBJID_CLIENT), kIAccessible, reinterpret_cast<void**>(&object))) ||
        !object)
        return "null";
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;

    auto text = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), VARIANT child) {
        BSTR value = nullptr;
        std::string json = "null";
        if (SUCCEEDED((object->*get)(child, &value)) && value) json = Json(value);
        SysFreeString(value);
        return json;
    };
    auto role = [&](VARIANT child) {
        VARIANT value;
        VariantInit(&value);
        std::string json = "null";
        if (SUCCEEDED(object->get_accRole(child, &value)) && value.vt == VT_I4) {
            wchar_t name[128] = {};
            GetRoleTextW(static_cast<DWORD>(value.lVal), name, 128);
            json = Json(name);
        }
        VariantClear(&value);
        return json;
    };

    std::string out = "{\"name\":" + text(&IAccessible::get_accName, self) + ",\"role\":" + role(self) +
                      ",\"value\":" + text(&IAccessible::get_accValue, self);
    // The focused item inside a list, which is what is read when the list has the focus.
    VARIANT focus;
    VariantInit(&focus);
    if (SUCCEEDED(object->get_accFocus(&focus)) && focus.vt == VT_I4 && focus.lVal != CHILDID_SELF) {
        out += ",\"item\":{\"child\":" + std::to_string(focus.lVal) +
               ",\"name\":" + text(&IAccessible::get_accName, focus) + ",\"role\":" + role(focus) + "}";
    }
    VariantClear(&focus);
    object->Release();
    return out + "}";
}

std::string ListBoxState(HWND list) {
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    LRESULT selection = SendMessageW(list, LB_GETCURSEL, 0, 0);
    std::string out = ",\"count\":" + std::to_string(count) + ",\"selection\":" + std::to_string(selection) +
                      ",\"top\":" + std::to_string(SendMessageW(list, LB_GETTOPINDEX, 0, 0)) + ",\"items\":[";
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        std::vector<wchar_t> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
        if (length > 0) SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
        if (i) out += ",";
        out += Json(buffer.data());
    }
    return out + "]";
}

std::string MenuLabels(HMENU menu, int count) {
    std::string out = "[";
    for (int i = 0; i < count; ++i) {
        wchar_t label[256] = {};
        GetMenuStringW(menu, i, label, 256, MF_BYPOSITION);
        if (i) out += ",";
        out += Json(label);
    }
    return out + "]";
}

// The menu bar's popup labels. Wine cannot read another process's menu, so when the live menu is
// unreadable the labels come from the menu resource of the program's own file (menuSource then
// says "resource").
std::string MenuBar(HWND window, DWORD processId, const std::wstring& resourceName) {
    HMENU menu = GetMenu(window);
    if (!menu) return ",\"menu\":null,\"menuSource\":null";
    int count = GetMenuItemCount(menu);
    if (count >= 0) return ",\"menu\":" + MenuLabels(menu, count) + ",\"menuSource\":\"window\"";

    std::string unread = ",\"menu\":null,\"menuSource\":\"unreadable\"";
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return unread;
    wchar_t path[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    BOOL named = QueryFullProcessImageNameW(process, 0, path, &length);
    CloseHandle(process);
    if (!named) return unread;
    HMODULE image = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!image) return unread;
    // "#513" names a numbered resource.
    const wchar_t* name = resourceName.c_str();
    if (resourceName.size() > 1 && resourceName[0] == L'#') name = MAKEINTRESOURCEW(_wtoi(name + 1));
    HMENU loaded = LoadMenuW(image, name);
    std::string out = unread;
    if (loaded) {
        out = ",\"menu\":" + MenuLabels(loaded, GetMenuItemCount(loaded)) + ",\"menuSource\":\"resource\"";
        DestroyMenu(loaded);
    }
    FreeLibrary(image);
    return out;
}

struct Options {
    std::wstring className = L"Tavlo";
    std::wstring title;
    std::wstring menuResource = L"TBM";
    bool byTitleOnly = false;
    int waitMs = 0;
    bool focusName = false;
    bool dialog = false;
    // What a user or a window manager would do to the window before it is read.
    bool minimize = false;
    bool activate = false;
    int resizeWidth = 0;
    int resizeHeight = 0;
    int setTextId = 0;
    std::wstring setText;
    bool clipboard = false;
};

// The clipboard's text as a JSON field, null when it holds none.
std::string ClipboardText() {
    std::string out = ",\"clipboard\":null";
    if (!OpenClipboard(nullptr)) return out;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* text = static_cast<const wchar_t*>(GlobalLock(data))) {
            out = ",\"clipboard\":" + Json(text);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return out;
}

void ApplyActions(HWND window, const Options& options) {
    if (options.minimize) ShowWindow(window, SW_MINIMIZE);
    if (options.resizeWidth > 0)
        SetWindowPos(window,
                     nullptr,
                     0,
                     0,
                     options.resizeWidth,
                     options.resizeHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (options.activate) SetForegroundWindow(window);
    if (options.minimize || options.activate || options.resizeWidth > 0) Sleep(300);
}

// How many top-level windows share the class: a second instance must not add one.
struct ClassCount {
    const std::wstring* name;
    int count;
};

BOOL CALLBACK CountIfClass(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<ClassCount*>(param);
    if (ClassOf(window) == *search->name) ++search->count;
    return TRUE;
}

int CountTopLevel(const std::wstring& className) {
    ClassCount search = {&className, 0};
    EnumWindows(CountIfClass, reinterpret_cast<LPARAM>(&search));
    return search.count;
}

// The direct children in creation order: id, class, text and visibility.
std::string ChildrenInOrder(HWND window) {
    std::string out = "[";
    HWND child = GetWindow(window, GW_CHILD);
    for (bool first = true; child; child = GetWindow(child, GW_HWNDNEXT), first = false) {
        out += std::string(first ? "" : ",") + "{\"id\":" + std::to_string(GetDlgCtrlID(child)) +
               ",\"class\":" + Json(ClassOf(child)) + ",\"text\":" + Json(TextOf(child)) +
               ",\"visible\":" + Bool(IsWindowVisible(child)) + "}";
    }
    return out + "]";
}

HWND FindTarget(const Options& options) {
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindWindowW(options.byTitleOnly ? nullptr : options.className.c_str(),
                                  options.title.empty() ? nullptr : options.title.c_str());
        if (window || static_cast<int>(GetTickCount() - start) >= options.waitMs) return window;
        Sleep(50);
    }
}

std::string FocusObject(HWND focus, bool focusName) {
    if (!focus) return "null";
    std::string out = "{\"hwnd\":" + Handle(focus) + ",\"id\":" + std::to_string(GetDlgCtrlID(focus)) +
                      ",\"class\":" + Json(ClassOf(focus));
    if (!IsListBox(focus)) {
        std::wstring text = TextOf(focus);
        if (text.size() > 256) text.resize(256);
        out += ",\"text\":" + Json(text);
    }
    if (focusName) out += ",\"accessible\":" + Accessible(focus);
    return out + "}";
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

// The items of a combo box, and the static text right before a control in the tab order: the
// label Windows' accessibility proxy names a box without text of its own by (Wine's proxy
// answers such a box's window text instead).
std::string ComboItems(HWND box) {
    LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
    std::string out = ",\"items\":[";
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, i, 0);
        std::vector<wchar_t> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
        if (length > 0) SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
        out += std::string(i ? "," : "") + Json(buffer.data());
    }
    return out + "]";
}

std::string LabelBefore(HWND control) {
    HWND previous = GetWindow(control, GW_HWNDPREV);
    if (!previous || lstrcmpiW(ClassOf(previous).c_str(), L"Static") != 0) return ",\"label\":null";
    std::wstring label;
    std::wstring text = TextOf(previous);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) ++i;
        label += text[i];
    }
    return ",\"label\":" + Json(label);
}

// Every control of a dialog (or any window): what a screen reader walks through with Tab.
std::string DialogControls(HWND dialog) {
    std::vector<HWND> children;
    EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&children));
    std::string out = "[";
    for (size_t i = 0; i < children.size(); ++i) {
        HWND child = children[i];
        std::wstring cls = ClassOf(child);
        if (i) out += ",";
        out += "{\"hwnd\":" + Handle(child) + ",\"id\":" + std::to_string(GetDlgCtrlID(child)) +
               ",\"class\":" + Json(cls) + ",\"text\":" + Json(TextOf(child)) +
               ",\"enabled\":" + Bool(IsWindowEnabled(child)) +
               ",\"visible\":" + Bool(IsWindowVisible(child));
        if (lstrcmpiW(cls.c_str(), L"Button") == 0) {
            LONG type = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
            bool checkable = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
                             type == BS_AUTO3STATE || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
            if (checkable) out += ",\"checked\":" + std::to_string(SendMessageW(child, BM_GETCHECK, 0, 0));
        } else if (lstrcmpiW(cls.c_str(), L"ComboBox") == 0) {
            out += ",\"selection\":" + std::to_string(SendMessageW(child, CB_GETCURSEL, 0, 0)) +
                   ComboItems(child);
        } else if (IsListBox(child)) {
            out += ListBoxState(child);
        }
        RECT r = {};
        GetWindowRect(child, &r);
        out += LabelBefore(child) + ",\"size\":" + Size(r) +
               ",\"style\":" + std::to_string(GetWindowLongW(child, GWL_STYLE) & 0xFFFF) +
               ",\"accessible\":" + Accessible(child) + "}";
    }
    return out + "]";
}

int Usage() {
    fputs(
        "usage: probe [--class NAME] [--title TEXT] [--wait MS] [--focus-name] [--dialog] [--menu-resource "
        "NAME]\n"
        "             [--minimize] [--activate] [--resize W H] [--set-text ID TEXT] [--clipboard]\n",
        stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--class" && hasValue) {
            options.className = Wide(argv[++i]);
        } else if (arg == "--title" && hasValue) {
            options.title = Wide(argv[++i]);
            options.byTitleOnly = true;
        } else if (arg == "--menu-resource" && hasValue) {
            options.menuResource = Wide(argv[++i]);
        } else if (arg == "--wait" && hasValue) {
            options.waitMs = atoi(argv[++i]);
        } else if (arg == "--focus-name") {
            options.focusName = true;
        } else if (arg == "--dialog") {
            options.dialog = true;
        } else if (arg == "--minimize") {
            options.minimize = true;
        } else if (arg == "--activate") {
            options.activate = true;
        } else if (arg == "--set-text" && i + 2 < argc) {
            options.setTextId = atoi(argv[++i]);
            options.setText = Wide(argv[++i]);
        } else if (arg == "--clipboard") {
            options.clipboard = true;
        } else if (arg == "--resize" && i + 2 < argc) {
            options.resizeWidth = atoi(argv[++i]);
            options.resizeHeight = atoi(argv[++i]);
        } else {
            return Usage();
        }
    }
    // --class after --title narrows the search to both.
    for (int i = 1; i < argc; ++i)
        if (strcmp(argv[i], "--class") == 0) options.byTitleOnly = false;

    CoInitialize(nullptr);
    HWND window = FindTarget(options);
    if (!window) {
        fputs("{\"found\":false}\n", stdout);
        return 1;
    }

    ApplyActions(window, options);
    DWORD processId = 0;
    DWORD threadId = GetWindowThreadProcessId(window, &processId);
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(threadId, &gui);

    std::string out = "{\"found\":true";
    if (options.clipboard) out += ClipboardText();
    if (options.dialog) {
        // The window active in the program's thread when it is not the main window, else the
        // foreground window.
        HWND dialog = gui.hwndActive && gui.hwndActive != window ? gui.hwndActive : GetForegroundWindow();
        out += ",\"main\":" + Handle(window);
        if (dialog && dialog != window) {
            if (options.setTextId)
                SendDlgItemMessageW(dialog, options.setTextId, WM_SETTEXT, 0,
                                    reinterpret_cast<LPARAM>(options.setText.c_str()));
            RECT client = {};
            GetClientRect(dialog, &client);
            out += ",\"dialog\":{\"hwnd\":" + Handle(dialog) + ",\"class\":" + Json(ClassOf(dialog)) +
                   ",\"title\":" + Json(TextOf(dialog)) + ",\"client\":" + Size(client) +
                   ",\"controls\":" + DialogControls(dialog) + "}";
        } else {
            out += ",\"dialog\":null";
        }
        out += ",\"focus\":" + FocusObject(gui.hwndFocus, options.focusName);
        fputs((out + "}\n").c_str(), stdout);
        CoUninitialize();
        return 0;
    }

    RECT client = {};
    GetClientRect(window, &client);
    out += ",\"hwnd\":" + Handle(window) + ",\"pid\":" + std::to_string(processId) +
           ",\"handles\":" + std::to_string(ProcessHandleCountOf(processId)) +
           ",\"threads\":" + std::to_string(ProcessThreadCountOf(processId)) +
           ",\"class\":" + Json(ClassOf(window)) + ",\"title\":" + Json(TextOf(window)) +
           ",\"minimized\":" + Bool(IsIconic(window)) + ",\"visible\":" + Bool(IsWindowVisible(window)) +
           ",\"foreground\":" + Bool(GetForegroundWindow() == window) + ",\"client\":" + Size(client) +
           // The reading threads still running (the program's "TavloReading" window property).
           ",\"reading\":" + std::to_string(reinterpret_cast<INT_PTR>(GetPropA(window, "TavloReading"))) +
           MenuBar(window, processId, options.menuResource) + ",\"active\":" + Handle(gui.hwndActive) +
           ",\"focus\":" + FocusObject(gui.hwndFocus, options.focusName) + ",\"controls\":{";

    std::vector<int> ids = {100, 101, 102};
    for (int id = 70; id <= 99; ++id) ids.push_back(id);
    bool first = true;
    for (int id : ids) {
        HWND control = GetDlgItem(window, id);
        if (!control) continue;
        RECT r = {};
        GetWindowRect(control, &r);
        std::string entry = "\"" + std::to_string(id) + "\":{\"class\":" + Json(ClassOf(control)) +
                            ",\"visible\":" + Bool(IsWindowVisible(control)) + ",\"size\":" + Size(r);
        if (IsListBox(control)) {
            entry += ListBoxState(control);
        } else if (id == 102) {
            entry += ",\"text\":" + Json(TextOf(control));
            // The caret as a screen reader finds it: EM_GETSEL and the line requests carry no
            // pointers, so they work across processes (positions up to 65,535 here).
            LRESULT selection = SendMessageW(control, EM_GETSEL, 0, 0);
            LRESULT caret = LOWORD(selection);
            entry += ",\"caret\":" + std::to_string(caret) +
                     ",\"caretLine\":" + std::to_string(SendMessageW(control, EM_EXLINEFROMCHAR, 0, caret)) +
                     ",\"lineCount\":" + std::to_string(SendMessageW(control, EM_GETLINECOUNT, 0, 0)) +
                     ",\"length\":" + std::to_string(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0));
        } else {
            entry += ",\"length\":" + std::to_string(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0));
        }
        out += (first ? "" : ",") + entry + "}";
        first = false;
    }
    out += "},\"children\":" + ChildrenInOrder(window) +
           ",\"instances\":" + std::to_string(CountTopLevel(ClassOf(window))) + "}\n";
    fputs(out.c_str(), stdout);
    CoUninitialize();
    return 0;
}
