#pragma once

#include <windows.h>

#include "base/zstring.h"

// One text value to store in the registry: a predefined root, a key path
// below it, a value name (empty for the key's default value) and the text.
// The key handle of the last write stays open until the next write, Close
// or the destructor; the object owns it.
class RegistryEntry {
public:
    // Simple writes go through the old RegCreateKeyA/RegSetValueA pair,
    // which can only set a default value: the value name becomes a subkey.
    // Any other mode is the extended write, which the registration uses.
    static const int kSimpleWrite = 1;
    static const int kExtendedWrite = 2;

    explicit RegistryEntry(int mode = kExtendedWrite);
    virtual ~RegistryEntry();
    RegistryEntry(const RegistryEntry&) = delete;
    RegistryEntry& operator=(const RegistryEntry&) = delete;

    void Set(HKEY root, const zstring& subkey, const zstring& valueName, const zstring& data);
    // Creates the key when needed and stores the data as REG_SZ; 1 on
    // success. The extended write removes a key it has just created when
    // the value cannot be stored, so its failure leaves the registry as it
    // was; the simple write cannot tell whether the key was there before.
    int Write();
    void Close();
    // Removes the key named by root and subkey, which must have no subkeys;
    // 1 on success. An empty subkey is refused rather than handed to the
    // system, which would take it to mean the root itself.
    int Delete();

    HKEY OpenKey() const { return m_key; }
    int Mode() const { return m_mode; }

private:
    int SimpleWrite();
    int ExtendedWrite();

    HKEY m_key;
    HKEY m_root;
    zstring m_subkey;
    zstring m_valueName;
    zstring m_data;
    int m_mode;
};
