// Thin wrappers over the standard and common controls: each forwards to the control's messages.
#pragma once
#include "Wnd.h"

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int state) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(state)); }
};

class CEdit : public CWnd {
public:
    void LimitText(int chars) const { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(chars)); }
};

class CStatic : public CWnd {};

class CListBox : public CWnd {
public:
    int AddString(const char* text) const
    {
        return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    CString GetText(int index) const;
};

class CProgressCtrl : public CWnd {
public:
    void SetRange32(int lower, int upper) const { SendMessage(PBM_SETRANGE32, lower, upper); }
    void SetPos(int pos) const { SendMessage(PBM_SETPOS, static_cast<WPARAM>(pos)); }
};

class CListCtrl : public CWnd {
public:
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int InsertColumn(int col, const char* heading, int format, int width) const;
    int InsertItem(int index, const char* text, int image) const;
    bool SetItemText(int item, int sub, const char* text) const;
    CString GetItemText(int item, int sub, int bufferSize = 260) const;
    int GetItemImage(int item) const;
    bool DeleteItem(int item) const { return SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(item)) != 0; }
    bool DeleteAllItems() const { return SendMessage(LVM_DELETEALLITEMS) != 0; }
    int GetNextItem(int start, int flags) const
    {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(start), flags));
    }
    int GetSelectedIndex() const { return GetNextItem(-1, LVNI_SELECTED); }
    HIMAGELIST SetImageList(HIMAGELIST list, int which) const
    {
        return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(which),
                                                        reinterpret_cast<LPARAM>(list)));
    }
    int GetStringWidth(const char* text) const
    {
        return static_cast<int>(SendMessage(LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text)));
    }
    bool SetColumnWidth(int col, int width) const { return SendMessage(LVM_SETCOLUMNWIDTH, col, width) != 0; }
};
