// Resource ids of the Options page (dialog 154).
#pragma once
#define IDD_OPTIONS_PAGE 154
#define IDC_USERNAME 1015
#define IDC_NARRATE 1013
#define IDC_MODEM_DISPLAY 1063
#define IDC_TCPIP 1004
#define IDC_IPX 1005
#define IDC_ADVANCED 1054
#define IDC_LOGO 1017
#define IDC_TRADEMARK 1067
