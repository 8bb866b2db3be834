#include "CHttpDownLoad.h"

IMPLEMENT_DYNCREATE(CHttpDownLoad, CHtmlView)

CHttpDownLoad::CHttpDownLoad() {}

CHttpDownLoad::~CHttpDownLoad() {}
