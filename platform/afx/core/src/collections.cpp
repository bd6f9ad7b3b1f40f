#include "afx/collections.h"

IMPLEMENT_DYNAMIC(CObArray, CObject)
