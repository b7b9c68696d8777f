// Every test of this executable runs in US Eastern time, set once before
// the first test: Wine's runtime keeps the daylight-saving dates it worked
// out for a year even after TZ changes, so switching zones back and forth
// inside one process gives stale answers.
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
