/*
 * Calling convention and linkage of the PIXBASE interface.
 *
 * Every export is a plain C function with the __cdecl convention, or a data
 * pointer. On Win32 the library exports ordinals only; clients link through
 * the import library (which binds by ordinal) or call GetProcAddress with an
 * ordinal. Natively the same names are exported from libpixbase.so.
 */
#ifndef PIXBASE_API_H
#define PIXBASE_API_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#define PIXBASE_BEGIN_DECLS extern "C" {
#define PIXBASE_END_DECLS }
#else
#define PIXBASE_BEGIN_DECLS
#define PIXBASE_END_DECLS
#endif

#if defined(_WIN32)
#define PIXBASE_CALL __cdecl
#if defined(PIXBASE_BUILDING) || defined(PIXBASE_STATIC)
#define PIXBASE_DATA extern
#else
#define PIXBASE_DATA extern __declspec(dllimport)
#endif
#else
#define PIXBASE_CALL
#define PIXBASE_DATA extern
#endif

#if defined(__GNUC__)
#define PIXBASE_NORETURN __attribute__((__noreturn__))
#define PIXBASE_RETURNS_TWICE __attribute__((__returns_twice__))
#else
#define PIXBASE_NORETURN
#define PIXBASE_RETURNS_TWICE
#endif

/* Compile-time check of a record's layout on the 32-bit Windows build, where
 * the layout is an interface with separately built modules and clients. */
#if defined(_WIN32) && !defined(_WIN64)
#ifdef __cplusplus
#define PIXBASE_CHECK_LAYOUT(cond, msg) static_assert(cond, msg)
#else
#define PIXBASE_CHECK_LAYOUT(cond, msg) _Static_assert(cond, msg)
#endif
#else
#define PIXBASE_CHECK_LAYOUT(cond, msg)
#endif

/* The size of the library's fixed text buffers, terminator included. */
#define PIXBASE_TEXT_EXTENT 2148

#endif
