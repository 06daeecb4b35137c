#include "Gdi.h"
#include "WinApp.h"

bool CFont::CreatePointFont(int tenthsOfPoint, const char* face)
{
    HDC dc = ::GetDC(nullptr);
    LOGFONTA lf{};
    lf.lfHeight = -::MulDiv(tenthsOfPoint, ::GetDeviceCaps(dc, LOGPIXELSY), 720);
    ::ReleaseDC(nullptr, dc);
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    Attach(::CreateFontIndirectA(&lf));
    return m_h != nullptr;
}

bool CBitmap::LoadBitmap(UINT id)
{
    Attach(::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id)));
    return m_h != nullptr;
}

SIZE CBitmap::GetSize() const
{
    BITMAP bm{};
    SIZE size{0, 0};
    if (m_h && ::GetObjectA(m_h, sizeof bm, &bm)) size = {bm.bmWidth, bm.bmHeight};
    return size;
}

HICON AfxLoadIcon(UINT id) { return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id)); }

HCURSOR AfxLoadCursor(UINT id) { return ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id)); }

bool CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF mask)
{
    Attach(ImageList_LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(bitmapId), cx, grow, mask,
                                IMAGE_BITMAP, LR_CREATEDIBSECTION));
    return m_h != nullptr;
}
