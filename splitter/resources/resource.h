#pragma once
// Ids of dialog 101, its controls, the system-menu items, the icon and the
// string table of Zelbrin. Included by the .rc and by the Win32 layer; the
// texts the engines use have their ids in core/string_ids.h.
#include "core/string_ids.h"

#define IDD_ZELBRIN 101
#define IDI_ZELBRIN 104

// Controls of dialog 101 (template order is the tab order).
#define IDC_GROUP_STATIC 65535
#define IDC_SOURCE_PATH 1000
#define IDC_SOURCE_BUTTON 1001
#define IDC_TARGET_PATH 1002
#define IDC_TARGET_BUTTON 1003
#define IDC_METHOD_KEYWORD 1005
#define IDC_VALUE 1006
#define IDC_VALUE_LABEL 1007
#define IDC_ABOUT_BUTTON 1008
#define IDC_HELP_BUTTON 1009
#define IDC_METHOD_SIZE 1015
#define IDC_METHOD_PIECES 1016
#define IDC_PROGRESS 1018
#define IDC_BATCH_FILE 1019
#define IDC_CRC_CHECK 1020
#define IDC_MODE_SPLIT 1021
#define IDC_MODE_JOIN 1022
#define IDC_UNIT_KBS 1024
#define IDC_UNIT_BYTES 1025
#define IDC_UNIT_LABEL 1026
#define IDC_UNIT_MBS 1028

// Items appended to the system menu. System commands are an id space of
// their own: 1026 here and the static 1026 above never meet.
#define IDM_SYS_HELP 1026
#define IDM_SYS_ABOUT 1027

// String table.
#define IDS_TIP_KEYWORD 1
#define IDS_TIP_SIZE 2
#define IDS_TIP_PIECES 3
#define IDS_TIP_BATCH 4
#define IDS_TIP_SPLIT 5
#define IDS_TIP_JOIN 6
#define IDS_NOTICE 7
#define IDS_TIP_KBS 8
#define IDS_TIP_BYTES 9
#define IDS_TIP_MBS 14
#define IDS_TIP_CRC 15

// The question a running operation asks before the dialog closes.
#define IDS_STOP_SPLIT 51
#define IDS_STOP_JOIN 52
