/*
 * Platform services: the platform check, drive probing, file mapping, clocks,
 * starting external commands and temporary file names.
 *
 * On Win32 each is a thin use of the Windows interface. Natively (POSIX) each
 * gives the nearest honest equivalent:
 *   - DriveExists: there are no drive letters; the drive mask has no drives.
 *   - MapFileView/UnmapFileView: mmap and munmap (shared mappings).
 *   - ReadSystemClock: the real-time clock, counted from 1 January 1601 UTC.
 *   - ReadProcessSeconds: the processor time of the process (user + system).
 *   - SpawnProcess: the command line runs through the shell (/bin/sh -c); a
 *     shell exit status of 127 (the program could not be found) gives -1 and
 *     a command ended by signal n gives 128 + n. A background command ('&')
 *     is detached and 0 means the shell could start it. The '|' marker shows
 *     nothing minimised, as there is no window.
 *   - CreateTempName: the temporary directory is TMPDIR, else /tmp; the name
 *     is the first three letters of the prefix and a hexadecimal number, as
 *     Windows makes it, without the ".tmp" ending.
 */
#ifndef PIXBASE_PLATFORM_SERVICES_H
#define PIXBASE_PLATFORM_SERVICES_H

#include "api.h"

PIXBASE_BEGIN_DECLS

/* The result of MapFileView that means failure. */
#define PIXBASE_MAP_FAILED ((void*)-1)

/* Protections of MapFileView. */
enum { MapRead = 1, MapWrite = 2, MapReadWrite = 3 };

/* 1 on the Windows 95 family (platform 1), else 0. */
int PIXBASE_CALL IsWindows9xPlatform(void);
/* For a drive letter alone (either case): its bit of the logical drive mask,
 * nonzero exactly when the drive is present; 0 for a longer text. */
uint32_t PIXBASE_CALL DriveExists(const char* drive);
/* Maps `length` bytes of the file from its start (the whole file for 0) with
 * the protection asked (2 write, 3 read and write, else read) and returns the
 * view's address plus `offset`, or PIXBASE_MAP_FAILED. The hint and the flags
 * are ignored; `descriptor` is a C runtime file descriptor. A negative offset,
 * or one beyond the length asked, is refused. */
void* PIXBASE_CALL MapFileView(void* hint, size_t length, int protection, int flags, int descriptor,
                               long offset);
/* Unmaps a view (its address as returned for offset 0): 0, or -1. */
int PIXBASE_CALL UnmapFileView(void* view);
/* The current time in seconds since 1 January 1601 UTC. */
double PIXBASE_CALL ReadSystemClock(void);
/* The processor time used by the process so far, in seconds (0.0 when it
 * cannot be read); on the Windows 95 family the system clock instead. */
double PIXBASE_CALL ReadProcessSeconds(void);
/* Runs a command line of at most 2047 bytes and returns its exit code. A last
 * byte '&' starts it in the background and returns 0 at once; a last byte '|'
 * shows its window minimised without activation. -1 for a null or overlong
 * command or one that cannot be started. */
int PIXBASE_CALL SpawnProcess(const char* command);
/* SpawnProcess; with `verbose` set every command is reported as warning 315
 * whose reason is the command line. */
int PIXBASE_CALL RunCommand(int verbose, const char* command);
/* Writes a fresh temporary path (prefix "tessel", no ".tmp" ending, no file
 * left behind) into a buffer of at least 260 bytes and returns the system's
 * unique number, or 0 when no name could be made. */
uint32_t PIXBASE_CALL CreateTempName(char* buffer);
/* The same, but clears the buffer first. */
void PIXBASE_CALL MakeTempName(char* buffer);
/* Replaces the last component of the path in `path` (a buffer of
 * PIXBASE_TEXT_EXTENT bytes) by a fresh temporary name. */
void PIXBASE_CALL ReplaceWithTempName(char* path);

PIXBASE_END_DECLS

#endif
