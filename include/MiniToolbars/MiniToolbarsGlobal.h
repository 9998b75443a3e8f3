#ifndef MINITOOLBARS_GLOBAL_H
#define MINITOOLBARS_GLOBAL_H
/// @file
/// Export macro and the opaque native handle types of the interface.

#if defined(_WIN32)
#  if defined(MINITOOLBARS_BUILDING)
#    define MINITOOLBARS_EXPORT __declspec(dllexport)
#  else
#    define MINITOOLBARS_EXPORT __declspec(dllimport)
#  endif
#else
/// Marks the classes and functions the library exports.
#  define MINITOOLBARS_EXPORT __attribute__((visibility("default")))
#endif

// Opaque, pointer-sized native handles. HWND carries a native window id (an X11
// window id on xcb); HICON is made by createIconHandle(); HMODULE by
// loadResourceModule().
struct HWND__;
struct HICON__;
struct HINSTANCE__;
/// A native window id (an X11 window id on xcb), such as QWidget::winId().
typedef HWND__* HWND;
/// An icon handle made by createIconHandle().
typedef HICON__* HICON;
/// A resource module made by loadResourceModule().
typedef HINSTANCE__* HMODULE;

#endif
