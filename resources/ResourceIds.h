// Numbers of the applet's shared resources: icons, bitmaps, cursors and menus.
#pragma once

#define IDI_QUILLET 132        // the applet's icon (Control Panel, sheet, progress window)
#define IDI_BROWSE 140         // the Browse dialog's icon
#define IDB_DEVICES16 155      // 16-pixel device images: closed server, port group, open server, Command_Shell, All_Ports
#define IDB_DEVICES32 159      // the same five images, 32 pixels
#define IDB_TABS 160           // tab images: port not redirected, port redirected
#define IDC_LOGO_CURSOR 162    // the cursor over the Options page's logo
#define IDB_LOGO 169           // the product logo, 111 x 60, on pure red
#define IDB_TEXTURE 171        // the tiled page background
#define IDM_DEVICE_LIST 103    // the COM port page's context menu
#define IDM_BROWSE_BAR 136     // the Browse dialog's menu bar
#define IDM_BROWSE_POPUP 137   // the Browse dialog's pop-up menu

#define ID_REMOVE_ENTRY 32785  // "&Remove" of menu 103
