#include "tool_test_support.h"

#include <sstream>

#include <gtest/gtest.h>

#include "tools/volume_tool.h"

ToolRun run_tool(const std::vector<std::string>& args)
{
    std::ostringstream out(std::ios::out | std::ios::binary);
    std::ostringstream err;
    const int status = run_volume_tool(args, out, err);
    return ToolRun{status, out.str(), err.str()};
}

std::string index_of(const std::string& data_name)
{
    return data_name.substr(0, data_name.rfind('.')) + ".idx";
}

void make_volume(const std::string& name, const std::vector<std::string>& texts,
                 std::vector<uint32_t>* offsets)
{
    QuoteDatabaseV2 db{zstring(name.c_str())};
    ASSERT_TRUE(db.bound());
    for (const std::string& text : texts) {
        ASSERT_EQ(1u, db.append_item(make_quote(0, "cat", text)));
        uint32_t offset = 0;
        ASSERT_EQ(1u, db.read_entry(db.count() - 1, offset));
        if (offsets)
            offsets->push_back(offset);
    }
}

void delete_item(QuoteDatabaseV2& volume, uint32_t n)
{
    QuoteEntry entry = stored_entry(volume, n);
    ASSERT_EQ(1u, volume.delete_item(entry));
}
