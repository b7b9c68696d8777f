// Times the start of window programs, side by side: from CreateProcess to
// the program's main window on screen (a visible top-level window of its
// class) and to its first paint (the caption the program sets then).
//
//   start_timer.exe RUNS FOLDER PROGRAM...
//   PROGRAM: label|program|window class|caption prefix at first paint[|arguments]
//
// Every program is started RUNS times in FOLDER, the programs taking turns
// and the order turning each round, after one round that is not counted.
// Each run ends with WM_CLOSE to the window and waits for the process to
// end before the next starts. Prints a table of medians in milliseconds,
// each beside the first program's (a markdown table).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Program {
    std::string label, path, window_class, painted_prefix, arguments;
    std::vector<double> shown, painted;
};

struct Search {
    DWORD process;
    const char* window_class;
    HWND found;
};

BOOL CALLBACK FindShown(HWND window, LPARAM context)
{
    Search& search = *reinterpret_cast<Search*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[128];
    if (process == search.process && IsWindowVisible(window) &&
        GetClassNameA(window, name, sizeof name) && lstrcmpiA(name, search.window_class) == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency)
{
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// One start: false, with a message, when the window or its paint did not
// come within ten seconds or the program did not end when closed.
bool TimeOnce(Program& program, const std::string& folder, bool counted)
{
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    std::string command = "\"" + program.path + "\" " + program.arguments;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        std::fprintf(stderr, "%s: cannot start %s (error %lu)\n", program.label.c_str(),
                     program.path.c_str(), GetLastError());
        return false;
    }
    const ULONGLONG deadline = GetTickCount64() + 10000;
    Search search = {process.dwProcessId, program.window_class.c_str(), nullptr};
    double shown = -1, painted = -1;
    while (GetTickCount64() < deadline) {
        if (!search.found)
            EnumWindows(FindShown, reinterpret_cast<LPARAM>(&search));
        QueryPerformanceCounter(&now);
        if (search.found && shown < 0)
            shown = Milliseconds(start, now, frequency);
        if (search.found) {
            char caption[256] = "";
            GetWindowTextA(search.found, caption, sizeof caption);
            if (std::string(caption).rfind(program.painted_prefix, 0) == 0) {
                painted = Milliseconds(start, now, frequency);
                break;
            }
        }
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0)
            break;
    }
    bool ended = false;
    if (search.found) {
        PostMessageA(search.found, WM_CLOSE, 0, 0);
        ended = WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0;
    }
    if (!ended) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (painted < 0 || !ended) {
        std::fprintf(stderr, "%s: %s\n", program.label.c_str(),
                     shown < 0     ? "no window of its class came up within 10 s"
                     : painted < 0 ? "its first paint did not come within 10 s"
                                   : "did not end within 10 s of WM_CLOSE");
        return false;
    }
    if (counted) {
        program.shown.push_back(shown);
        program.painted.push_back(painted);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: start_timer RUNS FOLDER "
                     "'label|program|class|caption prefix[|arguments]'...\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const std::string folder = argv[2];
    std::vector<Program> programs;
    for (int i = 3; i < argc; ++i) {
        std::vector<std::string> parts = Split(argv[i], '|');
        if (parts.size() < 4 || runs < 1) {
            std::fprintf(stderr, "bad program: %s\n", argv[i]);
            return 2;
        }
        parts.resize(5);
        programs.push_back({parts[0], parts[1], parts[2], parts[3], parts[4], {}, {}});
    }
    const size_t count = programs.size();
    for (int round = 0; round <= runs; ++round) {
        for (size_t k = 0; k < count; ++k) {
            Program& program = programs[(k + static_cast<size_t>(round)) % count];
            if (!TimeOnce(program, folder, round > 0))
                return 1;
            Sleep(200);  // the last process's teardown out of the way
        }
    }
    std::printf("| program | window shown, median ms | ÷ first row | first paint, median ms | "
                "÷ first row | first paint per run, ms |\n|---|--:|--:|--:|--:|---|\n");
    const double shown_floor = Median(programs[0].shown);
    const double painted_floor = Median(programs[0].painted);
    for (const Program& program : programs) {
        std::string each;
        for (double ms : program.painted) {
            char text[32];
            std::snprintf(text, sizeof text, "%s%.0f", each.empty() ? "" : " ", ms);
            each += text;
        }
        const double shown = Median(program.shown);
        const double painted = Median(program.painted);
        std::printf("| %s | %.1f | %.2fx | %.1f | %.2fx | %s |\n", program.label.c_str(), shown,
                    shown_floor > 0 ? shown / shown_floor : 0.0, painted,
                    painted_floor > 0 ? painted / painted_floor : 0.0, each.c_str());
    }
    return 0;
}
