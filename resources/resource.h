// Resource ids, shared by quintor.rc and the code.
#pragma once

// Dialog templates, icon, menu, strings.
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_QUINTOR_DIALOG 102
#define IDR_MAINFRAME 128
#define IDR_POPUP_MENU 129
#define IDD_BBCB_SETTING 130
#define IDD_DVT_TEST 131

// System-menu command of the About entry.
#define IDM_ABOUTBOX 0x0010

// Main window (template 102).
#define IDC_TOOL_OPEN 1000
#define IDC_TOOL_PATH 1001
#define IDC_PORT 1002
#define IDC_BAUD_RATE 1003
#define IDC_DATA_BITS 1004
#define IDC_STOP_BITS 1005
#define IDC_PARITY 1006
#define IDC_COMMAND 1007
#define IDC_BBCB_SETTING 1008
#define IDC_DVT_TEST 1009
#define IDC_START 1016
#define IDC_RUN_HISTORY 1017
#define IDC_DEBUG_PRINT 1018
#define IDC_DOWNLOAD_LIST 1019
#define IDC_DEBUG_CAPTURE 1020
#define IDC_VIEW_LOG 1021
#define IDC_SCS 1037
#define IDC_OUTPUT_SAVE 1038
#define IDC_OUTPUT_PATH 1039
#define IDC_OUTPUT_VIEW 1040
#define IDC_JEI 1042
#define IDC_CW 1043

// Popup menu of the download file list (menu 129).
#define ID_POPUP_INSERT 32771
#define ID_POPUP_DELETE 32772
#define ID_POPUP_DVT_FILE_INSERT 32773

// BBCB Setting window (template 130).
#define IDC_BBCB_CONFIG_OPEN 1021
#define IDC_BBCB_OUTPUT_SAVE 1022
#define IDC_BBCB_TOOL_OPEN 1023
#define IDC_BBCB_START 1024
#define IDC_BBCB_SN 1025
#define IDC_BBCB_RN 1026
#define IDC_BBCB_MANUFACTURER_SN 1027
#define IDC_BBCB_MAC1 1028
#define IDC_BBCB_MAC2 1029
#define IDC_BBCB_MAC3 1030
#define IDC_BBCB_MAC4 1031
#define IDC_BBCB_MAC5 1032
#define IDC_BBCB_MAC6 1033
#define IDC_BBCB_TOOL_PATH 1034
#define IDC_BBCB_CONFIG_PATH 1035
#define IDC_BBCB_OUTPUT_FOLDER 1036

// DVT Test window (template 131).
#define IDC_DVT_NEXT 1040
#define IDC_DVT_PROV 1041
#define IDC_DVT_TEST_RUN 1042
#define IDC_DVT_OPEN 1043
#define IDC_DVT_FOLDER 1045
#define IDC_DVT_TITLE 1046
#define IDC_DVT_FILE 1047
#define IDC_DVT_DESCRIPTION 1049
#define IDC_DVT_SERIAL_RESULT 1053
#define IDC_DVT_OTA_RESULT 1055
#define IDC_DVT_INITIATION 1056
#define IDC_DVT_ADDITIONAL 1059
#define IDC_DVT_TYPICAL_ERROR 1060

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
