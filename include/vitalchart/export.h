#pragma once

// What a host may call in the shared library: the plug-in's exports and the
// surface classes it needs to lend the plug-in a drawing surface. Everything
// else is compiled with hidden visibility.
#if defined(_WIN32)
#define VITALCHART_API
#elif defined(__GNUC__)
#define VITALCHART_API __attribute__((visibility("default")))
#else
#define VITALCHART_API
#endif

// The stdcall convention on 32-bit Windows, where the callee pops its
// arguments; empty everywhere else.
#if defined(_WIN32) && !defined(_WIN64) && !defined(WINAPI)
#define WINAPI __stdcall
#elif !defined(WINAPI)
#define WINAPI
#endif
