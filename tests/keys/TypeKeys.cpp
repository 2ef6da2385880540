// tervani-keys TITLE STEP...: brings the top-level window titled TITLE to the front (waiting
// for it to appear) and presses keys into it through the system's input queue, as a keyboard
// does. Steps:
//   type:TEXT      types TEXT, character by character
//   key:COMBINATION presses Alt+W, Ctrl+Shift+X, Shift+F10, Return, Tab, Escape or Space
//   wait:TITLE     waits until the window in front is titled TITLE (a message box, say)
// Exit status 0 when every step ran, 1 when a window did not come (within 60 s), 2 for a
// malformed call.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr DWORD patienceMs = 60'000;
// Time for the program to take in what a step did before the next one.
constexpr DWORD settleMs = 400;

void press(WORD virtualKey, bool release)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(INPUT));
}

void typeText(const std::wstring &text)
{
    for (wchar_t character : text) {
        INPUT inputs[2]{};
        for (int i = 0; i < 2; ++i) {
            inputs[i].type = INPUT_KEYBOARD;
            inputs[i].ki.wScan = character;
            inputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
        }
        SendInput(2, inputs, sizeof(INPUT));
        Sleep(30);
    }
}

// The virtual key of one name: a letter or digit, or a named key; 0 for none.
WORD virtualKeyOf(const std::wstring &name)
{
    if (name.size() == 1
        && ((name[0] >= L'A' && name[0] <= L'Z') || (name[0] >= L'0' && name[0] <= L'9')))
        return name[0];
    const auto digits = [](const std::wstring &text) {
        return !text.empty() && text.find_first_not_of(L"0123456789") == std::wstring::npos;
    };
    if (name.size() >= 2 && name.size() <= 3 && name[0] == L'F' && digits(name.substr(1))) {
        const int number = std::stoi(name.substr(1));
        if (number >= 1 && number <= 12)
            return static_cast<WORD>(VK_F1 + number - 1);
    }
    const struct
    {
        const wchar_t *name;
        WORD key;
    } named[] = {{L"Return", VK_RETURN}, {L"Tab", VK_TAB},  {L"Escape", VK_ESCAPE},
                 {L"Space", VK_SPACE},   {L"Alt", VK_MENU}, {L"Ctrl", VK_CONTROL},
                 {L"Shift", VK_SHIFT}};
    for (const auto &entry : named) {
        if (name == entry.name)
            return entry.key;
    }
    return 0;
}

bool pressCombination(const std::wstring &combination)
{
    std::vector<WORD> keys;
    std::size_t start = 0;
    while (start <= combination.size()) {
        const std::size_t plus = combination.find(L'+', start);
        const std::wstring name = combination.substr(start, plus - start);
        const WORD key = virtualKeyOf(name);
        if (!key)
            return false;
        keys.push_back(key);
        if (plus == std::wstring::npos)
            break;
        start = plus + 1;
    }
    for (WORD key : keys)
        press(key, false);
    for (auto key = keys.rbegin(); key != keys.rend(); ++key)
        press(*key, true);
    return true;
}

std::wstring frontTitle()
{
    wchar_t title[256]{};
    GetWindowTextW(GetForegroundWindow(), title, 256);
    return title;
}

bool waitFor(bool (*ready)(const std::wstring &), const std::wstring &title)
{
    for (DWORD waited = 0; waited < patienceMs; waited += 100) {
        if (ready(title))
            return true;
        Sleep(100);
    }
    return false;
}

bool broughtToFront(const std::wstring &title)
{
    HWND window = FindWindowW(nullptr, title.c_str());
    return window && SetForegroundWindow(window) && frontTitle() == title;
}

bool inFront(const std::wstring &title)
{
    return frontTitle() == title;
}

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    if (argc < 3) {
        std::fputs("usage: tervani-keys TITLE STEP...\n", stderr);
        return 2;
    }
    if (!waitFor(broughtToFront, argv[1])) {
        std::fprintf(stderr, "tervani-keys: no window \"%ls\"\n", argv[1]);
        return 1;
    }
    Sleep(settleMs);
    for (int i = 2; i < argc; ++i) {
        const std::wstring step = argv[i];
        const std::size_t colon = step.find(L':');
        const std::wstring kind = step.substr(0, colon);
        const std::wstring value = colon == std::wstring::npos ? L"" : step.substr(colon + 1);
        if (kind == L"type") {
            typeText(value);
        } else if (kind == L"key") {
            if (!pressCombination(value)) {
                std::fprintf(stderr, "tervani-keys: no such key: %ls\n", value.c_str());
                return 2;
            }
        } else if (kind == L"wait") {
            if (!waitFor(inFront, value)) {
                std::fprintf(stderr,
                             "tervani-keys: \"%ls\" did not come to the front (\"%ls\" is)\n",
                             value.c_str(), frontTitle().c_str());
                return 1;
            }
        } else {
            std::fprintf(stderr, "tervani-keys: unknown step %ls\n", step.c_str());
            return 2;
        }
        Sleep(settleMs);
    }
    return 0;
}
