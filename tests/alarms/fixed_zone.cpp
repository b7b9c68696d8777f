// Every test here runs in US Eastern time, set once: Wine's runtime keeps
// stale daylight-saving dates when TZ changes inside one process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

struct FixedZone : testing::Environment {
    void SetUp() override
    {
#ifdef _WIN32
        _putenv("TZ=EST5EDT");  // the runtime's functions read TZ as well
        _tzset();
#else
        setenv("TZ", "EST5EDT", 1);
        tzset();
#endif
    }
};

const testing::Environment* const kZone = testing::AddGlobalTestEnvironment(new FixedZone);

}  // namespace
