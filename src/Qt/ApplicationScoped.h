#ifndef MINITOOLBARS_APPLICATIONSCOPED_H
#define MINITOOLBARS_APPLICATIONSCOPED_H

#include <QCoreApplication>

namespace MiniToolbars {

// A process-wide object made on first use and deleted when the Qt application
// shuts down: fonts and parsed SVGs must not outlive the application that made
// them. Used again after that, it is made anew.
template <typename T> T& applicationScoped()
{
    static T* s_object = nullptr;
    if (!s_object) {
        s_object = new T;
        qAddPostRoutine([] {
            delete s_object;
            s_object = nullptr;
        });
    }
    return *s_object;
}

} // namespace MiniToolbars

#endif
