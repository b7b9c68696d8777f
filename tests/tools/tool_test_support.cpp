#include "tool_test_support.h"

#include <sstream>

#include "tools/volume_tool.h"

ToolRun run_tool(const std::vector<std::string>& args)
{
    std::ostringstream out(std::ios::out | std::ios::binary);
    std::ostringstream err;
    const int status = run_volume_tool(args, out, err);
    return ToolRun{status, out.str(), err.str()};
}

void ToolTest::make_volume(const std::vector<std::string>& texts)
{
    QuoteDatabaseV2 db{zstring(volume.c_str())};
    ASSERT_TRUE(db.bound());
    for (const std::string& text : texts) {
        ASSERT_EQ(1u, db.append_item(make_quote(0, "cat", text)));
        offsets.emplace_back();
        ASSERT_EQ(1u, db.read_entry(db.count() - 1, offsets.back()));
    }
}
