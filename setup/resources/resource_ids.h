/* Resource ids of setup: dialogs, their controls, strings, pictures and the
 * payload. Shared by the resource scripts (windres) and the C++ code, so it
 * holds nothing but plain #defines.
 *
 * Every dialog exists twice, English and Chinese; SetupState's ChineseUi
 * picks one of each pair. Strings 10 to 40 exist in both language tables
 * (the texts 10 to 18 are English in both). */
#ifndef LUMAVIEW_SETUP_RESOURCE_IDS_H
#define LUMAVIEW_SETUP_RESOURCE_IDS_H

/* ---- Dialog templates: English / Chinese ---- */
#define IDD_START_EN 10510
#define IDD_START_ZH 113
#define IDD_CHOOSER_EN 10500
#define IDD_CHOOSER_ZH 10501
#define IDD_COPY_EN 105
#define IDD_COPY_ZH 10502
#define IDD_EXIT_CONFIRM_EN 10300
#define IDD_EXIT_CONFIRM_ZH 10508
#define IDD_GROUP_WAIT_EN 110
#define IDD_GROUP_WAIT_ZH 10507
#define IDD_FINISH_EN 107
#define IDD_FINISH_ZH 10503

/* ---- Controls shared by several dialogs ---- */
#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif
#ifndef IDABORT
#define IDABORT 3
#endif

/* Start dialog */
#define IDC_START_BROWSE 31        /* "B&rowse..." */
#define IDC_START_DESTINATION 201  /* static text with the destination */
#define IDC_START_LEGAL 259        /* legal notice */
#define IDC_START_PICTURE 1200     /* frame that bitmap 104 is stretched into */
#define IDC_START_DESCRIPTION 1312 /* product description, string 37 or 40 */
#define IDC_START_EXIT_WHEN_DONE 1313

/* Directory chooser (classic file-open dialog template) */
#define IDC_CHOOSER_PATH 1088         /* path edit field (the dialog's stc1) */
#define IDC_CHOOSER_DIRS 1121         /* directory list (lst2) */
#define IDC_CHOOSER_DRIVES_LABEL 1091 /* "Dri&ves:" (stc4) */
#define IDC_CHOOSER_DRIVES 1137       /* drive list (cmb2) */
/* Controls the common dialog code expects in every classic template; kept
 * hidden because the chooser picks a directory, not a file. */
#define IDC_CHOOSER_FILE_TYPES_LABEL 1089 /* stc2 */
#define IDC_CHOOSER_FILE_NAME_LABEL 1090  /* stc3 */
#define IDC_CHOOSER_FILES 1120            /* lst1 */
#define IDC_CHOOSER_FILE_TYPES 1136       /* cmb1 */
#define IDC_CHOOSER_FILE_NAME 1152        /* edt1 */
#define IDC_CHOOSER_READ_ONLY 1040        /* chx1 */
#define IDC_CHOOSER_HELP 1038             /* psh15 */

/* Copy dialog */
#define IDC_COPY_PROGRESS 1000
#define IDC_COPY_SOURCE 1001
#define IDC_COPY_DESTINATION 1002
#define IDC_COPY_ICON 1008

/* Exit confirmation: IDCANCEL (2) resumes, IDOK (1) leaves setup. */
#define IDC_EXIT_RESUME IDCANCEL
#define IDC_EXIT_LEAVE IDOK

/* Finish dialog */
#define IDC_FINISH_TOOLS 5 /* "Run Other Tools Setup Wizard" */

/* ---- Strings ---- */
#define IDS_CHOOSER_TITLE 10
#define IDS_PATH_MISSING_TEXT 11
#define IDS_PATH_MISSING_CAPTION 12
#define IDS_CREATE_ERROR_CAPTION 13
#define IDS_CREATE_ERROR_TEXT 14
#define IDS_NO_SPACE_CAPTION 15
#define IDS_NO_SPACE_TEXT 16
#define IDS_NOT_WRITABLE_CAPTION 17
#define IDS_NOT_WRITABLE_TEXT 18
#define IDS_GROUP_NAME_EN 23
#define IDS_GROUP_NAME_ZH 30
#define IDS_QUICK_LAUNCH_LINK_EN 34
#define IDS_QUICK_LAUNCH_LINK_ZH 35
#define IDS_DESCRIPTION_ZH 37
#define IDS_DESCRIPTION_EN 40

/* ---- Pictures ---- */
#define IDI_SETUP 101 /* program icon; first of the eleven copy icons */
#define IDI_COPY_FIRST 101
#define IDI_COPY_COUNT 11 /* icons 101 to 111 */
#define IDB_WELCOME 104   /* 121 x 219, 4 bits per pixel */
#define IDB_TITLE_ZH 111  /* 526 x 160, monochrome */
#define IDB_TITLE_EN 112

/* ---- Payload: resource 1300 of the type named "RT_RCDATA" ----
 * The type is a name, not the predefined numeric data type; the payload's
 * resource script spells it as a bare word, with no header that would turn
 * it into a number. */
#define IDR_PAYLOAD 1300
#define IDR_PAYLOAD_TYPE "RT_RCDATA"

/* ---- Timers: each the only timer of its window ---- */
#define IDT_BACKGROUND_REFRESH 910
#define IDT_COPY 1234
#define IDT_GROUP_WAIT 1000
#define IDT_FINISH_CLOSE 1234

#endif
