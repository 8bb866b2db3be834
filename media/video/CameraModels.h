#pragma once
#include "afxwin.h"

#include <cstdint>

class CCameraController;

// One row of the camera model table: the controller type the factory
// builds and the model's name.
#pragma pack(push, 1)
struct CAMERA_MODEL
{
    uint32_t type;
    char name[32];
};
#pragma pack(pop)
static_assert(sizeof(CAMERA_MODEL) == 36, "model row");

enum { CAMERA_MODEL_COUNT = 4, CAMERA_TYPE_COUNT = 7 };
extern const CAMERA_MODEL g_CameraModels[CAMERA_MODEL_COUNT];

// The controller of a controller type 0 to 6 (null for another type); not
// yet created.
CCameraController* MakeCameraBackEnd(int type);
// The controller of a model row, created with parent; null (and a log line)
// for a model outside the table or a controller that could not be created.
CCameraController* CreateCameraController(int modelIndex, CWnd* parent);
