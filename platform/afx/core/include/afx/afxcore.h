// The framework core: objects, exceptions, strings and collections.
#pragma once

#include "afx/collections.h"
#include "afx/cstring.h"
#include "afx/exception.h"
#include "afx/object.h"
