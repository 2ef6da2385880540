#include "phone/remote/ChildProcess.h"

#include "phone/Error.h"
#include "phone/remote/SystemError.h"

#include <windows.h>

#include <cwchar>
#include <cwctype>
#include <map>
#include <memory>

namespace phone::remote {

struct ChildProcess::Impl
{
    Handle process;
};

namespace {

std::wstring wide(const std::string &text)
{
    if (text.empty())
        return {};
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                        size);
    return result;
}

// One argument quoted so that the C runtime's command-line parsing gives it back unchanged.
std::wstring quoted(const std::wstring &argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring result = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        result.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        result += c;
    }
    result.append(2 * backslashes, L'\\');
    return result + L"\"";
}

std::wstring upper(std::wstring text)
{
    for (wchar_t &c : text)
        c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

// This process's environment with `extra` set on top, as a block for CreateProcessW.
std::wstring environmentBlock(const Environment &extra)
{
    std::map<std::wstring, std::wstring> variables; // by upper-case name: Windows ignores case
    if (wchar_t *strings = GetEnvironmentStringsW()) {
        for (const wchar_t *entry = strings; *entry; entry += std::wcslen(entry) + 1) {
            const std::wstring text(entry);
            // Entries like "=C:=C:\dir" start with '=' and belong to the name.
            const std::size_t equals = text.find(L'=', 1);
            variables[upper(text.substr(0, equals))] = text;
        }
        FreeEnvironmentStringsW(strings);
    }
    for (const auto &[name, value] : extra)
        variables[upper(wide(name))] = wide(name) + L"=" + wide(value);
    std::wstring block;
    for (const auto &entry : variables) {
        block += entry.second;
        block += L'\0';
    }
    block += L'\0';
    return block;
}

Handle inheritable(HANDLE handle)
{
    HANDLE copy = nullptr;
    if (!handle || handle == INVALID_HANDLE_VALUE
        || !DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, TRUE,
                            DUPLICATE_SAME_ACCESS))
        return Handle();
    return Handle(copy);
}

// The list of handles the child inherits, and nothing else: other threads may be starting
// children of their own with inheritable handles at the same moment.
class HandleList
{
public:
    explicit HandleList(std::vector<HANDLE> handles)
        : m_handles(std::move(handles))
    {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        m_storage = std::make_unique<char[]>(size);
        m_list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(m_storage.get());
        if (!InitializeProcThreadAttributeList(m_list, 1, 0, &size)) {
            m_list = nullptr;
            throw Error(ErrorKind::Component, lastSystemReason());
        }
        if (!UpdateProcThreadAttribute(m_list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                       m_handles.data(), m_handles.size() * sizeof(HANDLE), nullptr,
                                       nullptr))
            throw Error(ErrorKind::Component, lastSystemReason());
    }
    ~HandleList()
    {
        if (m_list)
            DeleteProcThreadAttributeList(m_list);
    }
    HandleList(const HandleList &) = delete;
    HandleList &operator=(const HandleList &) = delete;
    LPPROC_THREAD_ATTRIBUTE_LIST get() const { return m_list; }

private:
    std::vector<HANDLE> m_handles;
    std::unique_ptr<char[]> m_storage;
    LPPROC_THREAD_ATTRIBUTE_LIST m_list = nullptr;
};

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string> &arguments,
                           const Environment &environment, Handle input, Handle output)
    : m_impl(std::make_unique<Impl>())
{
    requireProgram(arguments);

    std::wstring commandLine;
    for (const std::string &argument : arguments)
        commandLine += (commandLine.empty() ? L"" : L" ") + quoted(wide(argument));
    std::wstring block = environmentBlock(environment);

    const Handle childInput = inheritable(input.native());
    const Handle childOutput = inheritable(output.native());
    const Handle childError = inheritable(GetStdHandle(STD_ERROR_HANDLE));
    if (!childInput.valid() || !childOutput.valid())
        throw Error(ErrorKind::Component, startFailure(arguments, lastSystemReason()));
    std::vector<HANDLE> handles{childInput.native(), childOutput.native()};
    if (childError.valid())
        handles.push_back(childError.native());

    try {
        const HandleList list(handles);
        STARTUPINFOEXW startup{};
        startup.StartupInfo.cb = sizeof(startup);
        startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
        startup.StartupInfo.hStdInput = childInput.native();
        startup.StartupInfo.hStdOutput = childOutput.native();
        startup.StartupInfo.hStdError = childError.valid() ? childError.native() : nullptr;
        startup.lpAttributeList = list.get();
        PROCESS_INFORMATION info{};
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                            CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW
                                | EXTENDED_STARTUPINFO_PRESENT,
                            block.data(), nullptr, &startup.StartupInfo, &info))
            throw Error(ErrorKind::Component, lastSystemReason(arguments.front()));
        CloseHandle(info.hThread);
        m_impl->process = Handle(info.hProcess);
    } catch (const Error &error) {
        throw Error(ErrorKind::Component, startFailure(arguments, error.description()));
    }
}

ChildProcess::~ChildProcess()
{
    kill();
}

bool ChildProcess::waitFor(std::chrono::milliseconds limit)
{
    if (!m_impl->process.valid())
        return true;
    const auto wait = static_cast<DWORD>(limit.count());
    if (WaitForSingleObject(m_impl->process.native(), wait) != WAIT_OBJECT_0)
        return false;
    m_impl->process.close();
    return true;
}

void ChildProcess::kill() noexcept
{
    if (!m_impl->process.valid())
        return;
    TerminateProcess(m_impl->process.native(), 1);
    WaitForSingleObject(m_impl->process.native(), 5000);
    m_impl->process.close();
}

} // namespace phone::remote
