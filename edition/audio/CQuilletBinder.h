#pragma once
#include <string>

#include "ILibraryLoader.h"
#include "MediaFunctionList.h"
#include "RavoTMApi.h"

// Binds the earlier edition's media libraries: RavoTM, Dravom and Caskel
// from one folder, in this order, then the 30 D_G_ names of RavoTM, the 32
// T_ names of Dravom and the 36 RV_ and PV_ names of Caskel (98 in all).
// The video and recorder names go to the same places of the media table as
// in the current edition; its audio-manager places are left alone.
class CQuilletBinder
{
public:
    enum { NAME_COUNT = RAVOTM_FUNCTION_COUNT + MEDIA_FUNCTION_COUNT - MF_T_TAKEDevices };

    explicit CQuilletBinder(ILibraryLoader* loader);

    static const char* GetLibraryFile(int library); // 0 RavoTM, 1 Dravom, 2 Caskel
    // The D_G_ name at a position of the binding order.
    static const char* GetRavoTMName(int index);

    // False when a library does not load (nothing is resolved then) or at
    // the first name that does not resolve (the entries before it stay set;
    // the libraries already loaded stay loaded). GetFailure() names it.
    bool Bind(const std::string& folder, RAVOTM_FUNCTIONS* ravotm, MEDIA_FUNCTIONS* media);
    const std::string& GetFailure() const { return m_failure; }

private:
    ILibraryLoader* m_loader;
    std::string m_failure;
};

// The process's bound RavoTM functions.
extern RAVOTM_FUNCTIONS g_RavoTM;
