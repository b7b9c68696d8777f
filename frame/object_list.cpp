#include "frame/object_list.h"

#include <cstdlib>
#include <istream>
#include <new>
#include <ostream>

#include "base/zstring.h"
#include "frame/message_box.h"
#include "frame/resource_object.h"

namespace {

// Room for a count or kind line; a longer one is damage, not a number.
const std::streamsize kLineRoom = 32;
const char kUnknownKind[] = ": Unknown object type!";

// 1, 2 or 3 for the texts of the three kinds, 0 for any other text.
int KindOf(const char* text)
{
    if (text[0] >= '1' && text[0] <= '3' && text[1] == 0)
        return text[0] - '0';
    return 0;
}

// An empty object of kind, or null when memory runs out.
std::unique_ptr<ResourceObject> MakeObject(int kind)
{
    if (kind == ResourceObject::kIcon)
        return std::unique_ptr<ResourceObject>(new (std::nothrow) IconResource);
    if (kind == ResourceObject::kBitmap)
        return std::unique_ptr<ResourceObject>(new (std::nothrow) BitmapResource);
    return std::unique_ptr<ResourceObject>(new (std::nothrow) CursorResource);
}

void ReportUnknownKind(const char* kind)
{
    try {
        zstring text(kind);
        text.append(kUnknownKind);
        NoticeBox(text.c_str());
    } catch (const std::bad_alloc&) {
        NoticeBox(kUnknownKind + 2);  // the kind is lost, not the warning
    }
}

}  // namespace

ObjectList::ObjectList() = default;
ObjectList::~ObjectList() = default;

int ObjectList::Append(ResourceObject* object)
{
    std::unique_ptr<ResourceObject> entry(object);
    if (!entry)
        return 0;
    try {
        m_entries.push_back(std::move(entry));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

ResourceObject* ObjectList::Element(unsigned index) const
{
    if (m_entries.empty())
        return nullptr;
    return m_entries[index % m_entries.size()].get();
}

std::ostream& ObjectList::Write(std::ostream& out) const
{
    out << Count() << '\n';
    out.flush();
    for (const auto& entry : m_entries) {
        out << entry->Kind() << '\n';
        entry->Write(out);
    }
    return out;
}

std::istream& ObjectList::Read(std::istream& in)
{
    char line[kLineRoom];
    if (!in.getline(line, kLineRoom))
        return in;
    // The count comes from the file: entries are taken one at a time as
    // they arrive, so a huge count ends with the stream. Out of range, it
    // is held at the largest count rather than wrapping.
    const long count = std::strtol(line, nullptr, 10);
    for (long i = 0; i < count; ++i) {
        if (!in.getline(line, kLineRoom))
            return in;
        const int kind = KindOf(line);
        if (!kind) {
            ReportUnknownKind(line);
            in.setstate(std::ios::failbit);
            return in;
        }
        std::unique_ptr<ResourceObject> object = MakeObject(kind);
        if (!object) {
            in.setstate(std::ios::badbit);
            return in;
        }
        if (!object->Read(in))
            return in;
        if (!Append(object.release())) {
            in.setstate(std::ios::badbit);
            return in;
        }
    }
    return in;
}
