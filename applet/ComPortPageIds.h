// Resource ids of the COM port page (dialog 132).
#pragma once
#define IDD_COM_PORT_PAGE 132
#define IDC_REDIRECT 1016
#define IDC_DEVICE_LIST 1008
#define IDC_BROWSE_NETWORK 1038
#define IDC_REMOVE 1037
#define IDC_COPY_TO 1039
