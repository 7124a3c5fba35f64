/* Resource ids of the uninstaller UNINST32.exe: its dialog, controls and
 * strings. Shared by the resource scripts (windres) and the C++ code, so it
 * holds nothing but plain #defines.
 *
 * Every dialog and string exists twice, English and Chinese; as in setup,
 * the system's ANSI code page picks the set (936: Chinese). A Chinese id is
 * its English id plus UNINSTALL_CHINESE_OFFSET. */
#ifndef LUMAVIEW_UNINSTALL_IDS_H
#define LUMAVIEW_UNINSTALL_IDS_H

#define UNINSTALL_CHINESE_OFFSET 1000

#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif

/* ---- Program icon (the group's "Remove Widelens" link shows icon 0) ---- */
#define IDI_UNINSTALL 1

/* ---- The summary dialog ---- */
#define IDD_SUMMARY_EN 100
#define IDD_SUMMARY_ZH (IDD_SUMMARY_EN + UNINSTALL_CHINESE_OFFSET)
#define IDC_SUMMARY_HEADLINE 101 /* one line: removed, or removed with items left */
#define IDC_SUMMARY_LIST 102     /* read-only list: removed, left and why, notes */

/* ---- Strings (English ids; Chinese = id + UNINSTALL_CHINESE_OFFSET) ---- */
#define IDS_TITLE 10           /* caption of every message: "Remove Widelens" */
#define IDS_NOT_INSTALLED 11   /* no uninstall log */
#define IDS_LOG_UNUSABLE 12    /* %s: the install folder the log names */
#define IDS_CONFIRM 13         /* Yes / No, naming the product */
#define IDS_VIEWER_RUNNING 14  /* Retry / Cancel */
#define IDS_ALREADY_RUNNING 15 /* setup or another uninstaller runs */
#define IDS_DONE 16            /* summary headline: everything removed */
#define IDS_DONE_PARTLY 17     /* summary headline: something was left */
#define IDS_DONE_RESTART 18    /* summary headline: the rest goes at the next restart */
#define IDS_HEAD_REMOVED 20
#define IDS_HEAD_LEFT 21
#define IDS_HEAD_RESTART 22
#define IDS_HEAD_NOTES 23
/* Why an item was left (the summary shows "path: reason"). */
#define IDS_WHY_NOT_EMPTY 30
#define IDS_WHY_NOT_FULL 31
#define IDS_WHY_TOO_LONG 32
#define IDS_WHY_DOTS 33
#define IDS_WHY_CHARACTERS 34
#define IDS_WHY_DRIVE_ROOT 35
#define IDS_WHY_SYSTEM_FOLDER 36
#define IDS_WHY_ELSEWHERE 37
#define IDS_WHY_THROUGH_LINK 38
#define IDS_WHY_NOT_A_FILE 39
#define IDS_WHY_IN_USE 40           /* scheduled for the next restart */
#define IDS_WHY_FAILED 41           /* could not be removed nor scheduled */
#define IDS_ITEM_REGISTRY 42        /* the entry in the list of removable programs */
#define IDS_ITEM_SETTINGS 43        /* the settings file */
#define IDS_WHY_WITH_UNINSTALLER 44 /* removed when the uninstaller ends */
#define IDS_WHY_OTHER_CODE_PAGE 45  /* a Chinese log read under another code page */
/* Notes about the log itself; %s names the key. */
#define IDS_NOTE_MISSING 50
#define IDS_NOTE_EMPTY 51
#define IDS_NOTE_NEGATIVE 52
#define IDS_NOTE_TOO_MANY 53
#define IDS_NOTE_NOT_FOUND 54 /* %s: how many logged items were not there */
#define IDS_NOTE_MORE 55      /* %s: how many lines the list leaves out */

#endif
