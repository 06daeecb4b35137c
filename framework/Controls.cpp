#include "Controls.h"

CString CListBox::GetText(int index) const
{
    int n = static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index)));
    if (n < 0) return CString();
    std::string text(static_cast<size_t>(n) + 1, '\0');
    SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(n));
    return CString(std::move(text));
}

int CListCtrl::InsertColumn(int col, const char* heading, int format, int width) const
{
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    c.fmt = format;
    c.cx = width;
    c.pszText = const_cast<char*>(heading);
    c.iSubItem = col;
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(col), reinterpret_cast<LPARAM>(&c)));
}

int CListCtrl::InsertItem(int index, const char* text, int image) const
{
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = const_cast<char*>(text);
    item.iImage = image;
    return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CListCtrl::SetItemText(int item, int sub, const char* text) const
{
    LVITEMA it{};
    it.iSubItem = sub;
    it.pszText = const_cast<char*>(text);
    return SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it)) != 0;
}

CString CListCtrl::GetItemText(int item, int sub, int bufferSize) const
{
    std::string buffer(static_cast<size_t>(bufferSize), '\0');
    LVITEMA it{};
    it.iSubItem = sub;
    it.pszText = &buffer[0];
    it.cchTextMax = bufferSize;
    int n = static_cast<int>(SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it)));
    buffer.resize(static_cast<size_t>(n > 0 ? n : 0));
    return CString(std::move(buffer));
}

int CListCtrl::GetItemImage(int item) const
{
    LVITEMA it{};
    it.mask = LVIF_IMAGE;
    it.iItem = item;
    return SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it)) ? it.iImage : -1;
}
