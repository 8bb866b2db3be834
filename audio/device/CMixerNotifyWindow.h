#pragma once
#include <windows.h>
#include <mmsystem.h>

namespace SonvexDevice {

// The hidden window a mixer posts its control-change notifications to. Its
// class is registered for this library's own module, the module whose code
// runs the window procedure, and goes with the last window of the class.
class CMixerNotifyWindow
{
public:
    // Creates a window of the class (registered on first use) whose
    // MM_MIXM_CONTROL_CHANGE messages go to owner->OnControlChange(control).
    template <class Owner>
    static HWND Create(const char* className, const char* windowName, Owner* owner)
    {
        return CreateFor(className, windowName, &Proc<Owner>, owner);
    }

    // Cuts the window off its owner, destroys it and unregisters the class,
    // which fails harmlessly while another window of the class exists.
    static void Destroy(HWND window, const char* className);

private:
    static HWND CreateFor(const char* className, const char* windowName, WNDPROC proc, void* owner);
    static HINSTANCE OwnModule();

    template <class Owner>
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == MM_MIXM_CONTROL_CHANGE) {
            Owner* owner = reinterpret_cast<Owner*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            if (owner)
                owner->OnControlChange(static_cast<DWORD>(lParam));
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
};

} // namespace SonvexDevice
