#include "frame/registry_entry.h"

namespace {

// The class name the extended write gives every key it creates. The shell
// ignores key classes; it only shows in a key's information.
const char kKeyClass[] = "WhatIsAClass";

// Null for the key's default value, which both APIs also take as "".
const char* NameOrNull(const zstring& name)
{
    return name.length() ? name.c_str() : nullptr;
}

}  // namespace

RegistryEntry::RegistryEntry(int mode)
    : m_key(nullptr), m_root(nullptr), m_mode(mode)
{
}

RegistryEntry::~RegistryEntry()
{
    Close();
}

void RegistryEntry::Set(HKEY root, const zstring& subkey, const zstring& valueName,
                        const zstring& data)
{
    m_root = root;
    m_subkey = subkey;
    m_valueName = valueName;
    m_data = data;
}

int RegistryEntry::Write()
{
    Close();
    return m_mode == kSimpleWrite ? SimpleWrite() : ExtendedWrite();
}

void RegistryEntry::Close()
{
    if (m_key)
        RegCloseKey(m_key);
    m_key = nullptr;
}

int RegistryEntry::Delete()
{
    if (!m_subkey.length())
        return 0;
    return RegDeleteKeyA(m_root, m_subkey.c_str()) == ERROR_SUCCESS ? 1 : 0;
}

int RegistryEntry::SimpleWrite()
{
    if (RegCreateKeyA(m_root, m_subkey.c_str(), &m_key) != ERROR_SUCCESS) {
        m_key = nullptr;
        return 0;
    }
    const LONG result = RegSetValueA(m_key, NameOrNull(m_valueName), REG_SZ, m_data.c_str(),
                                     m_data.length());
    return result == ERROR_SUCCESS ? 1 : 0;
}

int RegistryEntry::ExtendedWrite()
{
    // The class parameter is not const in the A interface, though the
    // system only reads it.
    char keyClass[sizeof kKeyClass];
    CopyMemory(keyClass, kKeyClass, sizeof kKeyClass);
    DWORD disposition = 0;
    if (RegCreateKeyExA(m_root, m_subkey.c_str(), 0, keyClass, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &m_key, &disposition) != ERROR_SUCCESS) {
        m_key = nullptr;
        return 0;
    }
    // The length leaves out the terminating zero; the system adds one to a
    // string value when the byte after the data is zero, as it is here.
    const BYTE* bytes = reinterpret_cast<const BYTE*>(m_data.c_str());
    if (RegSetValueExA(m_key, NameOrNull(m_valueName), 0, REG_SZ, bytes, m_data.length()) ==
        ERROR_SUCCESS)
        return 1;
    Close();
    if (disposition == REG_CREATED_NEW_KEY)
        RegDeleteKeyA(m_root, m_subkey.c_str());
    return 0;
}
