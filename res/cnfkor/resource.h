// Resource ids of CnfKor, shared by cnfkor.rc and the code. Only #defines (the resource
// compiler reads this file too). The framework's own ids are in framework/framework_ids.h.
#pragma once

#include "framework/framework_ids.h"

// Main frame: menu, icon, accelerators and title string.
#define IDR_MAINFRAME 2

// Dialog templates.
#define IDD_PROPERTIES 104 // the editor's form

// Strings.
#define IDS_OPTIONS_CAPTION 2004
#define IDS_REGISTRY_COMPANY 2005
#define IDS_SAVE_FAILED 2006
#define IDS_SAVE_DONE 2007
#define IDS_WIN32_ONLY 2011
#define IDS_INSTALL_NOTICE 57675
#define IDS_NO_PROFILE 57678

// Menu commands (their prompts are the strings of the same ids).
#define ID_TEST_MIRROR 3000
#define ID_TEST_PING 3001
#define ID_CONFIG_IMPORT_ALL 3002
#define ID_CONFIG_EXPORT_ALL 3003
#define ID_TEST_OPTIONS 3004
#define ID_KOR_START 3008
#define ID_KOR_STOP 3009
#define ID_KOR_RESET 3010
#define ID_PROFILE_CREATE 3014
#define ID_PROFILE_REMOVE 3015
#define ID_CONFIG_IMPORT_HOSTS 3018
#define ID_CONFIG_EXPORT_HOSTS 3019

// Command posted to the editor view: reload the profile list.
#define ID_RELOAD_PROFILES 111

// Low word of the WM_COMMAND a driver monitor posts when its instance starts or ends.
#define ID_DRIVER_STATE_NOTIFY 0xFFFF

// Status bar: the driver-state pane (its indicator string is " ").
#define ID_INDICATOR_DRIVER 57670

// Driver-state icon frames, in the order they are shown.
#define IDI_STOPPED_0 4031
#define IDI_STOPPED_1 4056
#define IDI_STOPPED_2 4033
#define IDI_STOPPED_3 4057
#define IDI_STOPPED_4 4035
#define IDI_STOPPED_5 4058
#define IDI_STOPPED_6 4037
#define IDI_STOPPED_7 4059
#define IDI_RUNNING_0 4049
#define IDI_RUNNING_1 4060
#define IDI_RUNNING_2 4051
#define IDI_RUNNING_3 4061
#define IDI_RUNNING_4 4053
#define IDI_RUNNING_5 4062
#define IDI_RUNNING_6 4055
#define IDI_RUNNING_7 4063

// Controls of the editor's form (dialog 104).
#define IDC_HOST_LIST 1000
#define IDC_HOST_ADD 1001
#define IDC_HOST_DELETE 1002
#define IDC_HOST_DELETE_ALL 1003
#define IDC_HOST_UPDATE 1004
#define IDC_HOST_NAME 1006
#define IDC_HOST_NET 1007
#define IDC_HOST_STA 1008
#define IDC_HOST_IP1 1009
#define IDC_HOST_IP2 1010
#define IDC_HOST_IP3 1011
#define IDC_HOST_IP4 1012
#define IDC_HOST_SEP 1013
#define IDC_IP_SEP1 1014
#define IDC_IP_SEP2 1015
#define IDC_IP_SEP3 1016
#define IDC_LOCAL_NET 1024
#define IDC_LOCAL_STA 1026
#define IDC_LOCAL_SEP 1028
#define IDC_HOST_DNS 1035
#define IDC_PROFILE_LIST 1036
#define IDC_HOST_AUTO 1037
#define IDC_PROFILE_BIND 1049
#define IDC_PROFILE_SAVE 3006
