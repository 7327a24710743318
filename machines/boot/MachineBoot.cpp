// MachineBoot.cpp - writes a machine profile's registry the way the system
// keeps it: a REGEDIT4 file applied through the registry API, so that it can
// reach HKEY_DYN_DATA and the volatile HKLM\HARDWARE tree, which regedit and
// reg.exe cannot. Run at every start of a simulated machine for the volatile
// parts, as the real system rebuilds them at boot. It also plays the two
// parts of the system's start and end that Wine leaves out here:
//
//   machineboot <file.reg> [...]   applies the files
//   machineboot logon              starts the programs of the Run keys (HKLM,
//                                  then HKCU), as the shell does at logon once
//                                  the drivers are up
//   machineboot session            stays in the session; when the session is
//                                  asked to end (a program called
//                                  ExitWindowsEx) it ends with status 3, which
//                                  tells scripts/machine.sh to restart the
//                                  machine
//   machineboot restart            asks the system to restart, as a program does
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Root
{
    const char* name;
    HKEY key;
};
const Root kRoots[] = {
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE}, {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},   {"HKEY_USERS", HKEY_USERS},
    {"HKEY_DYN_DATA", HKEY_DYN_DATA},
};

bool SplitRoot(const std::string& path, HKEY* root, std::string* rest)
{
    for (const Root& r : kRoots) {
        size_t n = strlen(r.name);
        if (path.compare(0, n, r.name) == 0 && (path.size() == n || path[n] == '\\')) {
            *root = r.key;
            *rest = path.size() > n ? path.substr(n + 1) : std::string();
            return true;
        }
    }
    return false;
}

// Keys below a volatile key must be volatile themselves.
LONG CreateKey(HKEY root, const std::string& path, HKEY* key)
{
    DWORD disposition;
    LONG rc = RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, key, &disposition);
    if (rc == ERROR_CHILD_MUST_BE_VOLATILE)
        rc = RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                             nullptr, key, &disposition);
    return rc;
}

void DeleteTree(HKEY root, const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    char name[256];
    while (RegEnumKeyA(key, 0, name, sizeof(name)) == ERROR_SUCCESS)
        DeleteTree(root, path + "\\" + name);
    RegCloseKey(key);
    RegDeleteKeyA(root, path.c_str());
}

// A quoted REGEDIT4 string with \\ and \" escapes; `pos` moves past it.
bool ParseQuoted(const std::string& line, size_t& pos, std::string& out)
{
    if (pos >= line.size() || line[pos] != '"')
        return false;
    out.clear();
    for (++pos; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '\\' && pos + 1 < line.size()) {
            out.push_back(line[++pos]);
        } else if (c == '"') {
            ++pos;
            return true;
        } else {
            out.push_back(c);
        }
    }
    return false;
}

bool ParseHex(const std::string& text, std::vector<BYTE>& out)
{
    out.clear();
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ',' || text[i] == ' ' || text[i] == '\\'))
            ++i;
        if (i >= text.size())
            break;
        char* end = nullptr;
        unsigned long v = strtoul(text.c_str() + i, &end, 16);
        size_t used = end - (text.c_str() + i);
        if (used == 0 || used > 2 || v > 0xFF)
            return false;
        out.push_back((BYTE)v);
        i += used;
    }
    return true;
}

int Apply(const char* file)
{
    FILE* f = fopen(file, "rb");
    if (!f) {
        fprintf(stderr, "machineboot: cannot open %s\n", file);
        return 1;
    }
    std::vector<std::string> lines;
    std::string current;
    int c;
    while ((c = fgetc(f)) != EOF) {
        if (c == '\r')
            continue;
        if (c == '\n') {
            lines.push_back(current);
            current.clear();
        } else {
            current.push_back((char)c);
        }
    }
    fclose(f);
    if (!current.empty())
        lines.push_back(current);

    HKEY key = nullptr;
    int errors = 0;
    std::string pending;
    for (size_t n = 0; n < lines.size(); ++n) {
        std::string line = pending + lines[n];
        pending.clear();
        if (!line.empty() && line.back() == '\\' && line.find("=hex") != std::string::npos) {
            pending = line.substr(0, line.size() - 1);
            continue;
        }
        if (line.empty() || line[0] == ';' || line.compare(0, 8, "REGEDIT4") == 0)
            continue;
        if (line[0] == '[') {
            if (key)
                RegCloseKey(key);
            key = nullptr;
            bool remove = line.size() > 1 && line[1] == '-';
            std::string path = line.substr(remove ? 2 : 1, line.rfind(']') - (remove ? 2 : 1));
            HKEY root;
            std::string rest;
            if (!SplitRoot(path, &root, &rest)) {
                fprintf(stderr, "%s:%u: unknown root in %s\n", file, (unsigned)n + 1, path.c_str());
                ++errors;
                continue;
            }
            if (remove) {
                DeleteTree(root, rest);
                continue;
            }
            if (CreateKey(root, rest, &key) != ERROR_SUCCESS) {
                fprintf(stderr, "%s:%u: cannot create %s\n", file, (unsigned)n + 1, path.c_str());
                key = nullptr;
                ++errors;
            }
            continue;
        }
        if (!key)
            continue;
        size_t pos = 0;
        std::string name;
        if (line[0] == '@') {
            pos = 1;
        } else if (!ParseQuoted(line, pos, name)) {
            fprintf(stderr, "%s:%u: bad value line\n", file, (unsigned)n + 1);
            ++errors;
            continue;
        }
        if (pos >= line.size() || line[pos] != '=') {
            ++errors;
            continue;
        }
        std::string data = line.substr(pos + 1);
        LONG rc;
        if (data == "-") {
            // Removing what is not there leaves the registry as asked.
            rc = RegDeleteValueA(key, name.c_str());
            if (rc == ERROR_FILE_NOT_FOUND)
                rc = ERROR_SUCCESS;
        } else if (!data.empty() && data[0] == '"') {
            size_t p = 0;
            std::string text;
            ParseQuoted(data, p, text);
            rc = RegSetValueExA(key, name.c_str(), 0, REG_SZ, (const BYTE*)text.c_str(),
                                (DWORD)text.size() + 1);
        } else if (data.compare(0, 6, "dword:") == 0) {
            DWORD v = strtoul(data.c_str() + 6, nullptr, 16);
            rc = RegSetValueExA(key, name.c_str(), 0, REG_DWORD, (const BYTE*)&v, sizeof(v));
        } else if (data.compare(0, 3, "hex") == 0) {
            DWORD type = REG_BINARY;
            size_t colon = data.find(':');
            if (data.size() > 3 && data[3] == '(')
                type = strtoul(data.c_str() + 4, nullptr, 16);
            std::vector<BYTE> bytes;
            if (colon == std::string::npos || !ParseHex(data.substr(colon + 1), bytes)) {
                fprintf(stderr, "%s:%u: bad hex data\n", file, (unsigned)n + 1);
                ++errors;
                continue;
            }
            rc = RegSetValueExA(key, name.c_str(), 0, type, bytes.data(), (DWORD)bytes.size());
        } else {
            fprintf(stderr, "%s:%u: unknown data form\n", file, (unsigned)n + 1);
            ++errors;
            continue;
        }
        if (rc != ERROR_SUCCESS) {
            fprintf(stderr, "%s:%u: write failed (%ld)\n", file, (unsigned)n + 1, rc);
            ++errors;
        }
    }
    if (key)
        RegCloseKey(key);
    return errors ? 1 : 0;
}

// The programs of a Run key, each started as its command line says.
void StartRunEntries(HKEY root)
{
    HKEY key;
    if (RegOpenKeyExA(root, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
        return;
    char name[256], command[MAX_PATH * 2];
    DWORD nameSize = sizeof(name), size = sizeof(command) - 1, type = 0;
    for (DWORD i = 0; RegEnumValueA(key, i, name, &nameSize, nullptr, &type,
                                    reinterpret_cast<BYTE*>(command), &size) == ERROR_SUCCESS;
         ++i, nameSize = sizeof(name), size = sizeof(command) - 1) {
        command[size] = 0;
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            continue;
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                           nullptr, &si, &pi)) {
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
            printf("started %s: %s\n", name, command);
        } else {
            fprintf(stderr, "machineboot: %s does not start (%lu): %s\n", name, GetLastError(),
                    command);
        }
    }
    RegCloseKey(key);
}

// A hidden top-level window, asked like every other when the session is to
// end. Under Wine, ExitWindowsEx waits for the session's end to finish, so
// the program that called it can answer no question: the session's end would
// wait on it for good. The machine goes down at the question instead, as
// Windows would soon after it.
LRESULT CALLBACK SessionProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_QUERYENDSESSION || (message == WM_ENDSESSION && wParam))
        ExitProcess(3);
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

int WatchSession()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = SessionProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "CorvaneMachineSession";
    if (!RegisterClassA(&wc) ||
        !CreateWindowExA(0, wc.lpszClassName, "Machine session", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                         nullptr, wc.hInstance, nullptr))
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: machineboot <file.reg> [...] | logon | session | restart\n");
        return 2;
    }
    std::string verb = argv[1];
    if (verb == "logon") {
        StartRunEntries(HKEY_LOCAL_MACHINE);
        StartRunEntries(HKEY_CURRENT_USER);
        return 0;
    }
    if (verb == "session")
        return WatchSession();
    if (verb == "restart")
        return ExitWindowsEx(EWX_REBOOT, 0) ? 0 : 1;
    int rc = 0;
    for (int i = 1; i < argc; ++i)
        rc |= Apply(argv[i]);
    return rc;
}
