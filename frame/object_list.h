#pragma once

#include <iosfwd>
#include <memory>
#include <vector>

class ResourceObject;

// An ordered list of resource objects, kept so that a set of images can be
// loaded as they are drawn and freed together.
class ObjectList {
    // The list owns its entries and deletes them with itself.
public:
    ObjectList();
    ~ObjectList();
    ObjectList(const ObjectList&) = delete;
    ObjectList& operator=(const ObjectList&) = delete;

    // Takes object over; 1, or 0 (the object deleted) when there is no room.
    int Append(ResourceObject* object);
    unsigned Count() const { return static_cast<unsigned>(m_entries.size()); }
    // The entry at index counted round the list (index modulo the count);
    // null for an empty list.
    ResourceObject* Element(unsigned index) const;

    // The count in decimal and a line feed, then per entry its kind in
    // decimal, a line feed and the object's own form.
    std::ostream& Write(std::ostream& out) const;
    // Appends the entries of that form. A kind other than 1, 2 or 3 is
    // shown in the notice box and ends the reading with the stream failed;
    // a truncated or damaged entry ends it the same way, without the box.
    // The entries read before stay in the list.
    std::istream& Read(std::istream& in);

private:
    std::vector<std::unique_ptr<ResourceObject>> m_entries;
};
