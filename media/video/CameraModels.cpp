#include "CameraModels.h"

#include "C301PCamera.h"
#include "CEviD31Camera.h"
#include "CHexSerialCamera.h"
#include "CPelcoDCamera.h"
#include "CPwtCamera.h"
#include "CVcC50iCamera.h"
#include "CZxDllCamera.h"
#include "ClientLog.h"

const CAMERA_MODEL g_CameraModels[CAMERA_MODEL_COUNT] = {
    {0, "EVI_D31"},
    {2, "SU_301P"},
    {4, "VIDEOTREC_PWT"},
    {6, "VC_C50i"},
};

CCameraController* MakeCameraBackEnd(int type)
{
    switch (type) {
    case 0:
        return new CEviD31Camera;
    case 1:
        return new CZxDllCamera;
    case 2:
        return new C301PCamera;
    case 3:
        return new CHexSerialCamera;
    case 4:
        return new CPwtCamera;
    case 5:
        return new CPelcoDCamera;
    case 6:
        return new CVcC50iCamera;
    default:
        return nullptr;
    }
}

CCameraController* CreateCameraController(int modelIndex, CWnd* parent)
{
    if (modelIndex < 0 || modelIndex >= CAMERA_MODEL_COUNT) {
        g_Log.Write(0, "Camera model out of range,model = %d\n", modelIndex);
        return nullptr;
    }
    CCameraController* controller = MakeCameraBackEnd((int)g_CameraModels[modelIndex].type);
    if (!controller)
        return nullptr;
    if (!controller->Create(parent)) {
        g_Log.Write(0, "Camera controler create failed,Controler type = %d\n", modelIndex);
        delete controller;
        return nullptr;
    }
    return controller;
}
