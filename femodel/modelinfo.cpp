#include "femodel/modelinfo.h"

IMPLEMENT_DYNAMIC(CModelInfo, CObject)
