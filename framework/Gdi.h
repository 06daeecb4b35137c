// Owning wrappers for GDI objects, icons, cursors and image lists.
#pragma once
#include <windows.h>
#include <commctrl.h>

// Owns one GDI object handle and deletes it with DeleteObject.
template <typename H>
class CGdiObject {
public:
    CGdiObject() = default;
    explicit CGdiObject(H h) : m_h(h) {}
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    H GetSafeHandle() const { return m_h; }
    operator H() const { return m_h; }
    void Attach(H h)
    {
        DeleteObject();
        m_h = h;
    }
    H Detach()
    {
        H h = m_h;
        m_h = nullptr;
        return h;
    }
    void DeleteObject()
    {
        if (m_h) ::DeleteObject(m_h);
        m_h = nullptr;
    }

protected:
    H m_h = nullptr;
};

class CBrush : public CGdiObject<HBRUSH> {
public:
    bool CreateSolidBrush(COLORREF color)
    {
        Attach(::CreateSolidBrush(color));
        return m_h != nullptr;
    }
};

class CPen : public CGdiObject<HPEN> {
public:
    bool CreatePen(int style, int width, COLORREF color)
    {
        Attach(::CreatePen(style, width, color));
        return m_h != nullptr;
    }
};

class CFont : public CGdiObject<HFONT> {
public:
    // A font of the given height in tenths of a point, on the screen's resolution.
    bool CreatePointFont(int tenthsOfPoint, const char* face);
};

class CBitmap : public CGdiObject<HBITMAP> {
public:
    virtual ~CBitmap() = default;
    bool LoadBitmap(UINT id);
    SIZE GetSize() const;
};

// Owns an icon loaded from the resource module (shared icons need no destruction).
HICON AfxLoadIcon(UINT id);
HCURSOR AfxLoadCursor(UINT id);

// Owns one image list.
class CImageList {
public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // Images cx pixels wide cut from a bitmap resource, with the given colour as the transparent one.
    bool Create(UINT bitmapId, int cx, int grow, COLORREF mask);
    void Attach(HIMAGELIST h)
    {
        DeleteImageList();
        m_h = h;
    }
    void DeleteImageList()
    {
        if (m_h) ImageList_Destroy(m_h);
        m_h = nullptr;
    }
    HIMAGELIST GetSafeHandle() const { return m_h; }
    int GetImageCount() const { return m_h ? ImageList_GetImageCount(m_h) : 0; }

private:
    HIMAGELIST m_h = nullptr;
};
