/* Resource ids of the viewer: menus, commands, accelerators and strings.
 * Shared by the resource scripts (windres) and the C++ code, so it holds
 * nothing but plain #defines.
 *
 * The language follows the ANSI code page (936: Chinese), not the thread's
 * language, so each language has ids of its own: the Chinese menu and the
 * Chinese strings are the English ids plus VIEWER_CHINESE_OFFSET. */
#ifndef LUMAVIEW_VIEWER_IDS_H
#define LUMAVIEW_VIEWER_IDS_H

#define VIEWER_CHINESE_OFFSET 100

/* The class of the viewer's main window (found by it by other programs). */
#define VIEWER_WINDOW_CLASS "Lumaview"

/* ---- Menus and accelerators ---- */
#define IDR_MENU 100 /* English; Chinese 200 */
#define IDR_ACCELERATORS 300

/* ---- Commands ---- */
#define IDM_FILE_OPEN 1001
#define IDM_FILE_NEXT 1002
#define IDM_FILE_PREVIOUS 1003
#define IDM_FILE_EXIT 1004
#define IDM_VIEW_ACTUAL_SIZE 1010 /* toggles between fitted and 100% */

/* ---- Strings (English; Chinese at + VIEWER_CHINESE_OFFSET) ---- */
#define IDS_APPLICATION 400      /* title bar and message captions */
#define IDS_OPEN_TITLE 401       /* File > Open dialog */
#define IDS_FILTER_PICTURES 402  /* "Pictures" entry of its filter */
#define IDS_FILTER_ALL 403       /* "All files" entry */
#define IDS_CANNOT_SHOW 404      /* "%s": the file name, "%s": why */
#define IDS_FAULT_NAME_TOO_LONG 405
#define IDS_FAULT_CANNOT_READ 406
#define IDS_FAULT_UNKNOWN_FORMAT 407
#define IDS_FAULT_NO_READER 408  /* "%s": the format */
#define IDS_FAULT_NO_REASON 409  /* the coder failed without saying why */
#define IDS_FAULT_NO_PIXELS 410
#define IDS_NO_CODERS 411        /* no module beside the viewer reads; "%s": the folder */

#endif
