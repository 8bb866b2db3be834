// The program's one application object.
#include "CQuilletApp.h"

CQuilletApp theApp;
