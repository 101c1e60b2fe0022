// The import pointers that win2000_imports.cpp defines in place of kernel32's: a call of
// GetTickCount64 or Add/RemoveVectoredExceptionHandler from any object of the program goes
// through them. Declared here for the tests.
#pragma once
#include <windows.h>

// Their names: i686 decorates stdcall names with "_" and "@<argument bytes>".
#if defined(__i386__)
#define VX_IMPORT_SLOT(name, bytes) "__imp__" name "@" bytes
#else
#define VX_IMPORT_SLOT(name, bytes) "__imp_" name
#endif

extern "C" {
extern ULONGLONG(WINAPI* vx_imp_GetTickCount64)() __asm__(VX_IMPORT_SLOT("GetTickCount64", "0"));
extern PVOID(WINAPI* vx_imp_AddVectoredExceptionHandler)(ULONG, PVECTORED_EXCEPTION_HANDLER) __asm__(
    VX_IMPORT_SLOT("AddVectoredExceptionHandler", "8"));
extern ULONG(WINAPI* vx_imp_RemoveVectoredExceptionHandler)(PVOID) __asm__(
    VX_IMPORT_SLOT("RemoveVectoredExceptionHandler", "4"));
}
