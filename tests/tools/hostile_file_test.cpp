// What a volume's names may hold that no volume is: folders, pipes, files
// larger than a volume can be, a vast damaged index, and a file the system
// fails to read. Each is refused or reported at once, and nothing is made
// or changed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>
#endif

#include "db/quote_index_file.h"
#include "tool_test_support.h"

namespace {

using Args = std::vector<std::string>;
const uint64_t kGiB = uint64_t(1) << 30;
const char kNotRegular[] = "not a regular file (a folder, pipe or device)";

// Sets a file's size without writing its bytes, so a file of many
// gigabytes takes no room where the file system keeps sparse files.
void set_file_size(const std::string& name, uint64_t size)
{
#ifdef _WIN32
    const HANDLE file = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << name;
    DWORD ignored = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    const bool sized = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    ASSERT_TRUE(sized) << name;
#else
    std::filesystem::resize_file(name, size);
#endif
}

size_t lines_starting(const std::string& text, const std::string& start)
{
    size_t found = text.compare(0, start.size(), start) == 0 ? 1 : 0;
    const std::string line = "\n" + start;
    for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
        ++found;
    return found;
}

#ifndef _WIN32
// Notices anything opening the pipe for reading while it watches: only
// then can a writer open it without waiting. That open also frees a reader
// held up in its own, so a fault fails the test instead of hanging it.
class PipeWatch {
public:
    explicit PipeWatch(const std::string& name) : m_thread([this, name] { watch(name); }) {}
    ~PipeWatch() { opened(); }
    // Stops watching; true when something opened the pipe.
    bool opened()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        return m_opened;
    }

private:
    void watch(const std::string& name)
    {
        while (!m_stop) {
            const int fd = open(name.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                m_opened = true;
                close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_opened{false};
    std::thread m_thread;
};
#endif

}  // namespace

class HostileFiles : public ToolTest {
protected:
    void SetUp() override
    {
        make_volume({"a", "b"});
        data = file_bytes(volume);
        index = file_bytes(index_file);
    }
    void restore()
    {
        write_bytes(volume, data);
        write_bytes(index_file, index);
    }
    // A check reports what it finds on its output, and refusals as errors.
    static std::string message(const ToolRun& run) { return run.out + run.err; }

    std::string data;
    std::string index;
};

TEST_F(HostileFiles, FoldersAndPipesAreRefusedUnopened)
{
    const std::vector<Args> verbs = {{"check", volume}, {"show", volume, "0"}, {"export", volume},
                                     {"count", volume}, {"random", volume},    {"recover", volume},
                                     {"pack", volume}};
    std::vector<bool> pipes = {false};
#ifndef _WIN32
    pipes.push_back(true);
#endif
    for (const bool pipe : pipes) {
        for (const std::string& target : {volume, index_file}) {
            const std::string kept = target == volume ? index_file : volume;
            restore();
            std::filesystem::remove(target);
#ifndef _WIN32
            ASSERT_TRUE(pipe ? mkfifo(target.c_str(), 0600) == 0
                             : std::filesystem::create_directory(target));
#else
            ASSERT_TRUE(std::filesystem::create_directory(target));
#endif
            const std::vector<std::string> listing = folder.listing();
            const std::string kept_bytes = file_bytes(kept);
            for (const Args& args : verbs) {
                const std::string what = args[0] + (pipe ? " pipe " : " folder ") + target;
#ifndef _WIN32
                PipeWatch watch(target);
#endif
                const ToolRun run = run_tool(args);
#ifndef _WIN32
                EXPECT_FALSE(pipe && watch.opened()) << what;
#endif
                // Recovery reads the data file alone: a lost index is what it mends.
                if (args[0] == "recover" && target == index_file) {
                    EXPECT_EQ(0, run.status) << what << run.err;
                    std::filesystem::remove(volume + ".rec.STD");
                    std::filesystem::remove(folder.file("v.STD.rec.idx"));
                } else {
                    const int status = args[0] == "check" && target == index_file ? 3 : 1;
                    EXPECT_EQ(status, run.status) << what;
                    EXPECT_TRUE(has(message(run), kNotRegular)) << what << run.out << run.err;
                }
                EXPECT_EQ(listing, folder.listing()) << what;
                EXPECT_EQ(kept_bytes, file_bytes(kept)) << what;
            }
            std::filesystem::remove(target);
        }
    }
}

TEST_F(HostileFiles, OversizedFilesAreRefusedPastTheirLimits)
{
    const std::vector<Args> reading = {{"check", volume}, {"show", volume, "0"}, {"export", volume},
                                       {"count", volume}, {"random", volume}};
    const struct { bool index; uint64_t size; std::string count, refusal; } cases[] = {
        {true, 16 * kGiB - 4, "4294967295\n", ""},
        {true, 16 * kGiB, "", "17179869184 bytes, more entries than a volume can hold"},
        {true, 16 * kGiB + 4, "", "17179869188 bytes, more entries than a volume can hold"},
        {false, 4 * kGiB, "2\n", ""},
        {false, 4 * kGiB + 1, "", "4294967297 bytes, larger than a volume's data file can be"},
    };
    for (const auto& c : cases) {
        const std::string& target = c.index ? index_file : volume;
        restore();
        set_file_size(target, c.size);
        const std::vector<std::string> listing = folder.listing();
        if (c.refusal.empty()) {
            EXPECT_EQ(c.count, run_tool({"count", volume}).out) << c.size;
            EXPECT_EQ("b\n", run_tool({"show", volume, "1"}).out) << c.size;
        }
        std::vector<Args> verbs = c.refusal.empty() ? std::vector<Args>{} : reading;
        if (!c.refusal.empty() && !c.index)
            verbs.push_back({"recover", volume});
        for (const Args& args : verbs) {
            const ToolRun run = run_tool(args);
            EXPECT_EQ(args[0] == "check" ? 3 : 1, run.status) << args[0] << " " << c.size;
            EXPECT_TRUE(has(message(run), c.refusal)) << run.out << run.err;
        }
        EXPECT_EQ(listing, folder.listing()) << c.size;
        EXPECT_EQ(c.size, std::filesystem::file_size(target));
    }
}

TEST_F(HostileFiles, CheckListsTheFirstFindingsAndCountsThemAll)
{
    // 16 Mi entries of offset 0, which lies in the header: every one a problem.
    write_bytes(index_file, "");
    set_file_size(index_file, 64 << 20);
    ToolRun run = run_tool({"check", volume});
    EXPECT_EQ(3, run.status);
    EXPECT_EQ(1000u, lines_starting(run.out, "problem: entry "));
    EXPECT_TRUE(has(run.out, "problem: entry 999: offset 0 lies outside the records"));
    EXPECT_TRUE(has(run.out, "\n... and 16776216 more problems\n"));
    EXPECT_TRUE(has(run.out, ": 16777216 entries, 0 live, 0 deleted;"));
    EXPECT_TRUE(has(run.out, "; 16777216 problems\n"));

    // Erased entries are notes; past the kept ones they crowd out no problem.
    std::string erased;
    for (int i = 0; i < 1500; ++i)
        erased += entry_bytes(QuoteIndexFile::kErased);
    const uint32_t end = static_cast<uint32_t>(data.size());
    write_bytes(index_file, index.substr(0, 4) + erased + entry_bytes(end) + "\x01");
    run = run_tool({"check", volume});
    EXPECT_EQ(3, run.status);
    EXPECT_EQ(1000u, lines_starting(run.out, "note: entry "));
    EXPECT_TRUE(has(run.out, "problem: entry 1502: the index ends with a partial entry of 1 byte"));
    EXPECT_TRUE(has(run.out, "problem: entry 1501: offset " + std::to_string(end)));
    EXPECT_TRUE(has(run.out, "\n... and 500 more notes\n"));
    EXPECT_TRUE(has(run.out, ": 1502 entries, 1 live, 0 deleted;"));
    EXPECT_TRUE(has(run.out, "; 2 problems\n"));
}

// Wine does not fail reads of bytes another handle has locked, so there
// is no read error to make under it.
#ifndef _WIN32
TEST_F(HostileFiles, ReadErrorInTheHeaderIsNoForeignFile)
{
    // Reading this process's memory at address 0 fails with EIO.
    std::filesystem::remove(volume);
    std::filesystem::create_symlink("/proc/self/mem", volume);
    const std::vector<std::string> listing = folder.listing();
    for (const Args& args : std::vector<Args>{{"check", volume}, {"show", volume, "0"},
                                              {"count", volume}, {"recover", volume}}) {
        const ToolRun run = run_tool(args);
        EXPECT_EQ(args[0] == "check" ? 3 : 1, run.status) << args[0];
        EXPECT_TRUE(has(message(run), "cannot be read: I/O error")) << run.out << run.err;
        EXPECT_FALSE(has(message(run), "not a quote volume")) << args[0];
    }
    EXPECT_EQ(listing, folder.listing());
    EXPECT_EQ(index, file_bytes(index_file));
}
#endif
