// Resource ids of KorDrv, shared by its resource scripts and the code. Only #defines (the
// resource compiler reads this file too). Dialogs and strings have separate id spaces, so the
// same number may name a dialog and a string; controls are numbered per dialog.
#pragma once

// --- Icon and menu -----------------------------------------------------------------------------

#define IDR_MAINFRAME 128 // icon of the sheet and of the notification area
#define IDR_TRAY_MENU 135 // first popup "&Driver" is the tray icon's context menu

// --- Dialog templates --------------------------------------------------------------------------

#define IDD_ABOUT_PAGE 100 // "About"
#define IDD_TCPIP_PAGE 101 // "TCP/IP"
#define IDD_TUNE_PAGE 129  // "Tune"
#define IDD_STATUS_DLG 130 // connection status list, caption set at run time
#define IDD_VELT_PAGE 131  // "VELT"

// --- Strings -----------------------------------------------------------------------------------

#define IDS_IPC_ERROR 101             // IPC resources not allocated (status 4..10)
#define IDS_VELT_ADDRESS_FORMAT 102   // "%u.%u": net, station
#define IDS_DRIVER_IN_USE 103         // asked before closing while applications use the driver
#define IDS_COMMAND_LINE_ERROR 104    // bad command line (and status 2)
#define IDS_CONFIG_INVALID 105        // status 11
#define IDS_FATAL_ERROR 107           // status above 16
#define IDS_OUT_OF_MEMORY 108         // status 13
#define IDS_NO_ADAPTER 109            // status 15
#define IDS_NO_SOCKETS 110            // status 14
#define IDS_START_LOG 111             // caption of the Tune page's log button
#define IDS_STOP_LOG 112              // caption of the Tune page's log button
#define IDS_NO_REMOTE_CONNECTIONS 113 // status 12
#define IDS_LOG_FILE_ERROR 114        // status 3, and the log button's open failure
#define IDS_VERSION_FORMAT 115        // "%sVersion %u.%u (IE%02u - Build %u)"
#define IDS_SOCKETS_FORMAT 116        // "WINDOWS Sockets V%u.%u (V%u.%u detected)"
#define IDS_SYSTEM_FORMAT 117         // "WINDOWS %s V%u.%u (Build %u)"
#define IDS_EXTENDED_FORMAT 118       // "Extended Info : %s"
#define IDS_EXTENDED_NONE 119         // "None"
#define IDS_KIND_PRERELEASE 120       // "Prerelease "
#define IDS_KIND_DEBUG 121            // "Debug "
#define IDS_KIND_RELEASE 122          // "Release "
#define IDS_ALREADY_RUNNING 123       // status 16
// Texts the monitor also shows, kept in the string table so that they are translated.
#define IDS_STATUS_CAPTION_IP 124   // "IP Connection Status"
#define IDS_STATUS_CAPTION_VELT 125 // "VELT Connection Status"
#define IDS_RESET_QUESTION 126      // asked before closing all IP connections
#define IDS_RESET_RESULT 127        // "Number of active connections closed : %u."
#define IDS_HIDE_BUTTON 128         // caption of the sheet's only button, "Hide"
#define IDS_APP_TITLE_TEMPLATE 57344  // "KOR Driver - KOR0x"; the framework's app title id

// --- Tray menu commands (IDR_TRAY_MENU) --------------------------------------------------------

#define ID_TRAY_RESTORE 32771 // "show &Restore"
#define ID_TRAY_EMPTY 32772   // empty, disabled
#define ID_TRAY_TCPIP 32773   // "show tcp/&Ip": page 0
#define ID_TRAY_VELT 32774    // "show v&Elt": page 1
#define ID_TRAY_ABOUT 32775   // "&About...": page 3
#define ID_TRAY_TUNE 32776    // "show &Tune": page 2

// --- Sheet messages and commands ---------------------------------------------------------------

#define ID_SHEET_REFRESH 101     // posted by the refresh loop, handed to the active page
#define KORDRV_WM_TRAY 0x0401    // WM_USER + 1: the tray icon's callback message
#define KORDRV_CLOSE_MARKER 4096 // lParam of SC_CLOSE that really closes the sheet

// --- TCP/IP page (IDD_TCPIP_PAGE) --------------------------------------------------------------

#define IDC_TCPIP_CONNECTIONS 1000
#define IDC_TCPIP_CONNECTED 1001
#define IDC_TCPIP_SEND_TOTAL 1002
#define IDC_TCPIP_ADDRESS 1004 // local_ip, dotted
#define IDC_TCPIP_SEND_ERRORS 1005
#define IDC_TCPIP_ADAPTER 1006
#define IDC_TCPIP_RECV_TOTAL 1008
#define IDC_TCPIP_RECV_ERRORS 1010
#define IDC_TCPIP_HOST_NAME 1016
#define IDC_TCPIP_PLUS 1021 // "+": status dialog in IP mode

// --- VELT page (IDD_VELT_PAGE) -----------------------------------------------------------------

#define IDC_VELT_CONNECTIONS 1000
#define IDC_VELT_CONNECTED 1001
#define IDC_VELT_SEND_TOTAL 1002
#define IDC_VELT_ADDRESS 1004 // "net.sta"
#define IDC_VELT_HANDLES_OPENED 1006
#define IDC_VELT_SOCKETS_ATTACHED 1007
#define IDC_VELT_RECV_TOTAL 1008
#define IDC_VELT_SEND_ERRORS 1009
#define IDC_VELT_RECV_ERRORS 1011
#define IDC_VELT_PLUS 1021 // "+": status dialog in VELT mode

// --- About page (IDD_ABOUT_PAGE) ---------------------------------------------------------------

#define IDC_ABOUT_DRIVER 1019   // "VELT TCP/IP WIN32 Driver"
#define IDC_ABOUT_SOCKETS 1020  // socket interface line
#define IDC_ABOUT_SYSTEM 1021   // system line
#define IDC_ABOUT_EXTENDED 1022 // extended info line
#define IDC_ABOUT_VERSION 1023  // version line

// --- Connection status dialog (IDD_STATUS_DLG) -------------------------------------------------

#define IDC_STATUS_LIST 1023
#define IDC_STATUS_REFRESH 1025

// --- Tune page (IDD_TUNE_PAGE) -----------------------------------------------------------------

#define IDC_TUNE_SLIDER 1012    // refresh period, 0..1000 ms
#define IDC_TUNE_CONFIGURE 1013 // "Configure VELT - IP addresses" (elevation shield)
#define IDC_TUNE_RESET 1014     // "Reset all KOR connections"
#define IDC_TUNE_LOG 1015       // "Start Log" / "Stop Log"
#define IDC_TUNE_LOG_NAME 1017
#define IDC_TUNE_PROGRESS 1018 // log fill level, 0..100 %
