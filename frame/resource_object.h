#pragma once

#include <windows.h>

#include <iosfwd>

#include "base/n_stream.h"

// One icon, bitmap or cursor resource of some module, named by number or by
// name and loaded on first use.
class ResourceObject {
    // The module (the program file when no file name is given) is mapped
    // as data, never run, with the image on the first request for the
    // handle. Freeing the image
    // keeps the description, so the next request loads it again. The object
    // owns both the image and its hold on the module.
public:
    static constexpr int kIcon = 1;
    static constexpr int kBitmap = 2;
    static constexpr int kCursor = 3;

    ResourceObject(const ResourceObject&) = delete;
    ResourceObject& operator=(const ResourceObject&) = delete;

    // Slots, in order. The kind's destructor frees the image; this one
    // lets go of the module.
    virtual ~ResourceObject();
    // Frees the image and clears the handle.
    virtual void Free() = 0;
    // Loads the image from module unless it is already loaded; the handle.
    virtual HANDLE LoadFrom(HMODULE module) = 0;
    // The module file name and the key in length-prefixed form, then "-" and
    // the name in that form, or "+" and the number as two bytes, low first.
    virtual std::ostream& Write(std::ostream& out);
    // The same form; on failure the stream is failed and the object keeps
    // its former description.
    virtual std::istream& Read(std::istream& in);

    // The image, loading the module and the image when needed; null when
    // either cannot be loaded.
    HANDLE Handle();
    // The kind in decimal, then "#" and the number or else the name, then
    // ":" and the module file name; built when first asked for.
    const n_stream& Key();

    int Kind() const { return m_kind; }
    const n_stream& ModuleFileName() const { return m_module_name; }
    const n_stream& ResourceName() const { return m_name; }
    WORD ResourceNumber() const { return static_cast<WORD>(m_number); }
    // The image as loaded so far, without loading anything.
    HANDLE LoadedHandle() const { return m_handle; }
    HMODULE Module() const { return m_module; }

protected:
    // An empty or null module_name means the program file.
    ResourceObject(int kind, const char* module_name, const char* resource_name);
    ResourceObject(int kind, const char* module_name, WORD resource_number);

    // What the platform's load calls take: the number when there is one,
    // else the name; null when the object names no resource at all.
    const char* ResourceId() const;

    HANDLE m_handle;

private:
    HMODULE m_module;  // owned: one hold on the module
    int m_kind;
    n_stream m_module_name;
    n_stream m_key;
    n_stream m_name;
    unsigned m_number;  // 16 bits used
};

// The three kinds differ only in how an image is loaded and freed, which
// Traits gives: its Handle type, kKind, Load(module, id) and Destroy.
template <class Traits>
class KindOfResource : public ResourceObject {
public:
    explicit KindOfResource(const char* resource_name = "", const char* module_name = "")
        : ResourceObject(Traits::kKind, module_name, resource_name)
    {
    }
    explicit KindOfResource(WORD resource_number, const char* module_name = "")
        : ResourceObject(Traits::kKind, module_name, resource_number)
    {
    }
    ~KindOfResource() override { Free(); }

    void Free() override
    {
        if (m_handle)
            Traits::Destroy(static_cast<typename Traits::Handle>(m_handle));
        m_handle = nullptr;
    }
    HANDLE LoadFrom(HMODULE module) override
    {
        if (!m_handle && ResourceId())
            m_handle = Traits::Load(module, ResourceId());
        return m_handle;
    }

protected:
    typename Traits::Handle Image() { return static_cast<typename Traits::Handle>(Handle()); }
};

struct IconTraits {
    using Handle = HICON;
    static constexpr int kKind = ResourceObject::kIcon;
    static HICON Load(HMODULE module, const char* id) { return LoadIconA(module, id); }
    static void Destroy(HICON icon) { DestroyIcon(icon); }
};

struct BitmapTraits {
    using Handle = HBITMAP;
    static constexpr int kKind = ResourceObject::kBitmap;
    static HBITMAP Load(HMODULE module, const char* id) { return LoadBitmapA(module, id); }
    static void Destroy(HBITMAP bitmap) { DeleteObject(bitmap); }
};

struct CursorTraits {
    using Handle = HCURSOR;
    static constexpr int kKind = ResourceObject::kCursor;
    static HCURSOR Load(HMODULE module, const char* id) { return LoadCursorA(module, id); }
    static void Destroy(HCURSOR cursor) { DestroyCursor(cursor); }
};

class IconResource : public KindOfResource<IconTraits> {
public:
    using KindOfResource::KindOfResource;
    HICON Icon() { return Image(); }
};

class BitmapResource : public KindOfResource<BitmapTraits> {
public:
    using KindOfResource::KindOfResource;
    HBITMAP Bitmap() { return Image(); }
};

class CursorResource : public KindOfResource<CursorTraits> {
public:
    using KindOfResource::KindOfResource;
    HCURSOR Cursor() { return Image(); }
};
