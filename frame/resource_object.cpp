#include "frame/resource_object.h"

#include <cstdio>
#include <istream>
#include <ostream>

#include "base/program_paths.h"

namespace {

const char kByName = '-';
const char kByNumber = '+';

// Module handles below this value are failure codes.
const UINT_PTR kFirstModuleHandle = 32;
// The module is mapped for its resources alone: a file named in a stored
// list must not have its code run.
const DWORD kResourcesOnly = LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE;

}  // namespace

ResourceObject::ResourceObject(int kind, const char* module_name, const char* resource_name)
    : m_handle(nullptr), m_module(nullptr), m_kind(kind), m_number(0)
{
    m_module_name = module_name ? module_name : "";
    m_name = resource_name ? resource_name : "";
}

ResourceObject::ResourceObject(int kind, const char* module_name, WORD resource_number)
    : m_handle(nullptr), m_module(nullptr), m_kind(kind), m_number(resource_number)
{
    m_module_name = module_name ? module_name : "";
}

ResourceObject::~ResourceObject()
{
    // The kind's destructor has freed the image by now.
    if (m_module)
        FreeLibrary(m_module);
}

HANDLE ResourceObject::Handle()
{
    if (!m_module) {
        zstring program_path;
        const char* file = m_module_name.c_str();
        if (m_module_name.is_null())
            file = ProgramPaths().ProgramPath(program_path);
        if (!file)
            return nullptr;
        HMODULE module = LoadLibraryExA(file, nullptr, kResourcesOnly);
        if (reinterpret_cast<UINT_PTR>(module) < kFirstModuleHandle)
            return nullptr;
        m_module = module;
    }
    return LoadFrom(m_module);
}

const n_stream& ResourceObject::Key()
{
    if (!m_key.is_null())
        return m_key;
    char kind[16];
    std::snprintf(kind, sizeof kind, "%d", m_kind);
    zstring key(kind);
    if (m_number) {
        char number[16];
        std::snprintf(number, sizeof number, "#%u", m_number);
        key.append(number);
    } else {
        key.append(m_name);
    }
    key.append(':').append(m_module_name);
    m_key = key;
    return m_key;
}

const char* ResourceObject::ResourceId() const
{
    if (m_number)
        return MAKEINTRESOURCEA(m_number);
    return m_name.is_null() ? nullptr : m_name.c_str();
}

std::ostream& ResourceObject::Write(std::ostream& out)
{
    m_module_name.write(out);
    Key().write(out);
    if (!m_name.is_null()) {
        out.put(kByName);
        return m_name.write(out);
    }
    out.put(kByNumber);
    out.put(static_cast<char>(m_number & 0xFF));
    return out.put(static_cast<char>((m_number >> 8) & 0xFF));
}

std::istream& ResourceObject::Read(std::istream& in)
{
    n_stream module_name;
    n_stream key;
    n_stream name;
    unsigned number = 0;
    module_name.read(in);
    key.read(in);
    const int marker = in.get();
    if (marker == kByNumber) {
        const int low = in.get();
        const int high = in.get();
        number = (static_cast<unsigned>(low) & 0xFF) | (static_cast<unsigned>(high) & 0xFF) << 8;
    } else if (marker == kByName) {
        name.read(in);
    } else {
        in.setstate(std::ios::failbit);  // neither form: not ours to guess
    }
    if (!in)
        return in;
    // A new description: what was loaded for the old one goes.
    Free();
    if (m_module)
        FreeLibrary(m_module);
    m_module = nullptr;
    m_module_name = module_name;
    m_key = key;
    m_name = name;
    m_number = number;
    return in;
}
