// Stand-in for the driver family's companion program: appends the arguments of every run
// (the text after the program name) as one line to a log that tests read.
#include <windows.h>

#include <cstdio>
#include <cstring>

static const char kUsage[] =
    "usage: cv_config.exe ARGUMENTS\n"
    "Appends ARGUMENTS (e.g. +KOR01 to declare a profile, -KOR01 to withdraw it) as one line\n"
    "to %KOR_CV_CONFIG_LOG% when that is set, else to cv_config.log beside this program.\n";

static const char* SkipProgramName(const char* cmd)
{
    if (*cmd == '"') {
        const char* end = std::strchr(cmd + 1, '"');
        cmd = end ? end + 1 : cmd + std::strlen(cmd);
    } else {
        while (*cmd && *cmd != ' ' && *cmd != '\t')
            ++cmd;
    }
    while (*cmd == ' ' || *cmd == '\t')
        ++cmd;
    return cmd;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("KOR_CV_CONFIG_LOG", path, sizeof(path));
    if (n == 0 || n >= sizeof(path)) {
        n = GetModuleFileNameA(nullptr, path, sizeof(path));
        if (n == 0 || n >= sizeof(path))
            return 1;
        char* slash = std::strrchr(path, '\\');
        const char name[] = "cv_config.log";
        size_t dir = slash ? static_cast<size_t>(slash - path) + 1 : 0;
        if (dir + sizeof(name) > sizeof(path))
            return 1;
        std::memcpy(path + dir, name, sizeof(name));
    }
    // Append-only access keeps concurrent runs from overwriting each other's lines.
    HANDLE f = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return 1;
    const char* args = SkipProgramName(GetCommandLineA());
    if (std::strcmp(args, "/?") == 0) {
        // A GUI program: print through the console of whoever started it, if any.
        if (AttachConsole(ATTACH_PARENT_PROCESS) && std::freopen("CONOUT$", "w", stdout))
            std::fputs(kUsage, stdout);
        CloseHandle(f);
        return 0;
    }
    DWORD len = static_cast<DWORD>(std::strlen(args)), written = 0;
    char line[1024];
    if (len > sizeof(line) - 3)
        len = sizeof(line) - 3;
    std::memcpy(line, args, len);
    line[len++] = '\r';
    line[len++] = '\n';
    BOOL ok = WriteFile(f, line, len, &written, nullptr);
    CloseHandle(f);
    return ok && written == len ? 0 : 1;
}
