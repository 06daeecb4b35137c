// Resource ids of the search progress window (dialog 148).
#pragma once
#define IDD_SEARCH_PROGRESS 148
#define IDC_SEARCH_UPPER_TEXT 1035
#define IDC_SEARCH_LOWER_TEXT 1036
#define IDC_SEARCH_PROGRESS 1064
