#pragma once
// Resource and control ids of the register: its window, its menu and its
// input box. The end-to-end tests find the controls by these ids.
#define IDI_OMBRIEL 100

#define IDC_FGRID 1000
#define IDC_BTN_ADDFILE 1001
#define IDC_BTN_ADDLINK 1002
#define IDC_BTN_MODIFICA 1003
#define IDC_BTN_ELIMINA 1004
#define IDC_BTN_ESCI 1005

#define IDM_PER_AR 2001
#define IDM_PER_WRD 2002
#define IDM_PER_EXC 2003

#define IDC_INPUTBOX_PROMPT 3001
#define IDC_INPUTBOX_EDIT 3002

// The context menu of a grid row; the items send these to the window.
#define IDM_ROW_APRI 2101
#define IDM_ROW_APRI_PERCORSO 2102
#define IDM_ROW_COPIA_PERCORSO 2103
#define IDM_ROW_MODIFICA 2104
#define IDM_ROW_ELIMINA 2105
