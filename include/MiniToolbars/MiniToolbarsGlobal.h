#ifndef MINITOOLBARS_GLOBAL_H
#define MINITOOLBARS_GLOBAL_H

#if defined(_WIN32)
#  if defined(MINITOOLBARS_BUILDING)
#    define MINITOOLBARS_EXPORT __declspec(dllexport)
#  else
#    define MINITOOLBARS_EXPORT __declspec(dllimport)
#  endif
#else
#  define MINITOOLBARS_EXPORT __attribute__((visibility("default")))
#endif

/// @file
/// Export macro and the opaque native handle types of the interface.
///
/// Opaque, pointer-sized native handles. HWND carries a native window id (an X11
/// window id on xcb); HICON is made by createIconHandle(); HMODULE by
/// loadResourceModule().
struct HWND__;
struct HICON__;
struct HINSTANCE__;
typedef HWND__* HWND;
typedef HICON__* HICON;
typedef HINSTANCE__* HMODULE;

#endif
